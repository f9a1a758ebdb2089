#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <QApplication>
#include <QListWidget>
#include <QTest>

#include "bills/consumption.h"
#include "bills/tfrmaccedi.h"
#include "bills/tfrmesportafor.h"
#include "bills/tfrmforniture.h"
#include "common/folderlock.h"
#include "common/recordfile.h"
#include "common/text.h"
#include "common/widgets.h"
#include "support/fakeprinting.h"
#include "support/modal.h"

using namespace velmora;
using velmora::test::Message;
using velmora::test::PrintingFakes;
using velmora::test::TestServices;
using velmora::test::linesOf;
using velmora::test::whenModal;

namespace {

// A bill file as an archive unzipped from a Windows machine leaves it: its name holds the
// Windows-1252 byte of "è", which is not valid UTF-8.
const std::string kWindowsName = "Caff\xE8 bar.for";

std::string consumptionRecord(const std::string &product, const std::string &quantity, const std::string &price,
                              const std::string &amount)
{
    std::vector<std::string> v(consumption::FieldCount);
    v[consumption::Prodotto] = product;
    v[consumption::Data] = "08/12/2026";
    v[consumption::Ora] = "21:15";
    v[consumption::Quantita] = quantity;
    v[consumption::Prezzo] = price;
    v[consumption::Importo] = amount;
    return consumptionLayout().encode(v);
}

} // namespace

// A bill whose file name is not valid UTF-8 goes the whole way: listed, opened, added to,
// exported, printed and deleted, always as the same file and without leaving any other behind.
class TestBillFileNames : public QObject
{
    Q_OBJECT

private:
    struct Folder
    {
        Folder() : fakes(ts)
        {
            // A folder the program has worked in already holds its hidden lock file.
            const FolderLock used(ts.services.folder);
            const RecordFile bill(billPath(), consumptionLayout().size());
            QVERIFY(bill.append(consumptionRecord("Caff\xE8", "1", "1,20", "1,20")));
            QVERIFY(bill.append(consumptionRecord("Acqua", "2", "1,00", "2,00")));
            ts.navigator.onOpenBill = [this](const std::filesystem::path &file, const QString &name,
                                             BillAccess access) { forniture.openBill(file, name, access); };
            ts.navigator.onBillExport = [this](QWidget *, const std::filesystem::path &file) {
                exportDialog.setBill(file);
                exportDialog.exec();
            };
        }

        ~Folder()
        {
            // The temporary folder cannot remove a name that is not UTF-8 itself.
            std::error_code ec;
            std::filesystem::remove(billPath(), ec);
        }

        std::filesystem::path billPath() const { return ts.services.folder / kWindowsName; }
        // The names in the folder, byte for byte, sorted.
        std::vector<std::string> names() const
        {
            std::vector<std::string> out;
            for (const auto &entry : std::filesystem::directory_iterator(ts.services.folder))
                out.push_back(entry.path().filename().string());
            std::sort(out.begin(), out.end());
            return out;
        }
        std::size_t records() const
        {
            return static_cast<std::size_t>(std::filesystem::file_size(billPath()) / consumptionLayout().size());
        }
        void showCatalogue()
        {
            catalogue.showWorking();
            QVERIFY(QTest::qWaitForWindowExposed(&catalogue));
        }
        void selectOnlyBill()
        {
            QCOMPARE(catalogue.lstClassi->count(), 1);
            catalogue.lstClassi->setCurrentRow(0);
        }
        void click(IconButton *icon) { QTest::mouseClick(icon, Qt::LeftButton); }

        TestServices ts;
        PrintingFakes fakes;
        TfrmForniture forniture{ts.services};
        TfrmAccedi catalogue{ts.services};
        TfrmEsportaFor exportDialog{ts.services};
    };

private slots:
    void aWindowsNamedBillIsUsedAsTheSameFileThroughout()
    {
        Folder f;
        const std::vector<std::string> before = f.names();
        QCOMPARE(before, (std::vector<std::string>{std::string(FolderLock::kLockFileName), kWindowsName}));

        // Listed under the name it had on Windows.
        f.showCatalogue();
        QCOMPARE(linesOf(f.catalogue.lstClassi), QStringList{QStringLiteral("Caffè bar.for")});
        QCOMPARE(f.catalogue.lblTotale->text(), QStringLiteral("Ci sono 1 conti archiviati."));

        // Opened: the consumption screen reads that very file.
        f.selectOnlyBill();
        f.click(f.catalogue.imgApri);
        QCOMPARE(f.ts.navigator.openedBills.size(), std::size_t(1));
        QCOMPARE(f.ts.navigator.openedBills[0].file, f.billPath());
        QVERIFY(f.forniture.isVisible());
        QCOMPARE(f.forniture.panClasse->text(), QStringLiteral("Caffè bar"));
        QCOMPARE(f.forniture.lstStudenti->count(), 2);
        QVERIFY(f.forniture.lstStudenti->item(0)->text().contains(QStringLiteral("Caffè")));
        QCOMPARE(f.forniture.repTotale->text(), QStringLiteral("3,20"));
        QCOMPARE(f.names(), before);

        // A new consumption is appended to the same file.
        f.forniture.txtProdotto->setText(QStringLiteral("Cornetto"));
        f.forniture.txtQuantita->setText(QStringLiteral("2"));
        f.forniture.txtPrezzo->setText(QStringLiteral("1,50"));
        f.click(f.forniture.btnSalva);
        QCOMPARE(f.ts.messages.lastTitle(), QStringLiteral("Salvataggio scheda effettuato con successo"));
        QCOMPARE(f.records(), std::size_t(3));
        QCOMPARE(f.forniture.lstStudenti->count(), 3);
        QCOMPARE(f.forniture.repTotale->text(), QStringLiteral("6,20"));
        QCOMPARE(f.names(), before);

        // The export grid reads it.
        QStringList exported;
        whenModal([&](QDialog *dialog) {
            QCOMPARE(dialog, static_cast<QDialog *>(&f.exportDialog));
            for (int row = 1; row < f.exportDialog.gridModel()->gridRows(); ++row)
                exported << f.exportDialog.gridModel()->cellText(1, row);
        });
        f.click(f.forniture.btnEsporta);
        QCOMPARE(f.ts.navigator.billExports, std::vector<std::filesystem::path>{f.billPath()});
        QCOMPARE(exported, (QStringList{QStringLiteral("Caffè"), QStringLiteral("Acqua"), QStringLiteral("Cornetto")}));
        QCOMPARE(f.names(), before);

        // Printing shows its name and its three lines.
        f.click(f.forniture.btnStampa);
        QCOMPARE(f.fakes.printer.jobs.size(), std::size_t(1));
        QStringList printed;
        for (const std::string &text : f.fakes.printer.lastTexts())
            printed << fromAnsi(text);
        QVERIFY(printed.contains(QStringLiteral("Caffè bar")));
        for (const QString &line : linesOf(f.forniture.lstStudenti))
            QVERIFY2(printed.contains(line), qPrintable(line));
        QVERIFY(printed.contains(QStringLiteral("TOTALE IMPORTI:  € 6,20")));
        QCOMPARE(f.names(), before);

        // Deleted from the catalogue: the file goes, and nothing else changes.
        f.click(f.forniture.cmdEsci);
        f.showCatalogue();
        f.selectOnlyBill();
        f.ts.messages.clear();
        f.click(f.catalogue.btnCancella);
        QCOMPARE(f.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(f.ts.messages.shown[0].kind, Message::Kind::Question);
        QVERIFY(!std::filesystem::exists(f.billPath()));
        QCOMPARE(f.names(), std::vector<std::string>{std::string(FolderLock::kLockFileName)});
        QCOMPARE(f.catalogue.lstClassi->count(), 0);
        QCOMPARE(f.catalogue.lblTotale->text(), QStringLiteral("Ci sono 0 conti archiviati."));
    }
};

QTEST_MAIN(TestBillFileNames)
#include "test_billfilenames.moc"
