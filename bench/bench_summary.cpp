// Times the summary across bills over 2,000 bills of 50 consumptions each (1,600 open and 400
// closed, all counted), for every grouping, against its target of one second, and checks the
// grand total against the sum of the generated amounts in integer cents.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include "archives.h"
#include "bills/billsummary.h"
#include "bills/closedbills.h"
#include "bills/consumption.h"
#include "common/amount.h"

using namespace velmora;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kBills = 2000;
constexpr std::size_t kClosed = 400;
constexpr std::size_t kPerBill = 50;
constexpr int kRepeats = 5;
constexpr double kTargetMs = 1000;

std::int64_t centsOf(const std::string &amount)
{
    const std::size_t comma = amount.find(',');
    return std::stoll(amount.substr(0, comma)) * 100 + std::stoll(amount.substr(comma + 1));
}

std::string centsText(std::int64_t cents)
{
    const std::string fraction = std::to_string(cents % 100);
    return std::to_string(cents / 100) + "," + (fraction.size() < 2 ? "0" : "") + fraction;
}

double millisecondsOf(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main()
{
    std::string pattern = (fs::temp_directory_path() / "velmora-bench-summary-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::fprintf(stderr, "cannot make a folder under %s\n", fs::temp_directory_path().c_str());
        return 1;
    }
    const fs::path folder = pattern;

    // The bills, written once; the sum of their amounts kept in cents.
    std::int64_t cents = 0;
    const RecordLayout &layout = consumptionLayout();
    for (std::size_t b = 0; b < kBills; ++b) {
        std::vector<std::string> records;
        for (const std::vector<std::string> &values : bench::makeConsumptions(kPerBill, b + 1)) {
            cents += centsOf(values[consumption::Importo]);
            records.push_back(layout.encode(values));
        }
        char name[48];
        std::snprintf(name, sizeof name, "Camera %03zu - ospite %04zu", 100 + b % 400, b + 1);
        const fs::path file = b < kBills - kClosed
                                  ? folder / (std::string(name) + kBillExtension)
                                  : closedYearFolder(folder, 2025) / closedBillFileName(name, {2025, 12, 31});
        fs::create_directories(file.parent_path());
        bench::writeRecords(file, records);
    }
    std::printf("Summary across bills: %zu bills (%zu closed) of %zu consumptions, %.1f MB, period 01/01/2025 to "
                "31/12/2025\n\n",
                kBills, kClosed, kPerBill, kBills * kPerBill * layout.size() / 1e6);

    const SummaryPeriod year{{2025, 1, 1}, {2025, 12, 31}};
    struct Grouping
    {
        const char *name;
        SummaryGrouping grouping;
    };
    const Grouping groupings[] = {{"giorno", SummaryGrouping::Day},
                                  {"cameriere", SummaryGrouping::Waiter},
                                  {"luogo", SummaryGrouping::Place},
                                  {"prodotto", SummaryGrouping::Product},
                                  {"conto", SummaryGrouping::Bill}};
    bool allWithin = true;
    bool allRight = true;
    std::printf("%-10s %8s %10s %10s %10s %8s  %s\n", "grouping", "groups", "first ms", "median ms", "max ms", "target",
                "total");
    for (const Grouping &g : groupings) {
        BillSummary summary;
        std::vector<double> times;
        for (int i = 0; i < kRepeats; ++i)
            times.push_back(millisecondsOf([&] { summary = summariseFolder(folder, year, g.grouping, true); }));
        const double first = times.front();
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        const double worst = times.back();
        const bool right = summary.outcome == BillSummary::Outcome::Done && summary.bills == kBills &&
                           summary.total.consumptions == kBills * kPerBill && summary.uncounted.empty() &&
                           summary.total.amount.fixedText(2) == centsText(cents);
        allRight = allRight && right;
        allWithin = allWithin && worst < kTargetMs;
        std::printf("%-10s %8zu %10.1f %10.1f %10.1f %8.0f  %s %s\n", g.name, summary.groups.size(), first, median,
                    worst, kTargetMs, summary.total.amount.fixedText(2).c_str(), right ? "(exact)" : "(WRONG)");
    }
    std::printf("\nExpected total from the generated amounts: %s\n", centsText(cents).c_str());
    std::printf("Target: every run under %.0f ms: %s\n", kTargetMs, allWithin ? "met" : "NOT met");

    if (!std::getenv("VELMORA_BENCH_KEEP")) {
        std::error_code ec;
        fs::remove_all(folder, ec);
    } else {
        std::printf("Bills kept in %s\n", folder.c_str());
    }
    return allRight ? 0 : 1;
}
