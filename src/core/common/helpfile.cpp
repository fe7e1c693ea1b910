#include "helpfile.h"

#include "environment.h"
#include "programfiles.h"

#include <QDir>
#include <QStandardPaths>

namespace {
QString &cacheOverride()
{
    static QString f;
    return f;
}
} // namespace

QString helpFilePath() { return QDir::cleanPath(helpFolder() + folder::helpFile); }

QString helpCacheFolder()
{
    if (!cacheOverride().isEmpty())
        return QDir::cleanPath(QDir(cacheOverride()).absolutePath());
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + '/' + folder::help);
}

void setHelpCacheFolder(const QString &folder) { cacheOverride() = folder; }

bool viewerIsRecentEnough(const std::optional<ViewerVersion> &version)
{
    if (!version)
        return false;
    return version->major > 4 || (version->major == 4 && version->minor >= 73);
}
