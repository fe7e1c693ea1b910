#include "widgets/pdfpage.h"

#include "archive/pdfdocument.h"

#include <QWidget>
#include <algorithm>

QByteArray windowPdf(QWidget *window, const QString &title)
{
    PdfPage page(title);
    const QRect area = page.area();
    const QSize size = window->size();
    const qreal scale = std::min(qreal(area.width()) / size.width(), qreal(area.height()) / size.height());
    page.painter.scale(scale, scale);
    window->render(&page.painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return page.finish();
}
