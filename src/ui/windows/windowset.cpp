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
}

void prepareEverythingNow() {}

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
