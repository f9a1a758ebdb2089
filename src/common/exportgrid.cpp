#include "common/exportgrid.h"

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
    return {spec.headings, std::vector<GridRow>(9, GridRow(spec.headings.size()))};
}

bool loadExportGrid(ExportGrid &grid, const ExportSpec &spec, const RecordFile &archive, const RecordLayout &layout)
{
    const std::size_t columns = spec.headings.size();
    // The old rows' memory goes before the new rows are read; an empty or unreadable archive
    // leaves as many rows as there were, emptied.
    const std::size_t shown = grid.rows.size();
    grid.rows = {};
    // Rows are built straight from each block of the file as it is read.
    FieldViews fields;
    std::size_t records = 0; // counted as the pass starts, under its lock: the rows it shows
    const bool read = archive.forEach(
        [&](std::string_view record) {
            if (grid.rows.empty())
                grid.rows.reserve(records);
            layout.viewsInto(record, fields);
            GridRow &cells = grid.rows.emplace_back();
            cells.reserve(columns);
            cells.push_back(std::to_string(grid.rows.size()));
            spec.row(cells, fields);
            cells.resize(columns);
        },
        &records);
    if (records == 0) {
        grid.rows.assign(shown, GridRow(columns));
        return false;
    }
    grid.headings = spec.headings;
    // An archive that cannot be read to its end leaves a row per counted record, empty.
    if (!read)
        grid.rows.clear();
    grid.rows.resize(records, GridRow(columns));
    return true;
}

} // namespace velmora
