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

// A document proper (.docx, .xlsx), or a template (.dotx, .xltx): an office application opens a
// template as a new untitled document, so the user's Save asks where to keep it.
enum class DocumentForm { Document, Template };

// Writes a card document. False when the file could not be written (nothing is left behind).
[[nodiscard]] bool writeWordCard(const std::filesystem::path &path, const CardDocument &card,
                                 DocumentForm form = DocumentForm::Document);

// Writes a table of as many rows and columns as the grid, each cell holding its text as it is.
// Row 0 repeats at the top of every page and no row is split across pages; columns are as wide
// as their content asks, and a table too wide for a portrait page goes across a landscape one in
// a smaller type (see layOutWordTable); one too wide even for that goes in bands of columns
// (see wordTableBands).
[[nodiscard]] bool writeWordTable(const std::filesystem::path &path, const TextTable &grid,
                                  DocumentForm form = DocumentForm::Document);

// How a Word table is laid on the page: orientation, type size and column widths in twips.
struct WordTableLayout
{
    bool landscape = false;
    int fontPoints = 10;
    int cellMargin = 108; // left and right padding of every cell, in twips
    std::vector<int> widths;
    bool wordsWhole = true; // every column at least as wide as its longest word
};

// Widths follow the texts' measure in Arial: every column gets at least its longest word, so
// dates and codes are not broken, and what is left goes to the columns with longer texts. A
// table whose texts do not fit a portrait page at 10 points goes landscape, in the largest size
// from 10 down to 7 points at which its texts (or else at least its words) fit.
WordTableLayout layOutWordTable(const TextTable &grid);

// The columns of each table a grid is written as. One table holds them all when their longest
// words fit a landscape page; a wider grid (the client archive) is cut into bands of columns that
// each fit at 8 points, one after another on new pages, and every band starts with the number and
// the first column so each row is known on every page.
std::vector<std::vector<std::size_t>> wordTableBands(const TextTable &grid);

// Writes one worksheet holding the grid from A1 with every cell in the text format "@" and its
// text trimmed, so digit strings and amounts stay text. Row 1 is bold from column 2 to boldUpTo,
// columns are widened to their content and A1 is the selected cell. Printed, the sheet is one
// page wide (landscape when its columns are wider than a portrait page) and repeats row 1.
[[nodiscard]] bool writeExcelSheet(const std::filesystem::path &path, const TextTable &grid,
                                   const std::string &sheetName, std::size_t boldUpTo,
                                   DocumentForm form = DocumentForm::Document);

} // namespace velmora
