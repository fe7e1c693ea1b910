#include "widgets/appicons.h"

#include "widgets/look.h"
#include <QApplication>
#include <QPainter>
#include <QStyle>

QIcon appIcon(AppIcon which)
{
    QStyle *s = QApplication::style();
    switch (which) {
    case AppIcon::Settings: return s->standardIcon(QStyle::SP_FileDialogDetailedView);
    case AppIcon::Compute: return s->standardIcon(QStyle::SP_DialogApplyButton);
    case AppIcon::Month: return s->standardIcon(QStyle::SP_FileDialogContentsView);
    case AppIcon::Slip: return s->standardIcon(QStyle::SP_FileIcon);
    case AppIcon::Quit: return s->standardIcon(QStyle::SP_DialogCloseButton);
    case AppIcon::Help: return s->standardIcon(QStyle::SP_DialogHelpButton);
    case AppIcon::Index: return s->standardIcon(QStyle::SP_FileDialogListView);
    case AppIcon::Search: return s->standardIcon(QStyle::SP_FileDialogContentsView);
    case AppIcon::About: return s->standardIcon(QStyle::SP_MessageBoxInformation);
    }
    return {};
}

QPixmap programPixmap(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(look::iconFill);
    p.setPen(QPen(look::iconEdge, size / 16.0));
    p.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 6.0, size / 6.0);
    QFont f(QStringLiteral("Monotype Corsiva"));
    f.setItalic(true);
    f.setPixelSize(int(size * 0.8));
    p.setFont(f);
    p.setPen(look::windowColour);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("B"));
    return pm;
}
