#include "widgets/capture.h"

#include <QPainter>
#include <QWidget>

QImage captureClientArea(QWidget *window)
{
    QImage picture(window->size(), QImage::Format_RGB32);
    {
        QPainter painter(&picture);
        painter.fillRect(picture.rect(), window->palette().brush(window->backgroundRole()));
    }
    window->render(&picture, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return picture;
}
