#include "common/officefiles.h"

#include <algorithm>
#include <system_error>

#include <xlsxwriter.h>
#include <zip.h>

#include "common/text.h"

namespace velmora {

namespace {

// ---- WordprocessingML -------------------------------------------------------------------------

constexpr const char *kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

const char *const kContentTypes =
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/word/document.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
    "<Override PartName=\"/word/styles.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
    "</Types>";

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

// A table with single borders, like the ones Word adds, with fixed column widths in twips.
std::string table(const TextTable &rows, const std::vector<int> &widths, const char *alignment,
                  const std::string &runProperties)
{
    int total = 0;
    for (int w : widths)
        total += w;
    std::string xml = "<w:tbl><w:tblPr><w:tblW w:w=\"" + std::to_string(total) +
                      "\" w:type=\"dxa\"/><w:tblBorders>"
                      "<w:top w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
                      "<w:left w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
                      "<w:bottom w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
                      "<w:right w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
                      "<w:insideH w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
                      "<w:insideV w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
                      "</w:tblBorders><w:tblLayout w:type=\"fixed\"/>"
                      "<w:tblLook w:val=\"0000\" w:firstRow=\"0\" w:lastRow=\"0\" w:firstColumn=\"0\" "
                      "w:lastColumn=\"0\" w:noHBand=\"1\" w:noVBand=\"1\"/></w:tblPr><w:tblGrid>";
    for (int w : widths)
        xml += "<w:gridCol w:w=\"" + std::to_string(w) + "\"/>";
    xml += "</w:tblGrid>";
    for (const auto &row : rows) {
        xml += "<w:tr>";
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
    xml += "/><w:pgMar w:top=\"" + std::to_string(kMargin) + "\" w:right=\"" + std::to_string(kMargin) +
           "\" w:bottom=\"" + std::to_string(kMargin) + "\" w:left=\"" + std::to_string(kMargin) +
           "\" w:header=\"708\" w:footer=\"708\" w:gutter=\"0\"/></w:sectPr></w:body></w:document>";
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

bool writeWordDocument(const std::filesystem::path &path, const std::string &body, bool landscape)
{
    const std::vector<std::pair<std::string, std::string>> parts = {
        {"[Content_Types].xml", std::string(kXmlHead) + kContentTypes},
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

} // namespace

bool writeWordCard(const std::filesystem::path &path, const CardDocument &card)
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
    body += table(rows, {width * 2 / 5, width - width * 2 / 5}, "both", kArial10);
    return writeWordDocument(path, body, false);
}

bool writeWordTable(const std::filesystem::path &path, const TextTable &grid)
{
    std::size_t columns = 0;
    for (const auto &row : grid)
        columns = std::max(columns, row.size());
    if (columns == 0)
        columns = 1;
    // Wide grids read better across the page.
    const bool landscape = columns > 4;
    const int width = (landscape ? kA4Long : kA4Short) - 2 * kMargin;
    const std::vector<int> widths(columns, std::max(1, width / static_cast<int>(columns)));
    return writeWordDocument(path, table(grid, widths, nullptr, {}), landscape);
}

bool writeExcelSheet(const std::filesystem::path &path, const TextTable &grid, const std::string &sheetName,
                     std::size_t boldUpTo)
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
        for (std::size_t c = 0; c < columns && c < 26 && ok; ++c) {
            if (fitted[c] == 0)
                continue;
            const double width = std::min(255.0, static_cast<double>(fitted[c]) * 1.1 + 1.0);
            if (worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), width, nullptr) !=
                LXW_NO_ERROR)
                ok = false;
        }
        if (ok) {
            worksheet_set_selection(sheet, 0, 0, 0, 0);
            worksheet_activate(sheet);
        }
    }
    const lxw_error closed = workbook_close(book);
    if (!ok || closed != LXW_NO_ERROR) {
        removeQuietly(path);
        return false;
    }
    return true;
}

} // namespace velmora
