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

QString workCertificate(const QString &firstName)
{
    return pictures + QLatin1Char('/') + firstName + QStringLiteral(" certificat de travail.pdf");
}

QString finalReceipt(const QString &firstName)
{
    return pictures + QLatin1Char('/') + firstName + QStringLiteral(" reçu pour solde de tout compte.pdf");
}

bool staysInFolder(const QString &part)
{
    return !part.contains(QLatin1Char('/')) && !part.contains(QLatin1Char('\\')) && part != QLatin1String(".") &&
           part != QLatin1String("..");
}

} // namespace folder
