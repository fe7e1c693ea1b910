#include "windows/background.h"

#include "widgets/look.h"
#include "common/version.h"
#include <QLabel>

namespace {
QLabel *titleLabel(QWidget *parent, const char *name, const QString &text, int pixels)
{
    auto *l = named<QLabel>(parent, name);
    QFont f(QStringLiteral("Monotype Corsiva"));
    f.setPixelSize(pixels);
    f.setItalic(true);
    l->setFont(f);
    l->setText(text);
    l->setStyleSheet(QStringLiteral("color: %1;").arg(look::backdropTitle.name()));
    l->adjustSize();
    return l;
}
} // namespace

TBVPfond::TBVPfond(QWidget *parent) : Form("TBVPfond", parent)
{
    setWindowTitle(QStringLiteral("Berlivo Paye"));
    // Only the system-menu box in the title bar.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    // Shown behind the main window, it must not take the activation from it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    // A backdrop alone on screen is no window to go on from: it does not
    // keep the program running once the last other window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    look::setBackground(this, look::backdropColour);
    Label1 = titleLabel(this, "Label1", QStringLiteral("Berlivo Paye"), 120);
    Label2 = titleLabel(this, "Label2", programVersion(), 104);
    resize(1024, 768);
}

void TBVPfond::resizeEvent(QResizeEvent *e)
{
    // "Berlivo Paye" near the top, centred; the version near the bottom right.
    Label1->move((width() - Label1->width()) / 2, 24);
    Label2->move(width() - Label2->width() - 48, height() - Label2->height() - 32);
    Form::resizeEvent(e);
}
