#pragma once
// One page printed on the system's default printer, as one print job.

#include <QPageSize>
#include <functional>
#include <optional>

class QPainter;
class QPrinter;

// Prints one page at the printer's high resolution. `paint` draws it with
// the printer's painter, the top-left corner of the printable area at (0, 0);
// `pageSize`, when given, is asked of the printer, otherwise the printer's
// own paper is used. No default printer, or a printer that refuses the job or
// fails to finish it, raises the runtime's printer error.
void printOnePage(const std::function<void(QPainter &, const QPrinter &)> &paint,
                  const std::optional<QPageSize> &pageSize = std::nullopt);
