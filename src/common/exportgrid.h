#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/record.h"
#include "common/recordfile.h"

// The grids of the archive export dialogs: a heading row, then one row per record with its
// record number in column 0. Texts are Windows-1252, as the archives hold them.
namespace velmora {

using GridRow = std::vector<std::string>;

// The columns of one export and how a record's fields (in record order, read in place and
// trimmed, as RecordLayout::viewsInto gives them) fill a row after its number: row appends
// those cells to cells.
struct ExportSpec
{
    GridRow headings;        // column 0 empty
    std::vector<int> widths; // pixels, one per column
    void (*row)(GridRow &cells, const FieldViews &fields);
};

const ExportSpec &billExport();    // consumptions of a bill, 13 columns
const ExportSpec &clientExport();  // client archive, 26 columns
const ExportSpec &productExport(); // product archive, 17 columns

struct ExportGrid
{
    GridRow headings;
    // Rows whose cells were made beforehand: the summary's few.
    std::vector<GridRow> rows;
    // Rows read from an archive, after those: each record's fields packed into one string (a
    // length byte, then the trimmed bytes), made into cells only when the row is shown or
    // exported. 50,000 client cards held as separate cells took more memory than the program
    // may use with the other archives open. An empty string is an empty row.
    std::vector<std::string> records;
    const ExportSpec *spec = nullptr; // how records become cells

    std::size_t size() const { return rows.size() + records.size(); }
    // The cells of data row r (0-based), as many as the headings.
    GridRow row(std::size_t r) const;
    // As many rows as now, every cell empty.
    void emptyRows();
};

// A grid that was never filled: the headings and nine empty rows.
ExportGrid emptyExportGrid(const ExportSpec &spec);

// Refills a grid from an archive as the dialogs do on every showing: the data rows are emptied;
// an archive with records gives the headings and one row per record, in file order; an empty or
// unreadable archive leaves the emptied rows as they are. Returns true when records were loaded,
// the moment to restore the column widths.
bool loadExportGrid(ExportGrid &grid, const ExportSpec &spec, const RecordFile &archive, const RecordLayout &layout);

} // namespace velmora
