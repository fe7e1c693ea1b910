#pragma once
// The month's declaration figures: what a parent types each month into the
// online declaration service for a registered childminder, derived from the
// same inputs and result as the slip (never from window texts), written as
// that service's form takes them: a decimal comma, no thousands separator,
// no currency sign.

#include "payslip/slip.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct DeclarationFigure {
    QString label;  // "Nombre d'heures normales", ...
    QString value;  // exactly what the form takes
    QString detail; // a reference shown beside it (the exact hours), or ""
};

struct Declaration {
    QString childName;
    QList<DeclarationFigure> figures;
    // Why there are no figures (no validated month, a slip that stopped on a
    // bad text, a month without pay); empty when there are.
    QString failure;
    bool complete() const { return failure.isEmpty(); }
};

// The hours and days of a regular contract's month that the declaration
// and the archive take from the contract rather than from the month sheet.
struct ContractHours {
    qint64 mensualisedTwelfths = 0; // M x 12, in minutes
    qint64 deductedMinutes = 0;     // A
    qint64 complementaryMinutes = 0;
    qint64 majoratedMinutes = 0;
    int plannedWeekdays = 0; // weekdays of the week with planned hours
    int weeksPerYear = 0;    // N
    int deductedDays = 0;    // planned days taken out of the base this month
    int leaveDays = 0;       // days of paid leave paid this month on top of the base
    int weeklyMinutes = 0;   // H

    // M - A, exactly, in twelfths of a minute, never below 0 (a month wholly
    // absent can plan more hours than the mensualised M); with the hours of
    // the paid leave paid on top of the base, days / 6 x H.
    qint64 normalTwelfths() const;
    // The weekdays with planned hours x N / 12 rounded up, less the deducted
    // days, never below 0.
    int activityDays() const;

    friend bool operator==(const ContractHours &, const ContractHours &) = default;
};

// Twelfths of a minute (the exact unit of mensualised hours) in hundredths
// of an hour, rounded half away from zero.
qint64 hundredthsOfTwelfths(qint64 twelfths);
// The same in whole hours, half up: what the online service takes.
qint64 wholeHoursOfTwelfths(qint64 twelfths);

// The figures' labels, in the order the figures come: eight for a month paid
// by the hour, ten for a contract's month, and after its days of activity
// the days of paid leave in a month that pays some on top of the base.
const QStringList &declarationLabels();
const QStringList &contractDeclarationLabels();
const QString &leaveDaysLabel();

// The figures of the month the slip shows, on its basis; with `contract`, a
// regular contract's month (its hours and days from the contract).
Declaration declarationFor(const SlipInput &in, const SlipResult &slip, bool grossBasis,
                           const std::optional<ContractHours> &contract = std::nullopt);

// Every figure as a "label<TAB>value" line, for pasting in one go.
QString declarationText(const Declaration &d);

// An amount as the form takes it: "1234,56", "-3,10".
QString declarationAmount(Money amount);

// The month's days of activity: dated days with hours worked or a flat rate.
int activityDays(const SlipInput &in);

// The whole number of hours the service takes: the month's decimal hours
// rounded half up (80.49 gives 80, 80.5 gives 81).
qint64 declaredHours(Money hours);
