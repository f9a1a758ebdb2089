#include <memory>

#include <QFile>
#include <QHeaderView>
#include <QTest>

#include "bills/tfrmesportafor.h"
#include "clients/tfrmesportades.h"
#include "common/widgets.h"
#include "products/tfrmesportamat.h"
#include "support/fakeprinting.h"

using velmora::ExportDialog;
using velmora::RecordLayout;
using velmora::test::FakeOffice;
using velmora::test::PrintingFakes;
using velmora::test::TestServices;

namespace {

const RecordLayout kBill{250, 10, 5, 250, 16, 16, 16, 10, 50, 50, 50, 50};
const RecordLayout kClient{50,  50,  50,  50, 50, 50, 50, 50,  50,  120, 50,  50,  16,  11,  50,  50,  50, 50,
                           120, 120, 250, 50, 50, 50, 50, 120, 250, 250, 250, 250, 250, 250, 250, 250, 250};
const RecordLayout kProduct{250, 250, 250, 250, 250, 250, 250, 250, 50,  50,  250, 250, 15,
                            250, 15,  15,  250, 250, 250, 250, 250, 250, 250, 250, 250};

enum class Kind { Bill, Clients, Products };

// One export dialog over a temporary program folder; the bill export is handed "Conto prova.for".
struct Harness
{
    explicit Harness(Kind kind) : kind(kind), fakes(test)
    {
        switch (kind) {
        case Kind::Bill: {
            auto bill = std::make_unique<TfrmEsportaFor>(test.services);
            bill->setBill(test.file("Conto prova.for"));
            billDialog = bill.get();
            dialog = std::move(bill);
            break;
        }
        case Kind::Clients:
            dialog = std::make_unique<TfrmEsportaDes>(test.services);
            break;
        case Kind::Products:
            dialog = std::make_unique<TfrmEsportaMat>(test.services);
            break;
        }
    }

    const RecordLayout &layout() const
    {
        return kind == Kind::Bill ? kBill : kind == Kind::Clients ? kClient : kProduct;
    }
    std::string archive() const
    {
        return kind == Kind::Bill ? "Conto prova.for" : kind == Kind::Clients ? "Anagrafica.pro" : "Materiali.pro";
    }
    void write(const std::vector<std::vector<std::string>> &records) const
    {
        QFile f(QString::fromStdString(test.file(archive()).string()));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (const auto &r : records) {
            const std::string bytes = layout().encode(r);
            f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        }
    }
    // Hides and shows again, as the card screens do for every export.
    void reshow() const
    {
        dialog->hide();
        dialog->show();
    }
    QString cell(int column, int row) const { return dialog->gridModel()->cellText(column, row); }

    Kind kind;
    TestServices test;
    PrintingFakes fakes;
    std::unique_ptr<ExportDialog> dialog;
    TfrmEsportaFor *billDialog = nullptr; // the same dialog, for the bill export
};

std::vector<std::vector<std::string>> threeRecords(Kind kind)
{
    switch (kind) {
    case Kind::Bill:
        return {{"Caff\xe8", "08/12/2026", "10:30", "Bar", "1", "1,20", "1,20"},
                {"Acqua", "08/12/2026", "11:00", "", "2", "1,00", "2,00"},
                {"Pranzo", "08/12/2026", "13:00", "Sala", "1", "12,50", "12,50"}};
    case Kind::Clients:
        return {{"Rossi Mario", "01/02/1980", "Roma", "12"}, {"Bianchi Anna", "03/04/1975"}, {"Verdi Luca"}};
    case Kind::Products:
        return {{"A001", "Bevanda"}, {"A002"}, {"B010", "Servizio"}};
    }
    return {};
}

} // namespace

class ExportDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void dialogsHaveTheirCaptionsAndControls_data();
    void dialogsHaveTheirCaptionsAndControls();
    void showingLoadsTheArchive_data();
    void showingLoadsTheArchive();
    void everyShowingReloads();
    void emptyArchiveKeepsRowCountWithEmptyCells();
    void billDialogReadsTheOpenBill();
    void columnWidthsComeBackAtTheNextShowing();
    void wordAndExcelReceiveTheWholeGrid_data();
    void wordAndExcelReceiveTheWholeGrid();
    void exportFailureShowsTheMessage();
    void guidaAndEsci();
    void hoverDescriptionsAndRedLabels();
    void rowsArePaintedInAlternateColours();
    void largeArchiveLoadsInOneStep();
};

void ExportDialogsTest::dialogsHaveTheirCaptionsAndControls_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("columns");
    QTest::newRow("bill") << int(Kind::Bill) << QStringLiteral("TfrmEsportaFor")
                          << QStringLiteral(" Esportazione conto consumazioni in Microsoft Word ed Excel") << 13;
    QTest::newRow("clients") << int(Kind::Clients) << QStringLiteral("TfrmEsportaDes")
                             << QStringLiteral(" Esportazione archivio anagrafico clienti in Microsoft Word ed Excel")
                             << 26;
    QTest::newRow("products") << int(Kind::Products) << QStringLiteral("TfrmEsportaMat")
                              << QStringLiteral(" Esportazione archivio prodotti e servizi in Microsoft Word ed Excel")
                              << 17;
}

void ExportDialogsTest::dialogsHaveTheirCaptionsAndControls()
{
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(int, columns);
    Harness h{Kind(kind)};
    QCOMPARE(h.dialog->objectName(), name);
    QCOMPARE(h.dialog->windowTitle(), caption);
    QCOMPARE(h.dialog->size(), QSize(783, 505));
    const struct
    {
        const char *icon;
        const char *label;
        QString caption;
    } commands[] = {{"imgWord", "lblWord", QStringLiteral("Esporta in Word")},
                    {"imgExcel", "lblExcel", QStringLiteral("Esporta in Excel")},
                    {"imgGuida", "lblGuida", QStringLiteral("Guida")},
                    {"imgEsci", "lblEsci", QStringLiteral("Esci")}};
    for (const auto &c : commands) {
        QVERIFY(h.dialog->findChild<QLabel *>(QLatin1String(c.icon)));
        auto *label = h.dialog->findChild<QLabel *>(QLatin1String(c.label));
        QVERIFY(label);
        QCOMPARE(label->text(), c.caption);
        QVERIFY(label->font().underline());
    }
    auto *grid = h.dialog->findChild<QTableView *>(QStringLiteral("grdRecords"));
    QVERIFY(grid);
    QCOMPARE(h.dialog->gridModel()->gridColumns(), columns);
    QCOMPARE(h.dialog->gridModel()->gridRows(), 10);
    QCOMPARE(grid->verticalHeader()->defaultSectionSize(), 24);
    QVERIFY(h.dialog->findChild<QLabel *>(QStringLiteral("panInfo")));
    QVERIFY(h.dialog->findChild<QGroupBox *>(QStringLiteral("grpControlli")));
}

void ExportDialogsTest::showingLoadsTheArchive_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("row1");
    QTest::newRow("bill") << int(Kind::Bill)
                          << QStringList{QStringLiteral("1"),     QStringLiteral("Caffè"), QStringLiteral("08/12/2026"),
                                         QStringLiteral("10:30"), QStringLiteral("Bar"),   QStringLiteral("1"),
                                         QStringLiteral("1,20"),  QStringLiteral("1,20")};
    QTest::newRow("clients") << int(Kind::Clients)
                             << QStringList{QStringLiteral("1"), QStringLiteral("Rossi Mario"),
                                            QStringLiteral("Roma 01/02/1980"), QStringLiteral("12 ")};
    QTest::newRow("products") << int(Kind::Products)
                              << QStringList{QStringLiteral("1"), QStringLiteral("A001"), QStringLiteral("Bevanda")};
}

void ExportDialogsTest::showingLoadsTheArchive()
{
    QFETCH(int, kind);
    QFETCH(QStringList, row1);
    Harness h{Kind(kind)};
    h.write(threeRecords(Kind(kind)));
    h.dialog->show();
    QCOMPARE(h.dialog->gridModel()->gridRows(), 4);
    for (int c = 0; c < row1.size(); ++c)
        QCOMPARE(h.cell(c, 1), row1[c]);
    QCOMPARE(h.cell(0, 0), QString());
    QCOMPARE(h.cell(0, 3), QStringLiteral("3"));
    QCOMPARE(h.dialog->grdRecords->model()->headerData(0, Qt::Horizontal).toString(), h.cell(1, 0));
    QCOMPARE(h.dialog->grdRecords->model()->headerData(2, Qt::Vertical).toString(), QStringLiteral("3"));
    QVERIFY(h.cell(1, 0).startsWith(QLatin1Char(' ')));
}

void ExportDialogsTest::everyShowingReloads()
{
    Harness h(Kind::Clients);
    h.write(threeRecords(Kind::Clients));
    h.dialog->show();
    QCOMPARE(h.dialog->gridModel()->gridRows(), 4);
    h.write({{"Verdi Luca"}});
    h.reshow();
    QCOMPARE(h.dialog->gridModel()->gridRows(), 2);
    QCOMPARE(h.cell(1, 1), QStringLiteral("Verdi Luca"));
}

void ExportDialogsTest::emptyArchiveKeepsRowCountWithEmptyCells()
{
    Harness h(Kind::Products);
    h.dialog->show();
    QVERIFY(h.test.exists("Materiali.pro")); // created empty on the first showing
    QCOMPARE(h.dialog->gridModel()->gridRows(), 10);
    h.write(threeRecords(Kind::Products));
    h.reshow();
    h.write({});
    h.reshow();
    QCOMPARE(h.dialog->gridModel()->gridRows(), 4);
    for (int r = 1; r < 4; ++r)
        for (int c = 0; c < 17; ++c)
            QCOMPARE(h.cell(c, r), QString());
    QCOMPARE(h.cell(1, 0), QStringLiteral(" Codice articolo"));
}

void ExportDialogsTest::billDialogReadsTheOpenBill()
{
    Harness h(Kind::Bill);
    h.write(threeRecords(Kind::Bill));
    h.dialog->show();
    QCOMPARE(h.dialog->gridModel()->gridRows(), 4);

    // Another bill opened on the consumption screen: the next showing follows it.
    h.billDialog->setBill(h.test.file("Altro conto.for"));
    h.reshow();
    QCOMPARE(h.dialog->gridModel()->gridRows(), 4);
    QCOMPARE(h.cell(1, 1), QString());
    QVERIFY(h.test.exists("Altro conto.for"));
}

void ExportDialogsTest::columnWidthsComeBackAtTheNextShowing()
{
    Harness h(Kind::Bill);
    h.write(threeRecords(Kind::Bill));
    h.dialog->show();
    QHeaderView *columns = h.dialog->grdRecords->horizontalHeader();
    QCOMPARE(h.dialog->grdRecords->verticalHeader()->width(), 50);
    const int expected[] = {350, 150, 150, 250, 100, 150, 150, 150, 250, 250, 250, 250};
    for (int c = 0; c < 12; ++c)
        QCOMPARE(columns->sectionSize(c), expected[c]);
    columns->resizeSection(0, 80);
    h.reshow();
    QCOMPARE(columns->sectionSize(0), 350);
}

void ExportDialogsTest::wordAndExcelReceiveTheWholeGrid_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<int>("boldUpTo");
    QTest::newRow("bill") << int(Kind::Bill) << 13 << QStringLiteral("Conto consumazioni") << 26;
    QTest::newRow("clients") << int(Kind::Clients) << 26 << QStringLiteral("Anagrafica clienti") << 26;
    QTest::newRow("products") << int(Kind::Products) << 17 << QStringLiteral("Prodotti e servizi") << 17;
}

void ExportDialogsTest::wordAndExcelReceiveTheWholeGrid()
{
    QFETCH(int, kind);
    QFETCH(int, columns);
    QFETCH(QString, sheet);
    QFETCH(int, boldUpTo);
    Harness h{Kind(kind)};
    h.write(threeRecords(Kind(kind)));
    h.dialog->show();

    // The icons act on the release of any mouse button; their labels act the same.
    QTest::mouseClick(h.dialog->imgWord, Qt::RightButton);
    QTest::mouseClick(h.dialog->lblExcel, Qt::LeftButton);
    const auto &calls = h.fakes.office.calls;
    QCOMPARE(calls.size(), std::size_t(2));
    QCOMPARE(calls[0].kind, FakeOffice::Call::Kind::WordGrid);
    QCOMPARE(calls[1].kind, FakeOffice::Call::Kind::ExcelGrid);
    QCOMPARE(calls[1].name, sheet);
    QCOMPARE(calls[1].boldUpTo, boldUpTo);
    for (const auto &call : calls) {
        QCOMPARE(call.grid.size(), std::size_t(4));
        for (const QStringList &row : call.grid)
            QCOMPARE(row.size(), columns);
        QCOMPARE(call.grid[0][0], QString());
        QCOMPARE(call.grid[1][0], QStringLiteral("1"));
        QCOMPARE(call.grid[3][0], QStringLiteral("3"));
        QCOMPARE(call.grid[0][1], h.cell(1, 0)); // headings untrimmed
        QCOMPARE(call.grid[2][1], h.cell(1, 2));
    }
}

void ExportDialogsTest::exportFailureShowsTheMessage()
{
    Harness h(Kind::Clients);
    h.fakes.office.result = false;
    h.dialog->show();
    QTest::mouseClick(h.dialog->lblWord, Qt::LeftButton);
    QCOMPARE(h.test.messages.lastText(), velmora::OfficeService::wordFailedMessage());
    QVERIFY(h.dialog->isVisible());
}

void ExportDialogsTest::guidaAndEsci()
{
    Harness h(Kind::Products);
    h.dialog->show();
    QTest::mouseClick(h.dialog->imgGuida, Qt::LeftButton);
    QCOMPARE(h.test.navigator.helpTopics,
             QStringList{QStringLiteral("Esportazione archivio prodotti e servizi in Microsoft Word ed Excel")});
    QTest::mouseClick(h.dialog->lblEsci, Qt::MiddleButton);
    QVERIFY(!h.dialog->isVisible());
}

void ExportDialogsTest::hoverDescriptionsAndRedLabels()
{
    Harness h(Kind::Bill);
    h.write({{"  Caff\xe8 lungo  ", "08/12/2026"}});
    h.dialog->show();
    const auto colour = [](QLabel *l) { return l->palette().color(QPalette::WindowText); };

    QTest::mouseMove(h.dialog->imgExcel, QPoint(5, 5));
    QCOMPARE(h.dialog->panInfo->text(),
             QStringLiteral(" Esporta l'archivio in un foglio di lavoro di Microsoft Excel."));
    QCOMPARE(colour(h.dialog->lblExcel), QColor(255, 0, 0));
    QCOMPARE(colour(h.dialog->lblWord), QColor(Qt::black));

    QTest::mouseMove(h.dialog->lblEsci, QPoint(5, 5));
    QCOMPARE(h.dialog->panInfo->text(), QStringLiteral(" Esce dalla schermata di lavoro corrente."));
    QCOMPARE(colour(h.dialog->lblEsci), QColor(255, 0, 0));
    QCOMPARE(colour(h.dialog->lblExcel), QColor(Qt::black));

    QTest::mouseMove(h.dialog->grpControlli, QPoint(2, 100));
    QCOMPARE(h.dialog->panInfo->text(), QString());
    QCOMPARE(colour(h.dialog->lblEsci), QColor(Qt::black));

    QTest::mouseMove(h.dialog->lblGuida, QPoint(5, 5));
    QCOMPARE(h.dialog->panInfo->text(), QStringLiteral(" Visualizza la guida in linea."));
    QTest::mouseMove(h.dialog->grdRecords->viewport(), QPoint(200, 30));
    QCOMPARE(h.dialog->panInfo->text(), QStringLiteral(" Caffè lungo"));
    QCOMPARE(colour(h.dialog->lblGuida), QColor(Qt::black));

    h.dialog->grdRecords->setCurrentIndex(h.dialog->gridModel()->index(0, 1));
    QTest::mouseMove(h.dialog->grdRecords->viewport(), QPoint(210, 32));
    QCOMPARE(h.dialog->panInfo->text(), QStringLiteral(" 08/12/2026"));
}

void ExportDialogsTest::rowsArePaintedInAlternateColours()
{
    Harness h(Kind::Bill);
    h.write(threeRecords(Kind::Bill));
    h.dialog->show();
    h.dialog->grdRecords->clearSelection();
    h.dialog->grdRecords->setCurrentIndex(QModelIndex());
    const QImage image = h.dialog->grdRecords->viewport()->grab().toImage();
    // Near the right end of the first column, where no text reaches.
    QCOMPARE(QColor(image.pixel(330, 12)), QColor(223, 235, 255)); // row 1
    QCOMPARE(QColor(image.pixel(330, 36)), QColor(249, 255, 225)); // row 2
    QCOMPARE(QColor(image.pixel(330, 60)), QColor(223, 235, 255)); // row 3
}

void ExportDialogsTest::largeArchiveLoadsInOneStep()
{
    Harness h(Kind::Bill);
    {
        QFile f(QString::fromStdString(h.test.file("Conto prova.for").string()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        const std::string record = kBill.encode({"Consumo", "08/12/2026", "10:30", "Bar", "1", "2,00", "2,00"});
        std::string all;
        all.reserve(record.size() * 50000);
        for (int i = 0; i < 50000; ++i)
            all += record;
        f.write(all.data(), static_cast<qint64>(all.size()));
    }
    h.dialog->show();
    QCoreApplication::processEvents();
    QCOMPARE(h.dialog->gridModel()->gridRows(), 50001);
    QCOMPARE(h.cell(0, 50000), QStringLiteral("50000"));
    QCOMPARE(h.cell(1, 50000), QStringLiteral("Consumo"));
}

QTEST_MAIN(ExportDialogsTest)
#include "test_exportdialogs.moc"
