#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// Word and Excel documents written as files: WordprocessingML packages and spreadsheets that any
// office application opens. All text here is UTF-8, the encoding of the documents.
namespace velmora {

// Rows of cells; row 0 holds the headings when the grid has any.
using TextTable = std::vector<std::vector<std::string>>;

// A card: centred bold headings (an empty one gives an empty line), then a justified table of
// labels and values.
struct CardDocument
{
    std::vector<std::string> headings;
    std::vector<std::pair<std::string, std::string>> rows;
};

// Writes a card document. False when the file could not be written (nothing is left behind).
[[nodiscard]] bool writeWordCard(const std::filesystem::path &path, const CardDocument &card);

// Writes a table of as many rows and columns as the grid, each cell holding its text as it is.
[[nodiscard]] bool writeWordTable(const std::filesystem::path &path, const TextTable &grid);

// Writes one worksheet holding the grid from A1 with every cell in the text format "@" and its
// text trimmed, so digit strings and amounts stay text. Row 1 is bold from column 2 to boldUpTo,
// columns are widened to their content and A1 is the selected cell.
[[nodiscard]] bool writeExcelSheet(const std::filesystem::path &path, const TextTable &grid,
                                   const std::string &sheetName, std::size_t boldUpTo);

} // namespace velmora
