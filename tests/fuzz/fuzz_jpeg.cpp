// A picture the user opens in the slip viewer: any file named ".jpg", a slip
// the program saved, one cut short by a copy, or something else renamed.
// Loading it must give a picture no larger than the decoder's limit, or stop
// with "Erreur JPEG #%d" or "Mémoire insuffisante"; the viewer then fits it
// to its area.

#include "fuzzcheck.h"

#include "common/errors.h"
#include "payslip/slippicture.h"

#include <QImage>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = fuzzProgramFolder() + QStringLiteral("Julie0302.jpg");
    writeInputFile(path, bytesOf(data, size));
    try {
        const QImage picture = loadSlipPicture(path);
        FUZZ_CHECK(!picture.isNull());
        FUZZ_CHECK(picture.format() == QImage::Format_RGB888);
        FUZZ_CHECK(qint64(picture.width()) * picture.height() * 3 <= qint64(256) << 20);
        const QSize area(705, 789);
        const QSize shown = fittedPictureSize(picture.size(), area);
        FUZZ_CHECK(shown.width() >= 0 && shown.height() >= 0);
        FUZZ_CHECK(shown.width() <= area.width() && shown.height() <= area.height());
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(e.message() == rtl::outOfMemory() || e.message().startsWith(QStringLiteral("Erreur JPEG #")));
    }
    return 0;
}
