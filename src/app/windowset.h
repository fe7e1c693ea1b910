#pragma once
// The ten windows of the program, created once at start and reached by every
// window through this one set.

class TEntree;
class TParametres;
class THoraire;
class TBulletin;
class TRecap;
class TBulletinbrut;
class TRevisu;
class TBO;
class TAboutBox;
class TBVPfond;

struct WindowSet {
    TEntree *Entree = nullptr;
    TParametres *Parametres = nullptr;
    THoraire *Horaire = nullptr;
    TBulletin *Bulletin = nullptr;
    TRecap *Recap = nullptr;
    TBulletinbrut *Bulletinbrut = nullptr;
    TRevisu *Revisu = nullptr;
    TBO *BO = nullptr;
    TAboutBox *AboutBox = nullptr;
    TBVPfond *BVPfond = nullptr;
};

WindowSet &win();
// Creates the ten windows in their fixed order; the first is the main window.
void createWindows();
// Destroys them all (at exit, and between tests).
void destroyWindows();
