// Times the screens that show a whole archive at once, at a quarter, half and all of their
// largest size, so a cost that grows faster than the number of lines shows in the figures.
// Runs offscreen: QT_QPA_PLATFORM=offscreen velmora_bench_screens [-iterations N]
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <map>

#include "archives.h"
#include "bills/consumption.h"
#include "bills/tfrmforniture.h"
#include "clients/clientrecord.h"
#include "clients/tfrmcercadestinatari.h"
#include "clients/tfrmesportades.h"
#include "common/exportdialog.h"
#include "common/memorypolicy.h"
#include "common/recordfile.h"
#include "support/fakes.h"

using namespace velmora;
using velmora::test::TestServices;

namespace {

// Every card written once, cut to the size each row asks.
const std::vector<std::string> &clientRecords()
{
    static const std::vector<std::string> records = [] {
        std::vector<std::string> out;
        for (const auto &card : bench::makeClients(50000))
            out.push_back(clientLayout().encode(card));
        return out;
    }();
    return records;
}

const std::vector<std::string> &consumptionRecords()
{
    static const std::vector<std::string> records = [] {
        std::vector<std::string> out;
        for (const auto &row : bench::makeConsumptions(10000, 0))
            out.push_back(consumptionLayout().encode(row));
        return out;
    }();
    return records;
}

void writeFirst(const std::filesystem::path &path, const std::vector<std::string> &records, int count)
{
    bench::writeRecords(path, std::vector<std::string>(records.begin(), records.begin() + count));
}

} // namespace

class ScreensBench : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { keepFreedMemoryForReuse(); } // as the program does
    void clientSearchList_data() { sizes(50000); }
    void clientSearchList();
    void openLongBill_data() { sizes(10000); }
    void openLongBill();
    void clientExportGrid_data() { sizes(50000); }
    void clientExportGrid();

private:
    static void sizes(int largest)
    {
        QTest::addColumn<int>("lines");
        for (int part : {4, 2, 1})
            QTest::newRow(qPrintable(QString::number(largest / part))) << largest / part;
    }
};

// Blank criteria list every card: the search reads the archive, builds and sorts the lines
// and fills the list in one call.
void ScreensBench::clientSearchList()
{
    QFETCH(int, lines);
    TestServices ts;
    writeFirst(ts.file(kClientArchive), clientRecords(), lines);
    TfrmCercaDestinatari dialog(ts.services);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *back = dialog.findChild<QPushButton *>(QStringLiteral("cmdIndietro"));
    QBENCHMARK
    {
        dialog.cmdTrova->click();
        QCoreApplication::processEvents(); // the list lays out and paints its first page
        QCOMPARE(dialog.lstRecords->count(), lines);
        back->click();
    }
}

// Opening a bill reads it, lists every consumption with its total and shows the screen.
void ScreensBench::openLongBill()
{
    QFETCH(int, lines);
    TestServices ts;
    writeFirst(ts.file("Conto lungo.for"), consumptionRecords(), lines);
    TfrmForniture screen(ts.services);
    screen.openBill(ts.file("Conto lungo.for"), QStringLiteral("Conto lungo"));
    screen.hide();
    QBENCHMARK
    {
        screen.showMaximized(); // as showWorking, without raising a window the offscreen platform cannot raise
        QCoreApplication::processEvents();
        QCOMPARE(screen.lstStudenti->count(), lines);
        screen.hide();
    }
}

// Every showing of the export reloads its grid from the archive.
void ScreensBench::clientExportGrid()
{
    QFETCH(int, lines);
    TestServices ts;
    writeFirst(ts.file(kClientArchive), clientRecords(), lines);
    TfrmEsportaDes dialog(ts.services);
    QBENCHMARK
    {
        dialog.show();
        QCoreApplication::processEvents();
        QCOMPARE(dialog.gridModel()->gridRows(), lines + 1); // the headings row too
        dialog.hide();
    }
}

QTEST_MAIN(ScreensBench)
#include "bench_screens.moc"
