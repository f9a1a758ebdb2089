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

GridRow billRow(std::size_t number, const FieldViews &fields)
{
    GridRow row{std::to_string(number)};
    row.reserve(13);
    for (std::size_t f = 0; f < 12; ++f)
        row.emplace_back(trimmedView(at(fields, f)));
    return row;
}

GridRow clientRow(std::size_t number, const FieldViews &fields)
{
    // Field order: Cliente, DataNasc, LuogoNasc, Camera, Permanenza, Indirizzo, Citta, then
    // TipoDoc to Note in the order of their columns.
    const auto f = [&](std::size_t i) { return trimmedView(at(fields, i)); };
    const auto joined = [](std::string_view a, std::string_view b) {
        std::string cell;
        cell.reserve(a.size() + 1 + b.size());
        cell.append(a).append(1, ' ').append(b);
        return cell;
    };
    GridRow row;
    row.reserve(26);
    row.push_back(std::to_string(number));
    row.emplace_back(f(0));
    row.push_back(joined(f(2), f(1)));
    row.push_back(joined(f(3), f(4)));
    row.emplace_back(f(5));
    row.emplace_back(f(6));
    for (std::size_t i = 7; i <= 26; ++i)
        row.emplace_back(f(i));
    return row;
}

GridRow productRow(std::size_t number, const FieldViews &fields)
{
    // Codice to Giacenza, then Note; the threshold is left out.
    GridRow row{std::to_string(number)};
    row.reserve(17);
    for (std::size_t f = 0; f <= 14; ++f)
        row.emplace_back(trimmedView(at(fields, f)));
    row.emplace_back(trimmedView(at(fields, 16)));
    return row;
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
    grid.rows.assign(9, GridRow(spec.headings.size()));
    return grid;
}

bool loadExportGrid(ExportGrid &grid, const ExportSpec &spec, const RecordFile &archive, const RecordLayout &layout)
{
    for (GridRow &row : grid.rows)
        row.assign(spec.headings.size(), std::string());
    if (!archive.openForUse())
        return false;
    const auto count = archive.count();
    if (!count || *count == 0)
        return false;
    grid.headings = spec.headings;
    // Rows are built straight from each block of the file as it is read, in parts on the
    // processor's cores; an archive that cannot be read leaves a row per counted record, empty.
    const bool read = gatherInParts(archive, grid.rows, [&](std::vector<GridRow> &rows, std::string_view record) {
        thread_local FieldViews fields;
        layout.viewsInto(record, fields);
        rows.push_back(spec.row(0, fields));
    });
    if (!read)
        grid.rows.clear();
    // The archive may have grown since it was counted: the grid shows the records counted.
    if (grid.rows.size() > *count)
        grid.rows.resize(*count);
    for (std::size_t i = 0; i < grid.rows.size(); ++i)
        grid.rows[i].front() = std::to_string(i + 1);
    grid.rows.resize(*count, GridRow(spec.headings.size()));
    return true;
}

} // namespace velmora
