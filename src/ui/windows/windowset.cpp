#include "windows/windowset.h"

#include "windows/aboutbox.h"
#include "windows/mainwindow.h"
#include "windows/background.h"
#include "windows/hourswindow.h"
#include "windows/printsavewindow.h"
#include "windows/netslipwindow.h"
#include "windows/grossslipwindow.h"
#include "windows/slipviewerwindow.h"
#include "windows/monthreviewwindow.h"
#include "windows/parameterswindow.h"
#include "windows/declarationwindow.h"
#include "windows/yearsummarywindow.h"
#include "windows/contractwindow.h"
#include "windows/contractslipwindow.h"
#include "windows/costwindow.h"
#include "widgets/appicons.h"
#include "widgets/starttrace.h"

#include <QApplication>
#include <QEvent>
#include <QThread>
#include <algorithm>

namespace {
// A window asks to be polished (its style applied to every control, its
// fonts measured) as soon as it is made; Qt polishes it anyway before it is
// first shown or drawn. Holding the request back for a window still hidden
// spares the start the work of the windows the main window hides.
class PolishWhenShown : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        return e->type() == QEvent::PolishRequest && !static_cast<QWidget *>(watched)->isVisible();
    }
};

// A window just made, its time written when the start is traced.
template <class Window>
Window *made(Window *w)
{
    starttrace::mark(Window::staticMetaObject.className());
    return w;
}

// Every window, in the order of creation; the main window first.
QList<QWidget *> allWindows(const WindowSet &w)
{
    return {w.Entree,
            w.Parametres,
            w.Horaire,
            w.Bulletin,
            w.Recap,
            w.Bulletinbrut,
            w.Revisu,
            w.BO,
            w.AboutBox,
            w.BVPfond,
            w.Declaration.peek(),
            w.Annuel.peek(),
            w.Contrat,
            w.BulletinContrat,
            w.Cout};
}
} // namespace

WindowSet &win()
{
    static WindowSet set;
    return set;
}

void createWindows()
{
    WindowSet &w = win();
    w.Entree = made(new TEntree);
    w.Parametres = made(new TParametres);
    w.Horaire = made(new THoraire);
    w.Bulletin = made(new TBulletin);
    w.Recap = made(new TRecap);
    w.Bulletinbrut = made(new TBulletinbrut);
    w.Revisu = made(new TRevisu);
    w.BO = made(new TBO);
    w.AboutBox = made(new TAboutBox);
    w.BVPfond = made(new TBVPfond);

    auto *polish = new PolishWhenShown(w.Entree);
    for (QWidget *x : allWindows(w).mid(1))
        if (x)
            x->installEventFilter(polish);
}

void prepareEverythingNow()
{
    win().Declaration.get();
    win().Annuel.get();
    for (int k = 0; k <= int(LastAppIcon); ++k)
        appIcon(AppIcon(k)).availableSizes();
    for (QWidget *x : allWindows(win()))
        if (x)
            x->ensurePolished();
}

namespace {
// Last created first, the main window last.
void hideAll(const QList<QWidget *> &lastFirst)
{
    for (QWidget *x : lastFirst)
        if (x)
            x->hide();
}
} // namespace

void destroyWindows()
{
    WindowSet &w = win();
    // Hide first, so that no window's deactivation reaches one already gone.
    QList<QWidget *> all = allWindows(w);
    std::reverse(all.begin(), all.end());
    hideAll(all);
    for (QWidget *x : all)
        delete x;
    w = WindowSet{};
}

bool mayQuit()
{
    for (QWidget *x : allWindows(win()))
        if (auto *form = qobject_cast<Form *>(x); form && form->isVisible() && !form->mayClose())
            return false;
    return true;
}

void endProgram()
{
    // Not QCoreApplication::quit(): in Qt 6 it asks every window to close,
    // in no set order, and gives up at the first that refuses (the month
    // review leaves its own way, the hours window keeps its days on "Non"),
    // leaving closed those asked before it: the main window could go while
    // a slip stayed on screen, or every window go and the program run on
    // unseen. The questions were asked before (mayQuit), all of them.
    QList<QWidget *> all = allWindows(win());
    std::reverse(all.begin(), all.end());
    hideAll(all);
    for (QWidget *x : QApplication::topLevelWidgets())
        x->hide(); // the help viewer, a file dialog
    // With no event loop running there is none to end, and exit() would
    // make the next one end as soon as it starts.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}

void bringProgramForward()
{
    TEntree *main = win().Entree;
    QWidget *target = QApplication::activeModalWidget();
    if (!target && !main)
        return; // still starting: the main window comes up on its own
    if (!target && !main->isVisible())
        for (QWidget *x : allWindows(win()))
            if (x && x->isVisible() && x != win().BVPfond && x != win().BO) {
                target = x;
                break;
            }
    if (!target)
        target = main;
    if (target->isMinimized())
        target->showNormal();
    showAndActivate(target);
}
