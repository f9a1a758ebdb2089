#include "bills/closedbills.h"

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cstdio>

#include <sys/stat.h>

#include "bills/billmove.h"
#include "bills/consumption.h"
#include "common/safefile.h"
#include "common/text.h"

namespace velmora {

namespace {

constexpr std::string_view kClosedMark = " (chiuso il ";
constexpr std::size_t kNameMax = 255;

std::string twoDigits(int n)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

std::string fourDigits(int n)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d", n);
    return buf;
}

// A whole number made only of digits, or nullopt.
std::optional<int> digitsValue(std::string_view text)
{
    if (text.empty() || text.size() > 6)
        return std::nullopt;
    int n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || text.front() == '-' || text.front() == '+')
        return std::nullopt;
    return n;
}

bool validDate(const CalendarDate &d)
{
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= kDays[d.month - 1];
}

bool endsWithFor(std::string_view name)
{
    constexpr std::string_view ext = ".for";
    return name.size() >= ext.size() && foldAZ(name.substr(name.size() - ext.size())) == ext;
}

std::string fileNameText(const std::filesystem::path &file)
{
    const std::string name = file.filename().string();
    return isUtf8(name) ? utf8ToCp1252(name) : name;
}

} // namespace

std::filesystem::path closedBillsFolder(const std::filesystem::path &programFolder)
{
    return programFolder / kClosedBillsFolder;
}

std::filesystem::path closedYearFolder(const std::filesystem::path &programFolder, int year)
{
    return closedBillsFolder(programFolder) / fourDigits(year);
}

std::string closedBillFileName(std::string_view billName, const CalendarDate &closed, int copy)
{
    std::string suffix = std::string(kClosedMark) + twoDigits(closed.day) + "-" + twoDigits(closed.month) + "-" +
                         fourDigits(closed.year) + ")";
    if (copy >= 2)
        suffix += " (" + std::to_string(copy) + ")";
    suffix += kBillExtension;
    // The name is cut, a whole character at a time, until its file name fits on disk.
    std::string name(billName);
    while (!name.empty() && cp1252ToUtf8(name).size() + suffix.size() > kNameMax)
        name.pop_back();
    return name + suffix;
}

std::optional<ClosedBillName> parseClosedBillFileName(std::string_view fileName)
{
    if (!endsWithFor(fileName))
        return std::nullopt;
    std::string_view rest = fileName.substr(0, fileName.size() - 4);
    ClosedBillName parsed;
    // " (n)" of a clash, after the date's closing parenthesis.
    if (rest.size() > 4 && rest.back() == ')') {
        const std::size_t open = rest.rfind(" (");
        if (open != std::string_view::npos && open > 0 && rest[open - 1] == ')') {
            // Anything else in parentheses there is the date's own (a bill named "Bar (sera)").
            if (const auto copy = digitsValue(rest.substr(open + 2, rest.size() - open - 3))) {
                if (*copy < 2)
                    return std::nullopt;
                parsed.copy = *copy;
                rest = rest.substr(0, open);
            }
        }
    }
    // " (chiuso il dd-mm-yyyy)".
    constexpr std::size_t kDateSize = 10;
    const std::size_t tail = kClosedMark.size() + kDateSize + 1;
    if (rest.size() < tail || rest.back() != ')')
        return std::nullopt;
    const std::string_view mark = rest.substr(rest.size() - tail, kClosedMark.size());
    const std::string_view date = rest.substr(rest.size() - kDateSize - 1, kDateSize);
    if (mark != kClosedMark || date[2] != '-' || date[5] != '-')
        return std::nullopt;
    const auto day = digitsValue(date.substr(0, 2));
    const auto month = digitsValue(date.substr(3, 2));
    const auto year = digitsValue(date.substr(6, 4));
    if (!day || !month || !year)
        return std::nullopt;
    parsed.closed = {*year, *month, *day};
    if (!validDate(parsed.closed))
        return std::nullopt;
    parsed.billName = std::string(rest.substr(0, rest.size() - tail));
    return parsed;
}

std::vector<ClosedBillEntry> listClosedBills(const std::filesystem::path &programFolder)
{
    std::vector<ClosedBillEntry> bills;
    std::error_code ec;
    std::filesystem::directory_iterator years(closedBillsFolder(programFolder), ec);
    const std::filesystem::directory_iterator end;
    for (; !ec && years != end; years.increment(ec)) {
        const std::string yearName = years->path().filename().string();
        const auto year = yearName.size() == 4 ? digitsValue(yearName) : std::nullopt;
        std::error_code typeError;
        if (!year || !years->is_directory(typeError) || typeError)
            continue;
        std::error_code inner;
        std::filesystem::directory_iterator files(years->path(), inner);
        for (; !inner && files != end; files.increment(inner)) {
            const std::string line = fileNameText(files->path());
            if (!endsWithFor(line))
                continue;
            std::error_code fileType;
            if (!files->is_regular_file(fileType) || fileType)
                continue;
            bills.push_back({line, files->path(), *year, parseClosedBillFileName(line)});
        }
    }
    std::sort(bills.begin(), bills.end(), [](const ClosedBillEntry &a, const ClosedBillEntry &b) {
        if (a.line != b.line)
            return billLineLess(a.line, b.line);
        if (a.year != b.year)
            return a.year < b.year;
        return a.path < b.path;
    });
    return bills;
}

BillClosing closeBill(const std::filesystem::path &programFolder, const std::filesystem::path &bill,
                      std::string_view billName, const CalendarDate &closed)
{
    using Outcome = BillClosing::Outcome;
    const SettledBills settled(programFolder);
    if (!settled || !validDate(closed))
        return {};
    struct stat st
    {
    };
    if (::lstat(bill.c_str(), &st) != 0)
        return {errno == ENOENT ? Outcome::Gone : Outcome::FileError, {}};
    std::error_code ec;
    const std::filesystem::path year = closedYearFolder(programFolder, closed.year);
    std::filesystem::create_directories(year, ec);
    if (ec)
        return {};
    for (int copy = 1; copy < 10000; ++copy) {
        const std::string name = closedBillFileName(billName, closed, copy);
        // Taken in another letter case counts as taken: the folder may be shared with Windows.
        if (existingBillFile(year, std::string_view(name).substr(0, name.size() - 4)))
            continue;
        const std::filesystem::path target = year / cp1252ToUtf8(name);
        if (safefile::moveNoReplace(bill, target))
            return {Outcome::Closed, target};
        if (errno != EEXIST)
            return {errno == ENOENT ? Outcome::Gone : Outcome::FileError, {}};
    }
    return {};
}

std::string reopenedBillName(const ClosedBillEntry &entry)
{
    if (entry.name)
        return entry.name->billName;
    return entry.line.substr(0, entry.line.size() - 4);
}

BillReopening reopenBill(const std::filesystem::path &programFolder, const ClosedBillEntry &entry)
{
    using Outcome = BillReopening::Outcome;
    BillReopening reopened;
    reopened.billName = reopenedBillName(entry);
    const SettledBills settled(programFolder);
    if (!settled)
        return reopened;
    struct stat st
    {
    };
    if (::lstat(entry.path.c_str(), &st) != 0) {
        reopened.outcome = errno == ENOENT ? Outcome::Gone : Outcome::FileError;
        return reopened;
    }
    if (existingBillFile(programFolder, reopened.billName)) {
        reopened.outcome = Outcome::OpenExists;
        return reopened;
    }
    const std::filesystem::path target = programFolder / billFileName(reopened.billName);
    if (safefile::moveNoReplace(entry.path, target)) {
        reopened.outcome = Outcome::Reopened;
        reopened.path = target;
    } else {
        reopened.outcome = errno == EEXIST ? Outcome::OpenExists : errno == ENOENT ? Outcome::Gone : Outcome::FileError;
    }
    return reopened;
}

} // namespace velmora
