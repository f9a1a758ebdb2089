// Times the core operations of Velmora, as the screens call them, on the large and on the
// realistic archives, and sets each beside its target.
// Runs: velmora_bench_core
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include "archives.h"
#include "bills/consumption.h"
#include "clients/clientrecord.h"
#include "common/cardstore.h"
#include "common/exportgrid.h"
#include "common/listorder.h"
#include "common/quickfind.h"
#include "common/recordfile.h"
#include "products/productrecord.h"
#include "measure.h"

using namespace velmora;
namespace fs = std::filesystem;

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "failed: %s\n", what);
        std::exit(1);
    }
}

const std::vector<ClientCriterion> kNoCriterion{};
const std::vector<ClientCriterion> kOneCriterion{{client::Cliente, "rossi"}};
const std::vector<ClientCriterion> kThreeCriteria{
    {client::Cliente, "ross"}, {client::Camera, "camera"}, {client::Citta, "(mi)"}};

// One set of archives in a folder of its own, and the operations over it.
class CoreBench
{
public:
    CoreBench(const bench::ArchiveSet &set, const fs::path &folder)
        : m_set(set), m_folder(folder), m_clients(folder / kClientArchive, clientLayout().size()),
          m_products(folder / kProductArchive, kProductRecordSize)
    {
        fs::create_directories(folder);
        bench::writeArchives(folder, set);
        ::sync(); // what was written reaches the disk now, not under the timings
    }

    void run(bench::Report &report, double listTarget, double cardTarget)
    {
        const int runs = m_set.clients > 10000 ? 7 : 21;
        const std::string clients = std::to_string(m_set.clients);
        const std::string products = std::to_string(m_set.products);
        const std::string lines = std::to_string(m_set.linesPerBill);
        report.section("Core, " + std::string(m_set.name) + " archives: " + clients + " client cards, " + products +
                       " products, " + std::to_string(m_set.bills) + " bill(s) of " + lines + " lines");

        std::vector<std::string> all;
        const bench::Figure list = bench::measure(runs, [&] { all = clientSearch(kNoCriterion); });
        check(all.size() == m_set.clients, "every card listed");
        report.line("client list, every card (" + clients + " lines)", list, listTarget);
        std::size_t found = 0;
        report.line("client search, one criterion",
                    bench::measure(runs, [&] { found = clientSearch(kOneCriterion).size(); }), listTarget);
        report.line("client search, three criteria",
                    bench::measure(runs, [&] { found = clientSearch(kThreeCriteria).size(); }), listTarget);
        // A key no line holds walks the whole list: the longest a quick find takes.
        report.line("quick find in the client list, no match", bench::measure(runs, [&] {
                        QuickFind finder;
                        check(!finder.find(all, "zzqx", std::nullopt), "no line holds the key");
                    }),
                    listTarget);
        const std::string chosen = all[all.size() / 2];
        report.line("card of a line chosen in the client list", bench::measure(runs, [&] {
                        check(lastCardWithLine(m_clients, chosen).has_value(), "card of the line");
                    }),
                    listTarget);

        const std::array<std::string, 7> criteria{"", "bevande", "", "", "", "confezione", ""};
        report.line("product search, two criteria", bench::measure(runs, [&] {
                        found = productList(
                                    [&criteria](const std::vector<std::string> &fields) {
                                        return matchesSearch(fields, criteria) ? ListStep::Take : ListStep::Skip;
                                    },
                                    searchLine)
                                    .size();
                    }),
                    listTarget);
        report.line("low-stock list", bench::measure(runs, [&] {
                        found = productList(
                                    [](const std::vector<std::string> &fields) {
                                        const auto low =
                                            runsLow(fields[product::Giacenza], fields[product::Sottoscorta]);
                                        if (!low)
                                            return ListStep::Stop;
                                        return *low ? ListStep::Take : ListStep::Skip;
                                    },
                                    stockLine)
                                    .size();
                    }),
                    listTarget);
        report.line("catalogue of the product import", bench::measure(runs, [&] {
                        found = productList(
                                    [](const std::vector<std::string> &fields) {
                                        return hasStock(fields) ? ListStep::Take : ListStep::Skip;
                                    },
                                    stockLine)
                                    .size();
                    }),
                    listTarget);

        // One bill after another, as the user opens them.
        std::size_t next = 0;
        report.line("bill list with its total (" + lines + " lines)", bench::measure(runs, [&] {
                        const fs::path bill = m_folder / bench::billFileName(next++ % m_set.bills);
                        const auto listing = listBill(RecordFile(bill, consumptionLayout().size()));
                        check(listing && listing->lines.size() == m_set.linesPerBill, "bill listed");
                    }),
                    listTarget);
        report.line("bill folder list (" + std::to_string(m_set.bills) + " bills)", bench::measure(runs, [&] {
                        check(listBills(m_folder).size() == m_set.bills, "bills listed");
                    }),
                    listTarget);

        report.line("export grid of the clients", grid(runs, clientExport(), m_clients, clientLayout()), listTarget);
        report.line("export grid of the products", grid(runs, productExport(), m_products, productLayout()),
                    listTarget);
        const RecordFile bill(m_folder / bench::billFileName(0), consumptionLayout().size());
        report.line("export grid of a bill", grid(runs, billExport(), bill, consumptionLayout()), listTarget);

        cardWrites(report, runs, cardTarget);
        (void)found;
    }

private:
    // As the client search dialog does it: one pass keeping the lines found, then sorted.
    std::vector<std::string> clientSearch(const std::vector<ClientCriterion> &criteria) const
    {
        std::vector<std::string> lines;
        check(m_clients.forEach([&](std::string_view record) {
            if (clientMatches(record, criteria))
                lines.push_back(clientListLine(record));
        }),
              "read clients");
        sortListLines(lines);
        return lines;
    }

    std::vector<std::string> productList(const std::function<ListStep(const std::vector<std::string> &)> &step,
                                         std::string (*line)(const std::vector<std::string> &)) const
    {
        ProductListing listing = productListLines(m_products, step, line);
        check(listing.read, "read products");
        sortListLines(listing.lines);
        return std::move(listing.lines);
    }

    static bench::Figure grid(int runs, const ExportSpec &spec, const RecordFile &archive, const RecordLayout &layout)
    {
        ExportGrid shown = emptyExportGrid(spec);
        return bench::measure(runs, [&] { check(loadExportGrid(shown, spec, archive, layout), "export grid"); });
    }

    // A client card saved over itself, a new one added and one deleted, each flushed to the device.
    void cardWrites(bench::Report &report, int runs, double target)
    {
        std::string record;
        const std::size_t middle = m_set.clients / 2;
        check(m_clients.read(middle, record), "read a card");
        CardStore store;
        store.hold(record);
        report.line("client card saved over its record", bench::measure(runs, [&] {
                        check(store.save(m_clients, std::to_string(middle), record).outcome ==
                                  CardStore::Outcome::Done,
                              "card saved");
                    }),
                    target);
        report.line("client card added", bench::measure(runs, [&] {
                        store.forget();
                        check(store.save(m_clients, "", record).appended, "card added");
                    }),
                    target);
        // Each run deletes the card added just before it, outside the time.
        std::size_t added = 0;
        report.line("client card deleted (the archive copied)", bench::measure(
                                                                     runs,
                                                                     [&] {
                                                                         check(m_clients.append(record, &added),
                                                                               "card to delete");
                                                                         store.hold(record);
                                                                     },
                                                                     [&] {
                                                                         check(store.remove(m_clients,
                                                                                            std::to_string(added),
                                                                                            m_folder / kClientTemp) ==
                                                                                   CardStore::Outcome::Done,
                                                                               "card deleted");
                                                                     }),
                    target);
    }

    bench::ArchiveSet m_set;
    fs::path m_folder;
    RecordFile m_clients;
    RecordFile m_products;
};

} // namespace

int main()
{
    char pattern[] = "/tmp/velmora-bench-XXXXXX";
    check(::mkdtemp(pattern) != nullptr, "temporary folder");
    const fs::path folder = pattern;
    std::printf("Archives written in %s\n", folder.c_str());

    bench::Report report;
    {
        CoreBench large(bench::kLarge, folder / bench::kLarge.name);
        large.run(report, 100, 0);
    }
    fs::remove_all(folder / bench::kLarge.name);
    {
        CoreBench realistic(bench::kRealistic, folder / bench::kRealistic.name);
        realistic.run(report, 20, 20);
    }
    report.summary();
    fs::remove_all(folder);
    return 0;
}
