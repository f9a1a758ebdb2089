#include "common/qtprinting.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "common/widgets.h"

namespace velmora {

namespace {

// A QPainter on a QPrinter, addressed in the printer's own pixels from the printable area's
// top-left corner.
class PrinterDocument final : public PrintDocument
{
public:
    explicit PrinterDocument(std::unique_ptr<QPrinter> printer) : m_printer(std::move(printer)) {}

    bool start() { return m_painter.begin(m_printer.get()); }

    int verticalDpi() const override { return m_printer->logicalDpiY(); }
    int pageHeight() const override { return m_printer->height(); }

    void setFontSize(int points) override
    {
        QFont font(QStringLiteral("Courier New"));
        font.setStyleHint(QFont::TypeWriter, QFont::PreferMatch);
        font.setFixedPitch(true);
        font.setBold(false);
        font.setUnderline(false);
        font.setPointSize(points);
        m_painter.setFont(font);
        m_painter.setPen(Qt::black);
    }

    void drawText(int x, int y, std::string_view text) override
    {
        // Positions name the top of the text; Qt draws from the baseline.
        const int ascent = m_painter.fontMetrics().ascent();
        m_painter.drawText(QPoint(x, y + ascent), fromAnsi(std::string(text)));
    }

    void newPage() override { m_printer->newPage(); }

    bool finish() override { return m_painter.end() && m_printer->printerState() != QPrinter::Error; }

private:
    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
};

} // namespace

std::unique_ptr<QPrinter> QtPrintService::systemPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

std::unique_ptr<PrintDocument> QtPrintService::beginDocument(PageOrientation orientation, QString &failure)
{
    std::unique_ptr<QPrinter> printer = systemPrinter();
    if (!printer) {
        failure = noPrinterMessage();
        return nullptr;
    }
    printer->setColorMode(QPrinter::Color);
    printer->setPageOrientation(orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                                          : QPageLayout::Portrait);
    printer->setDocName(QStringLiteral("Velmora"));
    auto document = std::make_unique<PrinterDocument>(std::move(printer));
    if (!document->start()) {
        failure = cannotStartMessage();
        return nullptr;
    }
    return document;
}

} // namespace velmora
