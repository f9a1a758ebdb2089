// Times the core operations of Velmora on large archives and sets each beside what bounds it:
// reading the same file from the page cache, grep over the same bytes, copying the file, and
// the same client search done by SQLite.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <functional>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "archives.h"
#include "bills/consumption.h"
#include "clients/clientrecord.h"
#include "common/exportgrid.h"
#include "common/listorder.h"
#include "common/memorypolicy.h"
#include "common/quickfind.h"
#include "common/recordfile.h"
#include "common/text.h"
#include "products/productrecord.h"

using namespace velmora;
namespace fs = std::filesystem;

namespace {

fs::path g_folder;
fs::path g_lines; // the 50,000 client list lines as a text file, for grep
std::vector<std::string> g_clientLines;
sqlite3 *g_db = nullptr;
double g_sqliteLoadMs = 0;

const std::string kOneKey = "rossi";
const std::vector<ClientCriterion> kOneCriterion{{client::Cliente, "rossi"}};
const std::vector<ClientCriterion> kThreeCriteria{
    {client::Cliente, "ross"}, {client::Camera, "camera"}, {client::Citta, "(mi)"}};

fs::path clients()
{
    return g_folder / kClientArchive;
}
fs::path products()
{
    return g_folder / kProductArchive;
}
fs::path longBill()
{
    return g_folder / "Conto lungo.for";
}

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "failed: %s\n", what);
        std::exit(1);
    }
}

// ---- the limits -------------------------------------------------------------------------

constexpr std::size_t kBlock = std::size_t{1} << 20;

// Reads the whole file from the page cache a megabyte at a time into one buffer that is
// already there, handing each block to use: what any scan of the file must pay.
template <class Use> std::size_t readBlocks(const fs::path &path, std::string &buffer, Use use)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    check(fd >= 0, "open");
    buffer.resize(kBlock);
    std::size_t done = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        check(n >= 0, "read");
        if (n == 0)
            break;
        use(buffer.data(), static_cast<std::size_t>(n));
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return done;
}

std::size_t readFromCache(const fs::path &path, std::string &buffer)
{
    return readBlocks(path, buffer, [](const char *, std::size_t) {});
}

void BM_Read(benchmark::State &state, fs::path path)
{
    std::string buffer;
    for (auto _ : state)
        benchmark::DoNotOptimize(readFromCache(path, buffer));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(fs::file_size(path)));
}

void BM_ReadFolder(benchmark::State &state)
{
    std::string buffer;
    for (auto _ : state) {
        std::size_t total = 0;
        for (const auto &entry : fs::directory_iterator(g_folder / "Conti"))
            total += readFromCache(entry.path(), buffer);
        benchmark::DoNotOptimize(total);
    }
}

void BM_Grep(benchmark::State &state, fs::path path, std::string key)
{
    // Letters A to Z only are folded by the program, so grep runs in the C locale too; -a makes
    // it read the records as text, else it stops at the first match of a binary file.
    // Its count goes to a file: writing to /dev/null, grep would stop at the first match.
    const std::string command =
        "LC_ALL=C grep -a -c -F -i '" + key + "' '" + path.string() + "' > '" + (g_folder / "grep.out").string() + "'";
    for (auto _ : state) {
        const int rc = std::system(command.c_str());
        check(rc == 0 || rc == 256, command.c_str()); // 256: nothing found
    }
}

// Copying the archive as a delete by copy must: read it, write it anew, flush it.
void BM_Copy(benchmark::State &state)
{
    std::string buffer;
    const fs::path target = g_folder / "copia.tmp";
    for (auto _ : state) {
        const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        check(fd >= 0, "create copy");
        readBlocks(clients(), buffer, [fd](const char *data, std::size_t size) {
            while (size > 0) {
                const ssize_t n = ::write(fd, data, size);
                check(n > 0, "write copy");
                data += n;
                size -= static_cast<std::size_t>(n);
            }
        });
        check(::fsync(fd) == 0, "fsync copy");
        ::close(fd);
    }
    fs::remove(target);
}

// ---- SQLite -----------------------------------------------------------------------------

void loadSqlite(const std::vector<std::vector<std::string>> &cards)
{
    const fs::path db = g_folder / "clienti.sqlite";
    check(sqlite3_open(db.c_str(), &g_db) == SQLITE_OK, "sqlite open");
    std::string create = "CREATE TABLE clienti (";
    std::string insert = "INSERT INTO clienti VALUES (";
    for (std::size_t f = 0; f < client::FieldCount; ++f) {
        create += std::string(f ? ", " : "") + client::fieldName(f) + " TEXT";
        insert += f ? ", ?" : "?";
    }
    create += ")";
    insert += ")";
    const auto start = std::chrono::steady_clock::now();
    check(sqlite3_exec(g_db, create.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK, "create");
    check(sqlite3_exec(g_db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK, "begin");
    sqlite3_stmt *stmt = nullptr;
    check(sqlite3_prepare_v2(g_db, insert.c_str(), -1, &stmt, nullptr) == SQLITE_OK, "prepare insert");
    for (const auto &card : cards) {
        for (std::size_t f = 0; f < client::FieldCount; ++f)
            sqlite3_bind_text(stmt, static_cast<int>(f + 1), card[f].data(), static_cast<int>(card[f].size()),
                              SQLITE_STATIC);
        check(sqlite3_step(stmt) == SQLITE_DONE, "insert");
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    check(sqlite3_exec(g_db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK, "commit");
    g_sqliteLoadMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The client search as a table would do it: one LIKE per criterion, then the same lines and order.
std::vector<std::string> sqliteSearch(const std::vector<ClientCriterion> &criteria)
{
    std::string sql = "SELECT Cliente, Camera, Permanenza, TelCel, Email FROM clienti";
    for (std::size_t i = 0; i < criteria.size(); ++i)
        sql += std::string(i ? " AND " : " WHERE ") + client::fieldName(criteria[i].field) + " LIKE ?";
    sqlite3_stmt *stmt = nullptr;
    check(sqlite3_prepare_v2(g_db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK, "prepare select");
    std::vector<std::string> patterns;
    for (const ClientCriterion &c : criteria)
        patterns.push_back('%' + c.text + '%');
    for (std::size_t i = 0; i < patterns.size(); ++i)
        sqlite3_bind_text(stmt, static_cast<int>(i + 1), patterns[i].data(), static_cast<int>(patterns[i].size()),
                          SQLITE_STATIC);
    std::vector<std::string> lines;
    std::vector<std::string> values(client::FieldCount);
    const std::size_t shown[] = {client::Cliente, client::Camera, client::Permanenza, client::TelCel, client::Email};
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < 5; ++c)
            values[shown[c]].assign(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)),
                                    static_cast<std::size_t>(sqlite3_column_bytes(stmt, c)));
        lines.push_back(clientListLine(values));
    }
    sqlite3_finalize(stmt);
    sortListLines(lines);
    return lines;
}

void BM_SqliteSearch(benchmark::State &state, const std::vector<ClientCriterion> *criteria)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(sqliteSearch(*criteria));
}

// ---- the operations, as the screens call them ---------------------------------------------

std::vector<std::string> clientSearch(const std::vector<ClientCriterion> &criteria)
{
    // As the search dialog does it: one pass over the archive, keeping the lines found.
    std::vector<std::string> lines;
    check(gatherInParts(RecordFile(clients(), clientLayout().size()), lines,
                        [&criteria](std::vector<std::string> &found, std::string_view record) {
                            if (clientMatches(record, criteria))
                                found.push_back(clientListLine(record));
                        }),
          "read clients");
    sortListLines(lines);
    return lines;
}

void BM_ClientSearch(benchmark::State &state, const std::vector<ClientCriterion> *criteria)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(clientSearch(*criteria));
}

// A product list as its screen fills it: the lines taken, then sorted.
std::vector<std::string> productList(const std::function<ListStep(const std::vector<std::string> &)> &step,
                                     std::string (*line)(const std::vector<std::string> &))
{
    ProductListing listing = productListLines(RecordFile(products(), kProductRecordSize), step, line);
    check(listing.read, "read products");
    sortListLines(listing.lines);
    return std::move(listing.lines);
}

void BM_ProductSearch(benchmark::State &state)
{
    const std::array<std::string, 7> criteria{"", "bevande", "", "", "", "confezione", ""};
    for (auto _ : state) {
        benchmark::DoNotOptimize(productList(
            [&criteria](const std::vector<std::string> &fields) {
                return matchesSearch(fields, criteria) ? ListStep::Take : ListStep::Skip;
            },
            searchLine));
    }
}

void BM_LowStock(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(productList(
            [](const std::vector<std::string> &fields) {
                const auto low = runsLow(fields[product::Giacenza], fields[product::Sottoscorta]);
                if (!low)
                    return ListStep::Stop;
                return *low ? ListStep::Take : ListStep::Skip;
            },
            stockLine));
    }
}

// The catalogue of the product import: every product holding a stock.
void BM_Catalogue(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(productList(
            [](const std::vector<std::string> &fields) { return hasStock(fields) ? ListStep::Take : ListStep::Skip; },
            stockLine));
    }
}

void BM_BillList(benchmark::State &state)
{
    for (auto _ : state) {
        const auto listing = listBill(RecordFile(longBill(), consumptionLayout().size()));
        check(listing.has_value(), "read bill");
        benchmark::DoNotOptimize(listing);
    }
}

void BM_BillFolder(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(listBills(g_folder / "Conti"));
}

void BM_QuickFind(benchmark::State &state)
{
    // A key no line holds walks all 50,000 lines: the longest a quick find can take.
    for (auto _ : state) {
        QuickFind finder;
        benchmark::DoNotOptimize(finder.find(g_clientLines, "zzqx", std::size_t{0}));
    }
}

void BM_ExportGrid(benchmark::State &state, const ExportSpec *spec, fs::path path, const RecordLayout *layout)
{
    for (auto _ : state) {
        ExportGrid grid = emptyExportGrid(*spec);
        check(loadExportGrid(grid, *spec, RecordFile(path, layout->size()), *layout), "export grid");
        benchmark::DoNotOptimize(grid);
    }
}

std::string sampleClient()
{
    std::string record;
    check(RecordFile(clients(), clientLayout().size()).read(25000, record), "read record");
    return record;
}

void BM_Append(benchmark::State &state)
{
    const RecordFile archive(clients(), clientLayout().size());
    const std::string record = sampleClient();
    const auto before = fs::file_size(clients());
    for (auto _ : state)
        check(archive.append(record), "append");
    fs::resize_file(clients(), before);
}

void BM_Overwrite(benchmark::State &state)
{
    const RecordFile archive(clients(), clientLayout().size());
    const std::string record = sampleClient();
    for (auto _ : state)
        check(archive.overwrite(25000, record), "overwrite");
}

void BM_DeleteByCopy(benchmark::State &state)
{
    const RecordFile archive(clients(), clientLayout().size());
    for (auto _ : state)
        check(archive.removeByCopy("25000", g_folder / kClientTemp), "delete");
}

// ---- the report ---------------------------------------------------------------------------

class Collector : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> ms;
    void ReportRuns(const std::vector<Run> &runs) override
    {
        // The median of the repetitions: a machine shared with other work slows single runs.
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median" && !run.error_occurred) {
                std::string name = run.benchmark_name();
                name = name.substr(0, name.find('/'));
                ms[name] = run.GetAdjustedRealTime() * (run.time_unit == benchmark::kMicrosecond ? 1e-3 : 1.0);
            }
        ConsoleReporter::ReportRuns(runs);
    }
};

template <class F, class... A> void add(const char *name, F f, A... args)
{
    benchmark::RegisterBenchmark(name, f, args...)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

double fileMb(const fs::path &path)
{
    return static_cast<double>(fs::file_size(path)) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    keepFreedMemoryForReuse(); // as the program does
    benchmark::Initialize(&argc, argv);
    char pattern[] = "/tmp/velmora-bench-XXXXXX";
    check(::mkdtemp(pattern) != nullptr, "temporary folder");
    g_folder = pattern;

    std::printf("Writing the archives in %s ...\n", g_folder.c_str());
    const auto cards = bench::writeArchives(g_folder, bench::Sizes{});
    {
        std::vector<std::string> records;
        check(RecordFile(clients(), clientLayout().size()).readAll(records), "read clients");
        for (const std::string &record : records)
            g_clientLines.push_back(clientListLine(record));
        sortListLines(g_clientLines);
        g_lines = g_folder / "righe.txt";
        std::FILE *f = std::fopen(g_lines.c_str(), "wb");
        for (const std::string &line : g_clientLines)
            std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
    loadSqlite(cards);
    // Everything written so far reaches the disk now, so no write-back runs under the timings.
    ::sync();
    const auto ours1 = clientSearch(kOneCriterion), sql1 = sqliteSearch(kOneCriterion);
    const auto ours3 = clientSearch(kThreeCriteria), sql3 = sqliteSearch(kThreeCriteria);
    check(ours1 == sql1 && ours3 == sql3, "SQLite finds the same cards");
    std::printf("Anagrafica.pro %.1f MB (%zu cards), Materiali.pro %.1f MB, Conto lungo.for %.1f MB, "
                "righe.txt %.1f MB, clienti.sqlite %.1f MB loaded in %.0f ms\n",
                fileMb(clients()), cards.size(), fileMb(products()), fileMb(longBill()), fileMb(g_lines),
                fileMb(g_folder / "clienti.sqlite"), g_sqliteLoadMs);
    std::printf("One criterion finds %zu cards, three find %zu (SQLite the same lines)\n\n", ours1.size(),
                ours3.size());

    add("read_clients", BM_Read, clients());
    add("read_products", BM_Read, products());
    add("read_bill", BM_Read, longBill());
    add("read_lines", BM_Read, g_lines);
    add("read_bill_folder", BM_ReadFolder);
    add("grep_clients", BM_Grep, clients(), kOneKey);
    add("grep_lines", BM_Grep, g_lines, std::string("zzqx"));
    add("sqlite_search_1", BM_SqliteSearch, &kOneCriterion);
    add("sqlite_search_3", BM_SqliteSearch, &kThreeCriteria);
    add("client_search_1", BM_ClientSearch, &kOneCriterion);
    add("client_search_3", BM_ClientSearch, &kThreeCriteria);
    add("product_search", BM_ProductSearch);
    add("low_stock_list", BM_LowStock);
    add("catalogue_list", BM_Catalogue);
    add("bill_list_total", BM_BillList);
    add("bill_folder_list", BM_BillFolder);
    add("quick_find_50000", BM_QuickFind);
    add("export_grid_clients", BM_ExportGrid, &clientExport(), clients(), &clientLayout());
    add("export_grid_products", BM_ExportGrid, &productExport(), products(), &productLayout());
    add("export_grid_bill", BM_ExportGrid, &billExport(), longBill(), &consumptionLayout());
    add("append_client", BM_Append);
    add("overwrite_client", BM_Overwrite);
    add("copy_clients", BM_Copy);
    add("delete_by_copy_client", BM_DeleteByCopy);

    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);

    struct Row
    {
        const char *op;
        const char *limit;
        double bound; // the target: at most bound times the limit (0: an absolute bound in ms)
        const char *other;
        double absolute;
    };
    const Row rows[] = {
        {"client_search_1", "read_clients", 3, "grep_clients", 0},
        {"client_search_3", "read_clients", 3, "grep_clients", 0},
        {"product_search", "read_products", 3, nullptr, 0},
        {"low_stock_list", "read_products", 3, nullptr, 0},
        {"catalogue_list", "read_products", 3, nullptr, 0},
        {"bill_list_total", "read_bill", 3, nullptr, 0},
        {"bill_folder_list", "read_bill_folder", 0, nullptr, 0},
        {"quick_find_50000", "read_lines", 3, "grep_lines", 0},
        {"export_grid_clients", "read_clients", 3, nullptr, 0},
        {"export_grid_products", "read_products", 3, nullptr, 0},
        {"export_grid_bill", "read_bill", 3, nullptr, 0},
        {"delete_by_copy_client", "copy_clients", 3, nullptr, 0},
        {"append_client", nullptr, 0, nullptr, 10},
        {"overwrite_client", nullptr, 0, nullptr, 10},
    };
    const auto &t = collector.ms;
    const auto get = [&t](const char *name) { return name && t.count(name) ? t.at(name) : -1.0; };
    std::printf("\n%-24s %10s  %-18s %10s %7s  %-14s %10s %7s  %s\n", "operation", "ms", "limit", "ms", "ratio",
                "versus", "ms", "ratio", "target");
    for (const Row &r : rows) {
        const double op = get(r.op);
        if (op < 0)
            continue;
        const double limit = get(r.limit);
        const double other = get(r.other);
        std::string verdict;
        if (r.absolute > 0)
            verdict = op < r.absolute ? "under 10 ms: met" : "under 10 ms: MISSED";
        else if (r.bound > 0 && limit > 0)
            verdict = op <= r.bound * limit ? "within 3x: met" : "within 3x: MISSED";
        std::printf("%-24s %10.3f  %-18s %10.3f %7.2f  %-14s %10.3f %7.2f  %s\n", r.op, op, r.limit ? r.limit : "-",
                    limit, limit > 0 ? op / limit : 0.0, r.other ? r.other : "-", other, other > 0 ? op / other : 0.0,
                    verdict.c_str());
    }
    for (const char *search : {"client_search_1", "client_search_3"}) {
        const double op = get(search);
        const double grep = get("grep_clients");
        const double sql = get(search[14] == '1' ? "sqlite_search_1" : "sqlite_search_3");
        if (op >= 0 && grep > 0 && sql > 0)
            std::printf("%s: %.2fx grep -c -F -i (target at most 2x: %s), %.2fx SQLite LIKE (target below 1x: %s)\n",
                        search, op / grep, op <= 2 * grep ? "met" : "MISSED", op / sql, op < sql ? "met" : "MISSED");
    }

    sqlite3_close(g_db);
    if (!std::getenv("VELMORA_BENCH_KEEP"))
        fs::remove_all(g_folder);
    else
        std::printf("Archives kept in %s\n", g_folder.c_str());
    return 0;
}
