#include <filesystem>
#include <fstream>

#include <sys/stat.h>

#include <QApplication>
#include <QTest>

#include "bills/tfrmcrea.h"
#include "lockholder.h"
#include "support/fakes.h"

using namespace velmora;
using velmora::test::Message;
using velmora::test::TestServices;
using velmora::test::typeText;

namespace {

const QString kNoName = QStringLiteral("Impossibile creare il nuovo conto in quanto non è stato indicato nessun "
                                       "nome.\r\n\r\nInserire il nome del conto nella casella di testo prima di "
                                       "premere il pulsante Applica e chiudi.");
const QString kExisting = QStringLiteral("Il nome del conto indicato già esiste in archivio.\r\n\r\nInserire un nome "
                                         "diverso oppure, se si desidera visualizzare un conto già creato, "
                                         "utilizzare la funzione Apri conto esistente.");
const QString kRefusedTitle = QStringLiteral("Salvataggio conto non applicabile");

// Entries of the folder, leaving out the folder lock's own file.
std::size_t entriesIn(const std::filesystem::path &folder)
{
    std::size_t n = 0;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        n += entry.path().filename() != FolderLock::kLockFileName;
    return n;
}

} // namespace

class TestTfrmCrea : public QObject
{
    Q_OBJECT

private:
    struct Screen
    {
        TestServices ts;
        TfrmCrea screen{ts.services};
        TextBox *box() { return screen.findChild<TextBox *>(QStringLiteral("txtClasse")); }
        void click(const char *name)
        {
            auto *icon = screen.findChild<IconButton *>(QLatin1String(name));
            QVERIFY(icon);
            QTest::mouseClick(icon, Qt::LeftButton);
        }
        void show()
        {
            screen.showWorking();
            QVERIFY(QTest::qWaitForWindowExposed(&screen));
        }
    };

private slots:
    void showEmptiesTheNameBox()
    {
        Screen s;
        s.show();
        s.box()->setText(QStringLiteral("vecchio"));
        s.screen.hide();
        s.screen.showWorking();
        QCOMPARE(s.box()->text(), QString());
        QCOMPARE(s.screen.focusWidget(), s.box());
        QCOMPARE(s.box()->maxLength(), 250);
    }

    void forbiddenCharactersCannotBeTyped()
    {
        Screen s;
        s.show();
        typeText(s.box(), QStringLiteral("Ca\\/:*?\"<>|mera 12 è"));
        QCOMPARE(s.box()->text(), QStringLiteral("Camera 12 è"));
        // Characters the bills' code page cannot store are refused the same way.
        typeText(s.box(), QStringLiteral("Ж€"));
        QCOMPARE(s.box()->text(), QStringLiteral("Camera 12 è€"));
    }

    void createsAnEmptyPrivateFileAndReturnsToStart()
    {
        Screen s;
        s.show();
        typeText(s.box(), QStringLiteral("  Conto Rossi  "));
        s.click("imgApplica");

        QVERIFY(s.ts.exists("Conto Rossi.for"));
        QCOMPARE(s.ts.bytes("Conto Rossi.for").size(), 0);
        const auto perms = std::filesystem::status(s.ts.file("Conto Rossi.for")).permissions();
        const mode_t mask = ::umask(0);
        ::umask(mask);
        QCOMPARE(static_cast<mode_t>(perms & std::filesystem::perms::all), static_cast<mode_t>(0660 & ~mask));
        QCOMPARE(s.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Information);
        QCOMPARE(s.ts.messages.lastTitle(), QStringLiteral("Salvataggio conto effettuato"));
        QCOMPARE(s.ts.messages.lastText(),
                 QStringLiteral("Il file relativo al nuovo conto è stato creato con successo.\r\n\r\nE' ora possibile "
                                "visualizzarlo nell'elenco dei conti esistenti."));
        QVERIFY(!s.screen.isVisible());
        QCOMPARE(s.ts.navigator.startShown, 1);
    }

    void pastedForbiddenCharactersBecomeSpaces()
    {
        Screen s;
        s.show();
        s.box()->setText(QStringLiteral("Rossi: camera 12"));
        s.click("imgApplica");
        QVERIFY(s.ts.exists("Rossi  camera 12.for"));
        QCOMPARE(entriesIn(s.ts.services.folder), std::size_t(1));
    }

    void pastedControlCharactersBecomeSpaces()
    {
        Screen s;
        s.show();
        s.box()->setText(QStringLiteral("Rossi\ncamera\t12\u0090"));
        s.click("imgApplica");
        QCOMPARE(s.box()->text(), QStringLiteral("Rossi camera 12 "));
        QVERIFY(s.ts.exists("Rossi camera 12.for"));
        QCOMPARE(entriesIn(s.ts.services.folder), std::size_t(1));
    }

    void accentedNameIsStoredAsUtf8()
    {
        Screen s;
        s.show();
        typeText(s.box(), QStringLiteral("Caffè € Sì"));
        s.click("imgApplica");
        QVERIFY(s.ts.exists("Caff\xC3\xA8 \xE2\x82\xAC S\xC3\xAC.for"));
    }

    void blankNamesAreRefused_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::newRow("empty") << QString();
        QTest::newRow("blanks") << QStringLiteral("    ");
        QTest::newRow("only forbidden characters") << QStringLiteral("\\/:*?\"<>|");
        QTest::newRow("forbidden and blanks") << QStringLiteral(" : | ");
    }

    void blankNamesAreRefused()
    {
        QFETCH(QString, pasted);
        Screen s;
        s.show();
        s.box()->setText(pasted);
        s.click("imgApplica");
        QCOMPARE(s.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Warning);
        QCOMPARE(s.ts.messages.lastTitle(), kRefusedTitle);
        QCOMPARE(s.ts.messages.lastText(), kNoName);
        QCOMPARE(entriesIn(s.ts.services.folder), std::size_t(0));
        QVERIFY(s.screen.isVisible());
        QCOMPARE(s.screen.focusWidget(), s.box());
        QCOMPARE(s.ts.navigator.startShown, 0);
    }

    void existingNameIsRefusedInAnyLetterCase_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("same") << QStringLiteral("Conto Rossi");
        QTest::newRow("capitals") << QStringLiteral("CONTO ROSSI");
        QTest::newRow("small") << QStringLiteral("conto rossi");
        QTest::newRow("accented capital") << QStringLiteral("ÈLITE");
    }

    void existingNameIsRefusedInAnyLetterCase()
    {
        QFETCH(QString, typed);
        Screen s;
        std::ofstream(s.ts.file("Conto Rossi.for")) << "x";
        std::ofstream(s.ts.file("\xC3\xA8lite.for")) << "y";
        s.show();
        typeText(s.box(), typed);
        s.click("imgApplica");
        QCOMPARE(s.ts.messages.lastTitle(), kRefusedTitle);
        QCOMPARE(s.ts.messages.lastText(), kExisting);
        QCOMPARE(entriesIn(s.ts.services.folder), std::size_t(2));
        QCOMPARE(s.ts.bytes("Conto Rossi.for"), QByteArray("x"));
        QVERIFY(s.screen.isVisible());
        QCOMPARE(s.box()->text(), typed);
    }

    void nameTooLongForTheFileSystemCreatesNothing()
    {
        Screen s;
        s.show();
        s.box()->setText(QString(130, QChar(0xE8)));
        s.click("imgApplica");
        QCOMPARE(s.ts.messages.lastTitle(), kRefusedTitle);
        QCOMPARE(s.ts.messages.lastText(),
                 QStringLiteral("Impossibile creare il nuovo conto in quanto il nome indicato è troppo lungo.\r\n\r\n"
                                "Inserire un nome più breve prima di premere il pulsante Applica e chiudi."));
        QCOMPARE(entriesIn(s.ts.services.folder), std::size_t(0));
        QVERIFY(s.screen.isVisible());

        // 250 plain letters still fit.
        s.box()->setText(QString(250, QLatin1Char('a')));
        s.click("imgApplica");
        QVERIFY(s.ts.exists(std::string(250, 'a') + ".for"));
    }

    void folderThatCannotHoldTheFileReportsTheFileError()
    {
        Screen s;
        s.ts.services.folder = s.ts.services.folder / "mancante";
        s.show();
        typeText(s.box(), QStringLiteral("Conto"));
        s.click("imgApplica");
        QCOMPARE(s.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Plain);
        QCOMPARE(s.ts.messages.lastText(), fileErrorMessage());
        QVERIFY(s.screen.isVisible());
    }

    void folderLockedByAnotherWorkstationIsToldAsInUse()
    {
        Screen s;
        s.show();
        typeText(s.box(), QStringLiteral("Conto Bianchi"));
        {
            const test::ShortLockWait shortWait;
            test::LockHolder other(s.ts.services.folder);
            QVERIFY(other.held());
            s.click("imgApplica"); // gives up when the (shortened) wait runs out
        }
        QCOMPARE(s.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Plain);
        QCOMPARE(s.ts.messages.lastText(), archiveBusyMessage());
        QVERIFY(!s.ts.exists("Conto Bianchi.for"));
        QCOMPARE(entriesIn(s.ts.services.folder), std::size_t(0));
        QVERIFY(s.screen.isVisible());
        QCOMPARE(s.box()->text(), QStringLiteral("Conto Bianchi"));

        // Once the other workstation is done, the same name is created.
        s.click("imgApplica");
        QVERIFY(s.ts.exists("Conto Bianchi.for"));
        QCOMPARE(s.ts.messages.lastTitle(), QStringLiteral("Salvataggio conto effettuato"));
    }

    void cancelCreatesNothing()
    {
        Screen s;
        s.show();
        typeText(s.box(), QStringLiteral("Conto"));
        s.click("imgAnnulla");
        QVERIFY(!s.screen.isVisible());
        QCOMPARE(s.ts.navigator.startShown, 1);
        QCOMPARE(entriesIn(s.ts.services.folder), std::size_t(0));
        QVERIFY(s.ts.messages.shown.empty());
    }

    void helpShowsItsTopic()
    {
        Screen s;
        s.show();
        s.click("imgGuida");
        QCOMPARE(s.ts.navigator.helpTopics, QStringList{QStringLiteral("Creazione di un nuovo conto")});
    }
};

QTEST_MAIN(TestTfrmCrea)
#include "test_tfrmcrea.moc"
