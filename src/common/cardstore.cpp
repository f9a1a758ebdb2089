#include "common/cardstore.h"

#include <charconv>

#include "common/text.h"

namespace velmora {

namespace {

CardStore::Outcome outcomeOf(RecordFile::Guarded guarded)
{
    switch (guarded) {
    case RecordFile::Guarded::Done:
        return CardStore::Outcome::Done;
    case RecordFile::Guarded::Changed:
        return CardStore::Outcome::Changed;
    case RecordFile::Guarded::FileError:
        break;
    }
    return CardStore::Outcome::FileError;
}

} // namespace

std::optional<std::size_t> recordNumberFromText(std::string_view text)
{
    const std::string_view digits = trimmedView(text);
    // from_chars of an unsigned number takes no sign, so "-1" and "+1" stop at once.
    std::size_t n = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || n == 0)
        return std::nullopt;
    return n;
}

bool isNewCard(std::string_view positionText)
{
    return trimmedView(positionText).empty();
}

CardStore::Saved CardStore::save(const RecordFile &archive, std::string_view position, std::string record)
{
    Saved saved;
    if (isNewCard(position)) {
        if (!archive.append(record, &saved.number))
            return {};
        saved.appended = true;
    } else {
        const auto n = recordNumberFromText(position);
        if (!n)
            return {};
        saved.outcome = outcomeOf(archive.overwriteIfUnchanged(*n, m_held, record));
        if (saved.outcome != Outcome::Done)
            return {saved.outcome, 0, false};
        saved.number = *n;
    }
    saved.outcome = Outcome::Done;
    m_held = std::move(record);
    return saved;
}

CardStore::Outcome CardStore::remove(const RecordFile &archive, std::string_view position,
                                     const std::filesystem::path &tempPath)
{
    const auto n = recordNumberFromText(position);
    if (!n)
        return Outcome::FileError;
    const Outcome outcome = outcomeOf(archive.removeIfUnchanged(*n, m_held, tempPath));
    if (outcome == Outcome::Done)
        m_held.clear();
    return outcome;
}

} // namespace velmora
