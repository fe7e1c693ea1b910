#include "widgets/look.h"

#include <QPalette>
#include <QWidget>

namespace look {
void setBackground(QWidget *w, const QColor &colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void setTextColour(QWidget *w, const QColor &colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    w->setPalette(p);
}
} // namespace look

void setHelpContext(QWidget *w, HelpContext context) { w->setProperty("helpContext", int(context)); }

int helpContext(const QWidget *w) { return w->property("helpContext").toInt(); }
