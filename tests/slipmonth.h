#pragma once
// A month entered in the parameters and hours windows, and what poppler
// reads in a PDF: shared by the window tests of the archive and the PDFs.

#include "common/monthkey.h"
#include "widgets/radiogroup.h"
#include "windows/hourswindow.h"
#include "windows/parameterswindow.h"
#include "windows/windowset.h"

#include "shippedrates.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTableWidget>

// What poppler finds in a PDF: its text, or its page count.
inline QString pdfText(const QString &path)
{
    QProcess p;
    p.start("pdftotext", {"-layout", path, "-"});
    return p.waitForFinished(30000) ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}
inline int pdfPages(const QString &path)
{
    QProcess p;
    p.start("pdfinfo", {path});
    if (!p.waitForFinished(30000))
        return -1;
    static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const auto m = pages.match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The hours window as a validation of a month (of 2024 unless said) leaves
// it, on the parameters a slot starts with: 20 days of 8 hours, a lunch each day.
inline void enterMonth(int month, const QString &firstName, int basis = 0, int year = 2024)
{
    TParametres *p = win().Parametres;
    p->prenom3->setText(firstName);
    p->nom3->setText("Martin");
    for (int k = 0; k < ContributionLines; ++k) {
        p->lineName[k]->setText("..........");
        p->netRate[k]->setText(shippedRates().net[size_t(k)]);
        p->grossRate[k]->setText("1.00");
        p->basePercent[k]->setText("100");
    }
    p->SH->setText("3.27");
    p->FJ->setText("30");
    p->SHbr->setText("4.19");
    p->FJbr->setText("0");
    p->Indentr->setText("2");
    p->CheckBox11->setChecked(true);
    p->ETH->setText("0.35");
    for (QLineEdit *e : {p->diverse, p->abs, p->accpte, p->EFJ})
        e->setText("0");
    for (QLineEdit *e : {p->PD, p->D, p->G, p->Sp})
        e->setText("2.5");
    p->Netbrut->setItemIndex(basis);
    QTableWidget *grid = win().Horaire->StringGrid1;
    const auto set = [grid](int col, int row, const QString &text) {
        if (!grid->item(row, col))
            grid->setItem(row, col, new QTableWidgetItem);
        grid->item(row, col)->setText(text);
    };
    for (int day = 1; day <= 31; ++day)
        for (int col = 1; col <= 12; ++col)
            set(col, day, QString());
    for (int day = 1; day <= 20; ++day) {
        set(1, day, QStringLiteral("%1/%2/%3").arg(day, 2, 10, QChar('0')).arg(month, 2, 10, QChar('0')).arg(year));
        set(6, day, "08:00:00");
        set(9, day, "Déj");
    }
    win().Horaire->totheur->setText("160");
    win().Horaire->moan->setText(MonthKey::of(month, year).text());
}
