#include "widgets/form.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QScreen>

namespace {
// The name of every exit rule's filter, so that a window can find its own.
const QString exitFilterName = QStringLiteral("berlivo-exit-rule");
} // namespace

Form::Form(const char *className, QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QString::fromLatin1(className));
}

Form::~Form()
{
    // Destroying the controls takes the focus out of the one that has it: no
    // exit rule may run then, on a window whose own part is already gone.
    qDeleteAll(findChildren<QObject *>(exitFilterName));
}

bool Form::event(QEvent *e)
{
    switch (e->type()) {
    case QEvent::Show:
        // The window system restoring a minimised window is not showing it.
        if (!e->spontaneous())
            onShow();
        break;
    case QEvent::WindowActivate: onActivate(); break;
    case QEvent::WindowDeactivate: onDeactivate(); break;
    default: break;
    }
    return QWidget::event(e);
}

void Form::closeEvent(QCloseEvent *e) { onClose(e); }

void Form::onClose(QCloseEvent *e)
{
    // Accepted, the close hides the window (it is not deleted) and lets Qt
    // end a program that has no window left on screen; a window that only
    // hid itself would leave such a program running.
    e->setAccepted(mayClose());
}

namespace {
class ExitFilter : public QObject {
public:
    ExitFilter(QObject *parent, std::function<void()> rule) : QObject(parent), m_rule(std::move(rule))
    {
        setObjectName(exitFilterName);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent *>(e)->reason();
            auto *control = static_cast<QWidget *>(parent());
            QWidget *next = control->window()->focusWidget();
            // Focus moving between the parts of one control (the field of a
            // picker, say) is not leaving it.
            const bool staysInside = next && next != watched && control->isAncestorOf(next);
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !staysInside)
                m_rule();
        }
        return false;
    }

private:
    std::function<void()> m_rule;
};
} // namespace

void onExit(QWidget *control, std::function<void()> rule)
{
    auto *filter = new ExitFilter(control, std::move(rule));
    control->installEventFilter(filter);
    for (QWidget *child : control->findChildren<QWidget *>())
        if (child->focusPolicy() != Qt::NoFocus)
            child->installEventFilter(filter);
}

void showAndActivate(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

void centreOnScreen(QWidget *window)
{
    if (const QScreen *s = window->screen() ? window->screen() : QGuiApplication::primaryScreen())
        window->move(s->availableGeometry().center() - window->rect().center());
}
