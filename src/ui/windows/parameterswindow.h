#pragma once
// The parameters window: the particulars, pay rules and allowances of each of
// the five children, and the contribution table common to all of them.
//
// Its controls are the working copy of the shown child's parameters for the
// whole program: the other windows read them straight from here. The window
// keeps the five parameter records and the rates list, and moves values
// between them and its controls (LoadSlot, StoreSlot). Both files are read
// when the window is opened and written only by "&OK".

#include "widgets/form.h"
#include "common/counts.h"
#include "settings/paramfile.h"
#include "settings/ratesfile.h"
#include "settings/settingsfiles.h"
#include "legal/contributions.h"
#include "legal/legaltable.h"

#include <QHash>
#include <QStringList>
#include <QDate>
#include <array>
#include <optional>

class QTabWidget;
class QTabBar;
class QLineEdit;
class QCheckBox;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class RadioGroup;
class MaskEdit;

class TParametres : public Form {
    Q_OBJECT
public:
    explicit TParametres(QWidget *parent = nullptr);

    QTabWidget *Paramtr;
    QTabBar *TabControl1; // child tabs: the selected tab + 1 is the child slot
    RadioGroup *pol1, *pol2, *Conges, *Netbrut;
    QLineEdit *nom1, *prenom1, *Adr11, *Adr12, *Ville1, *nom2, *prenom2, *adr21, *adr22, *ville2, *nom3, *prenom3, *SH,
        *SHbr, *FJ, *FJbr, *conge, *Indentr, *PD, *D, *G, *Sp, *diverse, *abs, *accpte, *ETH, *EFJ;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9;
    QLineEdit *Edit10, *Edit11, *Edit12, *Edit13, *Edit14, *Edit15, *Edit16, *Edit17, *Edit18;
    QLineEdit *Edit19, *Edit20, *Edit23, *Edit25, *Edit26, *Edit27, *Edit28, *Edit29, *Edit30;
    // Contribution lines 1 to 9: NET coefficient, BRUT rate, base percentage.
    std::array<QLineEdit *, ContributionLines> netRate{}, grossRate{}, basePercent{};
    MaskEdit *cp1, *cp2, *Tel1, *Tel2, *Secu, *urssaf;
    QCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5, *CheckBox6, *CheckBox7, *CheckBox8,
        *CheckBox9, *CheckBox10, *CheckBox11, *CheckBox12, *Indentre;
    std::array<QCheckBox *, ContributionLines> lineTick{};
    QDateTimeEdit *datenaiss, *du, *au;
    QLabel *StaticText1, *StaticText2, *StaticText3, *StaticText4, *StaticText5, *StaticText6, *StaticText7,
        *StaticText8, *StaticText9;
    std::array<QLabel *, ContributionLines> lineName{};
    QGroupBox *Entretien;
    // The notes under the wage and in the maintenance allowances: shown when
    // an amount is below the legal minimum in force today (never blocking,
    // never changing a value), or why nothing could be checked.
    QLabel *AvertSalaire, *AvertEntretien;
    // Under the leave choice: the child's regular contract pays its own leave.
    QLabel *AvertConges;
    QPushButton *raz, *OK, *Anul, *BitBtn3;
    // Under the contribution table: "Barème en vigueur" fills its rows with
    // the lines in force on the date beside it (today when the window is
    // opened), the local scheme's too when Alsace-Moselle is ticked; the
    // note says when the rows are not the lines in force today.
    QPushButton *BaremeEnVigueur;
    QDateTimeEdit *DateBareme;
    QCheckBox *AlsaceMoselle;
    QLabel *AvertTaux;
    // The page "Famille": what the childcare aid is estimated from, common
    // to every child (the monthly resources, dependent children, single
    // parent); and on the child's page, its own: the disability allowance
    // and shared custody. Kept in Famille.txt, written with the other files.
    QLineEdit *Ressources;
    QSpinBox *NbEnfants;
    QCheckBox *ParentIsole, *AEEH, *Alternee;

    // The child slot the controls show (1 to 5).
    int currentSlot() const { return m_slots.current; }
    // A child's date of birth as held here: the shown child's picker, another
    // child's record. Before the window was first opened, the parameter
    // file's; invalid when there is none.
    QDate birthDate(int slot) const;
    // The shown child's record as the controls hold it, unconfirmed edits
    // included and texts not yet cut to their stored length: what "&OK"
    // would keep, and what the slips read.
    ParamRecord recordOnScreen() const;
    // Reads the two settings files into the controls, as opening the window
    // does, when it has not been opened yet: a window that reads a child's
    // parameters before then gets the stored ones, not blank controls.
    void ensureLoaded();
    // The family's particulars as the controls hold them, unconfirmed edits
    // included: what the estimate of the aid reads. Before the window was
    // first opened, the family file's.
    Family familyOnScreen() const;
    // Says under the leave choice whether the shown child's stored contract
    // is a regular one, whose own leave rules apply instead.
    void showLeaveNote();

protected:
    void showEvent(QShowEvent *e) override;
    void onClose(QCloseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void buildEmployeePage(QWidget *page);
    void buildEmployerPage(QWidget *page);
    void buildWagesPage(QWidget *page);
    void buildAllowancesPage(QWidget *page);
    void buildFamilyPage(QWidget *page);
    void buildButtons();
    void connectRules();

    // The rules.
    void FormActivate();
    // The files into the controls (each error said), the current child shown.
    void loadFiles();
    void LoadSlot();
    void StoreSlot();
    void TabControl1Change(int index);
    void OKClick();
    void AnulClick();
    void razClick();
    void NetbrutExit();
    void CongesClick();
    void IndentreClick();
    void CheckBox10Click();
    void EntretienClick();
    void prenom3Exit();
    void BitBtn3Click();
    void BaremeEnVigueurClick();
    void RessourcesExit();
    // The family's particulars into the controls, and the shown child's back.
    void showFamily();
    void keepChildAid();

    // A number field left after an edit: a decimal comma becomes ".", any
    // other text that is not a number is refused and the field gets back
    // what it held when it was entered.
    void numberExit(QLineEdit *field);
    // Every text field takes no more characters than its record field holds.
    void limitTextFields();
    // What the two files held when the window was opened, for "&Annule".
    void keepOpened();
    void restoreOpened();

    void showWageRow(bool net);
    // The two notes of the legal minimums, from the controls as they stand.
    void showMinimums();
    // The contribution table, common to every child, from the rates list.
    void showRatesTable();
    // The contribution table's rows as the controls hold them.
    legal::RateRows ratesOnScreen() const;
    // The note under the table, from the rows as they stand.
    void showRatesNote();
    void selectTabOfCurrentSlot();
    void setChildCaption(int tab, const QString &caption);
    // The text of the control that holds the record field of that name.
    QString controlText(const QString &name) const;
    void setControlText(const QString &name, const QString &text);

    RatesList m_rates;
    ParamSlots m_slots;
    SettingsFiles m_files;
    bool m_entretienPressed = false;
    // The slots, rates and tab captions as the files gave them when opened.
    ParamSlots m_openedSlots;
    RatesList m_openedRates;
    Family m_family, m_openedFamily;
    QStringList m_openedCaptions;
    // The text of each number field when the focus last entered it.
    QHash<QLineEdit *, QString> m_enteredText;
    bool m_loaded = false; // the files were read once
    legal::Loaded m_legal; // the legal values, read when the window is opened
    legal::LoadedContributions m_contributions; // the dated contribution lines, read then too
    std::optional<legal::RateRows> m_filled;     // the rows "Barème en vigueur" last put on screen
};
