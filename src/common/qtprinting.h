#pragma once

#include <memory>

#include "common/printing.h"

class QPrinter;

// Printing through Qt's print support on the system's default printer (CUPS), in colour.
namespace velmora {

// The resolution every printout is laid out in.
inline constexpr int kPrintDpi = 600;

class QtPrintService : public PrintService
{
public:
    using PrintService::PrintService;

protected:
    std::unique_ptr<PrintDocument> beginDocument(PageOrientation orientation, QString &failure) override;
    // The printer a document goes to: the system's default printer, or nullptr when none is set up.
    virtual std::unique_ptr<QPrinter> systemPrinter();
};

} // namespace velmora
