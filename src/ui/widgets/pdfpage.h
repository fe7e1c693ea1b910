#pragma once
// One-page PDFs, A4 portrait, drawn as vector text and lines: searchable,
// and sharp whatever the printer. Built in memory, so that the caller
// writes the file together with whatever else must land with it.

#include <QByteArray>
#include <QString>

#include <QList>

class QWidget;
struct YearSummary;
struct TaxFigure;

// The window as drawn on screen (its background, then every child control),
// painted through the PDF engine rather than captured as pixels, and scaled
// to the width of the page's printable area (or its height, for a tall one).
QByteArray windowPdf(QWidget *window, const QString &title);

// The year's table, its totals and the tax-return figures on one page,
// `credit` (the tax credit's figures) after them.
QByteArray yearSummaryPdf(const YearSummary &summary, const QList<TaxFigure> &credit = {});
