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
#include "widgets/appicons.h"

#include <QEvent>

namespace {
// A window asks to be polished (its style applied to every control, its
// fonts measured) as soon as it is made; Qt polishes it anyway before it is
// first shown or drawn. Holding the request back for a window still hidden
// spares the start the work of the nine windows the main window hides.
class PolishWhenShown : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        return e->type() == QEvent::PolishRequest && !static_cast<QWidget *>(watched)->isVisible();
    }
};
} // namespace

WindowSet &win()
{
    static WindowSet set;
    return set;
}

void createWindows()
{
    WindowSet &w = win();
    w.Entree = new TEntree;
    w.Parametres = new TParametres;
    w.Horaire = new THoraire;
    w.Bulletin = new TBulletin;
    w.Recap = new TRecap;
    w.Bulletinbrut = new TBulletinbrut;
    w.Revisu = new TRevisu;
    w.BO = new TBO;
    w.AboutBox = new TAboutBox;
    w.BVPfond = new TBVPfond;

    auto *polish = new PolishWhenShown(w.Entree);
    for (QWidget *x : {static_cast<QWidget *>(w.Parametres), static_cast<QWidget *>(w.Horaire),
                       static_cast<QWidget *>(w.Bulletin), static_cast<QWidget *>(w.Recap),
                       static_cast<QWidget *>(w.Bulletinbrut), static_cast<QWidget *>(w.Revisu),
                       static_cast<QWidget *>(w.BO), static_cast<QWidget *>(w.AboutBox),
                       static_cast<QWidget *>(w.BVPfond)})
        x->installEventFilter(polish);
}

void prepareEverythingNow()
{
    for (int k = 0; k <= int(LastAppIcon); ++k)
        appIcon(AppIcon(k)).availableSizes();
    WindowSet &w = win();
    for (QWidget *x : {static_cast<QWidget *>(w.Entree), static_cast<QWidget *>(w.Parametres),
                       static_cast<QWidget *>(w.Horaire), static_cast<QWidget *>(w.Bulletin),
                       static_cast<QWidget *>(w.Recap), static_cast<QWidget *>(w.Bulletinbrut),
                       static_cast<QWidget *>(w.Revisu), static_cast<QWidget *>(w.BO),
                       static_cast<QWidget *>(w.AboutBox), static_cast<QWidget *>(w.BVPfond)})
        x->ensurePolished();
}

void destroyWindows()
{
    WindowSet &w = win();
    // Hide first, so that no window's deactivation reaches one already gone.
    QWidget *all[] = {w.BVPfond, w.AboutBox, w.BO, w.Revisu, w.Bulletinbrut,
                      w.Recap, w.Bulletin, w.Horaire, w.Parametres, w.Entree};
    for (QWidget *x : all)
        if (x)
            x->hide();
    for (QWidget *x : all)
        delete x;
    w = WindowSet{};
}
