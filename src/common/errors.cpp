#include "errors.h"

RuntimeError::RuntimeError(const QString &message)
    : std::runtime_error(message.toStdString()), m_message(message) {}

namespace rtl {
QString notAFloat(const QString &text)
{
    return QStringLiteral("'%1' n'est pas une valeur en virgule flottante correcte").arg(text);
}
QString notAnInteger(const QString &text)
{
    return QStringLiteral("'%1' n'est pas une valeur entière correcte").arg(text);
}
QString cannotOpenFile(const QString &path)
{
    return QStringLiteral("Impossible d'ouvrir le fichier %1").arg(path);
}
QString cannotCreateFile(const QString &path)
{
    return QStringLiteral("Impossible de créer le fichier %1").arg(path);
}
QString readBeyondEnd() { return QStringLiteral("Lecture au-delà de la fin de fichier"); }
QString accessDenied() { return QStringLiteral("Accès au fichier refusé"); }
QString fileNotFound() { return QStringLiteral("Fichier introuvable"); }
QString diskFull() { return QStringLiteral("Disque plein"); }
QString ioError(int code) { return QStringLiteral("Erreur E/S %1").arg(code); }
QString invalidFloatOperation() { return QStringLiteral("Opération en virgule flottante incorrecte"); }

QString ioErrorText(int code)
{
    switch (code) {
    case FileNotFound: return fileNotFound();
    case AccessDenied: return accessDenied();
    case DiskFull: return diskFull();
    case ReadBeyondEnd: return readBeyondEnd();
    default: return ioError(code);
    }
}
} // namespace rtl
