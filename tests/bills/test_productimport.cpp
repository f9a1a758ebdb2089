#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bills/lockholder.h"
#include "bills/productimport.h"
#include "common/recordfile.h"
#include "common/tempfolder.h"
#include "products/productrecord.h"

using namespace velmora;
using Outcome = ImportStep::Outcome;

namespace {

struct Product
{
    std::string code;
    std::string stock;
    std::string price = "2,50";
};

std::vector<std::string> fieldsOf(const Product &p)
{
    std::vector<std::string> f(product::FieldCount);
    f[product::Codice] = p.code;
    f[product::Descrizione] = "Prodotto " + p.code;
    f[product::Prezzo] = p.price;
    f[product::Giacenza] = p.stock;
    return f;
}

std::string recordOf(const Product &p)
{
    return productLayout().encode(fieldsOf(p));
}

// The product archive of one test, in a folder of its own.
class Archive
{
public:
    // Writes the whole archive, as the product card or another workstation would.
    void write(const std::vector<Product> &products)
    {
        std::string bytes;
        for (const Product &p : products)
            bytes += recordOf(p);
        ASSERT_TRUE(writeWholeFileAtomic(file.path(), bytes));
    }

    std::string bytes() const { return readWholeFile(file.path()).value_or("<unreadable>"); }
    std::string stockOf(std::size_t n) const
    {
        std::string record;
        return file.read(n, record) ? productLayout().field(record, product::Giacenza) : "<none>";
    }
    // The list line the dialog shows for a product.
    static std::string line(const Product &p) { return stockLine(fieldsOf(p)); }

    TempFolder dir;
    RecordFile file{dir / kProductArchive, kProductRecordSize};
};

} // namespace

TEST(ProductImport, LowersTheStockOfTheChosenProduct)
{
    struct Case
    {
        const char *stock;
        const char *quantity;
        const char *left;
    };
    for (const Case c : {Case{"10", "3", "7"}, Case{"10", "10", "0"}, Case{"10", "2,5", "7,5"}, Case{"010", "3", "7"},
                         Case{"10", " 0 ", "10"}}) {
        Archive a;
        a.write({{"A", "5"}, {"B", c.stock}, {"C", "1"}});
        const ImportStep step = importProduct(a.file, Archive::line({"B", c.stock}), 2, true, c.quantity);
        ASSERT_EQ(step.outcome, Outcome::Imported) << c.stock << " - " << c.quantity;
        EXPECT_EQ(step.fields[product::Descrizione], "Prodotto B");
        EXPECT_EQ(step.fields[product::Prezzo], "2,50");
        EXPECT_EQ(a.stockOf(2), c.left) << c.stock << " - " << c.quantity;
        EXPECT_EQ(a.stockOf(1), "5");
        EXPECT_EQ(a.stockOf(3), "1");
    }
}

TEST(ProductImport, RewritesOnlyTheStockField)
{
    // Bytes after a field's value are whatever the writer left there; the import keeps them.
    std::string record = recordOf({"A", "10"});
    const RecordLayout &layout = productLayout();
    record[layout.offset(product::Note) + 1 + 20] = 'x';
    record[layout.offset(product::Giacenza) + 1 + 10] = 'y';
    Archive a;
    ASSERT_TRUE(a.file.append(record));

    ASSERT_EQ(importProduct(a.file, Archive::line({"A", "10"}), 1, true, "4").outcome, Outcome::Imported);
    putField(record, layout.offset(product::Giacenza), layout.capacity(product::Giacenza), "6");
    EXPECT_EQ(a.bytes(), record);
}

TEST(ProductImport, QuantityAboveTheStockIsRefusedAndNothingWritten)
{
    Archive a;
    a.write({{"A", "10"}});
    const std::string before = a.bytes();
    for (const char *quantity : {"12", "10,0001"}) {
        const ImportStep step = importProduct(a.file, Archive::line({"A", "10"}), 1, true, quantity);
        EXPECT_EQ(step.outcome, Outcome::AboveStock) << quantity;
        EXPECT_TRUE(step.fields.empty());
    }
    EXPECT_EQ(a.bytes(), before);
}

TEST(ProductImport, TextThatIsNoNumberWritesNothing)
{
    Archive a;
    a.write({{"A", "dieci"}, {"B", "10"}});
    const std::string before = a.bytes();
    EXPECT_EQ(importProduct(a.file, Archive::line({"A", "dieci"}), 1, true, "1").outcome, Outcome::StockNotNumber);
    EXPECT_EQ(importProduct(a.file, Archive::line({"B", "10"}), 2, true, "tre").outcome, Outcome::QuantityNotNumber);
    EXPECT_EQ(a.bytes(), before);
}

TEST(ProductImport, WithoutUpdateAnyQuantityIsTakenAndNothingWritten)
{
    Archive a;
    a.write({{"A", "1"}});
    const std::string before = a.bytes();
    const ImportStep step = importProduct(a.file, Archive::line({"A", "1"}), 1, false, "500");
    EXPECT_EQ(step.outcome, Outcome::Imported);
    EXPECT_EQ(step.fields[product::Codice], "A");
    EXPECT_EQ(a.bytes(), before);
}

TEST(ProductImport, RefusesWhenTheProductChangedSinceItWasSelected)
{
    const std::string chosen = Archive::line({"B", "5"});
    struct Change
    {
        const char *what;
        std::vector<Product> now;
    };
    // The selection picked record 2 as {"B", "5"}; then another workstation wrote the archive.
    for (const Change &c :
         {Change{"stock lowered", {{"A", "1"}, {"B", "4"}}}, Change{"moved down", {{"0", "1"}, {"A", "1"}, {"B", "5"}}},
          Change{"moved up", {{"B", "5"}}}, Change{"removed", {{"A", "1"}}}}) {
        Archive a;
        a.write({{"A", "1"}, {"B", "5"}});
        a.write(c.now);
        const std::string before = a.bytes();
        for (const bool update : {true, false}) {
            const ImportStep step = importProduct(a.file, chosen, 2, update, "1");
            EXPECT_EQ(step.outcome, Outcome::Changed) << c.what;
            EXPECT_TRUE(step.fields.empty());
        }
        EXPECT_EQ(a.bytes(), before) << c.what;
    }
}

TEST(ProductImport, WithoutASelectedRecordTheLastMatchingProductIsTaken)
{
    // Two records give the same line; a selection takes the later one, so does the import.
    Archive a;
    a.write({{"A", "10"}, {"B", "3"}, {"A", "10"}});
    const ImportStep step = importProduct(a.file, "  " + Archive::line({"A", "10"}) + " ", 0, true, "4");
    EXPECT_EQ(step.outcome, Outcome::Imported);
    EXPECT_EQ(a.stockOf(1), "10");
    EXPECT_EQ(a.stockOf(3), "6");

    const std::string before = a.bytes();
    EXPECT_EQ(importProduct(a.file, Archive::line({"Z", "1"}), 0, true, "1").outcome, Outcome::NotListed);
    EXPECT_EQ(a.bytes(), before);
}

TEST(ProductImport, FolderHeldByAnotherWorkstationIsAFileError)
{
    Archive a;
    a.write({{"A", "10"}});
    const std::string before = a.bytes();
    {
        const test::ShortLockWait shortWait;
        test::LockHolder other(a.dir.path());
        ASSERT_TRUE(other.held());
        EXPECT_EQ(importProduct(a.file, Archive::line({"A", "10"}), 1, true, "1").outcome, Outcome::FileError);
    }
    EXPECT_EQ(a.bytes(), before);
    // Once the other workstation is done, the same import goes through.
    EXPECT_EQ(importProduct(a.file, Archive::line({"A", "10"}), 1, true, "1").outcome, Outcome::Imported);
    EXPECT_EQ(a.stockOf(1), "9");
}
