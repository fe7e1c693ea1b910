#pragma once
// The main window: the program's hub. It offers the four functions, help,
// the about box and quitting, keeps the program-wide decimal separator at "."
// and shows which child is currently selected.

#include "widgets/form.h"

class QCalendarWidget;
class QLineEdit;
class QMenuBar;
class QMenu;
class QAction;
class QPushButton;

class TEntree : public Form {
    Q_OBJECT
public:
    explicit TEntree(QWidget *parent = nullptr);

    QLineEdit *Edit1, *Edit2, *Edit3, *selenf;
    QCalendarWidget *MonthCalendar1;
    QPushButton *BitBtn4, *BitBtn3, *BitBtn5, *BitBtn7, *BitBtn2, *BitBtn1;
    QMenuBar *MainMenu1;
    QMenu *Fichier1, *N1;
    QAction *Paramtrer1, *Dbuter1, *Revoirunmois1, *Revoirunbulletin1, *Declaration1, *Annuel1, *Quitter1;
    QAction *Aide1, *Indexdelaide1, *Recherchedanslaide1, *Apropos1;

    // The separator that was in force when the window was last activated.
    QChar savedSeparator() const { return m_savedSeparator; }

public slots:
    void BitBtn4Click(); // "&Parametrer"
    void BitBtn3Click(); // "&Calculer le salaire"
    void BitBtn5Click(); // "&Revoir un mois"
    void BitBtn7Click(); // "Re&voir un Bulletin"
    void BitBtn1Click(); // menu "&Quitter"
    void Declaration1Click();
    void Annuel1Click();
    void Apropos1Click();
    // The help commands (contents, index, search).
    void Aide1Click();
    void Indexdelaide1Click();
    void Recherchedanslaide1Click();

protected:
    void onShow() override;      // FormShow
    void onActivate() override;  // FormActivate
    void onDeactivate() override; // FormDeactivate
    void onClose(QCloseEvent *e) override;

private:
    void closeBackground();
    QChar m_savedSeparator;
};
