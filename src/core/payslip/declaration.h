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

// The eight figures' labels, in the order the figures come.
const QStringList &declarationLabels();

// The figures of the month the slip shows, on its basis.
Declaration declarationFor(const SlipInput &in, const SlipResult &slip, bool grossBasis);

// Every figure as a "label<TAB>value" line, for pasting in one go.
QString declarationText(const Declaration &d);

// An amount as the form takes it: "1234,56", "-3,10".
QString declarationAmount(Money amount);

// The month's days of activity: dated days with hours worked or a flat rate.
int activityDays(const SlipInput &in);

// The whole number of hours the service takes: the month's decimal hours
// rounded half up (80.49 gives 80, 80.5 gives 81).
qint64 declaredHours(Money hours);
