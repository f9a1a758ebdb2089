#pragma once

#include <vector>

#include "common/office.h"
#include "common/printing.h"
#include "support/fakes.h"
#include "support/recordingsurface.h"

// Stand-ins for the printer and the office documents. The printer runs the real print command
// (empty list, question, layout) on recording pages; the office records what it was asked to make.
namespace velmora::test {

class FakePrinter final : public PrintService
{
public:
    FakePrinter(MessageService &messages, ClockService &clock);

    struct Job
    {
        PageOrientation orientation;
        RecordingSurface pages;
    };

    std::vector<Job> jobs; // every document that reached the printer
    bool available = true; // false: no printer is set up
    bool failsWhilePrinting = false;
    int dpi = 600;
    int pageHeight = 4800;

    // The texts of the last document, page after page; empty when nothing was printed.
    std::vector<std::string> lastTexts() const;

protected:
    std::unique_ptr<PrintDocument> beginDocument(PageOrientation orientation, QString &failure) override;
};

class FakeOffice final : public OfficeService
{
public:
    // With messages, a failing operation shows the message the real service shows.
    explicit FakeOffice(MessageService *messages = nullptr);

    struct Call
    {
        enum class Kind { WordCard, WordGrid, ExcelGrid };
        Kind kind;
        WordCard card;
        TextGrid grid;
        QString name; // document name of a Word grid, sheet name of an Excel grid
        int boldUpTo = 0;
    };

    bool wordCard(QWidget *owner, const WordCard &card) override;
    bool wordGrid(QWidget *owner, const TextGrid &grid, const QString &documentName) override;
    bool excelGrid(QWidget *owner, const TextGrid &grid, const QString &sheetName, int boldUpTo) override;

    std::vector<Call> calls;
    bool result = true;

private:
    MessageService *m_messages;
};

// A printer and an office attached to a set of test services.
class PrintingFakes
{
public:
    explicit PrintingFakes(TestServices &test);
    FakePrinter printer;
    FakeOffice office;
};

} // namespace velmora::test
