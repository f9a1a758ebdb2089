#include "common/exportgrid.h"

#include "common/text.h"

#include <charconv>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace velmora {

namespace {

// Headings are written here in UTF-8 and kept in the archives' code page like every grid text.
GridRow headings(std::initializer_list<const char *> utf8)
{
    GridRow row{std::string()};
    for (const char *h : utf8)
        row.push_back(utf8ToCp1252(h));
    return row;
}

std::string_view at(const FieldViews &fields, std::size_t i)
{
    return i < fields.size() ? fields[i] : std::string_view();
}

// Fields first to last (included) as cells, those there are in one step; a missing field is an
// empty cell.
void addFields(GridRows &rows, const FieldViews &fields, std::size_t first, std::size_t last)
{
    const std::size_t present = first < fields.size() ? std::min(last + 1, fields.size()) - first : 0;
    if (present > 0)
        rows.addCells(fields.data() + first, present);
    for (std::size_t f = first + present; f <= last; ++f)
        rows.addCell(std::string_view());
}

void billRow(GridRows &rows, const FieldViews &fields)
{
    addFields(rows, fields, 0, 11);
}

void clientRow(GridRows &rows, const FieldViews &fields)
{
    // Field order: Cliente, DataNasc, LuogoNasc, Camera, Permanenza, Indirizzo, Citta, then
    // TipoDoc to Note in the order of their columns.
    rows.addCell(at(fields, 0));
    rows.addCell({at(fields, 2), " ", at(fields, 1)});
    rows.addCell({at(fields, 3), " ", at(fields, 4)});
    rows.addCell(at(fields, 5));
    rows.addCell(at(fields, 6));
    addFields(rows, fields, 7, 26);
}

void productRow(GridRows &rows, const FieldViews &fields)
{
    // Codice to Giacenza, then Note; the threshold is left out.
    addFields(rows, fields, 0, 14);
    rows.addCell(at(fields, 16));
}

} // namespace

const ExportSpec &billExport()
{
    static const ExportSpec spec{
        headings({" Prodotto o servizio fornito", " Data", " Ora", " Tavolo / Luogo", " Quantità", " Prezzo unitario",
                  " Importo totale", " Unità di misura", " Cameriere / Operatore ", " Cliente", " Camera / Alloggio",
                  " Tel. cellulare"}),
        {50, 350, 150, 150, 250, 100, 150, 150, 150, 250, 250, 250, 250},
        billRow};
    return spec;
}

const ExportSpec &clientExport()
{
    static const ExportSpec spec{headings({" Cognome e nome cliente",
                                           " Luogo e data di nascita",
                                           " Camera / Alloggio e periodo di permanenza",
                                           " Indirizzo di residenza",
                                           " CAP, città e sigla prov.",
                                           " Tipo documento",
                                           " Numero documento",
                                           " Ente di rilascio",
                                           " Data di rilascio",
                                           " Data di scadenza",
                                           " Codice fiscale",
                                           " Partita IVA",
                                           " Carta di credito n.",
                                           " Tipo carta di credito",
                                           " Scadenza carta di credito",
                                           " Codice IBAN",
                                           " Banca",
                                           " Intestatario C/C",
                                           " Modalità di pagamento",
                                           " Tel. casa",
                                           " Tel. ufficio",
                                           " Tel. cellulare",
                                           " Fax",
                                           " E-mail",
                                           " Note"}),
                                 {50,  250, 300, 300, 300, 300, 250, 250, 250, 250, 250, 250, 250,
                                  250, 250, 250, 250, 250, 250, 300, 200, 200, 200, 200, 250, 400},
                                 clientRow};
    return spec;
}

const ExportSpec &productExport()
{
    static const ExportSpec spec{
        headings({" Codice articolo", " Tipologia", " Marca e modello", " Produttore", " Accessori",
                  " Descrizione prodotto o servizio", " Fornitore", " Recapito", " Data di acquisto",
                  " Costo di acquisto", " Documento di acquisto", " Modalità di ordine merce", " Prezzo unitario",
                  " Collocazione", " Giacenza", " Note"}),
        {50, 200, 250, 250, 250, 400, 500, 400, 250, 200, 200, 400, 400, 200, 400, 200, 600},
        productRow};
    return spec;
}

ExportGrid emptyExportGrid(const ExportSpec &spec)
{
    ExportGrid grid;
    grid.headings = spec.headings;
    grid.rows.assignEmpty(9, spec.headings.size());
    return grid;
}

bool loadExportGrid(ExportGrid &grid, const ExportSpec &spec, const RecordFile &archive, const RecordLayout &layout)
{
    const std::size_t columns = spec.headings.size();
    // The old rows' memory goes before the new rows are read; an empty or unreadable archive
    // leaves as many rows as there were, emptied.
    const std::size_t shown = grid.rows.size();
    grid.rows = GridRows(columns);
    // Rows are built straight from each block of the file as it is read.
    FieldViews fields;
    std::size_t number = 0;
    std::size_t records = 0; // counted as the pass starts, under its lock: the rows it shows
    const bool read = archive.forEach(
        [&](std::string_view record) {
            if (number == 0)
                grid.rows.reserve(records);
            layout.viewsInto(record, fields);
            grid.rows.addCell(std::to_string(++number));
            spec.row(grid.rows, fields);
            grid.rows.endRow();
        },
        &records);
    if (records == 0) {
        grid.rows.assignEmpty(shown, columns);
        return false;
    }
    grid.headings = spec.headings;
    // An archive that cannot be read to its end leaves a row per counted record, empty.
    if (!read)
        grid.rows.assignEmpty(0, columns);
    grid.rows.resize(records);
    return true;
}

std::string_view GridRows::Row::operator[](std::size_t column) const
{
    if (column >= m_columns)
        return {};
    return m_chunk->cells[m_first + column];
}

bool GridRows::Row::operator==(const GridRow &cells) const
{
    if (cells.size() != m_columns)
        return false;
    for (std::size_t c = 0; c < m_columns; ++c) {
        if ((*this)[c] != cells[c])
            return false;
    }
    return true;
}

GridRows::Row GridRows::operator[](std::size_t row) const
{
    for (const Chunk &chunk : m_chunks) {
        if (row < chunk.rows)
            return Row(&chunk, row * m_columns, m_columns);
        row -= chunk.rows;
    }
    throw std::out_of_range("GridRows: row out of range");
}

void GridRows::clear()
{
    m_chunks = {};
    m_rows = 0;
    m_open = 0;
}

void GridRows::assignEmpty(std::size_t count, std::size_t columns)
{
    clear();
    m_columns = columns;
    resize(count);
}

void GridRows::resize(std::size_t count)
{
    m_open = 0;
    if (count >= m_rows) {
        Chunk &last = building();
        last.cells.truncate(last.rows * m_columns); // a row left half built goes
        for (std::size_t c = (count - m_rows) * m_columns; c > 0; --c)
            last.cells.push_back({});
        last.rows += count - m_rows;
        m_rows = count;
        return;
    }
    std::size_t keep = count;
    std::size_t chunks = 0;
    while (chunks < m_chunks.size() && keep > m_chunks[chunks].rows) {
        keep -= m_chunks[chunks].rows;
        ++chunks;
    }
    if (chunks < m_chunks.size()) {
        Chunk &last = m_chunks[chunks];
        last.rows = keep;
        last.cells.truncate(keep * m_columns);
        ++chunks;
    }
    m_chunks.resize(chunks);
    m_rows = count;
}

void GridRows::reserve(std::size_t rows)
{
    building().cells.reserve(rows * m_columns, 0);
}

void GridRows::addCell(std::initializer_list<std::string_view> pieces)
{
    if (m_open >= m_columns)
        return;
    std::size_t size = 0;
    for (std::string_view piece : pieces)
        size += piece.size();
    TextLines &cells = building().cells;
    char *at = cells.openLine(size);
    for (std::string_view piece : pieces) {
        if (!piece.empty())
            std::memcpy(at, piece.data(), piece.size());
        at += piece.size();
    }
    cells.closeLine(size);
    ++m_open;
}

void GridRows::endRow()
{
    while (m_open < m_columns)
        addCell(std::string_view());
    m_open = 0;
    ++building().rows;
    ++m_rows;
}

void GridRows::push_back(const GridRow &cells)
{
    for (const std::string &cell : cells)
        addCell(cell);
    endRow();
}

void GridRows::append(GridRows &&other)
{
    for (Chunk &chunk : other.m_chunks) {
        if (chunk.rows > 0)
            m_chunks.push_back(std::move(chunk));
    }
    m_rows += other.m_rows;
    other.clear();
}

void GridRows::shrinkToFit()
{
    for (Chunk &chunk : m_chunks)
        chunk.cells.shrinkToFit();
}

} // namespace velmora
