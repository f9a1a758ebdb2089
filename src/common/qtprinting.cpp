#include "common/qtprinting.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "common/fonts.h"
#include "common/widgets.h"

namespace velmora {

namespace {

// A QPainter on a QPrinter, addressed in pixels of 600 dots per inch (the resolution the
// layout's positions are made for) from the printable area's top-left corner, whatever the
// printer's own resolution.
class PrinterDocument final : public PrintDocument
{
public:
    explicit PrinterDocument(std::unique_ptr<QPrinter> printer) : m_printer(std::move(printer)) {}

    bool start()
    {
        if (!m_painter.begin(m_printer.get()))
            return false;
        m_scale = m_printer->logicalDpiY() > 0 ? m_printer->logicalDpiY() / double(kPrintDpi) : 1.0;
        m_painter.scale(m_scale, m_scale);
        return true;
    }

    int verticalDpi() const override { return kPrintDpi; }
    int pageHeight() const override { return static_cast<int>(m_printer->height() / m_scale); }

    void setFontSize(int points) override
    {
        QFont font(fonts::fixed());
        font.setStyleHint(QFont::TypeWriter, QFont::PreferMatch);
        font.setFixedPitch(true);
        font.setBold(false);
        font.setUnderline(false);
        // Points are resolved at the printer's resolution, then scaled with the painter.
        font.setPointSizeF(points / m_scale);
        m_painter.setFont(font);
        m_painter.setPen(Qt::black);
    }

    void drawText(int x, int y, std::string_view text) override
    {
        // Positions name the top of the text; Qt draws from the baseline.
        const int ascent = m_painter.fontMetrics().ascent();
        m_painter.drawText(QPointF(x, y + ascent / m_scale), fromAnsi(std::string(text)));
    }

    void newPage() override { m_printer->newPage(); }

    bool finish() override { return m_painter.end() && m_printer->printerState() != QPrinter::Error; }

private:
    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    double m_scale = 1.0;
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
    // The layout's positions are those of a 600 dpi page; a printer that takes it draws them so.
    printer->setResolution(kPrintDpi);
    auto document = std::make_unique<PrinterDocument>(std::move(printer));
    if (!document->start()) {
        failure = cannotStartMessage();
        return nullptr;
    }
    return document;
}

} // namespace velmora
