#pragma once
// The year summary as a one-page PDF: the year's table, its totals and the
// tax-return figures, as the year summary window exports it.

#include <QByteArray>
#include <QList>

struct YearSummary;
struct TaxFigure;

// `credit`, the tax credit's figures, come after the tax-return figures.
QByteArray yearSummaryPdf(const YearSummary &summary, const QList<TaxFigure> &credit = {});
