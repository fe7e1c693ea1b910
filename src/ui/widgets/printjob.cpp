#include "widgets/printjob.h"

#include "common/errors.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

void printOnePage(const std::function<void(QPainter &, const QPrinter &)> &paint,
                  const std::optional<QPageSize> &pageSize)
{
    // Without a default printer a painter would "print" into nothing.
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull())
        throw RuntimeError(rtl::noDefaultPrinter());
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    if (pageSize)
        printer.setPageSize(*pageSize);
    QPainter painter;
    if (!painter.begin(&printer))
        throw RuntimeError(rtl::printerFailed(defaultPrinter.printerName()));
    paint(painter, printer);
    if (!painter.end())
        throw RuntimeError(rtl::printerFailed(defaultPrinter.printerName()));
}
