#include <fstream>
#include <functional>
#include <iterator>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "bills/closedbills.h"
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

// Watches one file for the ways it is opened and closed.
class OpenWatch
{
public:
    explicit OpenWatch(const std::filesystem::path &file) : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        if (m_fd >= 0)
            m_watch = ::inotify_add_watch(m_fd, file.c_str(), IN_CLOSE_WRITE | IN_CLOSE_NOWRITE | IN_MODIFY);
    }
    ~OpenWatch()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool watching() const { return m_watch >= 0; }
    // Collects the events seen so far.
    void collect()
    {
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                return;
            for (ssize_t at = 0; at < n;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                if (event->mask & IN_CLOSE_NOWRITE)
                    ++readOnly;
                if (event->mask & (IN_CLOSE_WRITE | IN_MODIFY))
                    ++written;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }
    int readOnly = 0; // closes of the file opened without write access
    int written = 0;  // closes after write access, and changes

private:
    int m_fd;
    int m_watch = -1;
};

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
    void aClosedBillIsReadPrintedAndExportedButNeverOpenedForWriting()
    {
        Bill b;
        const std::filesystem::path closed =
            closedYearFolder(b.ts.services.folder, 2026) / "Conto prova (chiuso il 08-12-2026).for";
        std::filesystem::create_directories(closed.parent_path());
        std::string bytes;
        for (const std::string &r : threeConsumptions())
            bytes += r;
        std::ofstream(closed, std::ios::binary) << bytes;
        ::chmod(closed.c_str(), 0440);
        OpenWatch watch(closed);
        QVERIFY(watch.watching());
        b.screen.close();
        b.screen.openBill(closed, QStringLiteral("Conto prova (chiuso il 08-12-2026)"), BillAccess::Closed);
        QCOMPARE(b.screen.access(), BillAccess::Closed);
        QCOMPARE(b.shown().size(), 3);
        QCOMPARE(b.screen.repTotale->text(), QStringLiteral("15,70"));
        // The commands that write are disabled, and the boxes only show.
        for (QWidget *command : std::initializer_list<QWidget *>{
                 b.screen.btnNuovo, b.screen.btnVuota, b.screen.btnSalva, b.screen.cmdElimina, b.screen.btnTrasferisci,
                 b.screen.impProdotto, b.screen.impCliente, b.screen.cmdCalcola})
            QVERIFY2(!command->isEnabled(), qPrintable(command->objectName()));
        for (TextBox *box : b.screen.boxes())
            QVERIFY(box->isReadOnly());
        QVERIFY(b.screen.panIstruzioni->text().startsWith(QStringLiteral("Conto chiuso")));
        b.click(b.screen.btnSalva);
        b.click(b.screen.cmdElimina);
        // Browsing, printing and exporting work.
        b.click(b.screen.imgUltimo);
        QCOMPARE(b.screen.txtProdotto->text(), QStringLiteral("Pranzo"));
        b.click(b.screen.btnStampa);
        QCOMPARE(b.fakes.printer.jobs.size(), std::size_t(1));
        QVERIFY(printed(b.fakes.printer).contains(QStringLiteral("Conto prova (chiuso il 08-12-2026)")));
        whenModal([&](QDialog *) { QTest::mouseClick(b.exportDialog.imgExcel, Qt::LeftButton); });
        b.click(b.screen.btnEsporta);
        QCOMPARE(b.fakes.office.calls.size(), std::size_t(1));
        QCOMPARE(b.fakes.office.calls[0].grid.size(), std::size_t(4));

        watch.collect();
        QVERIFY(watch.readOnly > 0);
        QCOMPARE(watch.written, 0);
        std::ifstream in(closed, std::ios::binary);
        QCOMPARE(std::string(std::istreambuf_iterator<char>(in), {}), bytes);
        QVERIFY(b.ts.messages.shown.size() == 1); // the print question only
        QCOMPARE(b.ts.messages.shown[0].kind, Message::Kind::Question);

        // Opened again as an open bill, the same screen writes again.
        b.screen.close();
        b.screen.openBill(b.ts.file("Conto prova.for"), QStringLiteral("Conto prova"));
        QVERIFY(b.screen.btnSalva->isEnabled());
        QVERIFY(!b.screen.txtProdotto->isReadOnly());
        QVERIFY(b.screen.panIstruzioni->text().startsWith(QStringLiteral("Per aggiungere")));
    }

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
