#include <filesystem>
#include <fstream>
#include <iterator>

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QApplication>
#include <QTest>

#include "bills/closedbills.h"
#include "bills/consumption.h"
#include "bills/tfrmaccedi.h"
#include "bills/tfrmforniture.h"
#include "common/recordfile.h"
#include "lockholder.h"
#include "support/fakes.h"

using namespace velmora;
using velmora::test::Message;
using velmora::test::TestServices;
using velmora::test::linesOf;

namespace {

QString selectedLine(const QListWidget *list)
{
    const auto selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

} // namespace

class TestTfrmAccedi : public QObject
{
    Q_OBJECT

private:
    struct Catalogue
    {
        explicit Catalogue(std::initializer_list<const char *> bills = {})
        {
            for (const char *name : bills)
                std::ofstream(ts.file(name)).flush();
            ts.navigator.onOpenBill = [this](const std::filesystem::path &file, const QString &name,
                                             BillAccess access) { forniture.openBill(file, name, access); };
        }
        TestServices ts;
        TfrmForniture forniture{ts.services};
        TfrmAccedi screen{ts.services};

        QListWidget *list() { return screen.findChild<QListWidget *>(QStringLiteral("lstClassi")); }
        QLabel *label(const char *name) { return screen.findChild<QLabel *>(QLatin1String(name)); }
        TextBox *trova() { return screen.findChild<TextBox *>(QStringLiteral("txtTrova")); }
        void click(const char *name)
        {
            auto *icon = screen.findChild<IconButton *>(QLatin1String(name));
            QVERIFY(icon);
            QTest::mouseClick(icon, Qt::LeftButton);
        }
        void find(const QString &key)
        {
            trova()->setText(key);
            QTest::mouseClick(screen.findChild<QPushButton *>(QStringLiteral("cmdTrova02")), Qt::LeftButton);
        }
        void show()
        {
            screen.showWorking();
            QVERIFY(QTest::qWaitForWindowExposed(&screen));
        }
        void select(const QString &line)
        {
            const auto items = list()->findItems(line, Qt::MatchExactly);
            QCOMPARE(items.size(), 1);
            list()->setCurrentItem(items.first());
        }
    };

private slots:
    void listsEveryBillSortedWithItsCount()
    {
        Catalogue c({"zeta.for", "Alfa.FOR", "beta.For", ".nascosto.for", "note.txt", "Conto.tmp"});
        std::filesystem::create_directory(c.ts.file("cartella.for"));
        c.show();
        QCOMPARE(linesOf(c.list()), (QStringList{QStringLiteral(".nascosto.for"), QStringLiteral("Alfa.FOR"),
                                                 QStringLiteral("beta.For"), QStringLiteral("zeta.for")}));
        QCOMPARE(c.label("lblTotale")->text(), QStringLiteral("Ci sono 4 conti archiviati."));
        QCOMPARE(c.label("lblMemory")->text(), QStringLiteral("avvio"));
        QVERIFY(c.list()->selectedItems().isEmpty());
    }

    void countUsesTheSameWordingForZeroAndOne()
    {
        Catalogue none;
        none.show();
        QCOMPARE(none.label("lblTotale")->text(), QStringLiteral("Ci sono 0 conti archiviati."));
        Catalogue one({"Conto.for"});
        one.show();
        QCOMPARE(one.label("lblTotale")->text(), QStringLiteral("Ci sono 1 conti archiviati."));
    }

    void showingAgainListsNewBills()
    {
        Catalogue c({"a.for"});
        c.show();
        c.screen.hide();
        std::ofstream(c.ts.file("b.for")).flush();
        c.show();
        QCOMPARE(linesOf(c.list()), (QStringList{QStringLiteral("a.for"), QStringLiteral("b.for")}));
    }

    void openingWithoutSelectionWarns()
    {
        Catalogue c({"a.for"});
        c.show();
        c.click("imgApri");
        QCOMPARE(c.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(c.ts.messages.shown[0].kind, Message::Kind::Warning);
        QCOMPARE(c.ts.messages.lastTitle(), QStringLiteral("Attenzione: nessun conto selezionato"));
        QCOMPARE(c.ts.messages.lastText(),
                 QStringLiteral("Fare clic sul nome del conto di interesse prima di premere il pulsante Apri "
                                "conto.\r\n\r\nSe l'elenco non contiene il conto desiderato è necessario crearlo "
                                "utilizzando la funzione Crea nuovo conto."));
        QVERIFY(c.screen.isVisible());
        QVERIFY(!c.forniture.isVisible());
    }

    void openingHandsTheBillToTheConsumptionScreen()
    {
        Catalogue c({"a.for", "Camera 12.for"});
        const RecordFile bill(c.ts.file("Camera 12.for"), consumptionLayout().size());
        std::vector<std::string> v(consumption::FieldCount);
        v[consumption::Prodotto] = "Acqua";
        v[consumption::Importo] = "1,50";
        QVERIFY(bill.append(consumptionLayout().encode(v)));
        c.show();
        c.select(QStringLiteral("Camera 12.for"));
        c.click("imgApri");

        QVERIFY(!c.screen.isVisible());
        QVERIFY(c.forniture.isVisible());
        QCOMPARE(c.ts.navigator.startShown, 0);
        QCOMPARE(c.forniture.billPath(), c.ts.file("Camera 12.for"));
        QCOMPARE(c.forniture.panClasse->text(), QStringLiteral("Camera 12"));
        QCOMPARE(c.forniture.lstStudenti->count(), 1);
        QCOMPARE(c.forniture.repTotale->text(), QStringLiteral("1,50"));
    }

    void billWithAnUntypableNameOpensItsOwnFile()
    {
        Catalogue c({"\xE2\x98\x95 Bar.for"});
        c.show();
        QCOMPARE(linesOf(c.list()), QStringList{QStringLiteral("? Bar.for")});
        c.list()->setCurrentRow(0);
        c.click("imgApri");
        QCOMPARE(c.forniture.billPath(), c.ts.file("\xE2\x98\x95 Bar.for"));
        // Opening reads the bill that is there and creates no other bill.
        QCOMPARE(listBills(c.ts.services.folder).size(), std::size_t(1));
    }

    void doubleClickOpensOnlyWithASelection()
    {
        Catalogue c({"a.for", "b.for"});
        c.show();
        QWidget *viewport = c.list()->viewport();
        const QPoint empty(viewport->width() / 2, viewport->height() - 5);
        // A double click is a press and release followed by the double-click event.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, empty);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, empty);
        QVERIFY(c.screen.isVisible());
        QCOMPARE(c.label("lblMemory")->text(), QStringLiteral("avvio"));

        const QRect second = c.list()->visualItemRect(c.list()->item(1));
        QTest::mouseClick(viewport, Qt::LeftButton, {}, second.center());
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, second.center());
        QVERIFY(!c.screen.isVisible());
        QVERIFY(c.forniture.isVisible());
        QCOMPARE(c.forniture.panClasse->text(), QStringLiteral("b"));
    }

    void closingLeadsBackToStart()
    {
        Catalogue c({"a.for"});
        c.show();
        c.select(QStringLiteral("a.for"));
        c.screen.close();
        QCOMPARE(c.ts.navigator.startShown, 1);
        QVERIFY(!c.forniture.isVisible());

        c.show();
        c.click("imgAnnulla");
        QCOMPARE(c.ts.navigator.startShown, 2);
        QVERIFY(!c.forniture.isVisible());
    }

    void deleteWithoutSelectionWarns()
    {
        Catalogue c({"a.for"});
        c.show();
        c.click("btnCancella");
        QCOMPARE(c.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(c.ts.messages.lastTitle(), QStringLiteral("Nessun conto selezionato"));
        QCOMPARE(c.ts.messages.lastText(),
                 QStringLiteral("Selezionare il nome del conto di interesse prima di fare clic sull'icona del "
                                "cestino.\r\n\r\nAttenzione: i dati cancellati non potranno essere recuperati."));
        QVERIFY(c.ts.exists("a.for"));
    }

    void deleteAsksAndRemovesTheFile()
    {
        Catalogue c({"a.for", "b.for"});
        c.show();
        c.select(QStringLiteral("b.for"));
        c.ts.messages.answers = {false};
        c.click("btnCancella");
        QCOMPARE(c.ts.messages.shown.back().kind, Message::Kind::Question);
        QCOMPARE(c.ts.messages.questionIcons.back(), MessageService::Icon::Question);
        QCOMPARE(c.ts.messages.lastTitle(), QStringLiteral("Conferma cancellazione conto"));
        QCOMPARE(c.ts.messages.lastText(),
                 QStringLiteral("Attenzione: si sta per eliminare il conto selezionato. I dati cancellati non potranno "
                                "essere recuperati.\r\n\r\nSi vuole proprio eliminare il conto selezionato?"));
        QVERIFY(c.ts.exists("b.for"));
        QCOMPARE(c.list()->count(), 2);

        c.click("btnCancella");
        QVERIFY(!c.ts.exists("b.for"));
        QVERIFY(c.ts.exists("a.for"));
        QCOMPARE(linesOf(c.list()), QStringList{QStringLiteral("a.for")});
        QCOMPARE(c.label("lblTotale")->text(), QStringLiteral("Ci sono 1 conti archiviati."));
        QVERIFY(c.list()->selectedItems().isEmpty());
        QCOMPARE(c.label("lblMemory")->text(), QStringLiteral("avvio"));
        QCOMPARE(c.ts.messages.shown.size(), std::size_t(2));

        // Nothing is selected any more, so closing returns to the start screen.
        c.screen.close();
        QCOMPARE(c.ts.navigator.startShown, 1);
        QVERIFY(!c.forniture.isVisible());
    }

    void deleteWhileAnotherWorkstationHoldsTheFolderKeepsTheBill()
    {
        Catalogue c({"a.for", "b.for"});
        c.show();
        c.select(QStringLiteral("b.for"));
        {
            const test::ShortLockWait shortWait;
            test::LockHolder other(c.ts.services.folder);
            QVERIFY(other.held());
            c.click("btnCancella"); // gives up when the (shortened) wait runs out
        }
        QVERIFY(c.ts.exists("b.for"));
        QCOMPARE(linesOf(c.list()), (QStringList{QStringLiteral("a.for"), QStringLiteral("b.for")}));
        QCOMPARE(c.ts.messages.shown.back().kind, Message::Kind::Plain);
        // Told that the bills are in use elsewhere, not that the folder may not be written.
        QCOMPARE(c.ts.messages.lastText(), archiveBusyMessage());
        QCOMPARE(c.label("lblMemory")->text(), QStringLiteral("avvio"));
    }

    void quickSearchWalksThroughMatchesAndAround()
    {
        Catalogue c({"Bar Mare.for", "camera 12.for", "Camera 14.for", "Suite.for"});
        c.show();
        c.find(QStringLiteral("CAMERA"));
        QCOMPARE(selectedLine(c.list()), QStringLiteral("camera 12.for"));
        c.find(QStringLiteral("CAMERA"));
        QCOMPARE(selectedLine(c.list()), QStringLiteral("Camera 14.for"));
        c.find(QStringLiteral("CAMERA"));
        QCOMPARE(selectedLine(c.list()), QStringLiteral("camera 12.for"));
        // A new key starts again from the top.
        c.find(QStringLiteral("a"));
        QCOMPARE(selectedLine(c.list()), QStringLiteral("Bar Mare.for"));
        // A single match stays selected when searched again.
        c.find(QStringLiteral("suite"));
        QCOMPARE(selectedLine(c.list()), QStringLiteral("Suite.for"));
        c.find(QStringLiteral("suite"));
        QCOMPARE(selectedLine(c.list()), QStringLiteral("Suite.for"));
        QVERIFY(c.ts.messages.shown.empty());
    }

    void quickSearchWithoutMatchSelectsTheFirstLine()
    {
        Catalogue c({"Èlite.for", "b.for"});
        c.show();
        c.find(QStringLiteral("èlite")); // an accented capital does not match its small letter
        QCOMPARE(selectedLine(c.list()), QStringLiteral("b.for"));
        c.find(QStringLiteral(""));
        QCOMPARE(selectedLine(c.list()), QStringLiteral("b.for"));
    }

    void quickSearchRemembersItsKeyAcrossShows()
    {
        Catalogue c({"camera 1.for", "camera 2.for", "camera 3.for"});
        c.show();
        c.find(QStringLiteral("camera"));
        c.find(QStringLiteral("camera"));
        QCOMPARE(selectedLine(c.list()), QStringLiteral("camera 2.for"));
        c.screen.hide();
        c.show();
        QVERIFY(c.list()->selectedItems().isEmpty());
        // The same key again: the first line is taken as selected and the walk goes on from it.
        c.find(QStringLiteral("camera"));
        QCOMPARE(selectedLine(c.list()), QStringLiteral("camera 2.for"));
    }

    void enterInTheSearchBoxSearches()
    {
        Catalogue c({"a.for", "bar.for"});
        c.show();
        QTest::keyClicks(c.trova(), QStringLiteral("BAR"));
        QTest::keyClick(c.trova(), Qt::Key_Return);
        QCOMPARE(selectedLine(c.list()), QStringLiteral("bar.for"));
    }

    void searchingAnEmptyListIsRefused()
    {
        Catalogue c;
        c.show();
        c.find(QStringLiteral("x"));
        QCOMPARE(c.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(c.ts.messages.shown[0].kind, Message::Kind::Plain);
        QCOMPARE(c.ts.messages.lastText(),
                 QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
    }

    void closingMovesTheBillAmongTheClosedOnesAfterConfirmation()
    {
        Catalogue c({"Bar.for", "Camera 12.for"});
        std::ofstream(c.ts.file("Camera 12.for"), std::ios::binary) << "dodici";
        c.show();
        auto *chiudi = c.screen.findChild<IconButton *>(QStringLiteral("btnChiudi"));
        QTest::mouseMove(chiudi);
        QCOMPARE(chiudi->toolTip(), QStringLiteral(" Chiude il conto selezionato e lo conserva tra i conti chiusi."));
        QCOMPARE(chiudi->description(), chiudi->toolTip());

        c.click("btnChiudi");
        QCOMPARE(c.ts.messages.lastTitle(), QStringLiteral("Nessun conto selezionato"));
        QCOMPARE(c.ts.messages.shown.back().kind, Message::Kind::Warning);

        c.select(QStringLiteral("Camera 12.for"));
        c.ts.messages.answers = {false};
        c.click("btnChiudi");
        QCOMPARE(c.ts.messages.lastTitle(), QStringLiteral("Conferma chiusura conto"));
        QVERIFY(c.ts.exists("Camera 12.for"));

        c.ts.messages.clear();
        c.select(QStringLiteral("Camera 12.for"));
        c.click("btnChiudi");
        const std::filesystem::path closed =
            c.ts.file("Conti chiusi") / "2026" / "Camera 12 (chiuso il 08-12-2026).for";
        QVERIFY(!c.ts.exists("Camera 12.for"));
        std::ifstream in(closed, std::ios::binary);
        QCOMPARE(std::string(std::istreambuf_iterator<char>(in), {}), std::string("dodici"));
        QCOMPARE(linesOf(c.list()), QStringList{QStringLiteral("Bar.for")});
        QCOMPARE(c.label("lblTotale")->text(), QStringLiteral("Ci sono 1 conti archiviati."));
        QCOMPARE(c.ts.messages.shown.size(), std::size_t(2));
        QCOMPARE(c.ts.messages.shown[1].kind, Message::Kind::Information);
        QCOMPARE(c.ts.messages.shown[1].text,
                 QStringLiteral("Il conto \"Camera 12\" è stato chiuso ed è conservato tra i conti chiusi con il nome "
                                "\"Camera 12 (chiuso il 08-12-2026).for\"."));

        // A second bill of that name closed the same day gets a distinct name.
        std::ofstream(c.ts.file("camera 12.for")).flush();
        c.screen.hide();
        c.show();
        c.select(QStringLiteral("camera 12.for"));
        c.click("btnChiudi");
        QVERIFY(std::filesystem::exists(closed.parent_path() / "camera 12 (chiuso il 08-12-2026) (2).for"));
    }

    void closedBillsAreListedOpenedReadOnlyAndReopened()
    {
        Catalogue c({"Bar.for"});
        const auto year = closedYearFolder(c.ts.services.folder, 2025);
        std::filesystem::create_directories(year);
        std::ofstream(year / "Rossi (chiuso il 30-11-2025).for").flush();
        std::ofstream(year / "Bar (chiuso il 31-12-2025).for").flush();
        c.show();
        auto *chiusi = c.screen.findChild<QRadioButton *>(QStringLiteral("optChiusi"));
        auto *aperti = c.screen.findChild<QRadioButton *>(QStringLiteral("optAperti"));
        QVERIFY(aperti->isChecked());
        QTest::mouseClick(chiusi, Qt::LeftButton);
        QCOMPARE(linesOf(c.list()), (QStringList{QStringLiteral("Bar (chiuso il 31-12-2025).for"),
                                                 QStringLiteral("Rossi (chiuso il 30-11-2025).for")}));
        QCOMPARE(c.label("lblTotale")->text(), QStringLiteral("Ci sono 2 conti chiusi."));
        auto *riapri = c.screen.findChild<IconButton *>(QStringLiteral("btnRiapri"));
        QVERIFY(riapri->isVisible());
        QVERIFY(!c.screen.findChild<IconButton *>(QStringLiteral("btnCancella"))->isVisible());
        QVERIFY(!c.screen.findChild<IconButton *>(QStringLiteral("btnChiudi"))->isVisible());

        // Reopening is refused while an open bill has the name; nothing moves.
        c.select(QStringLiteral("Bar (chiuso il 31-12-2025).for"));
        c.click("btnRiapri");
        QCOMPARE(c.ts.messages.lastTitle(), QStringLiteral("Riapertura conto non applicabile"));
        QVERIFY(std::filesystem::exists(year / "Bar (chiuso il 31-12-2025).for"));

        c.select(QStringLiteral("Rossi (chiuso il 30-11-2025).for"));
        c.click("btnRiapri");
        QCOMPARE(c.ts.messages.lastTitle(), QStringLiteral("Riapertura conto effettuata"));
        QVERIFY(c.ts.exists("Rossi.for"));
        QVERIFY(!std::filesystem::exists(year / "Rossi (chiuso il 30-11-2025).for"));
        QCOMPARE(linesOf(c.list()), QStringList{QStringLiteral("Bar (chiuso il 31-12-2025).for")});

        // A closed bill opens on the consumption screen for reading only.
        c.select(QStringLiteral("Bar (chiuso il 31-12-2025).for"));
        c.click("imgApri");
        QVERIFY(c.forniture.isVisible());
        QCOMPARE(c.forniture.access(), BillAccess::Closed);
        QCOMPARE(c.forniture.billPath(), year / "Bar (chiuso il 31-12-2025).for");
        QCOMPARE(c.forniture.panClasse->text(), QStringLiteral("Bar (chiuso il 31-12-2025)"));
        QVERIFY(!c.forniture.btnSalva->isEnabled());
        c.forniture.close();

        // Shown again, the catalogue lists the open bills.
        c.show();
        QVERIFY(aperti->isChecked());
        QCOMPARE(linesOf(c.list()), (QStringList{QStringLiteral("Bar.for"), QStringLiteral("Rossi.for")}));
        c.select(QStringLiteral("Rossi.for"));
        c.click("imgApri");
        QCOMPARE(c.forniture.access(), BillAccess::Open);
        QVERIFY(c.forniture.btnSalva->isEnabled());
    }

    void helpShowsItsTopic()
    {
        Catalogue c;
        c.show();
        c.click("imgGuida");
        QCOMPARE(c.ts.navigator.helpTopics, QStringList{QStringLiteral("Accesso ad un conto esistente")});
    }
};

QTEST_MAIN(TestTfrmAccedi)
#include "test_tfrmaccedi.moc"
