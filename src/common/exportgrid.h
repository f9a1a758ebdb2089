#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "common/record.h"
#include "common/recordfile.h"
#include "common/textlines.h"

// The grids of the archive export dialogs: a heading row, then one row per record with its
// record number in column 0. Texts are Windows-1252, as the archives hold them.
namespace velmora {

using GridRow = std::vector<std::string>;

// The data rows of a grid, every row as wide as the headings. The cells lie one after another
// in a few large buffers (one for each part of the archive read side by side), so a grid of
// 50,000 rows of 26 cells takes a few allocations, not a million, and parts join without a copy.
class GridRows
{
    struct Chunk
    {
        TextLines cells; // every cell's text, row after row
        std::size_t rows = 0;
    };

public:
    // One row, read in place; valid until the rows change.
    class Row
    {
    public:
        std::size_t size() const { return m_columns; }
        std::string_view operator[](std::size_t column) const;
        bool operator==(const GridRow &cells) const;

    private:
        friend class GridRows;
        Row(const Chunk *chunk, std::size_t first, std::size_t columns)
            : m_chunk(chunk), m_first(first), m_columns(columns)
        {
        }
        const Chunk *m_chunk;
        std::size_t m_first; // index of the row's first cell in its chunk
        std::size_t m_columns;
    };

    explicit GridRows(std::size_t columns = 0) : m_columns(columns) {}

    std::size_t columns() const { return m_columns; }
    std::size_t size() const { return m_rows; }
    bool empty() const { return m_rows == 0; }
    Row operator[](std::size_t row) const;

    // No rows, their memory given back; the width stays.
    void clear();
    // count rows of empty cells, columns wide.
    void assignEmpty(std::size_t count, std::size_t columns);
    // Empties every cell, keeping the number of rows.
    void emptyCells() { assignEmpty(m_rows, m_columns); }
    // Drops the rows after the first count, or adds empty rows up to count.
    void resize(std::size_t count);
    // Room for the cells of rows more rows.
    void reserve(std::size_t rows);

    // A row is built cell by cell: cells beyond the width are dropped, missing ones left empty.
    // Inline: a grid of 50,000 rows adds over a million cells.
    void addCell(std::string_view text)
    {
        if (m_open >= m_columns)
            return;
        building().cells.push_back(text);
        ++m_open;
    }
    void addCell(std::initializer_list<std::string_view> pieces); // one cell of the pieces joined
    // count cells at once, as addCell would add them one by one.
    void addCells(const std::string_view *cells, std::size_t count)
    {
        count = std::min(count, m_columns - std::min(m_open, m_columns));
        building().cells.push_back(cells, count);
        m_open += count;
    }
    void endRow();
    void push_back(const GridRow &cells);
    // Moves other's rows after these; both are as wide.
    void append(GridRows &&other);
    // Gives back the room left over while the rows were built.
    void shrinkToFit();

private:
    Chunk &building()
    {
        if (m_chunks.empty())
            m_chunks.emplace_back();
        return m_chunks.back();
    }

    std::size_t m_columns;
    std::size_t m_rows = 0;
    std::size_t m_open = 0; // cells of the row being built
    std::vector<Chunk> m_chunks;
};

// The columns of one export and how a record's fields (in record order, read in place and
// trimmed, as RecordLayout::viewsInto gives them) fill a row after its number: row adds those
// cells to rows.
struct ExportSpec
{
    GridRow headings;        // column 0 empty
    std::vector<int> widths; // pixels, one per column
    void (*row)(GridRows &rows, const FieldViews &fields);
};

const ExportSpec &billExport();    // consumptions of a bill, 13 columns
const ExportSpec &clientExport();  // client archive, 26 columns
const ExportSpec &productExport(); // product archive, 17 columns

struct ExportGrid
{
    GridRow headings;
    GridRows rows; // the data rows, each as wide as the headings
};

// A grid that was never filled: the headings and nine empty rows.
ExportGrid emptyExportGrid(const ExportSpec &spec);

// Refills a grid from an archive as the dialogs do on every showing: the data rows are emptied;
// an archive with records gives the headings and one row per record, in file order; an empty or
// unreadable archive leaves the emptied rows as they are. Returns true when records were loaded,
// the moment to restore the column widths.
bool loadExportGrid(ExportGrid &grid, const ExportSpec &spec, const RecordFile &archive, const RecordLayout &layout);

} // namespace velmora
