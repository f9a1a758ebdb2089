#include "bills/billmove.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "bills/consumption.h"
#include "common/recordfile.h"
#include "common/safefile.h"

namespace velmora {

namespace {

constexpr char kMagic[4] = {'V', 'M', 'J', '1'};

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

using safefile::Fd;
using safefile::Links;

// Bills may be links the user made and are followed, as every archive; the journal is the
// program's own side file and never is.
std::optional<std::string> readFile(const std::filesystem::path &path, Links links, bool &missing)
{
    missing = false;
    Fd fd(safefile::openRegular(path, O_RDONLY, links, kMaxArchiveBytes));
    if (!fd.valid()) {
        missing = errno == ENOENT;
        return std::nullopt;
    }
    struct stat st
    {
    };
    if (::fstat(fd.get(), &st) != 0)
        return std::nullopt;
    std::string data(static_cast<std::size_t>(st.st_size), '\0');
    if (!safefile::readAt(fd.get(), data.data(), data.size(), 0) || !fd.close())
        return std::nullopt;
    return data;
}

// Writes a new file in full, flushed, under a temporary name, then renames it into place. A
// file replaced keeps its mode and group.
bool replaceFile(const std::filesystem::path &temp, const std::filesystem::path &target, std::string_view data)
{
    // Whatever lies under the temporary name (a link planted there) is removed, never followed.
    Fd fd(safefile::createFresh(temp));
    struct stat st
    {
    };
    bool ok = fd.valid() && safefile::writeAt(fd.get(), data.data(), data.size(), 0);
    if (ok && ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        ok = safefile::keepModeAndGroup(fd.get(), st);
    ok = ok && ::fsync(fd.get()) == 0;
    ok = fd.close() && ok;
    step();
    if (ok)
        ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    step();
    return safefile::syncFolderOf(target);
}

std::uint64_t checksum(std::string_view bytes)
{
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

void putNumber(std::string &out, std::uint64_t n)
{
    char buf[8];
    std::memcpy(buf, &n, 8);
    out.append(buf, 8);
}

bool takeNumber(std::string_view &in, std::uint64_t &n)
{
    if (in.size() < 8)
        return false;
    std::memcpy(&n, in.data(), 8);
    in.remove_prefix(8);
    return true;
}

bool takeBytes(std::string_view &in, std::uint64_t size, std::string &out)
{
    if (in.size() < size)
        return false;
    out.assign(in.substr(0, static_cast<std::size_t>(size)));
    in.remove_prefix(static_cast<std::size_t>(size));
    return true;
}

// What the journal holds: enough to finish the move from any point.
struct Journal
{
    std::string source; // file names within the folder
    std::string destination;
    std::uint64_t recordSize = 0;
    std::uint64_t sourceSize = 0;      // bytes of the source before the move
    std::uint64_t number = 0;          // the record moved; 0 when all were
    std::uint64_t destinationBase = 0; // where the moved records go in the destination
    std::string moved;                 // the moved records, in order
};

std::string encode(const Journal &j)
{
    std::string out(kMagic, 4);
    putNumber(out, j.source.size());
    out += j.source;
    putNumber(out, j.destination.size());
    out += j.destination;
    putNumber(out, j.recordSize);
    putNumber(out, j.sourceSize);
    putNumber(out, j.number);
    putNumber(out, j.destinationBase);
    putNumber(out, j.moved.size());
    out += j.moved;
    putNumber(out, checksum(out));
    return out;
}

std::optional<Journal> decode(std::string_view bytes)
{
    if (bytes.size() < 12 || bytes.substr(0, 4) != std::string_view(kMagic, 4))
        return std::nullopt;
    std::uint64_t sum = 0;
    std::string_view tail = bytes.substr(bytes.size() - 8);
    if (!takeNumber(tail, sum) || sum != checksum(bytes.substr(0, bytes.size() - 8)))
        return std::nullopt;
    std::string_view in = bytes.substr(4, bytes.size() - 12);
    Journal j;
    std::uint64_t size = 0;
    if (!takeNumber(in, size) || !takeBytes(in, size, j.source) || !takeNumber(in, size) ||
        !takeBytes(in, size, j.destination) || !takeNumber(in, j.recordSize) || !takeNumber(in, j.sourceSize) ||
        !takeNumber(in, j.number) || !takeNumber(in, j.destinationBase) || !takeNumber(in, size) ||
        !takeBytes(in, size, j.moved) || !in.empty())
        return std::nullopt;
    if (j.recordSize == 0 || j.moved.empty() || j.moved.size() % j.recordSize != 0 ||
        j.source.find('/') != std::string::npos || j.destination.find('/') != std::string::npos)
        return std::nullopt;
    return j;
}

// The destination holds the moved records at their place, written again if a crash cut them.
// gone: the destination was deleted meanwhile, so the move is undone by leaving the source as it is.
bool finishDestination(const std::filesystem::path &folder, const Journal &j, bool &gone)
{
    Fd fd(safefile::openRegular(folder / j.destination, O_RDWR, Links::Follow, kMaxArchiveBytes));
    gone = !fd.valid() && errno == ENOENT;
    if (!fd.valid())
        return gone;
    struct stat st
    {
    };
    if (::fstat(fd.get(), &st) != 0)
        return false;
    const auto end = j.destinationBase + j.moved.size();
    if (static_cast<std::uint64_t>(st.st_size) >= end) {
        std::string there(j.moved.size(), '\0');
        if (!safefile::readAt(fd.get(), there.data(), there.size(), static_cast<off_t>(j.destinationBase)))
            return false;
        if (there == j.moved)
            return fd.close();
    }
    // Written in two halves, so that a test can stop the process between them as a crash
    // would stop a write half way.
    const std::size_t half = j.moved.size() / j.recordSize / 2 * j.recordSize;
    if (!safefile::writeAt(fd.get(), j.moved.data(), half, static_cast<off_t>(j.destinationBase)))
        return false;
    step();
    if (!safefile::writeAt(fd.get(), j.moved.data() + half, j.moved.size() - half,
                 static_cast<off_t>(j.destinationBase + half)) ||
        ::ftruncate(fd.get(), static_cast<off_t>(end)) != 0 || ::fsync(fd.get()) != 0)
        return false;
    step();
    return fd.close();
}

// The source no longer holds the moved records.
bool finishSource(const std::filesystem::path &folder, const Journal &j)
{
    const std::filesystem::path source = folder / j.source;
    bool missing = false;
    const auto content = readFile(source, Links::Follow, missing);
    if (!content)
        return missing;
    // The source is rewritten by one rename, so it is either as it was or without the records.
    const std::size_t rs = static_cast<std::size_t>(j.recordSize);
    bool pending = content->size() == j.sourceSize;
    if (pending && j.number == 0)
        pending = content->compare(0, j.moved.size(), j.moved) == 0;
    if (pending && j.number > 0)
        pending = content->size() >= j.number * rs && content->compare((j.number - 1) * rs, rs, j.moved) == 0;
    if (!pending)
        return true;
    std::string kept;
    if (j.number > 0) {
        const std::size_t whole = content->size() / rs;
        kept.reserve((whole - 1) * rs);
        for (std::size_t i = 1; i <= whole; ++i)
            if (i != j.number)
                kept.append(*content, (i - 1) * rs, rs);
    }
    // A bill that is a link stays one: its file is replaced where it lies.
    const std::filesystem::path file = safefile::linkTarget(source);
    return replaceFile(file.parent_path() / kBillTempFile, file, kept);
}

} // namespace

void setMoveStepHook(std::function<void()> hook)
{
    stepHook() = std::move(hook);
}

bool settlePendingMove(const std::filesystem::path &folder)
{
    const FolderLock lock(folder);
    if (!lock)
        return false;
    const std::filesystem::path journalPath = folder / kMoveJournal;
    std::filesystem::path partial = journalPath;
    partial += ".new";
    // A journal not yet in place means the move had not begun.
    ::unlink(partial.c_str());
    bool missing = false;
    const auto bytes = readFile(journalPath, Links::Refuse, missing);
    if (!bytes && (missing || (errno != ELOOP && errno != safefile::kNotRegular)))
        return missing;
    const auto journal = bytes ? decode(*bytes) : std::nullopt;
    if (!journal) {
        // Not written by a move (the journal is renamed into place whole): kept aside, not acted on.
        std::filesystem::path aside = journalPath;
        aside += ".illeggibile";
        return ::rename(journalPath.c_str(), aside.c_str()) == 0;
    }
    bool gone = false;
    if (!finishDestination(folder, *journal, gone) || (!gone && !finishSource(folder, *journal)))
        return false;
    if (::unlink(journalPath.c_str()) != 0 && errno != ENOENT)
        return false;
    step();
    return safefile::syncFolderOf(journalPath);
}

SettledBills::SettledBills(const std::filesystem::path &folder) : m_lock(folder)
{
    m_settled = m_lock && settlePendingMove(folder);
}

BillMove moveConsumptions(const std::filesystem::path &folder, const std::filesystem::path &source,
                          const std::filesystem::path &destination, const std::optional<CardRecord> &card,
                          std::size_t recordSize)
{
    using Outcome = BillMove::Outcome;
    const SettledBills settled(folder);
    if (!settled || recordSize == 0)
        return {};
    std::error_code ec;
    struct stat dst
    {
    };
    if (::stat(destination.c_str(), &dst) != 0)
        return {errno == ENOENT ? Outcome::DestinationGone : Outcome::FileError, 0};
    if (!S_ISREG(dst.st_mode))
        return {};
    if (std::filesystem::equivalent(source, destination, ec))
        return {Outcome::SameBill, 0};
    bool missing = false;
    const auto content = readFile(source, Links::Follow, missing);
    if (!content)
        return {};
    Journal j;
    j.source = source.filename().string();
    j.destination = destination.filename().string();
    j.recordSize = recordSize;
    j.sourceSize = content->size();
    const std::size_t whole = content->size() / recordSize;
    if (card) {
        if (card->number == 0 || card->number > whole ||
            content->compare((card->number - 1) * recordSize, recordSize, card->held) != 0)
            return {Outcome::Changed, 0};
        j.number = card->number;
        j.moved = content->substr((card->number - 1) * recordSize, recordSize);
    } else {
        if (whole == 0)
            return {Outcome::Nothing, 0};
        j.moved = content->substr(0, whole * recordSize);
    }
    // A trailing partial record of the destination is written over, as an append does.
    j.destinationBase = static_cast<std::uint64_t>(dst.st_size) / recordSize * recordSize;

    std::filesystem::path partial = folder / kMoveJournal;
    partial += ".new";
    if (!replaceFile(partial, folder / kMoveJournal, encode(j)))
        return {};
    // From here the journal stands for the move: settling does the rest, now or later.
    if (!settlePendingMove(folder))
        return {};
    return {Outcome::Moved, j.moved.size() / recordSize, j.moved.size() / recordSize == whole};
}

} // namespace velmora
