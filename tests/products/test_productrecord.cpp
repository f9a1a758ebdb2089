#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "common/text.h"
#include "products/productrecord.h"
#include "support/failingreads.h"

using namespace velmora;

namespace {

std::vector<std::string> product(std::initializer_list<std::pair<product::Field, std::string>> values)
{
    std::vector<std::string> fields(product::FieldCount);
    for (const auto &[field, value] : values)
        fields[field] = value;
    return fields;
}

struct Offset
{
    product::Field field;
    std::size_t offset;
    std::size_t capacity;
};

class ProductLayoutOffsets : public testing::TestWithParam<Offset>
{
};

TEST_P(ProductLayoutOffsets, FieldSitsWhereTheArchiveExpectsIt)
{
    const Offset o = GetParam();
    EXPECT_EQ(productLayout().offset(o.field), o.offset);
    EXPECT_EQ(productLayout().capacity(o.field), o.capacity);
}

INSTANTIATE_TEST_SUITE_P(Record, ProductLayoutOffsets,
                         testing::Values(Offset{product::Codice, 0, 250}, Offset{product::Marca, 502, 250},
                                         Offset{product::Modello, 753, 250}, Offset{product::Data, 2008, 50},
                                         Offset{product::Costo, 2059, 50}, Offset{product::Documento, 2110, 250},
                                         Offset{product::Prezzo, 2612, 15}, Offset{product::Collocazione, 2628, 250},
                                         Offset{product::Giacenza, 2879, 15}, Offset{product::Sottoscorta, 2895, 15},
                                         Offset{product::Note, 2911, 250}, Offset{product::File01, 3162, 250},
                                         Offset{product::Desc03, 4417, 250}, Offset{product::Cartella, 4668, 250},
                                         Offset{product::CartellaDesc, 4919, 250}));

TEST(ProductLayout, RecordIs5170BytesOf25Fields)
{
    EXPECT_EQ(productLayout().size(), 5170u);
    EXPECT_EQ(productLayout().size(), kProductRecordSize);
    EXPECT_EQ(productLayout().fieldCount(), 25u);
    EXPECT_EQ(std::string(kProductArchive), "Materiali.pro");
    EXPECT_EQ(std::string(kProductTemp), "Materiali.tmp");
}

TEST(ProductLayout, LongValuesAreCutToTheirCapacity)
{
    std::vector<std::string> values(product::FieldCount);
    values[product::Descrizione] = std::string(250, 'd');
    values[product::Note] = std::string(251, 'n');
    values[product::Prezzo] = "12345678901234567";
    const auto back = productLayout().decode(productLayout().encode(values));
    EXPECT_EQ(back[product::Descrizione], std::string(250, 'd'));
    EXPECT_EQ(back[product::Note], std::string(250, 'n'));
    EXPECT_EQ(back[product::Prezzo], "123456789012345");
}

struct Typed
{
    const char *typed;
    const char *stored;
};

class PriceLeavingTheBox : public testing::TestWithParam<Typed>
{
};

TEST_P(PriceLeavingTheBox, IsRoundedToFourDecimalsWithAtLeastTwo)
{
    EXPECT_EQ(normalisePrice(GetParam().typed), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Card, PriceLeavingTheBox,
                         testing::Values(Typed{"7", "7,00"}, Typed{"7,5", "7,50"}, Typed{"7,123456", "7,1235"},
                                         Typed{"", "0,00"}, Typed{"   ", "0,00"}, Typed{"0,1234", "0,1234"},
                                         Typed{"0,12345", "0,1235"}, Typed{",5", "0,50"}, Typed{"12,", "12,00"},
                                         Typed{",", "0,00"}, Typed{"abc", "0,00"}, Typed{"30000000", "30000000,00"},
                                         Typed{"2,99999", "3,00"}));

class CountLeavingTheBox : public testing::TestWithParam<Typed>
{
};

TEST_P(CountLeavingTheBox, IsRoundedHalfUpToAWholeNumber)
{
    EXPECT_EQ(normaliseCount(GetParam().typed), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Card, CountLeavingTheBox,
                         testing::Values(Typed{"2,5", "3"}, Typed{"2,4", "2"}, Typed{"", "0"}, Typed{"0", "0"},
                                         Typed{"15", "15"}, Typed{",", "0"}, Typed{"x", "0"},
                                         Typed{"29999999,5", "30000000"}));

TEST(SavedCount, RoundsNumbersAndRejectsText)
{
    EXPECT_EQ(roundedCount("2,5"), "3");
    EXPECT_EQ(roundedCount("7"), "7");
    // Half up for negative counts too: floor(value + 0,5).
    EXPECT_EQ(roundedCount("-2,5"), "-2");
    EXPECT_EQ(roundedCount("-0,5"), "0");
    EXPECT_EQ(roundedCount("-2,6"), "-3");
    EXPECT_EQ(roundedCount("-2,4"), "-2");
    EXPECT_EQ(roundedCount("-3"), "-3");
    EXPECT_EQ(roundedCount(","), std::nullopt);
    EXPECT_EQ(roundedCount("dieci"), std::nullopt);
}

struct StockCase
{
    const char *stock;
    const char *threshold;
    bool low;
};

class StockRule : public testing::TestWithParam<StockCase>
{
};

TEST_P(StockRule, LowWhenStockIsAtOrBelowThreshold)
{
    EXPECT_EQ(runsLow(GetParam().stock, GetParam().threshold), GetParam().low);
}

INSTANTIATE_TEST_SUITE_P(Archive, StockRule,
                         testing::Values(StockCase{"5", "5", true}, StockCase{"6", "5", false},
                                         StockCase{"0", "0", true}, StockCase{"-1", "0", true},
                                         StockCase{"2,5", "2", false}, StockCase{"1,5", "2", true},
                                         StockCase{"100", "3", false}));

TEST(StockRule, TextThatIsNotANumberHasNoVerdict)
{
    EXPECT_EQ(runsLow("tanti", "5"), std::nullopt);
    EXPECT_EQ(runsLow("5", ""), std::nullopt);
}

TEST(ProductSearch, LettersAToZMatchInAnyCaseAccentedLettersExactly)
{
    const auto card = product({{product::Codice, "xabcx"}, {product::Descrizione, utf8ToCp1252("caffè")}});
    EXPECT_TRUE(matchesSearch(card, {"ABC", "", "", "", "", "", ""}));
    EXPECT_TRUE(matchesSearch(card, {"", "", "", "", "", utf8ToCp1252("CAFFè"), ""}));
    EXPECT_FALSE(matchesSearch(card, {"", "", "", "", "", utf8ToCp1252("caffÈ"), ""}));
}

TEST(ProductSearch, EveryFilledCriterionMustMatchItsOwnField)
{
    const auto card = product({{product::Codice, "A1"},
                               {product::Tipologia, "bevanda"},
                               {product::Marca, "Tonica"},
                               {product::Modello, "Fonti"},
                               {product::Accessori, "vetro"},
                               {product::Descrizione, "acqua tonica"},
                               {product::Note, "frigo"}});
    EXPECT_TRUE(matchesSearch(card, {"a1", "bev", "ton", "font", "vet", "acqua", "fri"}));
    EXPECT_FALSE(matchesSearch(card, {"a1", "cibo", "", "", "", "", ""}));
    // The notes criterion looks in the notes only.
    EXPECT_FALSE(matchesSearch(card, {"", "", "", "", "", "", "acqua"}));
    // Producer is kept in Modello, make and model in Marca.
    EXPECT_TRUE(matchesSearch(card, {"", "", "", "fonti", "", "", ""}));
    EXPECT_FALSE(matchesSearch(card, {"", "", "fonti", "", "", "", ""}));
}

TEST(ProductSearch, BlankCriteriaTakeNoPartAndOthersAreTakenAsTyped)
{
    const auto card = product({{product::Codice, "AB12"}});
    EXPECT_TRUE(matchesSearch(card, {"", "", "", "", "", "", ""}));
    EXPECT_TRUE(matchesSearch(card, {"   ", "  ", "", "", "", "", ""}));
    EXPECT_FALSE(matchesSearch(card, {" ab", "", "", "", "", "", ""}));
    EXPECT_EQ(activeCriteria({"   ", "x", "", " y ", "", "", ""}), 2);
}

TEST(ProductLines, SearchLineHasFixedColumns)
{
    const auto card = product({{product::Codice, std::string(35, 'C')},
                               {product::Tipologia, "Bibita"},
                               {product::Marca, "Fonte"},
                               {product::Prezzo, "2,50"},
                               {product::Giacenza, "12"},
                               {product::Note, "in frigo"}});
    const std::string expected = std::string(30, 'C') + "  " + "Bibita" + std::string(19, ' ') + "  " + "Fonte" +
                                 std::string(25, ' ') + "  Prezzo: 2,50" + std::string(11, ' ') + "  Giacenza: 12" +
                                 std::string(8, ' ') + "  in frigo";
    EXPECT_EQ(searchLine(card), expected);
}

TEST(ProductLines, StockLineJoinsTheSupplierData)
{
    const auto card = product({{product::Codice, "A1"},
                               {product::Marca, "Fonte"},
                               {product::Fornitore, "Rossi"},
                               {product::Recapito, "0541 1"},
                               {product::Costo, "1,20"},
                               {product::Giacenza, "3"}});
    EXPECT_EQ(stockLine(card), "Cod. A1  Fonte  Fornitore: Rossi  Recapito: 0541 1  Costo: 1,20  Giacenza: 3");
    EXPECT_TRUE(hasStock(card));
    EXPECT_FALSE(hasStock(product({{product::Codice, "A2"}})));
    EXPECT_TRUE(hasStock(product({{product::Giacenza, "0"}})));
}

struct Take
{
    const char *stock;
    const char *quantity;
    StockTake::Result result;
    const char *left;
};

class TakingFromStock : public testing::TestWithParam<Take>
{
};

TEST_P(TakingFromStock, LowersTheStockOrRefuses)
{
    const StockTake t = takeFromStock(GetParam().stock, GetParam().quantity);
    EXPECT_EQ(t.result, GetParam().result);
    EXPECT_EQ(t.stock, GetParam().left);
}

INSTANTIATE_TEST_SUITE_P(Import, TakingFromStock,
                         testing::Values(Take{"10", "3", StockTake::Result::Taken, "7"},
                                         Take{"10", "10", StockTake::Result::Taken, "0"},
                                         Take{"10", "2,5", StockTake::Result::Taken, "7,5"},
                                         Take{"007", "3", StockTake::Result::Taken, "4"},
                                         Take{"0,3", "0,1", StockTake::Result::Taken, "0,2"},
                                         Take{"10", "12", StockTake::Result::AboveStock, ""},
                                         Take{"dieci", "1", StockTake::Result::StockNotNumber, ""},
                                         Take{"10", ",", StockTake::Result::QuantityNotNumber, ""}));

TEST(ImportQuantity, LeavingTheBoxRoundsToFourDecimals)
{
    EXPECT_EQ(normaliseQuantity(""), "0");
    EXPECT_EQ(normaliseQuantity(","), "0");
    EXPECT_EQ(normaliseQuantity("3"), "3");
    EXPECT_EQ(normaliseQuantity(",5"), "0,5");
    EXPECT_EQ(normaliseQuantity("1,234567"), "1,2346");
}

TEST(ListOrder, LinesAreSortedWithoutRegardToCase)
{
    std::vector<std::string> lines{
        "Cod. b2", "Cod. A1", "Cod. a1", "Cod. B1", utf8ToCp1252("Cod. É"), utf8ToCp1252("Cod. è")};
    sortListLines(lines);
    const std::vector<std::string> expected{
        "Cod. A1", "Cod. a1", "Cod. B1", "Cod. b2", utf8ToCp1252("Cod. è"), utf8ToCp1252("Cod. É")};
    EXPECT_EQ(lines, expected);
}

} // namespace

namespace {

// 1,200 products (6.2 MB, read in parts where the machine has several cores): stock i % 9,
// threshold 4, and the stock of the product at notNumberAt, if any, not a number.
RecordFile productArchive(const std::filesystem::path &file, std::size_t notNumberAt)
{
    std::ofstream out(file, std::ios::binary);
    for (std::size_t i = 1; i <= 1200; ++i) {
        const std::string stock = i == notNumberAt ? "molti" : std::to_string(i % 9);
        out << productLayout().encode(product(
            {{product::Codice, "P" + std::to_string(i)}, {product::Giacenza, stock}, {product::Sottoscorta, "4"}}));
    }
    return RecordFile(file, kProductRecordSize);
}

ListStep lowStockStep(const std::vector<std::string> &fields)
{
    const auto low = runsLow(fields[product::Giacenza], fields[product::Sottoscorta]);
    if (!low)
        return ListStep::Stop;
    return *low ? ListStep::Take : ListStep::Skip;
}

} // namespace

TEST(ProductListLines, InFileOrderEndingAtTheProductThatStopsTheList)
{
    const auto folder = std::filesystem::temp_directory_path() / ("velmora-products-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    // No stop, a stop in the first part and one in the last: the list ends before the product
    // that stops it, whichever part read it.
    for (const std::size_t notNumberAt : {std::size_t{0}, std::size_t{30}, std::size_t{1150}}) {
        const RecordFile archive =
            productArchive(folder / ("Materiali" + std::to_string(notNumberAt) + ".pro"), notNumberAt);
        const ProductListing listing = productListLines(archive, lowStockStep, stockLine);
        ASSERT_TRUE(listing.read);
        std::vector<std::string> expected;
        const std::size_t end = notNumberAt ? notNumberAt - 1 : 1200;
        for (std::size_t i = 1; i <= end; ++i) {
            if (i % 9 <= 4)
                expected.push_back("Cod. P" + std::to_string(i) +
                                   "    Fornitore:   Recapito:   Costo:   Giacenza: " + std::to_string(i % 9));
        }
        EXPECT_EQ(listing.lines, expected) << notNumberAt;
    }
    std::filesystem::create_directory(folder / "Cartella.pro");
    const ProductListing none =
        productListLines(RecordFile(folder / "Cartella.pro", kProductRecordSize), lowStockStep, stockLine);
    EXPECT_FALSE(none.read);
    EXPECT_TRUE(none.lines.empty());
    std::filesystem::remove_all(folder);
}

TEST(ProductListLines, AReadThatFailsPartWayKeepsTheLinesBeforeIt)
{
    const auto folder = std::filesystem::temp_directory_path() / ("velmora-failing-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const RecordFile archive = productArchive(folder / "Materiali.pro", 0);
    // The archive is read a block of products at a time: the first two blocks come, the third fails.
    const std::size_t perBlock = (std::size_t{1} << 18) / kProductRecordSize;
    const std::size_t readable = 2 * perBlock;
    const test::FailingReads failing(archive.path(), static_cast<off_t>(readable * kProductRecordSize));
    const ProductListing listing = productListLines(archive, lowStockStep, stockLine);
    EXPECT_GT(failing.failed(), 0);
    EXPECT_FALSE(listing.read);
    std::vector<std::string> expected;
    for (std::size_t i = 1; i <= readable; ++i) {
        if (i % 9 <= 4)
            expected.push_back("Cod. P" + std::to_string(i) +
                               "    Fornitore:   Recapito:   Costo:   Giacenza: " + std::to_string(i % 9));
    }
    EXPECT_EQ(listing.lines, expected);
    std::filesystem::remove_all(folder);
}

TEST(ProductListLines, AChosenLineStandsForTheLastProductThatGivesIt)
{
    const auto folder = std::filesystem::temp_directory_path() / ("velmora-chosen-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const RecordFile archive(folder / "Materiali.pro", kProductRecordSize);
    {
        std::ofstream out(archive.path(), std::ios::binary);
        for (const char *code : {"A1", "B2", "B2", "C3"}) {
            std::vector<std::string> card(product::FieldCount);
            card[product::Codice] = code;
            card[product::Giacenza] = "5";
            card[product::Sottoscorta] = "1";
            out << productLayout().encode(card);
        }
    }
    // The third card, its threshold changed: the line does not show it.
    std::string third;
    ASSERT_TRUE(archive.read(3, third));
    auto thirdCard = productLayout().decode(third);
    thirdCard[product::Sottoscorta] = "2";
    ASSERT_TRUE(archive.overwrite(3, productLayout().encode(thirdCard)));
    std::optional<NumberedRecord> found;
    const std::string chosen = "  " + stockLine(thirdCard) + " ";
    ASSERT_TRUE(findLastProduct(archive, chosen, stockLine, found));
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->number, 3u);
    EXPECT_EQ(productLayout().field(found->record, product::Sottoscorta), "2");

    ASSERT_TRUE(findLastProduct(archive, "Cod. Z9", stockLine, found));
    EXPECT_FALSE(found.has_value());
    std::filesystem::remove(archive.path());
    std::filesystem::create_directory(archive.path());
    EXPECT_FALSE(findLastProduct(archive, chosen, stockLine, found));
    EXPECT_FALSE(found.has_value());
    std::filesystem::remove_all(folder);
}
