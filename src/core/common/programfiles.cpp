#include "common/programfiles.h"

#include "common/counts.h"

namespace folder {

QString dayTable(int slot)
{
    return slot >= 1 && slot <= ChildCount ? QStringLiteral("Enf%1.db").arg(slot) : QString();
}

QString slipPicture(const QString &firstName, const QString &monthKey)
{
    return pictures + QLatin1Char('/') + firstName + monthKey + QStringLiteral(".jpg");
}

namespace {
// Two children of the same first name, or a child without one, still get
// documents of their own.
QString childOf(int slot, const QString &firstName)
{
    return firstName.isEmpty() ? QStringLiteral("Enfant %1").arg(slot)
                               : QStringLiteral("%1 (enfant %2)").arg(firstName).arg(slot);
}
} // namespace

QString workCertificate(int slot, const QString &firstName)
{
    return pictures + QLatin1Char('/') + childOf(slot, firstName) + QStringLiteral(" certificat de travail.pdf");
}

QString finalReceipt(int slot, const QString &firstName)
{
    return pictures + QLatin1Char('/') + childOf(slot, firstName) +
           QStringLiteral(" reçu pour solde de tout compte.pdf");
}

bool staysInFolder(const QString &part)
{
    return !part.contains(QLatin1Char('/')) && !part.contains(QLatin1Char('\\')) && part != QLatin1String(".") &&
           part != QLatin1String("..");
}

} // namespace folder
