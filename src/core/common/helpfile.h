#pragma once
// Where the help lies, and whether the help viewer can show it.

#include <QString>
#include <QtGlobal>
#include <optional>

// The compiled help, in the folder "Aide" of the program folder, as a full path.
QString helpFilePath();

// The folder where the help viewer keeps its own collection and search index:
// the program folder may be read-only once installed. Tests point it elsewhere;
// an empty path restores the user's cache folder.
QString helpCacheFolder();
void setHelpCacheFolder(const QString &folder);

// The version the help viewer layer reports about itself.
struct ViewerVersion {
    quint16 major = 0;
    quint16 minor = 0;
};

// A viewer that could not be loaded (no version) or older than 4.73 cannot be
// relied on to show the help.
bool viewerIsRecentEnough(const std::optional<ViewerVersion> &version);
