#pragma once

#include <memory>

#include <QString>
#include <QStringList>

#include "common/printlayout.h"
#include "common/services.h"

class QListWidget;

// Printing of lists and bills on the system's printer.
namespace velmora {

enum class PageOrientation { Portrait, Landscape };

// The parameters of one printout: the question asked first, the heading, the page orientation,
// the layout, and for a bill its total.
struct PrintRequest
{
    QString question;
    QString title;
    int ruleLength = 0;
    PageOrientation orientation = PageOrientation::Landscape;
    PrintLayout layout = PrintLayout::List;
    QString total;

    // The printouts of the program, one per print command.
    static PrintRequest productImport();                                     // product import list
    static PrintRequest clientSearch();                                      // client search list
    static PrintRequest productSearch();                                     // product search list
    static PrintRequest lowStock();                                          // low-stock list
    static PrintRequest bill(const QString &billName, const QString &total); // a bill with its total
    static PrintRequest summary(const QString &title);                       // the summary across bills
};

// A document being printed: a surface that is ended once, reporting whether the printer took it.
class PrintDocument : public PrintSurface
{
public:
    virtual bool finish() = 0;
};

// The print command of every list: refuses an empty list, asks for confirmation, then prints
// the lines as they are on screen with the shared layout. Implementations give the document.
class PrintService
{
public:
    PrintService(MessageService &messages, ClockService &clock);
    virtual ~PrintService() = default;
    PrintService(const PrintService &) = delete;
    PrintService &operator=(const PrintService &) = delete;

    // Returns true when the document went to the printer.
    bool printList(QWidget *owner, const QStringList &lines, const PrintRequest &request);

    static QString emptyListMessage();
    static QString questionTitle();
    static QString failedMessage();
    static QString noPrinterMessage();
    static QString cannotStartMessage();

protected:
    // Starts a document in the given orientation; nullptr when no printer can be used, with the
    // message that tells the user why in failure.
    virtual std::unique_ptr<PrintDocument> beginDocument(PageOrientation orientation, QString &failure) = 0;

    MessageService &m_messages;
    ClockService &m_clock;
};

// The lines of a list box as the user sees them, top to bottom: what every print command prints.
QStringList shownLines(const QListWidget *list);

} // namespace velmora
