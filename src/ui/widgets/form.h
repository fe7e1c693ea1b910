#pragma once
// The base of every top-level window, and the two window events the program
// hangs its rules on: a window becoming active, and a control being left.

#include <QWidget>
#include <functional>

class QCloseEvent;

class Form : public QWidget {
    Q_OBJECT
public:
    // `className` becomes the window's objectName, so tests and accessibility
    // tools find each window by the name of its class.
    explicit Form(const char *className, QWidget *parent = nullptr);
    ~Form() override;

    // Whether the window may go: one that holds something typed and not
    // stored asks the user first. Its close box and quitting the program
    // both ask here.
    virtual bool mayClose() { return true; }

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

    virtual void onShow() {}
    virtual void onActivate() {}
    virtual void onDeactivate() {}
    // The title-bar close box: by default the window goes once mayClose()
    // agrees. Closed, it is hidden and lives on; the program ends when no
    // window is left on screen (Qt's last-window rule).
    virtual void onClose(QCloseEvent *e);
};

// Runs `rule` each time `control`, or a control inside it, loses the focus to
// another control. Switching to another application or opening a drop-down
// (a calendar, a menu) is not leaving the control.
void onExit(QWidget *control, std::function<void()> rule);

// Creates a control of kind W in `parent` under its given name.
template <class W>
W *named(QWidget *parent, const char *name)
{
    auto *w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// Places a window in the middle of the screen it will be shown on.
void centreOnScreen(QWidget *window);

// Shows a window to be worked in: some window systems (Xvfb without a window
// manager among them) never activate a window that is merely shown.
void showAndActivate(QWidget *window);
