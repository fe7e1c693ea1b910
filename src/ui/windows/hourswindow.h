#pragma once
// The hours window: the month sheet of one child, entered day by day. Each
// control writes its value into the current day's row when it is left; the
// times give the day's duration; "&Valide" totals the month, stores its days
// in the child's table and opens the way to the pay slip, which reads the
// sheet and the labels `totheur` and `moan`.

#include "widgets/form.h"
#include "attendance/daytable.h"
#include "attendance/monthsheet.h"
#include "contract/monthfill.h"

#include <QHash>

class QTableWidget;
class QLabel;
class QLineEdit;
class QPushButton;
class QDateTimeEdit;
class QTimeEdit;
class QCheckBox;
class TOuvrirMois;

class THoraire : public Form {
    Q_OBJECT
public:
    explicit THoraire(QWidget *parent = nullptr);

    // The text of the month sheet's cell (Cells[col, row]); "" when empty.
    QString cell(int col, int row) const;
    // The whole month sheet as it stands.
    MonthSheet sheet() const;
    // Days typed and not validated are not dropped unasked, by the close
    // box or by quitting.
    bool mayClose() override;

    // Puts a month the child's table holds into the sheet as its validation
    // left it, with its totals and key, ready for "Bulletin": its slip and
    // declaration are then those of the month just typed. It is not stored
    // again until "&Valide", which then replaces it.
    void openMonth(const QString &key);
    // "Ouvrir un mois...": the list of the child's stored months.
    void OuvrirMoisClick();
    // The list, once first asked for; null before.
    TOuvrirMois *monthList() const { return m_monthList; }
    // "Remplir d'après le contrat": the month of `Date` filled from the
    // child's contract's planning, asking before any day on the sheet or
    // stored is replaced.
    void RemplirClick();
    // Whether day row `row` holds what the planning filled in (not edited since).
    bool fromPlanning(int row) const { return m_planned.contains(row); }

    QTableWidget *StringGrid1;
    QLabel *totheur, *totfj, *moan;
    QLineEdit *selenf, *Edit3;
    QPushButton *BitBtn3, *BitBtn5, *BitBtn2, *BitBtn4, *Suiv, *Prec, *OuvrirMois, *Remplir;
    // Under the sheet, for a child under a regular contract: the month's
    // planned hours, the hours typed, the absences' days and the holidays.
    QLabel *Resume;
    QDateTimeEdit *Date;
    QTimeEdit *H1, *H2, *H3, *H4;
    QCheckBox *FJ, *PDej, *Dej, *Gout, *Din, *Ferie;

protected:
    void onShow() override;
    void onActivate() override;
    void onDeactivate() override;

private:
    void FormShow();
    void FormActivate();
    void FormDeactivate();
    void DateExit();
    void H1Exit();
    void H2Exit();
    void H3Exit();
    void H4Exit();
    void FJExit();
    void PDejExit();
    void DejExit();
    void GoutExit();
    void DinExit();
    void FerieExit();
    void PrecClick();
    void SuivClick();
    void StringGrid1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void Button1Click();
    void BitBtn4Click();

    void buildGrid();
    void setCell(int col, int row, const QString &text);
    // A time left: its column, then the day's duration.
    void timeExit(QTimeEdit *picker, int col);
    // A box left: its mark in its column, or nothing.
    void boxExit(QCheckBox *box, int col);
    void leaveEntry(QPushButton *button);
    // Moves to the day before (-1) or after (+1) with a blank day's entries.
    void stepDay(QPushButton *button, int step);
    // The four times back to 00:00:00 and the six boxes unticked.
    void blankDayEntries();

    DayTable m_table;
    // The row of the day being entered: the day of `Date` when it was last
    // left; 0 until then, when no row takes an entry.
    int m_dayRow = 0;
    // Where `Date` goes back to when a day of another month than the sheet's
    // is refused: the day it was last left on, or moved to by a button.
    QDate m_lastDay;
    // The sheet as the window was opened with it or last validated it.
    MonthSheet m_validated;
    // The key of the stored month the sheet was opened from; empty for a
    // sheet typed from scratch. Validating it again replaces it by default.
    QString m_opened;
    TOuvrirMois *m_monthList = nullptr;

    // The child's contract as last read (the occasional kind when none, or
    // when the file could not be read).
    void readContract();
    void showSummary();
    // Shows day row `row` as filled from the planning, or as typed.
    void markPlanned(int row, bool planned);
    contract::Contract m_contract;
    // The rows filled from the planning and not edited since, with what was filled.
    QHash<int, contract::PlannedDay> m_planned;
};
