#include "support/fakeprinting.h"

namespace velmora::test {

namespace {

// Draws on the printer's recording pages; finishing reports the printer's scripted outcome.
class RecordingDocument final : public PrintDocument
{
public:
    RecordingDocument(RecordingSurface &target, bool fails) : m_target(target), m_fails(fails) {}
    int verticalDpi() const override { return m_target.verticalDpi(); }
    int pageHeight() const override { return m_target.pageHeight(); }
    void setFontSize(int points) override { m_target.setFontSize(points); }
    void drawText(int x, int y, std::string_view text) override { m_target.drawText(x, y, text); }
    void newPage() override { m_target.newPage(); }
    bool finish() override { return !m_fails; }

private:
    RecordingSurface &m_target;
    bool m_fails;
};

} // namespace

FakePrinter::FakePrinter(MessageService &messages, ClockService &clock) : PrintService(messages, clock) {}

std::vector<std::string> FakePrinter::lastTexts() const
{
    std::vector<std::string> texts;
    if (jobs.empty())
        return texts;
    for (const DrawnText &d : jobs.back().pages.drawn)
        texts.push_back(d.text);
    return texts;
}

std::unique_ptr<PrintDocument> FakePrinter::beginDocument(PageOrientation orientation, QString &failure)
{
    if (!available) {
        failure = noPrinterMessage();
        return nullptr;
    }
    jobs.push_back({orientation, RecordingSurface(dpi, pageHeight)});
    return std::make_unique<RecordingDocument>(jobs.back().pages, failsWhilePrinting);
}

FakeOffice::FakeOffice(MessageService *messages) : m_messages(messages) {}

bool FakeOffice::wordCard(QWidget *owner, const WordCard &card)
{
    calls.push_back({Call::Kind::WordCard, card, {}, {}, 0});
    if (!result && m_messages)
        m_messages->plain(owner, cardFailedMessage());
    return result;
}

bool FakeOffice::wordGrid(QWidget *owner, const TextGrid &grid, const QString &documentName)
{
    calls.push_back({Call::Kind::WordGrid, {}, grid, documentName, 0});
    if (!result && m_messages)
        m_messages->plain(owner, wordFailedMessage());
    return result;
}

bool FakeOffice::excelGrid(QWidget *owner, const TextGrid &grid, const QString &sheetName, int boldUpTo)
{
    calls.push_back({Call::Kind::ExcelGrid, {}, grid, sheetName, boldUpTo});
    if (!result && m_messages)
        m_messages->plain(owner, excelFailedMessage());
    return result;
}

PrintingFakes::PrintingFakes(TestServices &test) : printer(test.messages, test.clock), office(&test.messages)
{
    test.services.printer = &printer;
    test.services.office = &office;
}

} // namespace velmora::test
