#pragma once
// SKELETON: the hours window's public controls; the layout and rules are being built.

#include "app/form.h"

class QTableWidget;
class QLabel;
class QLineEdit;
class QPushButton;
class QDateTimeEdit;
class QTimeEdit;
class QCheckBox;

class THoraire : public Form {
    Q_OBJECT
public:
    explicit THoraire(QWidget *parent = nullptr);

    // The text of the month sheet's cell (Cells[col, row]); "" when empty.
    QString cell(int col, int row) const;

    QTableWidget *StringGrid1;
    QLabel *totheur, *totfj, *moan;
    QLineEdit *selenf;
    QPushButton *BitBtn3, *BitBtn5, *BitBtn2, *BitBtn4, *Suiv, *Prec;
    QDateTimeEdit *Date;
    QTimeEdit *H1, *H2, *H3, *H4;
    QCheckBox *FJ, *PDej, *Dej, *Gout, *Din, *Ferie;
};
