#include "archive/yearsummarypdf.h"

#include "archive/pdfdocument.h"
#include "archive/yearsummary.h"

#include <QFont>
#include <QPen>

QByteArray yearSummaryPdf(const YearSummary &s, const QList<TaxFigure> &credit)
{
    PdfPage page(QStringLiteral("Récapitulatif annuel %1 - %2").arg(s.year).arg(s.firstName));
    QPainter &p = page.painter;
    const QRect area = page.area();
    const int mm = PdfPage::Resolution * 10 / 254;
    int y = 0;

    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(14);
    font.setBold(true);
    p.setFont(font);
    const QString heading =
        QStringLiteral("Récapitulatif annuel %1 : %2 (Enfant %3)").arg(s.year).arg(s.firstName).arg(s.slot);
    p.drawText(QRect(0, y, area.width(), 10 * mm), Qt::AlignLeft | Qt::AlignVCenter, heading);
    y += 14 * mm;
    font.setBold(false);

    // The table: the month a little wider, the state last.
    const QStringList &columns = summaryColumns();
    QList<int> widths;
    const int monthWidth = area.width() * 16 / 100, stateWidth = area.width() * 11 / 100;
    const int other = (area.width() - monthWidth - stateWidth) / int(columns.size() - 2);
    widths << monthWidth;
    for (qsizetype c = 1; c + 1 < columns.size(); ++c)
        widths << other;
    widths << stateWidth;

    font.setPointSizeF(8.5);
    const auto drawRow = [&](const QStringList &cells, bool bold, int height) {
        QFont f = font;
        f.setBold(bold);
        p.setFont(f);
        int x = 0;
        for (qsizetype c = 0; c < cells.size() && c < widths.size(); ++c) {
            const QRect cell(x, y, widths[c], height);
            p.drawRect(cell);
            const int align = c == 0 || c + 1 == cells.size() ? Qt::AlignLeft : Qt::AlignRight;
            p.drawText(cell.adjusted(mm, 0, -mm, 0), align | Qt::AlignVCenter | Qt::TextWordWrap, cells[c]);
            x += widths[c];
        }
        y += height;
    };
    p.setPen(QPen(Qt::black, PdfPage::Resolution / 200.0));
    drawRow(columns, true, 12 * mm);
    const QList<QStringList> rows = summaryTable(s);
    for (qsizetype r = 0; r < rows.size(); ++r)
        drawRow(rows[r], r + 1 == rows.size(), 7 * mm);
    y += 8 * mm;

    font.setPointSizeF(10);
    for (const TaxFigure &f : taxReturnFigures(s) + credit) {
        QFont b = font;
        p.setFont(b); // the label plain, its amount bold
        p.drawText(QRect(0, y, area.width() * 70 / 100, 7 * mm), Qt::AlignLeft | Qt::AlignVCenter, f.label);
        b.setBold(true);
        p.setFont(b);
        const QRect valueBox(area.width() * 70 / 100, y, area.width() * 30 / 100, 7 * mm);
        if (p.fontMetrics().horizontalAdvance(f.value) <= valueBox.width()) {
            p.drawText(valueBox, Qt::AlignRight | Qt::AlignVCenter, f.value);
            y += 7 * mm;
        } else {
            // A sentence (why there is no credit) takes the lines below its label.
            y += 7 * mm;
            const QRect text = p.boundingRect(QRect(0, y, area.width(), area.height() - y), Qt::TextWordWrap, f.value);
            p.drawText(QRect(0, y, area.width(), text.height()), Qt::AlignLeft | Qt::TextWordWrap, f.value);
            y += text.height() + 2 * mm;
        }
    }
    y += 4 * mm;
    font.setPointSizeF(9);
    font.setItalic(true);
    p.setFont(font);
    p.drawText(QRect(0, y, area.width(), area.height() - y), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               taxReturnNote(s));
    return page.finish();
}
