#include <fstream>
#include <functional>

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "bills/consumption.h"
#include "bills/tfrmesportafor.h"
#include "bills/tfrmforniture.h"
#include "common/recordfile.h"
#include "common/text.h"
#include "common/widgets.h"
#include "support/fakeprinting.h"
#include "support/modal.h"

using namespace velmora;
using velmora::test::FakeOffice;
using velmora::test::Message;
using velmora::test::PrintingFakes;
using velmora::test::TestServices;

using velmora::test::whenModal;

namespace {

std::string consumptionRecord(const std::string &product, const std::string &quantity, const std::string &price,
                              const std::string &amount)
{
    std::vector<std::string> v(consumption::FieldCount);
    v[consumption::Prodotto] = utf8ToCp1252(product);
    v[consumption::Data] = "08/12/2026";
    v[consumption::Ora] = "21:15";
    v[consumption::Luogo] = "Bar";
    v[consumption::Quantita] = quantity;
    v[consumption::Prezzo] = price;
    v[consumption::Importo] = amount;
    v[consumption::Cliente] = "Rossi Mario";
    return consumptionLayout().encode(v);
}

// What the printer drew, in drawing order, read back from its Windows-1252 bytes.
QStringList printed(const velmora::test::FakePrinter &printer)
{
    QStringList texts;
    for (const std::string &text : printer.lastTexts())
        texts << fromAnsi(text);
    return texts;
}

} // namespace

// The consumption screen's print and export commands with a recording printer and office.
class TestBillPrintExport : public QObject
{
    Q_OBJECT

private:
    struct Bill
    {
        explicit Bill(const std::vector<std::string> &records = {}) : fakes(ts)
        {
            std::ofstream(ts.file("Conto prova.for")).flush();
            const RecordFile file(ts.file("Conto prova.for"), consumptionLayout().size());
            for (const std::string &r : records)
                QVERIFY(file.append(r));
            ts.navigator.onBillExport = [this](QWidget *, const std::filesystem::path &file) {
                exportDialog.setBill(file);
                exportDialog.exec();
            };
            screen.openBill(ts.file("Conto prova.for"), QStringLiteral(" Conto prova "));
            screen.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&screen));
        }
        QStringList shown() const
        {
            QStringList lines;
            for (int i = 0; i < screen.lstStudenti->count(); ++i)
                lines << screen.lstStudenti->item(i)->text();
            return lines;
        }
        void click(IconButton *icon) { QTest::mouseClick(icon, Qt::LeftButton); }

        TestServices ts;
        PrintingFakes fakes;
        TfrmForniture screen{ts.services};
        TfrmEsportaFor exportDialog{ts.services};
    };

    static std::vector<std::string> threeConsumptions()
    {
        return {consumptionRecord("Caffè", "1", "1,20", "1,20"), consumptionRecord("Acqua", "2", "1,00", "2,00"),
                consumptionRecord("Pranzo", "1", "12,50", "12,50")};
    }

private slots:
    void printingAnEmptyBillSaysSoAndPrintsNothing()
    {
        Bill b;
        b.click(b.screen.btnStampa);
        QVERIFY(b.fakes.printer.jobs.empty());
        QCOMPARE(b.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(b.ts.messages.shown[0].kind, Message::Kind::Plain);
        QCOMPARE(b.ts.messages.lastText(),
                 QStringLiteral("Operazione di stampa non applicabile: la lista non contiene nessuna voce."));
    }

    void answeringNoPrintsNothing()
    {
        Bill b(threeConsumptions());
        b.ts.messages.answers.push_back(false);
        b.click(b.screen.btnStampa);
        QVERIFY(b.fakes.printer.jobs.empty());
        QCOMPARE(b.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(b.ts.messages.shown[0].kind, Message::Kind::Question);
        QCOMPARE(b.ts.messages.lastTitle(), QStringLiteral("Conferma operazione di stampa"));
        QCOMPARE(b.ts.messages.lastText(), QStringLiteral("Si vuole stampare il presente conto?"));
    }

    void printsTheListUnderTheBillNameWithItsTotal()
    {
        Bill b(threeConsumptions());
        const QStringList shown = b.shown();
        QCOMPARE(shown.size(), 3);
        QVERIFY(shown[0].contains(QStringLiteral("Caffè")));
        QVERIFY(shown[2].contains(QStringLiteral("Pranzo")));
        QCOMPARE(b.screen.repTotale->text(), QStringLiteral("15,70"));

        b.click(b.screen.btnStampa);
        QCOMPARE(b.fakes.printer.jobs.size(), std::size_t(1));
        QCOMPARE(b.fakes.printer.jobs[0].orientation, PageOrientation::Portrait);
        QCOMPARE(b.ts.messages.shown.size(), std::size_t(1)); // the question only

        const QString rule(50, QLatin1Char('-'));
        const QStringList expected =
            QStringList{rule, QStringLiteral("Conto prova"), rule} + shown +
            QStringList{rule, QStringLiteral("TOTALE IMPORTI:  € 15,70"), rule,
                        QStringLiteral("Stampa eseguita in data 08/12/2026 alle ore 10:30:15")};
        QCOMPARE(printed(b.fakes.printer), expected);
    }

    void exportShowsTheOpenBillAndHandsItsGridToWordAndExcel()
    {
        Bill b(threeConsumptions());
        bool seen = false;
        int rows = 0;
        QString firstProduct;
        whenModal([&](QDialog *dialog) {
            seen = true;
            QCOMPARE(dialog, static_cast<QDialog *>(&b.exportDialog));
            rows = b.exportDialog.gridModel()->gridRows();
            firstProduct = b.exportDialog.gridModel()->cellText(1, 1);
            QTest::mouseClick(b.exportDialog.imgWord, Qt::LeftButton);
            QTest::mouseClick(b.exportDialog.imgExcel, Qt::LeftButton);
        });
        b.click(b.screen.btnEsporta);
        QVERIFY(seen);
        QVERIFY(!b.exportDialog.isVisible());
        QCOMPARE(rows, 4);
        QCOMPARE(firstProduct, QStringLiteral("Caffè"));

        const auto &calls = b.fakes.office.calls;
        QCOMPARE(calls.size(), std::size_t(2));
        QCOMPARE(calls[0].kind, FakeOffice::Call::Kind::WordGrid);
        QCOMPARE(calls[0].grid.size(), std::size_t(4));
        QCOMPARE(calls[0].grid[0].size(), qsizetype(13));
        QCOMPARE(calls[0].grid[0][5], QStringLiteral(" Quantità"));
        QCOMPARE((QStringList{calls[0].grid[1][0], calls[0].grid[2][0], calls[0].grid[3][0]}),
                 (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
        QCOMPARE(calls[0].grid[3][7], QStringLiteral("12,50"));
        QCOMPARE(calls[1].kind, FakeOffice::Call::Kind::ExcelGrid);
        QCOMPARE(calls[1].name, QStringLiteral("Conto consumazioni"));
        QCOMPARE(calls[1].boldUpTo, 26);
        QCOMPARE(calls[1].grid, calls[0].grid);
        QVERIFY(b.fakes.printer.jobs.empty());
    }

    void exportFollowsTheBillOpenAtThatMoment()
    {
        Bill b(threeConsumptions());
        std::ofstream(b.ts.file("Altro.for")).flush();
        QVERIFY(RecordFile(b.ts.file("Altro.for"), consumptionLayout().size())
                    .append(consumptionRecord("Ombrellone", "1", "8,00", "8,00")));
        b.screen.hide();
        b.screen.openBill(b.ts.file("Altro.for"), QStringLiteral("Altro"));

        bool seen = false;
        QStringList products;
        whenModal([&](QDialog *) {
            seen = true;
            for (int row = 1; row < b.exportDialog.gridModel()->gridRows(); ++row)
                products << b.exportDialog.gridModel()->cellText(1, row);
        });
        b.click(b.screen.btnEsporta);
        QVERIFY(seen);
        QCOMPARE(products, QStringList{QStringLiteral("Ombrellone")});
    }
};

QTEST_MAIN(TestBillPrintExport)
#include "test_billprintexport.moc"
