#pragma once
// The month review: a month chosen in a calendar, and every day the current
// child's table holds for it, shown in a grid and a detail area bound live to
// the table. A time, a duration or a mark corrected here, or a day deleted,
// is a change of the stored record; it is stored when the user moves to
// another record, chooses another month, or leaves the window. From "&Valide"
// until the window is left the table is held exclusively.

#include "widgets/form.h"
#include "attendance/daytable.h"

class QCalendarWidget;
class QCheckBox;
class QDataWidgetMapper;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;
class CellTextDelegate;

// The record navigator: first, previous, next and last record, each button
// enabled only where it leads somewhere.
class TableNavigator : public QWidget {
    Q_OBJECT
public:
    enum Move { First, Prior, Next, Last };
    explicit TableNavigator(QWidget *parent = nullptr);
    QToolButton *button(Move m) const { return m_buttons[m]; }
    void setPosition(int row, int count);

signals:
    void moved(TableNavigator::Move move);

private:
    QToolButton *m_buttons[4];
};

class TRecap : public Form {
    Q_OBJECT
public:
    explicit TRecap(QWidget *parent = nullptr);
    ~TRecap() override;

    QCalendarWidget *Datechoi;
    QPushButton *Valid, *Button1;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9, *Label10;
    QLabel *DBText1, *DBText2, *DBText3, *DBText4, *DBText5, *DBText6;
    QCheckBox *DBCheckBox1, *DBCheckBox2, *DBCheckBox3, *DBCheckBox4, *DBCheckBox5, *DBCheckBox6;
    TableNavigator *DBNavigator1;
    QLineEdit *Edit3, *selenf;
    QTableView *DBGrid1;

    // The child's table the window is bound to (closed until "&Valide").
    const DayTable &Table1() const { return m_table; }

protected:
    void onShow() override;
    void onActivate() override;
    void onClose(QCloseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void FormActivate();
    void DatechoiGetMonthInfo();
    void ValidClick();
    void Button1Click();

    // Stores a change still pending, closes the table (which switches the
    // filter off); raises when the change cannot be stored, table kept.
    void releaseTable();
    // A cell being typed in goes to its record first.
    void finishCellEdit();
    void storePending();
    void recordChanged();
    void navigate(TableNavigator::Move move);
    void markClicked(int field, bool checked);
    void deleteRecord();
    int currentRecord() const;

    DayTable m_table;
    QDataWidgetMapper *DataSource1;
    CellTextDelegate *m_cellDelegate;
};
