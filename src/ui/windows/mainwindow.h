#pragma once
// The main window: the program's hub. It offers the four functions, help,
// the about box and quitting, keeps the program-wide decimal separator at "."
// and shows which child is currently selected.

#include "widgets/form.h"

#include <memory>

class QCalendarWidget;
class QLineEdit;
class QMenuBar;
class QMenu;
class QAction;
class QPushButton;
class TAide;

class TEntree : public Form {
    Q_OBJECT
public:
    explicit TEntree(QWidget *parent = nullptr);
    ~TEntree() override;

    QLineEdit *Edit1, *Edit2, *Edit3, *selenf;
    QCalendarWidget *MonthCalendar1;
    QPushButton *BitBtn4, *BitBtn3, *BitBtn5, *BitBtn7, *BitBtn2, *BitBtn1;
    QMenuBar *MainMenu1;
    QMenu *Fichier1, *N1;
    QAction *Paramtrer1, *Dbuter1, *Revoirunmois1, *Revoirunbulletin1, *Declaration1, *Annuel1, *Contrat1, *Quitter1;
    QAction *OuvrirMois;                // the hours window's list of stored months
    QAction *Remplir;                   // the hours window's month filled from the contract
    QAction *Sauvegarder1, *Restaurer1; // backup and restore of the user's data
    QAction *Aide1, *Indexdelaide1, *Recherchedanslaide1, *Apropos1;

    // The separator that was in force when the window was last activated.
    QChar savedSeparator() const { return m_savedSeparator; }
    // The full path of the help file, set once at creation.
    QString helpFile() const { return m_helpFile; }
    // The help viewer, created at the first help request (null until then).
    TAide *helpViewer() const { return m_helpViewer.get(); }

    // The application's help handler: every help request of the windows.
    bool ApplicationHelp(quint16 Command, qint32 Data, bool &CallHelp);

public slots:
    void BitBtn4Click();    // "&Parametrer"
    void BitBtn3Click();    // "&Calculer le salaire"
    void OuvrirMoisClick(); // "&Ouvrir un mois...": the hours window, then its list of months
    void RemplirClick();    // "Remplir d'après le &contrat": the hours window, then its fill
    void BitBtn5Click();    // "&Revoir un mois"
    void BitBtn7Click();    // "Re&voir un Bulletin"
    void BitBtn1Click();    // menu "&Quitter"
    void Declaration1Click();
    void Annuel1Click();
    void Contrat1Click(); // "Contrat de l'&enfant...": built when first opened
    void Apropos1Click();
    // The help commands (contents, index, search).
    void Aide1Click();
    void Indexdelaide1Click();
    void Recherchedanslaide1Click();
    // "Sauvegarder mes données..." and "Restaurer une sauvegarde...": each
    // asks for the file, then runs the step below.
    void Sauvegarder1Click();
    void Restaurer1Click();

public:
    // The name chosen in the file dialog: ".zip" is added when missing, and
    // a file of the final name is replaced only after the question.
    void backupTo(QString zipPath);
    // Backs the program folder up into `zipPath`, and says where.
    void saveBackup(const QString &zipPath);
    // Checks the backup, asks for confirmation, then restores it.
    void restoreBackup(const QString &zipPath);

protected:
    void onShow() override;       // FormShow
    void onActivate() override;   // FormActivate
    void onDeactivate() override; // FormDeactivate
    void onClose(QCloseEvent *e) override;

private:
    void FormCreate();
    void closeBackground();
    // The help viewer's entry point, as the help commands call it.
    void HtmlHelp(quint32 command, qint32 argument);
    QChar m_savedSeparator;
    QString m_helpFile;
    // Not a child window: the viewer stays beside the program's windows.
    std::unique_ptr<TAide> m_helpViewer;
};
