#include "Heures.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimeEdit>

THoraire::THoraire(QWidget *parent) : Form("THoraire", parent)
{
    setWindowTitle(QStringLiteral("Calcul des heures..."));
    StringGrid1 = named<QTableWidget>(this, "StringGrid1");
    StringGrid1->setColumnCount(13);
    StringGrid1->setRowCount(32);
    totheur = named<QLabel>(this, "totheur");
    totfj = named<QLabel>(this, "totfj");
    moan = named<QLabel>(this, "moan");
    moan->setText(QStringLiteral("moan"));
    selenf = named<QLineEdit>(this, "selenf");
    BitBtn3 = named<QPushButton>(this, "BitBtn3");
    BitBtn5 = named<QPushButton>(this, "BitBtn5");
    BitBtn2 = named<QPushButton>(this, "BitBtn2");
    BitBtn4 = named<QPushButton>(this, "BitBtn4");
    Suiv = named<QPushButton>(this, "Suiv");
    Prec = named<QPushButton>(this, "Prec");
    Date = named<QDateTimeEdit>(this, "Date");
    H1 = named<QTimeEdit>(this, "H1");
    H2 = named<QTimeEdit>(this, "H2");
    H3 = named<QTimeEdit>(this, "H3");
    H4 = named<QTimeEdit>(this, "H4");
    FJ = named<QCheckBox>(this, "FJ");
    PDej = named<QCheckBox>(this, "PDej");
    Dej = named<QCheckBox>(this, "Dej");
    Gout = named<QCheckBox>(this, "Gout");
    Din = named<QCheckBox>(this, "Din");
    Ferie = named<QCheckBox>(this, "Ferie");
}

QString THoraire::cell(int col, int row) const
{
    const auto *item = StringGrid1->item(row, col);
    return item ? item->text() : QString();
}
