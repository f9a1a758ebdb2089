#include "archives.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "bills/consumption.h"
#include "clients/clientrecord.h"
#include "common/text.h"
#include "products/productrecord.h"

namespace velmora::bench {

namespace {

// A small deterministic generator, so every run writes the same archives.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed * 0x9E3779B97F4A7C15ULL + 1) {}
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
    bool chance(int percent) { return below(100) < static_cast<std::size_t>(percent); }
    template <class T, std::size_t N> const T &pick(const std::array<T, N> &items) { return items[below(N)]; }
    std::string digits(std::size_t n)
    {
        std::string s;
        for (std::size_t i = 0; i < n; ++i)
            s += static_cast<char>('0' + below(10));
        return s;
    }
    std::string letters(std::size_t n)
    {
        std::string s;
        for (std::size_t i = 0; i < n; ++i)
            s += static_cast<char>('A' + below(26));
        return s;
    }

private:
    std::uint64_t m_state;
};

// Texts are written here in UTF-8 and stored in the archives' code page.
std::string cp(const char *utf8)
{
    return utf8ToCp1252(utf8);
}

const std::array<const char *, 100> kSurnames{
    "Rossi",      "Russo",     "Ferrari",   "Esposito",   "Bianchi",    "Romano",    "Colombo",    "Ricci",
    "Marino",     "Greco",     "Bruno",     "Gallo",      "Conti",      "De Luca",   "Mancini",    "Costa",
    "Giordano",   "Rizzo",     "Lombardi",  "Moretti",    "Barbieri",   "Fontana",   "Santoro",    "Mariani",
    "Rinaldi",    "Caruso",    "Ferrara",   "Galli",      "Martini",    "Leone",     "Longo",      "Gentile",
    "Martinelli", "Vitale",    "Lombardo",  "Serra",      "Coppola",    "De Santis", "D'Angelo",   "Marchetti",
    "Parisi",     "Villa",     "Conte",     "Ferraro",    "Ferri",      "Fabbri",    "Bianco",     "Marini",
    "Grasso",     "Valentini", "Messina",   "Sala",       "De Angelis", "Gatti",     "Pellegrini", "Palumbo",
    "Sanna",      "Farina",    "Rizzi",     "Monti",      "Cattaneo",   "Morelli",   "Amato",      "Silvestri",
    "Mazza",      "Testa",     "Grassi",    "Pellegrino", "Carbone",    "Giuliani",  "Benedetti",  "Barone",
    "Rossetti",   "Caputo",    "Montanari", "Guerra",     "Palmieri",   "Bernardi",  "Martino",    "Fiore",
    "De Rosa",    "Ferretti",  "Bellini",   "Basile",     "Riva",       "Donati",    "Piras",      "Vitali",
    "Battaglia",  "Sartori",   "Neri",      "Costantini", "Milani",     "Pagano",    "Ruggiero",   "Sorrentino",
    "D'Amico",    "Orlando",   "Negri",     "Nicolò"};

const std::array<const char *, 40> kNames{
    "Mario",    "Giuseppe",  "Luca",    "Marco",    "Francesco", "Andrea",    "Giovanni", "Alessandro",
    "Matteo",   "Lorenzo",   "Anna",    "Maria",    "Giulia",    "Francesca", "Chiara",   "Sara",
    "Laura",    "Valentina", "Elena",   "Federica", "Niccolò",   "Nicolò",    "Noemi",    "Mattia",
    "Gabriele", "Sofia",     "Aurora",  "Martina",  "Alice",     "Giorgia",   "Beatrice", "Emma",
    "Paolo",    "Stefano",   "Roberto", "Davide",   "Simone",    "Fabio",     "Daniele",  "Riccardo"};

struct City
{
    const char *name;
    const char *province;
    const char *cap;
};

const std::array<City, 25> kCities{
    {{"Roma", "RM", "00100"},    {"Milano", "MI", "20100"},   {"Napoli", "NA", "80100"},
     {"Torino", "TO", "10100"},  {"Palermo", "PA", "90100"},  {"Genova", "GE", "16100"},
     {"Bologna", "BO", "40100"}, {"Firenze", "FI", "50100"},  {"Bari", "BA", "70100"},
     {"Catania", "CT", "95100"}, {"Venezia", "VE", "30100"},  {"Verona", "VR", "37100"},
     {"Messina", "ME", "98100"}, {"Padova", "PD", "35100"},   {"Trieste", "TS", "34100"},
     {"Brescia", "BS", "25100"}, {"Parma", "PR", "43100"},    {"Taranto", "TA", "74100"},
     {"Prato", "PO", "59100"},   {"Modena", "MO", "41100"},   {"Reggio Calabria", "RC", "89100"},
     {"Perugia", "PG", "06100"}, {"Cagliari", "CA", "09100"}, {"Forlì", "FC", "47100"},
     {"Cantù", "CO", "22063"}}};

const std::array<const char *, 10> kStreets{
    "Via Roma",         "Via Garibaldi", "Corso Vittorio Emanuele", "Via Mazzini",      "Via Cavour",
    "Piazza del Duomo", "Via Dante",     "Viale della Repubblica",  "Via XX Settembre", "Via Giuseppe Verdi"};

const std::array<const char *, 4> kDocuments{"Carta d'identità", "Passaporto", "Patente di guida",
                                             "Carta d'identità elettronica"};
const std::array<const char *, 4> kPayments{"Carta di credito", "Contanti", "Bonifico bancario", "Bancomat"};
const std::array<const char *, 5> kBanks{"Intesa Sanpaolo", "UniCredit", "Banco BPM", "Monte dei Paschi di Siena",
                                         "BPER Banca"};
const std::array<const char *, 6> kNotes{"Allergico ai crostacei.\r\nPreferisce una camera ai piani alti.",
                                         "Cliente abituale: sconto del 10% sul ristorante.",
                                         "Arrivo previsto in tarda serata.\r\nParcheggio coperto riservato.",
                                         "Richiede culla in camera.",
                                         "Intolleranza al glutine.\r\nColazione in camera alle 7:30.",
                                         ""};

std::string date(Random &r, int fromYear, int years)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", static_cast<int>(1 + r.below(28)),
                  static_cast<int>(1 + r.below(12)),
                  fromYear + static_cast<int>(r.below(static_cast<std::size_t>(years))));
    return buf;
}

std::string lower(std::string s)
{
    for (char &c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        else if (c == ' ' || c == '\'')
            c = '.';
    return s;
}

std::string phone(Random &r, const char *prefix)
{
    return std::string(prefix) + ' ' + r.digits(7);
}

} // namespace

std::vector<std::vector<std::string>> makeClients(std::size_t count)
{
    Random r(1);
    std::vector<std::vector<std::string>> cards;
    cards.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::vector<std::string> f(client::FieldCount);
        const std::string surname = cp(r.pick(kSurnames));
        const std::string name = cp(r.pick(kNames));
        const City &home = r.pick(kCities);
        const City &birth = r.pick(kCities);
        f[client::Cliente] = surname + ' ' + name;
        f[client::DataNasc] = date(r, 1940, 65);
        f[client::LuogoNasc] = cp(birth.name);
        f[client::Camera] = r.chance(80) ? "Camera " + std::to_string(100 + r.below(400))
                                         : "Ombrellone " + std::to_string(1 + r.below(200));
        f[client::Permanenza] = "dal " + date(r, 2024, 2) + " al " + date(r, 2024, 2);
        f[client::Indirizzo] = cp(r.pick(kStreets)) + ", " + std::to_string(1 + r.below(200));
        f[client::Citta] = std::string(home.cap) + ' ' + cp(home.name) + " (" + home.province + ')';
        f[client::TipoDoc] = cp(r.pick(kDocuments));
        f[client::NumDoc] = r.letters(2) + r.digits(5) + r.letters(2);
        f[client::EnteDoc] = "Comune di " + cp(home.name);
        f[client::RilDoc] = date(r, 2015, 8);
        f[client::ScaDoc] = date(r, 2025, 10);
        f[client::CodFisc] =
            r.letters(6) + r.digits(2) + r.letters(1) + r.digits(2) + r.letters(1) + r.digits(3) + r.letters(1);
        if (r.chance(15))
            f[client::Iva] = r.digits(11);
        if (r.chance(60)) {
            f[client::Carta] = "4" + r.digits(15);
            f[client::TipoCarta] = r.chance(50) ? "Visa" : "Mastercard";
            f[client::ScaCarta] = std::to_string(1 + r.below(12)) + "/" + std::to_string(2026 + r.below(5));
        }
        if (r.chance(30)) {
            f[client::Iban] = "IT" + r.digits(2) + r.letters(1) + r.digits(22);
            f[client::Banca] = cp(r.pick(kBanks));
            f[client::Intestatario] = f[client::Cliente];
        }
        f[client::Pagamento] = cp(r.pick(kPayments));
        if (r.chance(40))
            f[client::TelCasa] = phone(r, "06");
        if (r.chance(20))
            f[client::TelUff] = phone(r, "02");
        f[client::TelCel] = phone(r, "347");
        if (r.chance(5))
            f[client::Fax] = phone(r, "02");
        f[client::Email] = lower(name + '.' + surname) + std::to_string(r.below(100)) + "@esempio.it";
        f[client::Note] = cp(r.pick(kNotes));
        if (r.chance(10)) {
            f[client::File01] = "Allegati/documento_" + std::to_string(i + 1) + ".pdf";
            f[client::Desc01] = "Copia del documento di identità";
        }
        cards.push_back(std::move(f));
    }
    return cards;
}

std::vector<std::vector<std::string>> makeProducts(std::size_t count)
{
    static const std::array<const char *, 8> types{"Bevande", "Minibar",    "Ristorante", "Spiaggia",
                                                   "Servizi", "Parcheggio", "Lavanderia", "Benessere"};
    static const std::array<const char *, 8> makes{"San Pellegrino 0,75 l", "Coca-Cola 33 cl", "Peroni 33 cl",
                                                   "Lavazza Espresso",      "Martini Bianco",  "Ferrarelle 1 l",
                                                   "Caffè Borbone",         "Prosecco DOC"};
    static const std::array<const char *, 5> suppliers{"Distribuzione Bevande Srl", "Horeca Italia Spa",
                                                       "Ingrosso Alimentari Rossi", "Forniture Alberghiere Snc",
                                                       "Cash & Carry Metro"};
    Random r(2);
    std::vector<std::vector<std::string>> cards;
    cards.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::vector<std::string> f(product::FieldCount);
        char code[32];
        std::snprintf(code, sizeof code, "ART-%05zu", i + 1);
        f[product::Codice] = code;
        f[product::Tipologia] = r.pick(types);
        f[product::Marca] = cp(r.pick(makes));
        f[product::Modello] = "Produttore " + r.letters(1);
        if (r.chance(20))
            f[product::Accessori] = "Bicchiere e ghiaccio";
        f[product::Descrizione] = "Articolo " + std::to_string(i + 1) + " della linea " + r.pick(types) +
                                  ", confezione da " + std::to_string(1 + r.below(24)) + " pezzi";
        f[product::Fornitore] = cp(r.pick(suppliers));
        f[product::Recapito] = phone(r, "02");
        f[product::Data] = date(r, 2023, 3);
        f[product::Costo] = std::to_string(r.below(20)) + "," + r.digits(2);
        f[product::Documento] = "Fattura " + std::to_string(1 + r.below(900)) + "/2025";
        f[product::Ordine] = r.chance(50) ? "Telefonico" : "Portale del fornitore";
        f[product::Prezzo] = std::to_string(1 + r.below(40)) + "," + r.digits(2);
        f[product::Collocazione] = "Magazzino " + r.letters(1) + ", scaffale " + std::to_string(1 + r.below(20));
        f[product::Giacenza] = std::to_string(r.below(200));
        f[product::Sottoscorta] = std::to_string(r.below(20));
        if (r.chance(30))
            f[product::Note] = cp("Consegna il martedì.\r\nConservare al fresco.");
        cards.push_back(std::move(f));
    }
    return cards;
}

std::vector<std::vector<std::string>> makeConsumptions(std::size_t count, std::size_t seed)
{
    static const std::array<const char *, 8> products{
        "Caffè espresso",           "Acqua minerale 0,75 l", "Birra media",         "Pranzo menù del giorno",
        "Ombrellone e due lettini", "Parcheggio coperto",    "Lavanderia: camicia", "Massaggio 50 minuti"};
    static const std::array<const char *, 5> places{"Bar", "Tavolo 12", "Spiaggia", "Ristorante", "Camera"};
    Random r(100 + seed);
    std::vector<std::vector<std::string>> rows;
    rows.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::vector<std::string> f(consumption::FieldCount);
        const std::size_t quantity = 1 + r.below(4);
        const std::size_t cents = 100 + r.below(4000);
        const std::size_t amount = quantity * cents;
        f[consumption::Prodotto] = cp(r.pick(products));
        f[consumption::Data] = date(r, 2025, 1);
        f[consumption::Ora] = std::to_string(10 + r.below(10)) + ":" + std::to_string(r.below(6)) + "0";
        f[consumption::Luogo] = r.pick(places);
        f[consumption::Quantita] = std::to_string(quantity);
        f[consumption::Prezzo] =
            std::to_string(cents / 100) + "," + (cents % 100 < 10 ? "0" : "") + std::to_string(cents % 100);
        f[consumption::Importo] =
            std::to_string(amount / 100) + "," + (amount % 100 < 10 ? "0" : "") + std::to_string(amount % 100);
        f[consumption::UM] = "pz";
        f[consumption::Cameriere] = "Operatore " + std::to_string(1 + r.below(9));
        f[consumption::Cliente] = "Rossi Mario";
        f[consumption::Alloggio] = "Camera 214";
        f[consumption::TelCel] = "347 1234567";
        rows.push_back(std::move(f));
    }
    return rows;
}

void writeRecords(const std::filesystem::path &path, const std::vector<std::string> &records)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const std::string &record : records)
        out.write(record.data(), static_cast<std::streamsize>(record.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
}

std::string billFileName(std::size_t n)
{
    char name[48];
    std::snprintf(name, sizeof name, "Camera %03zu - ospite %04zu.for", 100 + n % 400, n + 1);
    return name;
}

void writeArchives(const std::filesystem::path &folder, const ArchiveSet &set)
{
    const auto encodeAll = [](const RecordLayout &layout, const std::vector<std::vector<std::string>> &cards) {
        std::vector<std::string> records;
        records.reserve(cards.size());
        for (const auto &card : cards)
            records.push_back(layout.encode(card));
        return records;
    };
    writeRecords(folder / kClientArchive, encodeAll(clientLayout(), makeClients(set.clients)));
    writeRecords(folder / kProductArchive, encodeAll(productLayout(), makeProducts(set.products)));
    for (std::size_t b = 0; b < set.bills; ++b)
        writeRecords(folder / billFileName(b), encodeAll(consumptionLayout(), makeConsumptions(set.linesPerBill, b)));
}

} // namespace velmora::bench
