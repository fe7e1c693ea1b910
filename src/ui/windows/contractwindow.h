#pragma once
// The contract of the child selected in the main window: its kind, dates,
// weekly planning, weeks of care, periods without care, extra-hour rates and
// absences, with the mensualised hours and base they give at the child's
// rate, the paid leave of each period, and the end of the contract with its
// two documents. Built when first opened; it reads the contract from
// "Contrats.db" each time it is opened, and "&OK" stores the whole of it.

#include "contract/contract.h"
#include "contract/enddocuments.h"
#include "contract/endofcontract.h"
#include "contract/monthfigures.h"
#include "payslip/money.h"
#include "widgets/form.h"

#include <QHash>
#include <QList>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableView;
class QTableWidget;
class QTimeEdit;
class RadioGroup;
namespace contract {
class RangeModel;
}

class TContrat : public Form {
    Q_OBJECT
public:
    explicit TContrat(QWidget *parent = nullptr);

    QLineEdit *prenom;
    QTabWidget *Pages;
    RadioGroup *TypeContrat;
    QDateTimeEdit *DebutContrat, *FinContrat;
    QCheckBox *FinConnue;
    QSpinBox *Semaines, *MajHC, *MajHM;
    QComboBox *PaiementCP;
    QTimeEdit *HLundi, *HMardi, *HMercredi, *HJeudi, *HVendredi, *HSamedi, *HDimanche;
    QList<QTimeEdit *> planning; // Monday to Sunday
    // Each weekday's arrival, and the break of a child who goes home at
    // noon (leaving, back): 00:00 shows empty and reads as none. The
    // departure they give is shown below them.
    QTimeEdit *ALundi, *AMardi, *AMercredi, *AJeudi, *AVendredi, *ASamedi, *ADimanche;
    QList<QTimeEdit *> arrivals, breakFrom, breakTo; // Monday to Sunday
    QList<QLabel *> departures;                       // DLundi ... DDimanche
    QCheckBox *AlsaceMoselle, *FeriesTravailles;
    // Each row edited in its cells; Tab moves along the row.
    QTableView *Periodes, *Absences;
    QTableWidget *Conges; // read-only: the paid leave of each period, the running one first
    QPushButton *AjoutPeriode, *SupprPeriode, *AjoutAbsence, *SupprAbsence;
    QLineEdit *HeuresSemaine, *HeuresMois, *TauxHoraire, *SalaireBase;
    QLabel *Avertissement, *SemainesRestantes;
    QPushButton *OK, *Annule;
    // The end of the contract: why, when the letter was presented, the last
    // day of care as the "Contrat" page holds it, and the figures.
    QComboBox *MotifFin;
    QDateTimeEdit *DateNotification;
    QLineEdit *DernierJour;
    QLabel *MessageFin;
    QTableWidget *ChiffresFin;
    QPushButton *Certificat, *Recu, *ImprimeCertificat, *ImprimeRecu;

    // Opens the contract of the child selected in the parameters window:
    // its first name, rate and stored contract (or a new one).
    void open();
    // The contract as the controls hold it; an absence whose reason is not
    // chosen yet is left out.
    contract::Contract contractShown() const;
    // Why the contract on screen cannot be stored, naming the field; empty
    // when it can.
    QString fault() const;
    // The child slot (1 to 5) the window works on.
    int slot() const { return m_slot; }
    // The legal limits in force today, read from the table of legal values
    // when the window is opened; none when the table is missing or damaged.
    const std::optional<contract::Limits> &limits() const { return m_limits; }
    // "Contrats.db" in the program folder.
    static QString filePath();

    void OKClick();
    void AnnuleClick();
    // Whether the window holds edits that are not stored.
    bool modified() const;
    // Save each document beside the saved slips, or print it on the default printer.
    void CertificatClick();
    void RecuClick();
    void ImprimeCertificatClick();
    void ImprimeRecuClick();
    // The end's figures as the "Fin du contrat" page last showed them.
    const contract::EndOfContract &endShown() const { return m_end; }

    // The close box and quitting: edits not stored are not dropped unasked.
    bool mayClose() override;

private:
    void showContract(const contract::Contract &c);
    // Stores the contract on screen; false (said in the error box) when it
    // cannot be.
    bool store();
    void refresh();
    void TypeContratClick();
    // Fills the "Congés" page from the contract on screen and the child's
    // stored days, each time the page is shown.
    void showLeave();
    void FinConnueClick();
    // Fills the "Fin du contrat" page from the contract on screen, the
    // child's stored days and saved slips, each time the page is shown.
    void showEnd();
    // The end's figures and the document's parties, or none (said in the
    // error box) when the contract cannot give them.
    bool endReady();
    // An empty row at the end of a table; the cursor goes into its first cell.
    void addRow(QTableView *table);
    void removeCurrentRow(QTableView *table);
    // The contract as typed, before absences are cut to its dates.
    contract::Contract contractTyped() const;
    // Refuses, when the box is left, a number outside the field's range,
    // naming the field (`caption` gives its name then); the box gets back
    // its last value in range.
    void typedInRange(QSpinBox *box, const std::function<QString()> &caption, contract::IntRange range);
    // The refusal of a planned day's hours, named after the day.
    void plannedHoursRefused(int day, const QString &typed);

    contract::RangeModel *m_periods, *m_absences;
    contract::Contract m_opened; // as read when the window was opened, or last stored
    bool m_unread = false;       // the stored contract could not be read: OK stores nothing
    QHash<QSpinBox *, int> m_inRange;
    int m_slot = 1;
    std::optional<Money> m_rate;
    contract::HolidaySetting m_holiday;
    std::optional<contract::Limits> m_limits;
    QString m_legalMessage;         // why there are no limits
    QString m_wageNote;             // the rate under the minimum in force today
    contract::EndParties m_parties; // as the parameters named them when opened
    QString m_firstName;
    contract::EndOfContract m_end;
    QWidget *m_endPage = nullptr;
    QLabel *m_majHMLabel = nullptr; // names the week's limit in force
};
