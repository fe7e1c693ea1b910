#include "archive/slipsave.h"

#include "common/errors.h"
#include "payslip/slippicture.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <memory>

QString slipPdfPath(const QString &picturePath)
{
    QString path = picturePath;
    if (path.endsWith(QLatin1String(".jpg")))
        path.chop(4);
    return path + QStringLiteral(".pdf");
}

namespace {
// A file about to be replaced, with what it held, so that it can be put back.
struct Replaced {
    QString path;
    std::optional<QByteArray> before;
    bool done = false;

    explicit Replaced(const QString &p) : path(p)
    {
        QFile f(p);
        if (f.exists() && f.open(QIODevice::ReadOnly))
            before = f.readAll();
    }
    // Best effort: runs while a save is already failing.
    void undo() noexcept
    {
        if (!done)
            return;
        if (!before) {
            QFile::remove(path);
            return;
        }
        QSaveFile f(path);
        if (f.open(QIODevice::WriteOnly) && f.write(*before) == before->size())
            f.commit();
    }
};
} // namespace

void saveSlip(const QString &programFolder, const SlipSave &save)
{
    const QString pdfPath = slipPdfPath(save.picturePath);
    PendingSlipPicture picture(save.picturePath);
    PendingSlipPicture pdf(pdfPath);
    picture.write(save.jpeg);
    pdf.write(save.pdf);

    std::unique_ptr<SlipArchive> archive;
    if (save.row) {
        archive = std::make_unique<SlipArchive>(programFolder + SlipArchive::fileName());
        archive->begin();
    }
    Replaced oldPicture(save.picturePath), oldPdf(pdfPath);
    try {
        if (archive)
            archive->put(*save.row);
        picture.commit();
        oldPicture.done = true;
        pdf.commit();
        oldPdf.done = true;
        if (archive)
            archive->commit();
    } catch (...) {
        if (archive)
            archive->rollback();
        oldPdf.undo();
        oldPicture.undo();
        throw;
    }
}
