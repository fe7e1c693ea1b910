#pragma once
// The windows of the program, created once at start and reached by every
// window through this one set (the help viewer is the main window's own).
//
//   class          file                   what it is for
//   TEntree        mainwindow             the main window: child, commands, menu
//   TParametres    parameterswindow       the five children's parameters and the rates
//   THoraire       hourswindow            a month's days typed in and stored
//   TBulletin      netslipwindow          the slip on a net basis
//   TRecap         monthreviewwindow      a stored month reviewed and corrected
//   TBulletinbrut  grossslipwindow        the slip on a gross basis
//   TRevisu        slipviewerwindow       a saved slip picture seen again
//   TBO            printsavewindow        printing and saving the slip shown
//   TAboutBox      aboutbox               title and version
//   TBVPfond       background             the backdrop behind the main window
//   (both slips)   slipsheet              the sheet the two slip windows share
//   TDeclaration   declarationwindow      the month's figures for the online declaration (built when first opened)
//   TAnnuel        yearsummarywindow      a child's year of saved slips, for the tax return (built when first opened)
//   TContrat       contractwindow         the child's contract (built when first opened)
//   TBulletinContrat contractslipwindow   the slip of a regular contract's month (built when first needed)
//   TCout          costwindow             what a slip's month costs the family (built when first opened)

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
class TDeclaration;
class TAnnuel;
class TContrat;
class TBulletinContrat;
class TCout;

// A window beyond the specified ones, built when it is first reached: read
// as a pointer, it is made then, not at start. peek() gives it only if made.
template <class Window>
class BuiltOnUse {
public:
    Window *get()
    {
        if (!m_window)
            m_window = new Window;
        return m_window;
    }
    operator Window *() { return get(); }
    Window *operator->() { return get(); }
    Window *peek() const { return m_window; }

private:
    Window *m_window = nullptr;
};

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
    // Windows beyond the ten, built when first opened.
    BuiltOnUse<TDeclaration> Declaration;
    BuiltOnUse<TAnnuel> Annuel;
    // Built when first opened; null until then.
    TContrat *Contrat = nullptr;
    TBulletinContrat *BulletinContrat = nullptr;
    TCout *Cout = nullptr;
};

WindowSet &win();
// Creates the windows in their fixed order; the first is the main window.
void createWindows();
// Builds at once what the windows otherwise build when first needed, as
// start-up did before it left that work until after the main window shows
// (the start-up benchmark measures both ways).
void prepareEverythingNow();
// Destroys them all (at exit, and between tests).
void destroyWindows();

// The ways out of the program (the main window's "&Quitter", its menu item,
// its close box) end it in two steps. First each window on screen that holds
// something typed and not stored asks; false when the user keeps it, every
// window then left as it was.
bool mayQuit();
// Then every window is hidden and the event loop ends with status 0.
void endProgram();

// A second start on the data folder asks the running program to come
// forward: its main window, or the window that hides it (the parameters),
// or the question it is waiting on, shown, raised and activated.
void bringProgramForward();
