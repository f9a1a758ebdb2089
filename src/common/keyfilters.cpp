#include "common/keyfilters.h"

#include "common/amount.h"
#include "common/text.h"

namespace velmora {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool decimalCharAllowed(std::string_view current, char key)
{
    if (isDigit(key) || key == kKeyBackspace || key == kKeyEnter)
        return true;
    return key == ',' && current.find(',') == std::string_view::npos;
}

} // namespace

KeyVerdict productCardKey(std::string_view current, char key)
{
    if (key == kKeyEnter)
        return KeyVerdict::Accept;
    const std::string trimmed = trimField(current);
    if (!trimmed.empty()) {
        const auto value = parseNumber(trimmed);
        if (value && *value > kAmountLimit)
            return KeyVerdict::OverLimit;
    }
    return decimalCharAllowed(current, key) ? KeyVerdict::Accept : KeyVerdict::Refuse;
}

KeyVerdict importQuantityKey(std::string_view current, char key)
{
    return decimalCharAllowed(current, key) ? KeyVerdict::Accept : KeyVerdict::Refuse;
}

KeyVerdict consumptionKey(std::string_view current, char key)
{
    if (key == kKeyEnter || key == kKeyBackspace)
        return KeyVerdict::Accept;
    const std::string trimmed = trimField(current);
    if (!trimmed.empty()) {
        const auto value = parseNumber(trimmed);
        if (!value || *value > kAmountLimit)
            return KeyVerdict::OverLimit;
    }
    return decimalCharAllowed(current, key) ? KeyVerdict::Accept : KeyVerdict::Refuse;
}

KeyVerdict digitsOnlyKey(char key)
{
    return isDigit(key) || key == kKeyBackspace || key == kKeyEnter ? KeyVerdict::Accept : KeyVerdict::Refuse;
}

} // namespace velmora
