#pragma once

#include <utility>
#include <vector>

#include <QString>
#include <QStringList>

class QWidget;

// Word and Excel documents made from a card or a grid and handed to the user, open and ready to
// be saved under a name of their choice.
namespace velmora {

// Rows of a grid as shown, row 0 being the headings.
using TextGrid = std::vector<QStringList>;

// A card for Word: centred headings, then a two-column table of labels and values.
struct WordCard
{
    QStringList headings;
    std::vector<std::pair<QString, QString>> rows;
};

class OfficeService
{
public:
    virtual ~OfficeService() = default;

    // A card document; any failure shows cardFailedMessage(). True when the document was opened.
    virtual bool wordCard(QWidget *owner, const WordCard &card) = 0;

    // A table of every row and column of the grid, texts as they are. documentName names the file
    // ("Conto consumazioni"). A failure shows wordFailedMessage().
    virtual bool wordGrid(QWidget *owner, const TextGrid &grid, const QString &documentName) = 0;

    // A worksheet named sheetName holding the grid's trimmed texts as text from A1; the headings of
    // row 1 are bold from column 2 to column boldUpTo. A failure shows excelFailedMessage().
    virtual bool excelGrid(QWidget *owner, const TextGrid &grid, const QString &sheetName, int boldUpTo) = 0;

    static QString cardFailedMessage();
    static QString wordFailedMessage();
    static QString excelFailedMessage();
};

} // namespace velmora
