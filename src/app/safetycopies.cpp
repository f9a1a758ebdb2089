#include "app/safetycopies.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include "app/passwordcodec.h"
#include "bills/billmove.h"
#include "bills/closedbills.h"
#include "bills/consumption.h"
#include "clients/clientrecord.h"
#include "common/folderlock.h"
#include "common/recordfile.h"
#include "common/safefile.h"
#include "common/settingsfile.h"
#include "common/sha256.h"
#include "common/text.h"
#include "products/productrecord.h"

namespace velmora {

namespace {

constexpr std::string_view kManifestHead = "Velmora copia di sicurezza";
constexpr std::string_view kJournalHead = "Velmora ripristino";
constexpr std::uint64_t kMaxManifestBytes = 1 << 20;

std::function<void()> &stepHook()
{
    static std::function<void()> hook;
    return hook;
}

void step()
{
    if (stepHook())
        stepHook()();
}

bool endsWithFor(std::string_view name)
{
    return name.size() > 4 && foldAZ(name.substr(name.size() - 4)) == ".for";
}

std::vector<std::string_view> components(std::string_view name)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = name.find('/', start);
        parts.push_back(name.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start));
        if (slash == std::string_view::npos)
            return parts;
        start = slash + 1;
    }
}

// An entry name that would land outside the folder it is unpacked in.
bool climbsOut(std::string_view name)
{
    if (name.empty() || name.front() == '/' || name.find('\\') != std::string_view::npos ||
        name.find('\0') != std::string_view::npos)
        return true;
    for (std::string_view part : components(name))
        if (part == ".." || part == ".")
            return true;
    return false;
}

bool fixedFile(std::string_view name)
{
    return name == kClientArchive || name == kProductArchive || name == kPasswordStore;
}

std::uint64_t recordSizeOf(std::string_view name)
{
    if (name == kClientArchive)
        return clientLayout().size();
    if (name == kProductArchive)
        return kProductRecordSize;
    if (endsWithFor(name))
        return consumptionLayout().size();
    return 0;
}

template <typename T> bool readNumber(std::string_view text, T &value)
{
    if (text.empty() || text.size() > 20)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

const char *kindWord(CopyKind kind)
{
    switch (kind) {
    case CopyKind::Manual:
        return "manuale";
    case CopyKind::Automatic:
        return "automatica";
    case CopyKind::BeforeRestore:
        return "ripristino";
    }
    return "manuale";
}

// Names go in the manifest and the journal one a line: bytes that would break a line, and "%",
// are written as "%XX".
std::string escapeName(std::string_view name)
{
    std::string out;
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c == 0x7f || c == '%') {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        } else {
            out += ch;
        }
    }
    return out;
}

std::optional<std::string> unescapeName(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c <= 0x20 || c == 0x7f)
            return std::nullopt;
        if (c != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
        if (ec != std::errc() || end != text.data() + i + 3)
            return std::nullopt;
        out += static_cast<char>(value);
        i += 2;
    }
    return out;
}

std::vector<std::string_view> lines(std::string_view text)
{
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t nl = text.find('\n', start);
        if (nl == std::string_view::npos) {
            out.push_back(text.substr(start));
            break;
        }
        out.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
    return out;
}

bool startsWith(std::string_view text, std::string_view head)
{
    return text.substr(0, head.size()) == head;
}

// Writes a new file whole and flushes it to the device; false leaves it to the caller to remove.
bool writeNewFile(int rawFd, std::string_view data, const struct stat *keep)
{
    safefile::Fd fd(rawFd);
    if (!fd.valid())
        return false;
    if (keep && !safefile::keepModeAndGroup(fd.get(), *keep))
        return false;
    if (!safefile::writeAt(fd.get(), data.data(), data.size(), 0) || ::fsync(fd.get()) != 0)
        return false;
    // The read back that follows should come from the device, not from what the system kept.
    (void)::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_DONTNEED);
    return fd.close();
}

bool present(const std::filesystem::path &path)
{
    std::error_code ec;
    return std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found && !ec;
}

// Reads one entry of an open ZIP whole, refusing more than expected bytes whatever its header
// says, so a lying entry cannot unpack past what the manifest allows.
std::optional<std::string> readEntry(zip_t *za, zip_uint64_t index, std::uint64_t expected, bool &tooLong)
{
    tooLong = false;
    zip_file_t *zf = zip_fopen_index(za, index, 0);
    if (!zf)
        return std::nullopt;
    std::string data;
    char buf[65536];
    for (;;) {
        const zip_int64_t n = zip_fread(zf, buf, sizeof buf);
        if (n < 0) {
            zip_fclose(zf);
            return std::nullopt;
        }
        if (n == 0)
            break;
        data.append(buf, static_cast<std::size_t>(n));
        if (data.size() > expected) {
            tooLong = true;
            zip_fclose(zf);
            return std::nullopt;
        }
    }
    if (zip_fclose(zf) != 0)
        return std::nullopt;
    return data;
}

// A ZIP opened from bytes in memory, closed without writing when it leaves scope.
class ZipReader
{
public:
    explicit ZipReader(std::string_view bytes)
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t *source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
        if (source) {
            m_zip = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
            if (!m_zip)
                zip_source_free(source);
        }
        zip_error_fini(&error);
    }
    ~ZipReader()
    {
        if (m_zip)
            zip_discard(m_zip);
    }
    ZipReader(const ZipReader &) = delete;
    ZipReader &operator=(const ZipReader &) = delete;
    zip_t *get() const { return m_zip; }

private:
    zip_t *m_zip = nullptr;
};

std::optional<Manifest> readManifestOf(zip_t *za)
{
    const zip_int64_t at = zip_name_locate(za, kManifestName, ZIP_FL_ENC_RAW);
    if (at < 0)
        return std::nullopt;
    bool tooLong = false;
    const auto text = readEntry(za, static_cast<zip_uint64_t>(at), kMaxManifestBytes, tooLong);
    if (!text)
        return std::nullopt;
    return parseManifest(*text);
}

// Builds the ZIP of a copy in memory; nullopt when the library fails.
std::optional<std::string> buildZip(const Manifest &manifest, const std::vector<std::string> &contents,
                                    const std::string &manifestText)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_error_fini(&error);
    if (!target)
        return std::nullopt;
    zip_error_init(&error);
    zip_t *za = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    zip_error_fini(&error);
    if (!za) {
        zip_source_free(target);
        return std::nullopt;
    }
    zip_source_keep(target);
    bool ok = true;
    const auto add = [&](const std::string &name, const std::string &data) {
        zip_source_t *s = zip_source_buffer(za, data.data(), data.size(), 0);
        if (!s || zip_file_add(za, name.c_str(), s, ZIP_FL_ENC_GUESS) < 0) {
            if (s)
                zip_source_free(s);
            ok = false;
        }
    };
    add(kManifestName, manifestText);
    for (std::size_t i = 0; ok && i < manifest.files.size(); ++i)
        add(manifest.files[i].name, contents[i]);
    if (!ok || zip_close(za) != 0) {
        zip_discard(za);
        zip_source_free(target);
        return std::nullopt;
    }
    std::string bytes;
    if (zip_source_open(target) == 0) {
        char buf[65536];
        zip_int64_t n;
        while ((n = zip_source_read(target, buf, sizeof buf)) > 0)
            bytes.append(buf, static_cast<std::size_t>(n));
        zip_source_close(target);
        if (n < 0)
            ok = false;
    } else {
        ok = false;
    }
    zip_source_free(target);
    if (!ok)
        return std::nullopt;
    return bytes;
}

std::filesystem::path settingsPath(const std::filesystem::path &programFolder)
{
    return programFolder / kCopySettingsFile;
}

std::string dayText(const CopyTime &t)
{
    return copyTimeText(t).substr(0, 10);
}

} // namespace

void setCopyStepHook(std::function<void()> hook)
{
    stepHook() = std::move(hook);
}

std::string copyTimeText(const CopyTime &t)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d.%02d", t.year, t.month, t.day, t.hour, t.minute);
    return buf;
}

std::optional<CopyTime> parseCopyTimeText(std::string_view text)
{
    // yyyy-mm-dd hh.mm
    if (text.size() != 16 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != '.')
        return std::nullopt;
    CopyTime t;
    if (!readNumber(text.substr(0, 4), t.year) || !readNumber(text.substr(5, 2), t.month) ||
        !readNumber(text.substr(8, 2), t.day) || !readNumber(text.substr(11, 2), t.hour) ||
        !readNumber(text.substr(14, 2), t.minute))
        return std::nullopt;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59)
        return std::nullopt;
    return t;
}

std::string copyFileName(const CopyTime &time, int number)
{
    std::string name = "Velmora " + copyTimeText(time);
    if (number > 1)
        name += " (" + std::to_string(number) + ")";
    return name + ".zip";
}

std::optional<CopyTime> parseCopyFileName(std::string_view fileName)
{
    constexpr std::string_view head = "Velmora ";
    constexpr std::string_view tail = ".zip";
    if (fileName.size() < head.size() + 16 + tail.size() || !startsWith(fileName, head) ||
        foldAZ(fileName.substr(fileName.size() - tail.size())) != tail)
        return std::nullopt;
    const auto time = parseCopyTimeText(fileName.substr(head.size(), 16));
    if (!time)
        return std::nullopt;
    std::string_view rest = fileName.substr(head.size() + 16, fileName.size() - head.size() - 16 - tail.size());
    if (rest.empty())
        return time;
    int number = 0;
    if (rest.size() < 4 || rest.substr(0, 2) != " (" || rest.back() != ')' ||
        !readNumber(rest.substr(2, rest.size() - 3), number) || number < 2)
        return std::nullopt;
    return time;
}

bool isProgramFileName(std::string_view name)
{
    if (climbsOut(name))
        return false;
    const auto parts = components(name);
    for (std::string_view part : parts)
        if (part.empty())
            return false;
    if (parts.size() == 1)
        return fixedFile(name) || endsWithFor(name);
    if (parts.size() != 3 || parts[0] != kClosedBillsFolder || parts[1].size() != 4)
        return false;
    for (char c : parts[1])
        if (c < '0' || c > '9')
            return false;
    return endsWithFor(parts[2]);
}

std::size_t Manifest::openBills() const
{
    return static_cast<std::size_t>(std::count_if(files.begin(), files.end(), [](const ManifestEntry &e) {
        return e.name.find('/') == std::string::npos && endsWithFor(e.name);
    }));
}

std::size_t Manifest::closedBills() const
{
    return static_cast<std::size_t>(std::count_if(
        files.begin(), files.end(), [](const ManifestEntry &e) { return e.name.find('/') != std::string::npos; }));
}

std::uint64_t Manifest::recordsOf(std::string_view name) const
{
    for (const ManifestEntry &e : files)
        if (e.name == name)
            return e.records;
    return 0;
}

bool Manifest::holds(std::string_view name) const
{
    return std::any_of(files.begin(), files.end(), [&](const ManifestEntry &e) { return e.name == name; });
}

std::uint64_t Manifest::totalSize() const
{
    std::uint64_t total = 0;
    for (const ManifestEntry &e : files)
        total += e.size;
    return total;
}

std::string writeManifest(const Manifest &m)
{
    std::string out = std::string(kManifestHead) + "\n";
    out += "Versione=1\n";
    out += "Data=" + copyTimeText(m.time) + "\n";
    out += std::string("Tipo=") + kindWord(m.kind) + "\n";
    for (const ManifestEntry &e : m.files)
        out += "File=" + std::to_string(e.size) + " " + std::to_string(e.records) + " " + e.sha256 + " " +
               escapeName(e.name) + "\n";
    out += "Fine=" + std::to_string(m.files.size()) + "\n";
    return out;
}

std::optional<Manifest> parseManifest(std::string_view text)
{
    if (text.empty() || text.back() != '\n')
        return std::nullopt;
    const auto all = lines(text);
    if (all.size() < 5 || all[0] != kManifestHead || all[1] != "Versione=1" || !startsWith(all[2], "Data=") ||
        !startsWith(all[3], "Tipo="))
        return std::nullopt;
    Manifest m;
    const auto time = parseCopyTimeText(all[2].substr(5));
    if (!time)
        return std::nullopt;
    m.time = *time;
    const std::string_view kind = all[3].substr(5);
    if (kind == "manuale")
        m.kind = CopyKind::Manual;
    else if (kind == "automatica")
        m.kind = CopyKind::Automatic;
    else if (kind == "ripristino")
        m.kind = CopyKind::BeforeRestore;
    else
        return std::nullopt;
    std::set<std::string> seen;
    for (std::size_t i = 4; i + 1 < all.size(); ++i) {
        std::string_view line = all[i];
        if (!startsWith(line, "File="))
            return std::nullopt;
        line.remove_prefix(5);
        ManifestEntry e;
        const std::size_t s1 = line.find(' ');
        const std::size_t s2 = s1 == std::string_view::npos ? s1 : line.find(' ', s1 + 1);
        const std::size_t s3 = s2 == std::string_view::npos ? s2 : line.find(' ', s2 + 1);
        if (s3 == std::string_view::npos || !readNumber(line.substr(0, s1), e.size) ||
            !readNumber(line.substr(s1 + 1, s2 - s1 - 1), e.records))
            return std::nullopt;
        e.sha256 = std::string(line.substr(s2 + 1, s3 - s2 - 1));
        if (e.sha256.size() != 64 || !std::all_of(e.sha256.begin(), e.sha256.end(), [](char c) {
                return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
            }))
            return std::nullopt;
        const auto name = unescapeName(line.substr(s3 + 1));
        if (!name || !isProgramFileName(*name) || !seen.insert(*name).second)
            return std::nullopt;
        e.name = *name;
        m.files.push_back(std::move(e));
    }
    std::size_t count = 0;
    if (!startsWith(all.back(), "Fine=") || !readNumber(all.back().substr(5), count) || count != m.files.size())
        return std::nullopt;
    return m;
}

std::vector<DataFile> programDataFiles(const std::filesystem::path &folder)
{
    std::vector<DataFile> files;
    for (const char *name : {kClientArchive, kProductArchive, kPasswordStore}) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(folder / name, ec))
            files.push_back({name, folder / name});
    }
    for (const BillEntry &bill : listBills(folder))
        files.push_back({bill.path.filename().string(), bill.path});
    for (const ClosedBillEntry &bill : listClosedBills(folder)) {
        const std::string name = std::string(kClosedBillsFolder) + "/" + bill.path.parent_path().filename().string() +
                                 "/" + bill.path.filename().string();
        if (isProgramFileName(name))
            files.push_back({name, bill.path});
    }
    std::sort(files.begin(), files.end(), [](const DataFile &a, const DataFile &b) { return a.name < b.name; });
    files.erase(
        std::unique(files.begin(), files.end(), [](const DataFile &a, const DataFile &b) { return a.name == b.name; }),
        files.end());
    return files;
}

CheckedCopy checkCopyBytes(std::string_view zipBytes, const CopyLimits &limits)
{
    CheckedCopy result;
    const ZipReader reader(zipBytes);
    zip_t *za = reader.get();
    if (!za)
        return result; // Unreadable
    const zip_int64_t entries = zip_get_num_entries(za, 0);
    if (entries < 0)
        return result;
    if (static_cast<std::uint64_t>(entries) > limits.maxEntries + 1) {
        result.refusal = Refusal::TooLarge;
        return result;
    }
    // Every entry first: a hostile name or a link is refused before anything else is read.
    std::map<std::string, zip_uint64_t> entryOf;
    bool duplicate = false;
    for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(entries); ++i) {
        const char *raw = zip_get_name(za, i, ZIP_FL_ENC_RAW);
        if (!raw)
            return result;
        const std::string name = raw;
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        if (zip_file_get_external_attributes(za, i, 0, &system, &attributes) != 0)
            return result;
        const mode_t type = static_cast<mode_t>(attributes >> 16) & S_IFMT;
        const bool notAFile = system == ZIP_OPSYS_UNIX && type != 0 && type != S_IFREG;
        if (climbsOut(name) || notAFile || name.back() == '/') {
            result.refusal = Refusal::Unsafe;
            return result;
        }
        if (name != kManifestName && !isProgramFileName(name)) {
            result.refusal = Refusal::Foreign;
            return result;
        }
        duplicate = duplicate || !entryOf.emplace(name, i).second;
    }
    const auto manifest = readManifestOf(za);
    if (!manifest || duplicate) {
        result.refusal = duplicate ? Refusal::Mismatch : Refusal::BadManifest;
        return result;
    }
    result.manifest = *manifest;
    std::uint64_t total = 0;
    for (const ManifestEntry &e : manifest->files) {
        total += std::min<std::uint64_t>(e.size, limits.maxTotal + 1);
        if (e.size > kMaxArchiveBytes || total > limits.maxTotal) {
            result.refusal = Refusal::TooLarge;
            return result;
        }
    }
    if (entryOf.size() != manifest->files.size() + 1) {
        result.refusal = Refusal::Mismatch;
        return result;
    }
    for (const ManifestEntry &e : manifest->files) {
        const auto it = entryOf.find(e.name);
        if (it == entryOf.end()) {
            result.refusal = Refusal::Mismatch;
            return result;
        }
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(za, it->second, 0, &st) != 0)
            return result;
        if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
            return result;
        if (!(st.valid & ZIP_STAT_SIZE) || st.size != e.size) {
            result.refusal = Refusal::Mismatch;
            return result;
        }
        bool tooLong = false;
        auto data = readEntry(za, it->second, e.size, tooLong);
        if (!data) {
            result.refusal = tooLong ? Refusal::Mismatch : Refusal::Unreadable;
            return result;
        }
        if (data->size() != e.size || sha256Hex(*data) != e.sha256) {
            result.refusal = Refusal::Mismatch;
            return result;
        }
        const std::uint64_t recordSize = recordSizeOf(e.name);
        if (recordSize != 0 && e.records != e.size / recordSize) {
            result.refusal = Refusal::Mismatch;
            return result;
        }
        result.files.emplace_back(e.name, std::move(*data));
    }
    result.refusal = Refusal::None;
    return result;
}

CheckedCopy checkCopyFile(const std::filesystem::path &copy, const CopyLimits &limits)
{
    // The ZIP of a copy is smaller than what it unpacks to; a far larger file is not a copy.
    const auto bytes = readWholeFile(copy, limits.maxTotal + (std::uint64_t{1} << 20), safefile::Links::Follow);
    if (!bytes)
        return CheckedCopy{};
    return checkCopyBytes(*bytes, limits);
}

CopyResult makeCopy(const std::filesystem::path &programFolder, const std::filesystem::path &destination,
                    const CopyTime &time, CopyKind kind)
{
    CopyResult result;
    std::error_code ec;
    if (!std::filesystem::is_directory(destination, ec)) {
        result.outcome = CopyResult::Outcome::DestinationError;
        return result;
    }
    Manifest manifest;
    manifest.time = time;
    manifest.kind = kind;
    std::vector<std::string> contents;
    {
        // One consistent picture: no workstation writes while the files are read, and a move of
        // consumptions left half way is completed first.
        const SettledBills settled(programFolder);
        if (!settled) {
            result.outcome = CopyResult::Outcome::Busy;
            return result;
        }
        for (const DataFile &file : programDataFiles(programFolder)) {
            auto data = readWholeFile(file.path, kMaxArchiveBytes, safefile::Links::Follow);
            if (!data) {
                result.outcome = CopyResult::Outcome::SourceError;
                return result;
            }
            ManifestEntry e;
            e.name = file.name;
            e.size = data->size();
            const std::uint64_t recordSize = recordSizeOf(file.name);
            e.records = recordSize ? e.size / recordSize : 0;
            e.sha256 = sha256Hex(*data);
            manifest.files.push_back(std::move(e));
            contents.push_back(std::move(*data));
        }
    }
    const std::string manifestText = writeManifest(manifest);
    const auto bytes = buildZip(manifest, contents, manifestText);
    contents.clear();
    if (!bytes) {
        result.outcome = CopyResult::Outcome::SourceError;
        return result;
    }

    int number = 1;
    while (present(destination / copyFileName(time, number)) && number < 1000)
        ++number;
    const std::filesystem::path finalPath = destination / copyFileName(time, number);
    std::filesystem::path temp;
    const int fd = safefile::createUnique(finalPath, temp);
    step();
    const auto fail = [&](CopyResult::Outcome outcome) {
        if (!temp.empty())
            ::unlink(temp.c_str());
        result.outcome = outcome;
        return result;
    };
    if (fd < 0)
        return fail(CopyResult::Outcome::DestinationError);
    if (!writeNewFile(fd, *bytes, nullptr))
        return fail(CopyResult::Outcome::DestinationError);
    step();
    // Read back what reached the disk and check it as a restore would.
    const auto back = readWholeFile(temp, bytes->size() + 1, safefile::Links::Refuse);
    if (!back)
        return fail(CopyResult::Outcome::DestinationError);
    if (*back != *bytes)
        return fail(CopyResult::Outcome::VerifyError);
    const CheckedCopy checked = checkCopyBytes(
        *back, CopyLimits{std::max<std::uint64_t>(CopyLimits{}.maxTotal, manifest.totalSize()), manifest.files.size()});
    if (checked.refusal != Refusal::None || !(checked.manifest == manifest))
        return fail(CopyResult::Outcome::VerifyError);
    step();
    // The name is taken only by a rename that never replaces a copy made meanwhile.
    std::filesystem::path target = finalPath;
    for (;;) {
        if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
            break;
        if (errno == EEXIST && number < 1000) {
            target = destination / copyFileName(time, ++number);
            continue;
        }
        if (errno == EINVAL || errno == ENOSYS) {
            // File systems without the no-replace rename (some removable disks): look, then rename.
            while (present(target) && number < 1000)
                target = destination / copyFileName(time, ++number);
            if (::rename(temp.c_str(), target.c_str()) == 0)
                break;
        }
        return fail(CopyResult::Outcome::DestinationError);
    }
    temp.clear();
    if (!safefile::syncFolderOf(target)) {
        ::unlink(target.c_str());
        return fail(CopyResult::Outcome::DestinationError);
    }
    result.outcome = CopyResult::Outcome::Made;
    result.path = target;
    result.manifest = std::move(manifest);
    return result;
}

std::string copySizeText(std::uintmax_t bytes)
{
    constexpr std::uintmax_t kb = 1024;
    if (bytes < kb)
        return std::to_string(bytes) + " byte";
    if (bytes < kb * kb)
        return std::to_string((bytes + kb - 1) / kb) + " KB";
    // Tenths of a megabyte, rounded half up, with the decimal comma.
    const std::uintmax_t tenths = (bytes * 10 + kb * kb / 2) / (kb * kb);
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " MB";
}

std::vector<CopyInfo> listCopies(const std::filesystem::path &folder)
{
    std::vector<CopyInfo> copies;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!parseCopyFileName(name))
            continue;
        std::error_code sec;
        if (!it->is_regular_file(sec))
            continue;
        safefile::Fd fd(safefile::openRegular(it->path(), O_RDONLY, safefile::Links::Follow));
        if (!fd.valid())
            continue;
        struct stat st
        {
        };
        if (::fstat(fd.get(), &st) != 0)
            continue;
        // libzip takes the descriptor it is given for its own; it gets a duplicate, so this one
        // stays ours to close.
        const int own = ::fcntl(fd.get(), F_DUPFD_CLOEXEC, 0);
        if (own < 0)
            continue;
        int error = 0;
        zip_t *za = zip_fdopen(own, ZIP_RDONLY, &error);
        if (!za) {
            if (::fcntl(own, F_GETFD) >= 0)
                ::close(own);
            continue;
        }
        const auto manifest = readManifestOf(za);
        zip_discard(za);
        if (!manifest)
            continue;
        CopyInfo info;
        info.path = it->path();
        info.time = manifest->time;
        info.kind = manifest->kind;
        info.openBills = manifest->openBills();
        info.closedBills = manifest->closedBills();
        info.size = static_cast<std::uintmax_t>(st.st_size);
        copies.push_back(std::move(info));
    }
    std::sort(copies.begin(), copies.end(), [](const CopyInfo &a, const CopyInfo &b) {
        if (a.time != b.time)
            return a.time > b.time;
        return a.path.filename().string() > b.path.filename().string();
    });
    return copies;
}

bool pruneAutomaticCopies(const std::filesystem::path &folder, std::size_t keep)
{
    bool ok = true;
    std::size_t kept = 0;
    for (const CopyInfo &copy : listCopies(folder)) {
        if (copy.kind != CopyKind::Automatic)
            continue;
        if (kept < keep) {
            ++kept;
            continue;
        }
        ok = ::unlink(copy.path.c_str()) == 0 && ok;
    }
    return ok;
}

namespace {

struct Journal
{
    std::vector<std::string> install;
    std::vector<std::string> remove;
};

std::string writeJournal(const Journal &j)
{
    std::string out = std::string(kJournalHead) + "\n";
    for (const std::string &name : j.install)
        out += "I " + escapeName(name) + "\n";
    for (const std::string &name : j.remove)
        out += "R " + escapeName(name) + "\n";
    out += "Fine=" + std::to_string(j.install.size() + j.remove.size()) + "\n";
    return out;
}

std::optional<Journal> parseJournal(std::string_view text)
{
    if (text.empty() || text.back() != '\n')
        return std::nullopt;
    const auto all = lines(text);
    if (all.size() < 2 || all[0] != kJournalHead)
        return std::nullopt;
    Journal j;
    for (std::size_t i = 1; i + 1 < all.size(); ++i) {
        const std::string_view line = all[i];
        if (line.size() < 3 || (line[0] != 'I' && line[0] != 'R') || line[1] != ' ')
            return std::nullopt;
        const auto name = unescapeName(line.substr(2));
        if (!name || !isProgramFileName(*name))
            return std::nullopt;
        (line[0] == 'I' ? j.install : j.remove).push_back(*name);
    }
    std::size_t count = 0;
    if (!startsWith(all.back(), "Fine=") || !readNumber(all.back().substr(5), count) ||
        count != j.install.size() + j.remove.size())
        return std::nullopt;
    return j;
}

// Puts a staged file in the place of a data file. An archive the user made a link (to another
// disk, say) stays a link: the restored data replace the file it leads to. Repeating it after a
// crash writes the same data again.
bool installOver(const std::filesystem::path &staged, const std::filesystem::path &data)
{
    const std::filesystem::path target = safefile::linkTarget(data);
    if (::rename(staged.c_str(), target.c_str()) == 0)
        return safefile::syncFolderOf(target);
    if (errno != EXDEV)
        return false;
    // The link leads to another file system: written there whole under a new name, then renamed.
    const auto bytes = readWholeFile(staged, kMaxArchiveBytes, safefile::Links::Refuse);
    if (!bytes)
        return false;
    struct stat st
    {
    };
    const bool replaces = ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    std::filesystem::path temp;
    if (!writeNewFile(safefile::createUnique(target, temp), *bytes, replaces ? &st : nullptr)) {
        if (!temp.empty())
            (void)::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        (void)::unlink(temp.c_str());
        return false;
    }
    return safefile::syncFolderOf(target) && ::unlink(staged.c_str()) == 0;
}

// Moves every staged file over the data and removes the files the copy did not hold. Each step
// can be repeated: a file already moved is no longer staged, a file already removed is gone.
bool applyJournal(const std::filesystem::path &folder, const Journal &j)
{
    const std::filesystem::path staging = folder / kRestoreStaging;
    for (const std::string &name : j.install) {
        const std::filesystem::path from = staging / name;
        const std::filesystem::path to = folder / name;
        if (!present(from))
            continue;
        std::error_code ec;
        std::filesystem::create_directories(to.parent_path(), ec);
        if (ec || !installOver(from, to))
            return false;
        step();
    }
    for (const std::string &name : j.remove) {
        const std::filesystem::path path = folder / name;
        if (::unlink(path.c_str()) != 0 && errno != ENOENT)
            return false;
        step();
    }
    std::error_code ec;
    std::filesystem::remove_all(staging, ec);
    if (ec)
        return false;
    const std::filesystem::path journal = folder / kRestoreJournal;
    if (::unlink(journal.c_str()) != 0 && errno != ENOENT)
        return false;
    return safefile::syncFolderOf(journal);
}

} // namespace

bool settlePendingRestore(const std::filesystem::path &programFolder)
{
    const std::filesystem::path journal = programFolder / kRestoreJournal;
    const std::filesystem::path staging = programFolder / kRestoreStaging;
    if (!present(journal) && !present(staging))
        return true;
    const FolderLock lock(programFolder);
    if (!lock)
        return false;
    if (present(journal)) {
        const auto text = readWholeFile(journal, kMaxManifestBytes);
        const auto parsed = text ? parseJournal(*text) : std::nullopt;
        if (!parsed)
            return false;
        return applyJournal(programFolder, *parsed);
    }
    // Stopped before it was committed: the data was never touched.
    std::error_code ec;
    std::filesystem::remove_all(staging, ec);
    return !ec;
}

RestoreResult restoreCopy(const std::filesystem::path &programFolder, const std::filesystem::path &copy,
                          const std::filesystem::path &backupFolder, const CopyTime &time, const CopyLimits &limits)
{
    RestoreResult result;
    const CheckedCopy checked = checkCopyFile(copy, limits);
    if (checked.refusal != Refusal::None) {
        result.outcome = RestoreResult::Outcome::Refused;
        result.refusal = checked.refusal;
        return result;
    }
    // Held from the copy of the current data to the last rename, so that what the copy holds is
    // exactly what the restore replaces.
    const SettledBills settled(programFolder);
    if (!settled) {
        result.outcome = RestoreResult::Outcome::Busy;
        return result;
    }
    // The restore itself can be undone from this copy.
    result.backup = makeCopy(programFolder, backupFolder, time, CopyKind::BeforeRestore);
    if (result.backup.outcome != CopyResult::Outcome::Made) {
        result.outcome = RestoreResult::Outcome::BackupFailed;
        return result;
    }
    result.outcome = RestoreResult::Outcome::FileError;
    if (!settlePendingRestore(programFolder))
        return result;

    // Unpacked beside the data, on the same disk, so that putting each file in place is a rename.
    const std::filesystem::path staging = programFolder / kRestoreStaging;
    std::error_code ec;
    std::filesystem::remove_all(staging, ec);
    if (ec || !std::filesystem::create_directory(staging, ec) || ec)
        return result;
    const auto abandon = [&] {
        std::error_code ignored;
        std::filesystem::remove_all(staging, ignored);
        return result;
    };
    step();
    Journal journal;
    for (const auto &[name, data] : checked.files) {
        const std::filesystem::path staged = staging / name;
        std::filesystem::create_directories(staged.parent_path(), ec);
        if (ec)
            return abandon();
        // A restored file keeps the mode and group of the one it replaces.
        struct stat st
        {
        };
        const std::filesystem::path current = programFolder / name;
        const bool replaces = ::stat(current.c_str(), &st) == 0 && S_ISREG(st.st_mode);
        if (!writeNewFile(safefile::createNew(staged), data, replaces ? &st : nullptr))
            return abandon();
        step();
        journal.install.push_back(name);
    }
    // Every unpacked file checked on the disk against the manifest.
    for (const ManifestEntry &e : checked.manifest.files) {
        const auto back = readWholeFile(staging / e.name, kMaxArchiveBytes, safefile::Links::Refuse);
        if (!back || back->size() != e.size || sha256Hex(*back) != e.sha256 ||
            !safefile::syncFolderOf(staging / e.name))
            return abandon();
    }
    for (const DataFile &file : programDataFiles(programFolder))
        if (!checked.manifest.holds(file.name))
            journal.remove.push_back(file.name);
    step();
    // The commit: from here on the next lock of the folder completes the restore.
    if (!writeWholeFileAtomic(programFolder / kRestoreJournal, writeJournal(journal)))
        return abandon();
    step();
    if (!applyJournal(programFolder, journal))
        return result;
    result.outcome = RestoreResult::Outcome::Restored;
    return result;
}

void installRestoreSettling()
{
    FolderLock::setSettleHook([](const std::filesystem::path &folder) { (void)settlePendingRestore(folder); });
}

std::filesystem::path chosenCopyFolder(const std::filesystem::path &programFolder)
{
    return std::filesystem::path(SettingsFile(settingsPath(programFolder)).read(kCopySection, kCopyFolderKey));
}

bool setChosenCopyFolder(const std::filesystem::path &programFolder, const std::filesystem::path &folder)
{
    const FolderLock lock(programFolder);
    return lock && SettingsFile(settingsPath(programFolder)).write(kCopySection, kCopyFolderKey, folder.string());
}

AutomaticCopy makeAutomaticCopy(const std::filesystem::path &programFolder, const CopyTime &now)
{
    AutomaticCopy result;
    const SettingsFile settings(settingsPath(programFolder));
    result.folder = chosenCopyFolder(programFolder);
    if (result.folder.empty()) {
        result.outcome = AutomaticCopy::Outcome::NoFolder;
        return result;
    }
    if (settings.read(kCopySection, kCopyLastKey) == dayText(now)) {
        result.outcome = AutomaticCopy::Outcome::NotDue;
        return result;
    }
    result.copy = makeCopy(programFolder, result.folder, now, CopyKind::Automatic);
    if (result.copy.outcome != CopyResult::Outcome::Made) {
        result.outcome = AutomaticCopy::Outcome::Failed;
        return result;
    }
    result.outcome = AutomaticCopy::Outcome::Made;
    {
        const FolderLock lock(programFolder);
        if (lock)
            (void)settings.write(kCopySection, kCopyLastKey, dayText(now));
    }
    (void)pruneAutomaticCopies(result.folder);
    return result;
}

} // namespace velmora
