#include "common/officefiles.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <system_error>

#include <xlsxwriter.h>
#include <zip.h>

#include "common/text.h"

namespace velmora {

namespace {

// ---- WordprocessingML -------------------------------------------------------------------------

constexpr const char *kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

// The main part's content type says whether a package is a document or a template.
constexpr const char *kWordDocumentType =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
constexpr const char *kWordTemplateType =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml";
constexpr const char *kExcelDocumentType = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
constexpr const char *kExcelTemplateType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml";

std::string contentTypes(DocumentForm form)
{
    return std::string("<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                       "<Default Extension=\"rels\" "
                       "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                       "<Override PartName=\"/word/document.xml\" ContentType=\"") +
           (form == DocumentForm::Template ? kWordTemplateType : kWordDocumentType) +
           "\"/>"
           "<Override PartName=\"/word/styles.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
           "</Types>";
}

const char *const kPackageRels =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"word/document.xml\"/>"
    "</Relationships>";

const char *const kDocumentRels =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
    "Target=\"styles.xml\"/>"
    "</Relationships>";

// Arial 10 for the whole document, no spacing after paragraphs so tables stay compact.
const char *const kStyles =
    "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
    "<w:docDefaults><w:rPrDefault><w:rPr>"
    "<w:rFonts w:ascii=\"Arial\" w:hAnsi=\"Arial\" w:cs=\"Arial\" w:eastAsia=\"Arial\"/>"
    "<w:sz w:val=\"20\"/><w:szCs w:val=\"20\"/><w:lang w:val=\"it-IT\"/>"
    "</w:rPr></w:rPrDefault>"
    "<w:pPrDefault><w:pPr><w:spacing w:after=\"0\" w:line=\"240\" w:lineRule=\"auto\"/></w:pPr></w:pPrDefault>"
    "</w:docDefaults>"
    "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>"
    "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TableNormal\"><w:name w:val=\"Normal Table\"/>"
    "<w:tblPr><w:tblInd w:w=\"0\" w:type=\"dxa\"/><w:tblCellMar>"
    "<w:top w:w=\"0\" w:type=\"dxa\"/><w:left w:w=\"108\" w:type=\"dxa\"/>"
    "<w:bottom w:w=\"0\" w:type=\"dxa\"/><w:right w:w=\"108\" w:type=\"dxa\"/>"
    "</w:tblCellMar></w:tblPr></w:style>"
    "</w:styles>";

const char *const kArial10 = "<w:rFonts w:ascii=\"Arial\" w:hAnsi=\"Arial\" w:cs=\"Arial\"/>"
                             "<w:sz w:val=\"20\"/><w:szCs w:val=\"20\"/>";

// Page sizes in twentieths of a point (A4) with 2 cm margins.
constexpr int kA4Short = 11906;
constexpr int kA4Long = 16838;
constexpr int kMargin = 1134;
// Landscape pages carry the wide tables: 1 cm margins leave their columns more room.
constexpr int kLandscapeMargin = 567;

int marginOf(bool landscape)
{
    return landscape ? kLandscapeMargin : kMargin;
}

std::string escapeXml(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            // Control characters cannot appear in XML; tabs and line ends are handled by the caller.
            if (u >= 0x20 || c == '\t')
                out += c;
        }
    }
    return out;
}

// The runs of one paragraph: line ends become line breaks and tabs become tab stops, so the
// cell shows the text as it was.
std::string runsOf(std::string_view text, const std::string &runProperties)
{
    std::string xml = "<w:r>";
    if (!runProperties.empty())
        xml += "<w:rPr>" + runProperties + "</w:rPr>";
    std::string pending;
    auto flush = [&] {
        if (!pending.empty())
            xml += "<w:t xml:space=\"preserve\">" + escapeXml(pending) + "</w:t>";
        pending.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            flush();
            xml += "<w:br/>";
            // A CR LF or LF CR pair is one line end.
            if (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n') && text[i + 1] != c)
                ++i;
        } else if (c == '\t') {
            flush();
            xml += "<w:tab/>";
        } else {
            pending += c;
        }
    }
    flush();
    return xml + "</w:r>";
}

std::string paragraph(std::string_view text, const char *alignment, const std::string &runProperties)
{
    std::string xml = "<w:p><w:pPr>";
    if (alignment)
        xml += std::string("<w:jc w:val=\"") + alignment + "\"/>";
    if (!runProperties.empty())
        xml += "<w:rPr>" + runProperties + "</w:rPr>";
    xml += "</w:pPr>";
    if (!text.empty())
        xml += runsOf(text, runProperties);
    return xml + "</w:p>";
}

// A table with single borders, like the ones Word adds, with fixed column widths in twips. No row
// is split across pages; with headerRow the first row repeats at the top of every page.
std::string table(const TextTable &rows, const std::vector<int> &widths, const char *alignment,
                  const std::string &runProperties, bool headerRow, int cellMargin)
{
    int total = 0;
    for (int w : widths)
        total += w;
    const std::string margin = std::to_string(cellMargin);
    std::string xml = "<w:tbl><w:tblPr><w:tblW w:w=\"" + std::to_string(total) +
                      "\" w:type=\"dxa\"/><w:tblBorders>"
                      "<w:top w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
                      "<w:left w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
                      "<w:bottom w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
                      "<w:right w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
                      "<w:insideH w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
                      "<w:insideV w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
                      "</w:tblBorders><w:tblLayout w:type=\"fixed\"/><w:tblCellMar>"
                      "<w:left w:w=\"" +
                      margin + "\" w:type=\"dxa\"/><w:right w:w=\"" + margin +
                      "\" w:type=\"dxa\"/></w:tblCellMar>"
                      "<w:tblLook w:val=\"0000\" w:firstRow=\"0\" w:lastRow=\"0\" w:firstColumn=\"0\" "
                      "w:lastColumn=\"0\" w:noHBand=\"1\" w:noVBand=\"1\"/></w:tblPr><w:tblGrid>";
    for (int w : widths)
        xml += "<w:gridCol w:w=\"" + std::to_string(w) + "\"/>";
    xml += "</w:tblGrid>";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto &row = rows[r];
        xml += "<w:tr><w:trPr><w:cantSplit/>";
        if (headerRow && r == 0)
            xml += "<w:tblHeader/>";
        xml += "</w:trPr>";
        for (std::size_t c = 0; c < widths.size(); ++c) {
            xml += "<w:tc><w:tcPr><w:tcW w:w=\"" + std::to_string(widths[c]) + "\" w:type=\"dxa\"/></w:tcPr>";
            xml += paragraph(c < row.size() ? std::string_view(row[c]) : std::string_view(), alignment, runProperties);
            xml += "</w:tc>";
        }
        xml += "</w:tr>";
    }
    return xml + "</w:tbl>";
}

std::string documentXml(const std::string &body, bool landscape)
{
    const int width = landscape ? kA4Long : kA4Short;
    const int height = landscape ? kA4Short : kA4Long;
    std::string xml = std::string(kXmlHead) +
                      "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
                      "<w:body>" +
                      body;
    // A body ends with a paragraph after its last table, as Word expects.
    xml += "<w:p/><w:sectPr><w:pgSz w:w=\"" + std::to_string(width) + "\" w:h=\"" + std::to_string(height) + "\"";
    if (landscape)
        xml += " w:orient=\"landscape\"";
    const std::string margin = std::to_string(marginOf(landscape));
    xml += "/><w:pgMar w:top=\"" + margin + "\" w:right=\"" + margin + "\" w:bottom=\"" + margin + "\" w:left=\"" +
           margin + "\" w:header=\"708\" w:footer=\"708\" w:gutter=\"0\"/></w:sectPr></w:body></w:document>";
    return xml;
}

void removeQuietly(const std::filesystem::path &path)
{
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

// Writes the parts of a package into a new zip file; nothing is left behind on failure.
bool writePackage(const std::filesystem::path &path, const std::vector<std::pair<std::string, std::string>> &parts)
{
    int error = 0;
    zip_t *archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    for (const auto &[name, data] : parts) {
        // The buffers outlive the archive handle, so libzip may read them at close.
        zip_source_t *source = zip_source_buffer(archive, data.data(), data.size(), 0);
        if (!source) {
            zip_discard(archive);
            removeQuietly(path);
            return false;
        }
        if (zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            removeQuietly(path);
            return false;
        }
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        removeQuietly(path);
        return false;
    }
    return true;
}

bool writeWordDocument(const std::filesystem::path &path, const std::string &body, bool landscape, DocumentForm form)
{
    const std::vector<std::pair<std::string, std::string>> parts = {
        {"[Content_Types].xml", std::string(kXmlHead) + contentTypes(form)},
        {"_rels/.rels", std::string(kXmlHead) + kPackageRels},
        {"word/_rels/document.xml.rels", std::string(kXmlHead) + kDocumentRels},
        {"word/styles.xml", std::string(kXmlHead) + kStyles},
        {"word/document.xml", documentXml(body, landscape)},
    };
    return writePackage(path, parts);
}

// Characters of a UTF-8 text, for fitting columns.
std::size_t characterCount(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Excel breaks lines inside a cell at a line feed alone.
std::string excelLineEnds(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += '\n';
            if (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n') && text[i + 1] != c)
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// Advance of a character in Arial, in thousandths of an em; close enough to lay out columns.
int arialAdvance(char32_t c)
{
    switch (c) {
    case ' ':
    case '.':
    case ',':
    case ':':
    case ';':
    case '/':
    case '\\':
    case '!':
    case '|':
    case '\'':
    case 'I':
    case 'f':
    case 't':
        return 278;
    case 'i':
    case 'j':
    case 'l':
        return 222;
    case '-':
    case '(':
    case ')':
    case 'r':
    case '"':
        return 333;
    case 'm':
    case 'M':
        return 833;
    case 'w':
    case 'W':
    case '@':
    case '%':
        return 900;
    default:
        break;
    }
    if (c >= '0' && c <= '9')
        return 556;
    if (c >= 'A' && c <= 'Z')
        return 700;
    return 556; // lower-case and accented letters, signs such as the euro
}

// The code points of a UTF-8 text (a stray byte counts as one character).
std::u32string codePoints(std::string_view text)
{
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const std::size_t length = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 1;
        char32_t c = length == 1 ? b : b & (0x7F >> length);
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out += c;
        i += length;
    }
    return out;
}

// The measure of a cell's text in thousandths of an em: its longest line and its longest word.
struct Measure
{
    int line = 0;
    int word = 0;
};

Measure measure(std::string_view text)
{
    Measure m;
    int line = 0;
    int word = 0;
    for (char32_t c : codePoints(text)) {
        if (c == '\r' || c == '\n') {
            line = word = 0;
            continue;
        }
        const int advance = arialAdvance(c);
        line += advance;
        word = (c == ' ' || c == '\t') ? 0 : word + advance;
        m.line = std::max(m.line, line);
        m.word = std::max(m.word, word);
    }
    return m;
}

// Twips a text of the given measure takes at a type size, with the cell's padding on both sides
// and a little slack for the estimate.
int twipsAt(int thousandths, int points, int cellMargin)
{
    return thousandths * points * 20 * 21 / 20 / 1000 + 2 * cellMargin + 20;
}

// Rewrites the main part's content type of a package written by another library.
bool setMainContentType(const std::filesystem::path &path, const std::string &from, const std::string &to)
{
    int error = 0;
    zip_t *archive = zip_open(path.c_str(), 0, &error);
    if (!archive)
        return false;
    const char *name = "[Content_Types].xml";
    std::string types;
    zip_stat_t stat;
    zip_file_t *file = nullptr;
    bool ok = zip_stat(archive, name, 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) &&
              (file = zip_fopen(archive, name, 0)) != nullptr;
    if (ok) {
        types.resize(static_cast<std::size_t>(stat.size));
        ok = zip_fread(file, types.data(), stat.size) == static_cast<zip_int64_t>(stat.size);
        zip_fclose(file);
    }
    const std::size_t at = ok ? types.find(from) : std::string::npos;
    if (at == std::string::npos) {
        zip_discard(archive);
        return false;
    }
    types.replace(at, from.size(), to);
    zip_source_t *source = zip_source_buffer(archive, types.data(), types.size(), 0);
    if (!source || zip_file_add(archive, name, source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
        if (source)
            zip_source_free(source);
        zip_discard(archive);
        return false;
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        return false;
    }
    return true;
}

// When not every column can have its longest word, the columns with short words keep theirs and
// only the widest are held to a common width: the level at which the widths fill the page.
long level(const std::vector<int> &words, int width)
{
    long low = 1;
    long high = *std::max_element(words.begin(), words.end());
    while (low < high) {
        const long mid = (low + high + 1) / 2;
        long sum = 0;
        for (int w : words)
            sum += std::min<long>(w, mid);
        if (sum <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

} // namespace

WordTableLayout layOutWordTable(const TextTable &grid)
{
    std::size_t columns = 0;
    for (const auto &row : grid)
        columns = std::max(columns, row.size());
    columns = std::max<std::size_t>(columns, 1);
    std::vector<Measure> measures(columns);
    for (const auto &row : grid) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            const Measure m = measure(row[c]);
            measures[c].line = std::max(measures[c].line, m.line);
            measures[c].word = std::max(measures[c].word, m.word);
        }
    }

    struct Candidate
    {
        bool landscape;
        int points;
        int margin;
    };
    const Candidate candidates[] = {{false, 10, 108}, {true, 10, 108}, {true, 9, 72}, {true, 8, 57}, {true, 7, 57}};
    auto usable = [](bool landscape) { return (landscape ? kA4Long : kA4Short) - 2 * marginOf(landscape); };
    auto sumAt = [&](const Candidate &k, bool lines) {
        int sum = 0;
        for (const Measure &m : measures)
            sum += twipsAt(lines ? m.line : m.word, k.points, k.margin);
        return sum;
    };
    // The first candidate whose lines fit; failing that the first whose words fit; else the smallest.
    const Candidate *chosen = nullptr;
    for (const Candidate &k : candidates)
        if (!chosen && sumAt(k, true) <= usable(k.landscape))
            chosen = &k;
    for (const Candidate &k : candidates)
        if (!chosen && k.landscape && sumAt(k, false) <= usable(k.landscape))
            chosen = &k;
    if (!chosen)
        chosen = &candidates[std::size(candidates) - 1];

    WordTableLayout layout;
    layout.landscape = chosen->landscape;
    layout.fontPoints = chosen->points;
    layout.cellMargin = chosen->margin;
    const int width = usable(chosen->landscape);
    // A very long text (notes) does not get the whole page: its natural width is held to a third.
    std::vector<int> words(columns), lines(columns);
    for (std::size_t c = 0; c < columns; ++c) {
        words[c] = twipsAt(measures[c].word, chosen->points, chosen->margin);
        lines[c] = std::max(words[c], std::min(twipsAt(measures[c].line, chosen->points, chosen->margin), width / 3));
    }
    const long sumWords = std::accumulate(words.begin(), words.end(), 0L);
    const long sumLines = std::accumulate(lines.begin(), lines.end(), 0L);
    layout.widths.resize(columns);
    for (std::size_t c = 0; c < columns; ++c) {
        long w = 0;
        if (sumLines <= width)
            w = lines[c] * width / sumLines; // everything fits: the spare room in proportion
        else if (sumWords <= width)
            w = words[c] + (lines[c] - words[c]) * (width - sumWords) / std::max(1L, sumLines - sumWords);
        else
            w = std::min<long>(words[c], level(words, width)); // even the words do not fit: see level
        layout.widths[c] = static_cast<int>(std::max(1L, w));
    }
    layout.wordsWhole = sumWords <= width;
    return layout;
}

std::vector<std::vector<std::size_t>> wordTableBands(const TextTable &grid)
{
    std::size_t columns = 0;
    for (const auto &row : grid)
        columns = std::max(columns, row.size());
    std::vector<std::size_t> all(columns);
    std::iota(all.begin(), all.end(), std::size_t{0});
    if (columns <= 3 || layOutWordTable(grid).wordsWhole)
        return {all};

    constexpr int kPoints = 8;
    constexpr int kCellMargin = 57;
    std::vector<int> words(columns, 0);
    for (const auto &row : grid)
        for (std::size_t c = 0; c < row.size(); ++c)
            words[c] = std::max(words[c], twipsAt(measure(row[c]).word, kPoints, kCellMargin));
    const int width = kA4Long - 2 * marginOf(true);
    const int keys = words[0] + words[1];

    std::vector<std::vector<std::size_t>> bands;
    std::vector<std::size_t> band{0, 1};
    int used = keys;
    for (std::size_t c = 2; c < columns; ++c) {
        if (band.size() > 2 && used + words[c] > width) {
            bands.push_back(band);
            band = {0, 1};
            used = keys;
        }
        band.push_back(c);
        used += words[c];
    }
    bands.push_back(band);
    return bands;
}

bool writeWordCard(const std::filesystem::path &path, const CardDocument &card, DocumentForm form)
{
    const std::string boldArial = std::string(kArial10) + "<w:b/><w:bCs/>";
    std::string body;
    for (const std::string &heading : card.headings)
        body += paragraph(heading, "center", boldArial);
    // The paragraph typed between the heading and the table.
    body += paragraph({}, "both", kArial10);
    TextTable rows;
    rows.reserve(card.rows.size());
    for (const auto &[label, value] : card.rows)
        rows.push_back({label, value});
    const int width = kA4Short - 2 * kMargin;
    body += table(rows, {width * 2 / 5, width - width * 2 / 5}, "both", kArial10, false, 108);
    return writeWordDocument(path, body, false, form);
}

bool writeWordTable(const std::filesystem::path &path, const TextTable &grid, DocumentForm form)
{
    auto tableOf = [](const TextTable &rows, const WordTableLayout &layout) {
        const std::string size = std::to_string(2 * layout.fontPoints);
        const std::string run = "<w:sz w:val=\"" + size + "\"/><w:szCs w:val=\"" + size + "\"/>";
        return table(rows, layout.widths, nullptr, run, true, layout.cellMargin);
    };
    const auto bands = wordTableBands(grid);
    if (bands.size() == 1) {
        const WordTableLayout layout = layOutWordTable(grid);
        return writeWordDocument(path, tableOf(grid, layout), layout.landscape, form);
    }
    std::string body;
    for (std::size_t b = 0; b < bands.size(); ++b) {
        TextTable part;
        part.reserve(grid.size());
        for (const auto &row : grid) {
            std::vector<std::string> cells;
            cells.reserve(bands[b].size());
            for (std::size_t c : bands[b])
                cells.push_back(c < row.size() ? row[c] : std::string());
            part.push_back(std::move(cells));
        }
        if (b > 0)
            body += "<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>";
        body += tableOf(part, layOutWordTable(part));
    }
    return writeWordDocument(path, body, true, form);
}

bool writeExcelSheet(const std::filesystem::path &path, const TextTable &grid, const std::string &sheetName,
                     std::size_t boldUpTo, DocumentForm form)
{
    lxw_workbook *book = workbook_new(path.c_str());
    if (!book)
        return false;
    bool ok = true;
    lxw_worksheet *sheet = workbook_add_worksheet(book, sheetName.c_str());
    lxw_format *text = workbook_add_format(book);
    lxw_format *boldText = workbook_add_format(book);
    if (!sheet || !text || !boldText) {
        ok = false;
    } else {
        format_set_num_format(text, "@");
        format_set_num_format(boldText, "@");
        format_set_bold(boldText);
        std::size_t columns = 0;
        for (const auto &row : grid)
            columns = std::max(columns, row.size());
        std::vector<std::size_t> fitted(columns, 0);
        for (std::size_t r = 0; r < grid.size() && ok; ++r) {
            for (std::size_t c = 0; c < columns; ++c) {
                const std::string value = c < grid[r].size() ? excelLineEnds(trimField(grid[r][c])) : std::string();
                lxw_format *format = (r == 0 && c >= 1 && c < boldUpTo) ? boldText : text;
                if (worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c), value.c_str(),
                                           format) != LXW_NO_ERROR) {
                    ok = false;
                    break;
                }
                fitted[c] = std::max(fitted[c], characterCount(value) + (format == boldText ? 1 : 0));
            }
        }
        // Columns A to Z fitted to their content; an empty column keeps the standard width.
        double sheetWidth = 0;
        for (std::size_t c = 0; c < columns && c < 26 && ok; ++c) {
            if (fitted[c] == 0) {
                sheetWidth += LXW_DEF_COL_WIDTH;
                continue;
            }
            const double width = std::min(255.0, static_cast<double>(fitted[c]) * 1.1 + 1.0);
            sheetWidth += width;
            if (worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), width, nullptr) !=
                LXW_NO_ERROR)
                ok = false;
        }
        if (ok) {
            worksheet_set_selection(sheet, 0, 0, 0, 0);
            worksheet_activate(sheet);
            // On paper: A4, one page across (landscape when the columns are wider than a portrait
            // page holds, about 90 characters), the headings repeated on every page, with grid lines.
            worksheet_set_paper(sheet, 9);
            if (sheetWidth > 90)
                worksheet_set_landscape(sheet);
            else
                worksheet_set_portrait(sheet);
            worksheet_fit_to_pages(sheet, 1, 0);
            worksheet_gridlines(sheet, LXW_SHOW_ALL_GRIDLINES);
            if (!grid.empty() && worksheet_repeat_rows(sheet, 0, 0) != LXW_NO_ERROR)
                ok = false;
        }
    }
    const lxw_error closed = workbook_close(book);
    if (ok && closed == LXW_NO_ERROR && form == DocumentForm::Template)
        ok = setMainContentType(path, kExcelDocumentType, kExcelTemplateType);
    if (!ok || closed != LXW_NO_ERROR) {
        removeQuietly(path);
        return false;
    }
    return true;
}

} // namespace velmora
