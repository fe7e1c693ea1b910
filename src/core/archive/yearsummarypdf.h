#pragma once
// The year summary as a one-page PDF: the year's table, its totals and the
// tax-return figures, as the year summary window exports it.

#include <QByteArray>

struct YearSummary;

QByteArray yearSummaryPdf(const YearSummary &summary);
