#include "fuzzcheck.h"

#include "common/environment.h"

#include <QDir>
#include <QFile>
#include <unistd.h>

QString fuzzProgramFolder()
{
    static const QString folder = [] {
        const char *base = QDir("/dev/shm").exists() ? "/dev/shm" : "/tmp";
        QByteArray pattern = QByteArray(base) + "/berlivo-fuzz-XXXXXX";
        FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
        const QString f = QString::fromLocal8Bit(pattern) + '/';
        setProgramFolder(f);
        // The folder goes when the run ends, crash or not: libFuzzer exits
        // through exit(), and a crash leaves only a few small files.
        std::atexit([] { QDir(fuzzProgramFolder()).removeRecursively(); });
        return f;
    }();
    return folder;
}

void writeInputFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(f.write(bytes) == bytes.size());
}
