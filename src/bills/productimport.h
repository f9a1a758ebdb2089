#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/recordfile.h"

// Taking a product from the product archive into a consumption: the file work behind the
// product import's Importa, apart from the dialog.
namespace velmora {

// What one press of Importa did.
struct ImportStep
{
    enum class Outcome {
        Imported,          // fields hold the product; its stock was lowered when asked
        FileError,         // the archive could not be used (or the folder lock had)
        NotListed,         // no product gives the chosen line
        Changed,           // the selected record no longer gives the chosen line
        QuantityNotNumber, // nothing written
        StockNotNumber,    // nothing written
        AboveStock,        // the quantity exceeds the stock: nothing written
    };
    Outcome outcome = Outcome::FileError;
    std::vector<std::string> fields; // the imported product's fields, when Imported
};

// Finds the product of the chosen list line and, when update is set, lowers its stock by
// quantity. The read, the check of the stock against the quantity and the write are one step
// under the folder lock, so no other workstation can change the product in between; only the
// stock field of the record is rewritten. position is the record the selection picked (0 when
// none): it must still give the chosen line, or the product was changed or moved meanwhile.
// Without a position the last record giving the line is taken, as the selection takes it.
ImportStep importProduct(const RecordFile &archive, std::string_view chosen, std::size_t position, bool update,
                         std::string_view quantity);

} // namespace velmora
