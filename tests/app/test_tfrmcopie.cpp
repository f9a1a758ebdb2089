#include <filesystem>

#include <QFile>
#include <QTest>
#include <QTreeWidget>

#include "app/safetycopies.h"
#include "app/tfrmavvio.h"
#include "app/tfrmcopie.h"
#include "app/tfrmpassword.h"
#include "common/recordfile.h"
#include "support/fakes.h"

using namespace velmora;
using velmora::test::Message;
using velmora::test::TestServices;
namespace fs = std::filesystem;

namespace {

QString textOf(const fs::path &p)
{
    return QFile::decodeName(QByteArray::fromStdString(p.string()));
}

void put(const fs::path &path, const std::string &bytes)
{
    fs::create_directories(path.parent_path());
    QVERIFY(writeWholeFileAtomic(path, bytes));
}

std::string bytesOf(const fs::path &path)
{
    return readWholeFile(path).value_or(std::string("missing"));
}

} // namespace

// The safety copies screen and the automatic copy at the end of the program.
class TestTfrmCopie : public QObject
{
    Q_OBJECT

private:
    struct Screen
    {
        Screen()
        {
            put(ts.file("Anagrafica.pro"), std::string(3992 * 2, 'c'));
            put(ts.file("Materiali.pro"), std::string(5170, 'm'));
            put(ts.file("unins000.dll"), "[Accesso]\r\nValore=4E0D\r\n");
            put(ts.file("Camera 1.for"), std::string(785 * 3, 'a'));
            put(ts.file("Camera 2.for"), std::string(785, 'b'));
            put(ts.services.folder / "Conti chiusi" / "2025" / "Rossi (chiuso il 01-02-2025).for",
                std::string(785, 'r'));
            copies = ts.services.folder / "chiavetta";
            fs::create_directory(copies);
        }
        TestServices ts;
        TfrmCopie screen{ts.services};
        fs::path copies;

        QStringList row(int i) const
        {
            QStringList cells;
            const QTreeWidgetItem *item = screen.lstCopie->topLevelItem(i);
            for (int c = 0; item && c < screen.lstCopie->columnCount(); ++c)
                cells << item->text(c);
            return cells;
        }
        void chooseFolder()
        {
            ts.dialogs.folders.push_back(textOf(copies));
            QTest::mouseClick(screen.cmdCartella, Qt::LeftButton);
        }
        void select(int row) { screen.lstCopie->setCurrentItem(screen.lstCopie->topLevelItem(row)); }
    };

private slots:
    void theFolderIsChosenKeptAndItsCopiesListed()
    {
        Screen s;
        s.screen.showWorking();
        QCOMPARE(s.screen.windowTitle(), QStringLiteral(" Velmora © - Copie di sicurezza"));
        QVERIFY(s.screen.txtCartella->text().isEmpty());
        QCOMPARE(s.screen.lstCopie->topLevelItemCount(), 0);
        QVERIFY(s.screen.lblInfo01->text().contains(QStringLiteral("chiavetta USB")));

        // Without a folder nothing is made, and the user is told to choose one.
        QTest::mouseClick(s.screen.cmdCrea, Qt::LeftButton);
        QCOMPARE(s.ts.messages.shown.size(), 1u);
        QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Warning);
        QVERIFY(s.ts.messages.lastText().startsWith(QStringLiteral("Scegliere prima la cartella")));

        s.chooseFolder();
        QCOMPARE(s.ts.dialogs.captions,
                 QStringList{QStringLiteral("Selezionare la cartella delle copie di sicurezza:")});
        QCOMPARE(s.screen.txtCartella->text(), textOf(s.copies));
        QCOMPARE(chosenCopyFolder(s.ts.services.folder), s.copies);

        s.ts.messages.clear();
        s.ts.clock.date = QDate(2026, 12, 8);
        s.ts.clock.time = QTime(10, 55, 30);
        QTest::mouseClick(s.screen.cmdCrea, Qt::LeftButton);
        QVERIFY(fs::exists(s.copies / "Velmora 2026-12-08 10.55.zip"));
        QCOMPARE(s.ts.messages.shown.size(), 1u);
        QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Information);
        QCOMPARE(s.ts.messages.lastText(),
                 QStringLiteral("Copia di sicurezza creata:\r\nVelmora 2026-12-08 10.55.zip\r\n\r\nContiene 2 conti "
                                "aperti, 1 conto chiuso, 2 clienti, 1 prodotto e la password di accesso."));
        s.ts.clock.time = QTime(18, 5);
        QTest::mouseClick(s.screen.cmdCrea, Qt::LeftButton);
        // Newest first: date, time, open and closed bills, size, kind.
        QCOMPARE(s.screen.lstCopie->topLevelItemCount(), 2);
        const QString size =
            QString::fromStdString(copySizeText(fs::file_size(s.copies / "Velmora 2026-12-08 18.05.zip")));
        QCOMPARE(s.row(0), (QStringList{QStringLiteral("08/12/2026"), QStringLiteral("18:05"), QStringLiteral("2"),
                                        QStringLiteral("1"), size, QStringLiteral("manuale")}));
        QCOMPARE(s.row(1)[1], QStringLiteral("10:55"));
        QCOMPARE(s.screen.lblTotale->text(), QStringLiteral("Nella cartella ci sono 2 copie di sicurezza."));

        // The folder comes back on the next show, read from the settings file.
        s.screen.close();
        TfrmCopie again(s.ts.services);
        again.showWorking();
        QCOMPARE(again.txtCartella->text(), textOf(s.copies));
        QCOMPARE(again.lstCopie->topLevelItemCount(), 2);
        again.close();
    }

    void aCopyThatCannotBeWrittenIsToldAndLeavesNothing()
    {
        Screen s;
        s.screen.showWorking();
        s.chooseFolder();
        fs::remove_all(s.copies); // the stick was pulled out
        QTest::mouseClick(s.screen.cmdCrea, Qt::LeftButton);
        QCOMPARE(s.ts.messages.shown.size(), 1u);
        QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Warning);
        QVERIFY(s.ts.messages.lastText().startsWith(
            QStringLiteral("Attenzione: non è stato possibile scrivere la copia nella cartella scelta.")));
        QVERIFY(!fs::exists(s.copies));
        s.screen.close();
    }

    void aRestoreShowsTheCopyAsksAndCanBeUndone()
    {
        Screen s;
        s.screen.showWorking();
        s.chooseFolder();
        QTest::mouseClick(s.screen.cmdCrea, Qt::LeftButton);
        const std::string clients = bytesOf(s.ts.file("Anagrafica.pro"));
        put(s.ts.file("Anagrafica.pro"), std::string(3992, 'z'));
        put(s.ts.file("Camera 3.for"), std::string(785, 'n'));
        s.ts.messages.clear();

        // Nothing selected: the user is told.
        QTest::mouseClick(s.screen.cmdRipristina, Qt::LeftButton);
        QCOMPARE(s.ts.messages.lastText(), QStringLiteral("Selezionare nell'elenco la copia da ripristinare."));

        // Answered No: nothing changes.
        s.select(0);
        s.ts.messages.clear();
        s.ts.messages.answers = {false};
        QTest::mouseClick(s.screen.cmdRipristina, Qt::LeftButton);
        QCOMPARE(s.ts.messages.shown.size(), 1u);
        QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Question);
        QCOMPARE(s.ts.messages.shown[0].title, QStringLiteral("Conferma ripristino"));
        QCOMPARE(s.ts.messages.shown[0].text,
                 QStringLiteral("Ripristinare la copia di sicurezza del 08/12/2026 alle ore 10:30?\r\n\r\nLa copia "
                                "contiene 2 conti aperti, 1 conto chiuso, 2 clienti, 1 prodotto e la password di "
                                "accesso.\r\n\r\nI dati attuali saranno sostituiti da quelli della copia; prima del "
                                "ripristino ne viene fatta una copia nella stessa cartella."));
        QCOMPARE(bytesOf(s.ts.file("Anagrafica.pro")), std::string(3992, 'z'));
        QCOMPARE(s.screen.lstCopie->topLevelItemCount(), 1);

        // Yes: the data is the copy's, and the data replaced is a new copy in the list.
        s.ts.messages.clear();
        s.ts.clock.time = QTime(11, 0);
        QTest::mouseClick(s.screen.cmdRipristina, Qt::LeftButton);
        QCOMPARE(s.ts.messages.shown.size(), 2u);
        QCOMPARE(s.ts.messages.shown[1].kind, Message::Kind::Information);
        QCOMPARE(s.ts.messages.shown[1].text,
                 QStringLiteral("Ripristino completato: i dati sono quelli della copia del 08/12/2026 alle ore "
                                "10:30.\r\n\r\nI dati sostituiti sono nella copia Velmora 2026-12-08 11.00.zip."));
        QCOMPARE(bytesOf(s.ts.file("Anagrafica.pro")), clients);
        QVERIFY(!fs::exists(s.ts.file("Camera 3.for")));
        QCOMPARE(s.screen.lstCopie->topLevelItemCount(), 2);
        QCOMPARE(s.row(0)[5], QStringLiteral("prima di un ripristino"));
        QCOMPARE(s.row(0)[2], QStringLiteral("3"));
        s.screen.close();
    }

    void aDamagedCopyIsRefusedBeforeAnyQuestion()
    {
        Screen s;
        s.screen.showWorking();
        s.chooseFolder();
        QTest::mouseClick(s.screen.cmdCrea, Qt::LeftButton);
        const fs::path copy = s.copies / "Velmora 2026-12-08 10.30.zip";
        std::string zip = bytesOf(copy);
        // A byte of the stored data changed on the stick: the list still reads the manifest.
        const auto at = zip.find("Camera 1.for");
        QVERIFY(at != std::string::npos);
        zip[at + 40] = static_cast<char>(zip[at + 40] ^ 0x55);
        put(copy, zip);
        s.screen.showWorking();
        const std::string before = bytesOf(s.ts.file("Camera 1.for"));
        s.select(0);
        s.ts.messages.clear();
        QTest::mouseClick(s.screen.cmdRipristina, Qt::LeftButton);
        QCOMPARE(s.ts.messages.shown.size(), 1u);
        QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Warning);
        QVERIFY(s.ts.messages.lastText().startsWith(QStringLiteral("Attenzione: la copia scelta non può essere "
                                                                   "ripristinata:")));
        QVERIFY(s.ts.messages.lastText().endsWith(QStringLiteral("Nessun dato è stato modificato.")));
        QCOMPARE(bytesOf(s.ts.file("Camera 1.for")), before);
        QCOMPARE(s.screen.lstCopie->topLevelItemCount(), 1);
        s.screen.close();
    }

    void theProgramEndsWithTheDaysAutomaticCopyEvenWhenItFails()
    {
        Screen s;
        TfrmAvvio start(s.ts.services);
        // No folder chosen: the program ends without a word.
        start.show();
        start.close();
        QVERIFY(s.ts.messages.shown.empty());

        QVERIFY(setChosenCopyFolder(s.ts.services.folder, s.copies));
        start.show();
        start.close();
        QVERIFY(s.ts.messages.shown.empty());
        QCOMPARE(listCopies(s.copies).size(), 1u);
        QCOMPARE(listCopies(s.copies)[0].kind, CopyKind::Automatic);
        // Once a day.
        start.show();
        start.close();
        QCOMPARE(listCopies(s.copies).size(), 1u);

        // The next day the stick is missing: told, and the screen closes all the same.
        s.ts.clock.date = QDate(2026, 12, 9);
        fs::remove_all(s.copies);
        start.show();
        start.close();
        QVERIFY(!start.isVisible());
        QCOMPARE(s.ts.messages.shown.size(), 1u);
        QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Warning);
        QCOMPARE(s.ts.messages.shown[0].title, QStringLiteral("Copie di sicurezza"));
        QVERIFY(s.ts.messages.lastText().startsWith(
            QStringLiteral("La copia di sicurezza automatica nella cartella\r\n%1\r\nnon è stata fatta.")
                .arg(textOf(s.copies))));
    }

    // Back at the login after work, the user closes it: the program ends there, with its copy.
    void closingTheLoginEndsWithTheCopyToo()
    {
        Screen s;
        QVERIFY(setChosenCopyFolder(s.ts.services.folder, s.copies));
        TfrmPassword login(s.ts.services);
        login.show();
        login.close();
        QVERIFY(!login.isVisible());
        QVERIFY(s.ts.messages.shown.empty());
        QCOMPARE(listCopies(s.copies).size(), 1u);
        QCOMPARE(listCopies(s.copies)[0].kind, CopyKind::Automatic);
    }
};

QTEST_MAIN(TestTfrmCopie)
#include "test_tfrmcopie.moc"
