#include <algorithm>

#include <QApplication>
#include <QTest>

#include "bills/consumption.h"
#include "bills/lockholder.h"
#include "bills/tfrmriepilogo.h"
#include "common/exportdialog.h"
#include "common/recordfile.h"
#include "common/text.h"
#include "support/fakeprinting.h"

using namespace velmora;
using velmora::test::FakeOffice;
using velmora::test::Message;
using velmora::test::PrintingFakes;
using velmora::test::TestServices;

namespace {

struct Row
{
    const char *day;
    const char *waiter;
    const char *amount;
    const char *quantity = "1";
};

void writeBill(TestServices &ts, const std::string &name, const std::vector<Row> &rows)
{
    const RecordFile file(ts.file(name + ".for"), consumptionLayout().size());
    QVERIFY(file.openForUse());
    for (const Row &r : rows) {
        std::vector<std::string> v(consumption::FieldCount);
        v[consumption::Prodotto] = "Caff\xe8";
        v[consumption::Data] = r.day;
        v[consumption::Quantita] = r.quantity;
        v[consumption::Prezzo] = r.amount;
        v[consumption::Importo] = r.amount;
        v[consumption::Cameriere] = r.waiter;
        QVERIFY(file.append(consumptionLayout().encode(v)));
    }
}

} // namespace

// The summary screen driven as a user does, over a temporary program folder.
class TestTfrmRiepilogo : public QObject
{
    Q_OBJECT

private:
    struct Screen
    {
        Screen() : fakes(ts) {}
        TestServices ts;
        PrintingFakes fakes;
        TfrmRiepilogo screen{ts.services};

        void show()
        {
            screen.showWorking();
            // The offscreen screen is smaller than the window's least size: make the whole content reachable.
            screen.setWindowState(Qt::WindowNoState);
            screen.setGeometry(QRect(QPoint(0, 0), screen.minimumSize()));
            QVERIFY(QTest::qWaitForWindowExposed(&screen));
            screen.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&screen));
        }
        void type(TextBox *box, const QString &text)
        {
            box->setFocus();
            box->clear();
            test::typeText(box, text);
        }
        void calculate() { QTest::mouseClick(screen.cmdCalcola, Qt::LeftButton); }
        // Every row of the grid below the headings, its cells joined by "|".
        QStringList rows() const
        {
            QStringList out;
            const TextGrid grid = screen.gridTexts();
            for (std::size_t r = 1; r < grid.size(); ++r)
                out << grid[r].join(QLatin1Char('|'));
            return out;
        }
    };

private slots:
    void opensOnTodayByDayWithAnEmptyGrid()
    {
        Screen s;
        s.show();
        QCOMPARE(s.screen.windowTitle(), QStringLiteral(" Velmora © - Riepilogo delle consumazioni"));
        QCOMPARE(s.screen.txtDal->text(), QStringLiteral("08/12/2026"));
        QCOMPARE(s.screen.txtAl->text(), QStringLiteral("08/12/2026"));
        QVERIFY(s.screen.optGiorno->isChecked());
        QVERIFY(!s.screen.chkChiusi->isChecked());
        QCOMPARE(s.screen.gridModel()->rowCount(), 0);
        QCOMPARE(s.screen.gridModel()->cellText(1, 0), QStringLiteral(" Giorno"));
        QCOMPARE(QApplication::focusWidget(), s.screen.txtDal);
        QCOMPARE(s.screen.txtDal->palette().color(QPalette::Base), colours::focus);
        QCOMPARE(s.screen.txtAl->palette().color(QPalette::Base), colours::moneyGreen);

        // A second opening starts afresh, whatever the first one left.
        s.screen.optConto->setChecked(true);
        s.screen.chkChiusi->setChecked(true);
        s.type(s.screen.txtDal, QStringLiteral("01/01/2026"));
        s.calculate();
        QVERIFY(s.screen.gridModel()->rowCount() > 0);
        s.screen.close();
        QCOMPARE(s.ts.navigator.startShown, 1);
        s.ts.clock.date = QDate(2027, 1, 2);
        s.show();
        QCOMPARE(s.screen.txtDal->text(), QStringLiteral("02/01/2027"));
        QVERIFY(s.screen.optGiorno->isChecked());
        QVERIFY(!s.screen.chkChiusi->isChecked());
        QCOMPARE(s.screen.gridModel()->rowCount(), 0);
    }

    void calculatesTheGroupsTheTotalAndNamesWhatIsNotCounted()
    {
        Screen s;
        writeBill(s.ts, "Bar", {{"01/12/2026", "Mario", "2,50", "2"}, {"03/12/2026", "Anna", "1,20"}});
        writeBill(s.ts, "Camera 12",
                  {{"02/12/2026", "mario", "10,00"}, {"31/11/2026", "Anna", "4,00"}, {"09/12/2026", "Anna", "99,00"}});
        s.show();
        s.type(s.screen.txtDal, QStringLiteral("1/12/2026"));
        s.type(s.screen.txtAl, QStringLiteral("08/12/2026"));
        QTest::mouseClick(s.screen.optCameriere, Qt::LeftButton);
        s.calculate();
        // The days are shown as they were read.
        QCOMPARE(s.screen.txtDal->text(), QStringLiteral("01/12/2026"));
        QCOMPARE(s.screen.gridModel()->cellText(1, 0), QStringLiteral(" Cameriere / Operatore"));
        QCOMPARE(s.rows(), (QStringList{QStringLiteral("1|Anna|1|1|1,20|"), QStringLiteral("2|Mario|2|3|12,50|"),
                                        QStringLiteral("|TOTALE|3|4|13,70|2 conti letti"),
                                        QStringLiteral("|Non conteggiate|1|||escluse dal totale: sono elencate qui "
                                                       "sotto"),
                                        QStringLiteral("|Camera 12, consumazione n. 2||||data non leggibile "
                                                       "(\"31/11/2026\")")}));
        // The user is told, the same moment, that something was left out.
        QCOMPARE(s.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(s.ts.messages.shown.back().kind, Message::Kind::Information);
        QCOMPARE(s.ts.messages.lastTitle(), QStringLiteral("Consumazioni non conteggiate"));
        QVERIFY(s.ts.messages.lastText().startsWith(QStringLiteral("Una consumazione non è stata conteggiata")));

        // Another grouping over the same period, by bill.
        QTest::mouseClick(s.screen.optConto, Qt::LeftButton, {}, QPoint(8, 11));
        s.calculate();
        QCOMPARE(s.rows().mid(0, 3),
                 (QStringList{QStringLiteral("1|Bar|2|3|3,70|"), QStringLiteral("2|Camera 12|1|1|10,00|"),
                              QStringLiteral("|TOTALE|3|4|13,70|2 conti letti")}));
    }

    void refusesDaysThatAreNotDaysAndAPeriodEndingBeforeItStarts()
    {
        Screen s;
        s.show();
        s.type(s.screen.txtDal, QStringLiteral("31/02/2026"));
        s.calculate();
        QCOMPARE(s.ts.messages.shown.back().kind, Message::Kind::Warning);
        QCOMPARE(s.ts.messages.lastTitle(), QStringLiteral("Riepilogo non applicabile"));
        QCOMPARE(s.ts.messages.lastText(), QStringLiteral("Il primo giorno del periodo non è una data valida.\r\n\r\n"
                                                          "Indicare il giorno nella forma gg/mm/aaaa, per esempio "
                                                          "08/12/2026."));
        QCOMPARE(QApplication::focusWidget(), s.screen.txtDal);
        s.type(s.screen.txtDal, QStringLiteral("01/12/2026"));
        s.type(s.screen.txtAl, QString());
        s.calculate();
        QVERIFY(s.ts.messages.lastText().startsWith(QStringLiteral("L'ultimo giorno del periodo non è")));
        QCOMPARE(QApplication::focusWidget(), s.screen.txtAl);
        s.type(s.screen.txtDal, QStringLiteral("09/12/2026"));
        s.type(s.screen.txtAl, QStringLiteral("08/12/2026"));
        s.calculate();
        QVERIFY(s.ts.messages.lastText().startsWith(QStringLiteral("Il primo giorno del periodo viene dopo")));
        QCOMPARE(s.screen.gridModel()->rowCount(), 0);

        // The boxes take digits and slashes only, ten at most.
        s.type(s.screen.txtDal, QStringLiteral("1a2.b/12-/2026x99"));
        QCOMPARE(s.screen.txtDal->text(), QStringLiteral("12/12/2026"));
    }

    void enterWalksThePeriodAndHoverDescribesEveryControl()
    {
        Screen s;
        s.show();
        s.screen.txtDal->setFocus();
        QTest::keyClick(s.screen.txtDal, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), s.screen.txtAl);
        QCOMPARE(s.screen.txtDal->palette().color(QPalette::Base), colours::moneyGreen);
        QTest::keyClick(s.screen.txtAl, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), s.screen.txtDal);

        QTest::mouseMove(s.screen.btnStampa);
        QCOMPARE(s.screen.panInfo->text(), QStringLiteral(" Stampa il riepilogo delle consumazioni."));
        QTest::mouseMove(s.screen.optProdotto);
        QCOMPARE(s.screen.panInfo->text(), QStringLiteral(" Raggruppa le consumazioni per prodotto o servizio."));
        QTest::mouseMove(s.screen.grpRaggruppa, QPoint(480, 90));
        QCOMPARE(s.screen.panInfo->text(), QString());
        QTest::mouseMove(s.screen.chkChiusi);
        QCOMPARE(s.screen.panInfo->text(),
                 QStringLiteral(" Comprende nel riepilogo anche le consumazioni dei conti chiusi."));
        QTest::mouseMove(s.screen.cmdCalcola);
        QCOMPARE(s.screen.panInfo->text(),
                 QStringLiteral(" Calcola il riepilogo delle consumazioni del periodo indicato."));
        QTest::mouseMove(s.screen.btnEsporta);
        QCOMPARE(s.screen.panInfo->text(), QStringLiteral(" Esporta il riepilogo in un foglio di Microsoft Excel."));
        QTest::mouseMove(s.screen.grpContainer, QPoint(990, 300));
        QCOMPARE(s.screen.panInfo->text(), QString());
        QTest::mouseClick(s.screen.cmdGuida, Qt::LeftButton);
        QCOMPARE(s.ts.navigator.helpTopics, QStringList{QStringLiteral("Riepilogo delle consumazioni")});
    }

    void printsAndExportsTheGridAsShown()
    {
        Screen s;
        writeBill(s.ts, "Bar", {{"08/12/2026", "Mario", "2,50", "2"}});
        s.show();
        // Nothing calculated yet: nothing to print or export.
        QTest::mouseClick(s.screen.btnStampa, Qt::LeftButton);
        QCOMPARE(s.ts.messages.lastText(), PrintService::emptyListMessage());
        QTest::mouseClick(s.screen.btnEsporta, Qt::LeftButton);
        QVERIFY(s.ts.messages.lastText().startsWith(QStringLiteral("Esportazione non applicabile")));
        QVERIFY(s.fakes.printer.jobs.empty());
        QVERIFY(s.fakes.office.calls.empty());

        QTest::mouseClick(s.screen.optCameriere, Qt::LeftButton);
        s.calculate();
        s.ts.messages.clear();
        QTest::mouseClick(s.screen.btnStampa, Qt::LeftButton);
        QCOMPARE(s.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(s.ts.messages.lastTitle(), QStringLiteral("Conferma operazione di stampa"));
        QCOMPARE(s.ts.messages.lastText(), QStringLiteral("Si vuole stampare il presente riepilogo?"));
        QCOMPARE(s.fakes.printer.jobs.size(), std::size_t(1));
        QCOMPARE(s.fakes.printer.jobs.back().orientation, PageOrientation::Landscape);
        QStringList texts;
        for (const std::string &t : s.fakes.printer.lastTexts())
            texts << fromAnsi(t);
        QVERIFY(texts.contains(QStringLiteral("Riepilogo per cameriere dal 08/12/2026 al 08/12/2026")));
        // Fixed columns: the name, then the count, the quantity and the amount aligned on the right.
        const QString mario = QStringLiteral("Mario").leftJustified(40) + QStringLiteral("  ") +
                              QStringLiteral("1").rightJustified(12) + QStringLiteral("  ") +
                              QStringLiteral("2").rightJustified(14) + QStringLiteral("  ") +
                              QStringLiteral("2,50").rightJustified(16);
        QVERIFY2(texts.contains(mario), qPrintable(texts.join(QLatin1Char('\n'))));
        QVERIFY(std::any_of(texts.begin(), texts.end(),
                            [](const QString &t) { return t.startsWith(QStringLiteral("TOTALE ")); }));
        // The question answered No prints nothing more.
        s.ts.messages.answers.push_back(false);
        QTest::mouseClick(s.screen.btnStampa, Qt::LeftButton);
        QCOMPARE(s.fakes.printer.jobs.size(), std::size_t(1));

        QTest::mouseClick(s.screen.btnEsporta, Qt::LeftButton);
        QCOMPARE(s.fakes.office.calls.size(), std::size_t(1));
        const FakeOffice::Call &call = s.fakes.office.calls.back();
        QCOMPARE(call.kind, FakeOffice::Call::Kind::ExcelGrid);
        QCOMPARE(call.name, QStringLiteral("Riepilogo consumazioni"));
        QCOMPARE(call.grid, s.screen.gridTexts());
        QCOMPARE(call.grid.front().at(4), QStringLiteral(" Importo (€)"));
        QCOMPARE(call.grid.at(1).join(QLatin1Char('|')), QStringLiteral("1|Mario|1|2|2,50|"));
    }

    void aFolderHeldElsewhereIsToldAsInUseAndTheGridStays()
    {
        Screen s;
        writeBill(s.ts, "Bar", {{"08/12/2026", "Mario", "2,50"}});
        s.show();
        s.calculate();
        const QStringList before = s.rows();
        QVERIFY(!before.isEmpty());
        const test::ShortLockWait shortWait;
        test::LockHolder other(s.ts.services.folder);
        QVERIFY(other.held());
        s.calculate();
        QCOMPARE(s.ts.messages.shown.back().kind, Message::Kind::Plain);
        QCOMPARE(s.ts.messages.lastText(), archiveBusyMessage());
        QCOMPARE(s.rows(), before);
    }
};

QTEST_MAIN(TestTfrmRiepilogo)
#include "test_tfrmriepilogo.moc"
