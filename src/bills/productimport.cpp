#include "bills/productimport.h"

#include <optional>

#include "common/folderlock.h"
#include "common/record.h"
#include "common/text.h"
#include "products/productrecord.h"

namespace velmora {

ImportStep importProduct(const RecordFile &archive, std::string_view chosenLine, std::size_t position, bool update,
                         std::string_view quantity)
{
    using Outcome = ImportStep::Outcome;
    const FolderLock lock(archive.path().parent_path());
    if (!lock)
        return {Outcome::FileError, {}};
    const std::string_view chosen = trimmedView(chosenLine);
    const auto lineOf = [](const std::string &record) { return trimField(stockLine(productLayout().decode(record))); };
    std::string record;
    std::size_t number = 0;
    if (position > 0) {
        if (!archive.read(position, record)) {
            const auto total = archive.count();
            return {total && *total < position ? Outcome::Changed : Outcome::FileError, {}};
        }
        if (lineOf(record) != chosen)
            return {Outcome::Changed, {}};
        number = position;
    } else {
        std::optional<NumberedRecord> found; // the last record that gives the chosen line
        if (!findLastProduct(archive, chosen, stockLine, found))
            return {Outcome::FileError, {}};
        if (!found)
            return {Outcome::NotListed, {}};
        number = found->number;
        record = std::move(found->record);
    }
    auto fields = productLayout().decode(record);
    if (update) {
        const StockTake take = takeFromStock(fields[product::Giacenza], quantity);
        switch (take.result) {
        case StockTake::Result::QuantityNotNumber:
            return {Outcome::QuantityNotNumber, {}};
        case StockTake::Result::StockNotNumber:
            return {Outcome::StockNotNumber, {}};
        case StockTake::Result::AboveStock:
            return {Outcome::AboveStock, {}};
        case StockTake::Result::Taken:
            break;
        }
        // Only the stock changes; every other byte of the record stays as it was.
        const RecordLayout &layout = productLayout();
        putField(record, layout.offset(product::Giacenza), layout.capacity(product::Giacenza), take.stock);
        if (!archive.overwrite(number, record))
            return {Outcome::FileError, {}};
    }
    return {Outcome::Imported, std::move(fields)};
}

} // namespace velmora
