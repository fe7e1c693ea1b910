#include "windowset.h"

#include "Apro.h"
#include "Berlivo.h"
#include "Fond.h"
#include "attendance/Heures.h"
#include "payslip/Boite.h"
#include "payslip/Bull.h"
#include "payslip/Bullbrut.h"
#include "review/Revoir.h"
#include "review/recapitu.h"
#include "settings/Paramtr.h"

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
