#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/listorder.h"
#include "common/record.h"
#include "common/recordfile.h"

// The product archive: its record, the number forms of its card, the stock rule, the
// search match and the lines of the product lists.
namespace velmora {

inline constexpr const char *kProductArchive = "Materiali.pro";
inline constexpr const char *kProductTemp = "Materiali.tmp";
inline constexpr std::size_t kProductRecordSize = 5170;

namespace product {

// Field indexes in record order. Marca holds make and model, Modello the producer.
enum Field : std::size_t {
    Codice,
    Tipologia,
    Marca,
    Modello,
    Accessori,
    Descrizione,
    Fornitore,
    Recapito,
    Data,
    Costo,
    Documento,
    Ordine,
    Prezzo,
    Collocazione,
    Giacenza,
    Sottoscorta,
    Note,
    File01,
    File02,
    File03,
    Desc01,
    Desc02,
    Desc03,
    Cartella,
    CartellaDesc,
    FieldCount
};

// The fields the product search looks into, in the order of its criterion boxes.
inline constexpr std::array<Field, 7> kSearchFields{Codice, Tipologia, Marca, Modello, Accessori, Descrizione, Note};

} // namespace product

const RecordLayout &productLayout();

// Price as the card leaves it: rounded half up to 4 decimals, at least two decimals;
// "0,00" for a blank text or one that is not a number.
std::string normalisePrice(std::string_view typed);

// Stock and threshold as the card leaves them: rounded half up to a whole number;
// "0" for a blank text or one that is not a number.
std::string normaliseCount(std::string_view typed);

// Stock and threshold as a save rounds them; nullopt when the text is not a number.
std::optional<std::string> roundedCount(std::string_view typed);

// A product runs low when its stock is at or below its threshold; nullopt when either
// text cannot be read as a number.
std::optional<bool> runsLow(std::string_view stock, std::string_view threshold);

// The search match: every criterion whose text is not blank must occur, with the letters
// A to Z folded, in its field. criteria follow product::kSearchFields and are taken as typed.
bool matchesSearch(const std::vector<std::string> &fields, const std::array<std::string, 7> &criteria);

// Number of criteria that take part in the search (not blank once trimmed).
int activeCriteria(const std::array<std::string, 7> &criteria);

// The line of the product search: code, type and make in fixed columns, price and stock
// labelled, then the notes.
std::string searchLine(const std::vector<std::string> &fields);

// The line of the low-stock list and of the product import.
std::string stockLine(const std::vector<std::string> &fields);

// Whether the product import lists the product: it has a stock value.
bool hasStock(const std::vector<std::string> &fields);

// How a product list treats one product: left out, listed, or the list ends before it.
enum class ListStep { Skip, Take, Stop };

// The lines of a product list in file order, not yet sorted, and whether the archive could be
// read to its end; when not, lines holds those of the products read before the failure.
struct ProductListing
{
    std::vector<std::string> lines;
    bool read = true;
};

// One pass over the archive: step decides for each product, read into its fields; line gives
// the line of a product taken.
ProductListing productListLines(const RecordFile &archive,
                                const std::function<ListStep(const std::vector<std::string> &fields)> &step,
                                std::string (*line)(const std::vector<std::string> &fields));

// Finds the last product whose line, as line gives it, equals chosen (blanks around either
// aside): the one a list's choice stands for. false when the archive cannot be read.
[[nodiscard]] bool findLastProduct(const RecordFile &archive, std::string_view chosen,
                                   std::string (*line)(const std::vector<std::string> &fields),
                                   std::optional<NumberedRecord> &found);

// Quantity of the product import as its box leaves it: rounded to 4 decimals, "0" for a
// blank text or one that is not a number.
std::string normaliseQuantity(std::string_view typed);

// Taking a quantity from a stock, as the product import does.
struct StockTake
{
    enum class Result {
        Taken,          // stock holds the new stock text
        AboveStock,     // the quantity exceeds the stock
        StockNotNumber, // the stored stock cannot be read
        QuantityNotNumber,
    };
    Result result;
    std::string stock;
};
StockTake takeFromStock(std::string_view stock, std::string_view quantity);

} // namespace velmora
