#include "widgets/appicons.h"

#include "widgets/look.h"
#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>

namespace {
QStyle::StandardPixmap standardPixmap(AppIcon which)
{
    switch (which) {
    case AppIcon::Settings: return QStyle::SP_FileDialogDetailedView;
    case AppIcon::Compute: return QStyle::SP_DialogApplyButton;
    case AppIcon::Month: return QStyle::SP_FileDialogContentsView;
    case AppIcon::Slip: return QStyle::SP_FileIcon;
    case AppIcon::Quit: return QStyle::SP_DialogCloseButton;
    case AppIcon::Help: return QStyle::SP_DialogHelpButton;
    case AppIcon::Index: return QStyle::SP_FileDialogListView;
    case AppIcon::Search: return QStyle::SP_FileDialogContentsView;
    case AppIcon::About: return QStyle::SP_MessageBoxInformation;
    case AppIcon::Reset: return QStyle::SP_BrowserReload;
    case AppIcon::Ok: return QStyle::SP_DialogOkButton;
    case AppIcon::Cancel: return QStyle::SP_DialogCancelButton;
    }
    return QStyle::SP_CustomBase;
}

// A standard icon read from the style only when it is first drawn: the
// style decodes several pictures for each icon, and most of the program's
// icons sit in menus and hidden windows that the start never draws.
class StandardIconEngine : public QIconEngine {
public:
    explicit StandardIconEngine(QStyle::StandardPixmap which) : m_which(which) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return icon().isNull(); }
    QIconEngine *clone() const override { return new StandardIconEngine(m_which); }

private:
    QIcon &icon()
    {
        if (!m_loaded) {
            m_icon = QApplication::style()->standardIcon(m_which);
            m_loaded = true;
        }
        return m_icon;
    }
    QStyle::StandardPixmap m_which;
    QIcon m_icon;
    bool m_loaded = false;
};
} // namespace

QIcon appIcon(AppIcon which)
{
    // One icon of each kind, shared by every menu item and button that shows
    // it. Kept to the end of the process: its pictures must not outlive the
    // application in a static's destructor.
    static auto *icons = new QHash<AppIcon, QIcon>;
    auto it = icons->find(which);
    if (it == icons->end())
        it = icons->insert(which, QIcon(new StandardIconEngine(standardPixmap(which))));
    return *it;
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
