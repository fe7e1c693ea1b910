#pragma once
// A child's year of slips for the tax return: one row per month the program
// knows something of, the year's totals, and the figure of the childcare tax
// credit (net salaries plus maintenance allowances; meal allowances are not
// part of it). Everything is whole cents, so the totals are exact.

#include "archive/sliparchive.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct SummaryMonth {
    enum class Kind {
        Archived,    // the slip's figures are in the archive
        PictureOnly, // only its picture: saved before the archive existed
        ToDo,        // days were entered, but no slip was saved
    };
    int month = 0; // 1 to 12
    Kind kind = Kind::Archived;
    bool daysStored = false; // the child's table holds days of the month
    std::optional<ArchivedSlip> slip; // set for Archived
};

struct YearTotals {
    qint64 hours = 0;                                  // hundredths of an hour
    qint64 complementaryHours = 0, majoratedHours = 0; // of contract months, hundredths
    int activityDays = 0;
    qint64 salnet = 0, Cong = 0, entret = 0, nour = 0, net = 0; // cents
};

struct YearSummary {
    int slot = 0;
    int year = 0;
    QString firstName;
    QList<SummaryMonth> months; // in month order
    YearTotals totals;          // over the archived months
    // Why the archive could not be read, or "": the months with days or a
    // picture are still shown, but no total and no amount to declare.
    QString archiveError;

    // Net salaries of the year plus maintenance allowances, in cents.
    qint64 taxCreditBase() const { return totals.salnet + totals.entret; }
    QList<int> monthsOf(SummaryMonth::Kind kind) const;
};

// The summary from what was found: the archived rows of the year, the months
// with day records, and the months whose picture is in bulljpg/. A month
// with a row is archived; one with a picture but no row is "image seule";
// one with days but neither is missing.
YearSummary buildYearSummary(int slot, int year, const QString &firstName, const QList<ArchivedSlip> &archived,
                             const QList<int> &monthsWithDays, const QList<int> &monthsWithPicture);

// The summary of a child's year from the program folder (ending with "/"):
// Bulletins.db (not created when absent), the child's day table and the
// pictures named after `firstName` in bulljpg/. An empty first name is the
// one of the child's latest archived slip. An archive that cannot be read
// is said in `archiveError`, not raised.
YearSummary loadYearSummary(const QString &programFolder, int slot, const QString &firstName, int year);

// The years worth offering for a child: those of its archived slips, the
// current year and the one before (the year a spring tax return is about).
QList<int> summaryYears(const QString &programFolder, int slot, int currentYear);
// The latest year with an archived slip of the child; none without one.
std::optional<int> latestSlipYear(const QString &programFolder, int slot);

// Hundredths of an hour as French text: "120,50".
QString hoursText(qint64 hundredths);
// "Mars 2002"
QString monthTitle(int month, int year);
// "archivé", "image seule", "à faire"
QString kindText(SummaryMonth::Kind kind);

// The table's column titles, shared by the window, the CSV and the PDF.
const QStringList &summaryColumns();
// One table row per month, then the total row, each as the column texts.
QList<QStringList> summaryTable(const YearSummary &s);

// The figures a parent copies into the tax return for the childcare credit,
// as label and amount text, and the note that goes with them.
struct TaxFigure {
    QString label;
    QString value;
};
QList<TaxFigure> taxReturnFigures(const YearSummary &s);
QString taxReturnNote(const YearSummary &s);

// The table as CSV the way French spreadsheets open it: UTF-8 with its byte
// order mark, ";" between fields, decimal comma, CR LF line ends. `figures`
// (the tax credit's) follow the table after an empty line, one
// "label;amount" row each.
QByteArray summaryCsv(const YearSummary &s, const QList<TaxFigure> &figures = {});
