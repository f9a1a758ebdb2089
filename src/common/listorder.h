#pragma once

#include <string>
#include <string_view>
#include <vector>

// The order of every list: alphabetical without regard to letter case or accents (an "È"
// sorts with the e's), then by case, then by bytes, so the order is total and stable.
namespace velmora {

std::string listSortKey(std::string_view line);
// Letter case folded, A to Z and the accented capitals of Windows-1252 alike.
std::string caseFolded(std::string_view text);
bool listLineLess(std::string_view a, std::string_view b);
void sortListLines(std::vector<std::string> &lines);

} // namespace velmora
