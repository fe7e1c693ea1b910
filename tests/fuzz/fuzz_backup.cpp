// A backup the user picks to restore: a real one, one whose manifest was
// edited, one cut short, or any file named ".zip". Checking it reads the
// archive whole; it must either say what the backup holds, with only names
// that stay inside the program folder, or refuse it with a RuntimeError.

#include "fuzzcheck.h"

#include "common/errors.h"
#include "datafolder/backup.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = fuzzProgramFolder() + QStringLiteral("sauvegarde.zip");
    writeInputFile(path, bytesOf(data, size));
    try {
        const backup::Contents c = backup::check(path);
        FUZZ_CHECK(QSet<QString>(c.files.begin(), c.files.end()).size() == c.files.size());
        FUZZ_CHECK(c.bytes >= 0);
        for (const QString &name : c.files) {
            FUZZ_CHECK(!name.isEmpty() && !name.startsWith(QLatin1Char('/')));
            FUZZ_CHECK(!name.split(QLatin1Char('/')).contains(QStringLiteral("..")));
        }
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(!e.message().isEmpty());
    }
    return 0;
}
