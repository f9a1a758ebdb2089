#include "common/exportgrid.h"

#include <algorithm>

#include "common/text.h"

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

// Fields first to last (included) as cells; a missing field is an empty cell.
void addFields(GridRow &cells, const FieldViews &fields, std::size_t first, std::size_t last)
{
    for (std::size_t f = first; f <= last; ++f)
        cells.emplace_back(at(fields, f));
}

std::string joined(std::string_view a, std::string_view b)
{
    std::string cell;
    cell.reserve(a.size() + 1 + b.size());
    cell.append(a).append(1, ' ').append(b);
    return cell;
}

void billRow(GridRow &cells, const FieldViews &fields)
{
    addFields(cells, fields, 0, 11);
}

void clientRow(GridRow &cells, const FieldViews &fields)
{
    // Field order: Cliente, DataNasc, LuogoNasc, Camera, Permanenza, Indirizzo, Citta, then
    // TipoDoc to Note in the order of their columns.
    cells.emplace_back(at(fields, 0));
    cells.push_back(joined(at(fields, 2), at(fields, 1)));
    cells.push_back(joined(at(fields, 3), at(fields, 4)));
    cells.emplace_back(at(fields, 5));
    cells.emplace_back(at(fields, 6));
    addFields(cells, fields, 7, 26);
}

void productRow(GridRow &cells, const FieldViews &fields)
{
    // Codice to Giacenza, then Note; the threshold is left out.
    addFields(cells, fields, 0, 14);
    cells.emplace_back(at(fields, 16));
}

// Fields as one string: each a length byte, then its bytes. A stored length byte is at most
// 255, so every field read from a record fits.
void packFields(std::string &packed, const FieldViews &fields)
{
    std::size_t size = fields.size();
    for (std::string_view f : fields)
        size += f.size();
    packed.reserve(size);
    for (std::string_view f : fields) {
        packed.push_back(static_cast<char>(static_cast<unsigned char>(f.size())));
        packed.append(f);
    }
}

void unpackFields(std::string_view packed, FieldViews &fields)
{
    fields.clear();
    std::size_t at = 0;
    while (at < packed.size()) {
        const std::size_t length =
            std::min<std::size_t>(static_cast<unsigned char>(packed[at]), packed.size() - at - 1);
        fields.push_back(packed.substr(at + 1, length));
        at += 1 + length;
    }
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

GridRow ExportGrid::row(std::size_t r) const
{
    const std::size_t columns = headings.size();
    if (r < rows.size()) {
        GridRow cells = rows[r];
        cells.resize(columns);
        return cells;
    }
    GridRow cells;
    const std::size_t record = r - rows.size();
    if (record < records.size() && !records[record].empty() && spec) {
        FieldViews fields;
        unpackFields(records[record], fields);
        cells.reserve(columns);
        cells.push_back(std::to_string(record + 1));
        spec->row(cells, fields);
    }
    cells.resize(columns);
    return cells;
}

void ExportGrid::emptyRows()
{
    records.assign(size(), std::string());
    rows.clear();
}

ExportGrid emptyExportGrid(const ExportSpec &spec)
{
    return {spec.headings, {}, std::vector<std::string>(9), &spec};
}

bool loadExportGrid(ExportGrid &grid, const ExportSpec &spec, const RecordFile &archive, const RecordLayout &layout)
{
    // The old rows' memory goes before the new rows are read; an empty or unreadable archive
    // leaves as many rows as there were, emptied.
    const std::size_t shown = grid.size();
    grid.rows = {};
    grid.records = {};
    grid.spec = &spec;
    FieldViews fields;
    std::size_t records = 0; // counted as the pass starts, under its lock: the rows it shows
    const bool read = archive.forEach(
        [&](std::string_view record) {
            if (grid.records.empty())
                grid.records.reserve(records);
            layout.viewsInto(record, fields);
            packFields(grid.records.emplace_back(), fields);
        },
        &records);
    if (records == 0) {
        grid.records.assign(shown, std::string());
        return false;
    }
    grid.headings = spec.headings;
    // An archive that cannot be read to its end leaves a row per counted record, empty.
    if (!read)
        grid.records.clear();
    grid.records.resize(records);
    return true;
}

} // namespace velmora
