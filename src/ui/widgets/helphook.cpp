#include "widgets/helphook.h"
#include "widgets/look.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace {
struct Handler {
    QPointer<QObject> owner;
    THelpEvent handler;
};

Handler &current()
{
    static Handler h;
    return h;
}

// F1 without a modifier, wherever the focus is: Shift+F1 stays Qt's "What's
// this?".
class HelpKey : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        const auto *key = static_cast<QKeyEvent *>(e);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        requestContextHelp(static_cast<QWidget *>(watched));
        return true;
    }
};
} // namespace

void setApplicationHelp(QObject *owner, THelpEvent handler)
{
    current() = {owner, std::move(handler)};
    // The filter goes with its owner, and so does F1.
    qApp->installEventFilter(new HelpKey(owner));
}

int helpContextOf(const QWidget *w)
{
    for (; w; w = w->parentWidget()) {
        const int context = helpContext(w);
        if (context > 0)
            return context;
    }
    return 0;
}

bool requestContextHelp(const QWidget *w)
{
    const int context = helpContextOf(w);
    if (context == 0)
        return false;
    requestHelp(HELP_CONTEXT, context);
    return true;
}

bool requestHelp(quint16 command, qint32 data)
{
    Handler &h = current();
    if (!h.owner || !h.handler)
        return false;
    bool callHelp = false;
    const bool handled = h.handler(command, data, callHelp);
    // callHelp asks for the toolkit's own processing: there is none to run.
    return handled;
}
