#include "slippicture.h"

#include "jpegcodec.h"
#include "common/errors.h"
#include "common/programfiles.h"
#include "settings/wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cmath>

QString slipPicturePath(const QString &programFolder, const QString &firstName, const QString &monthKey)
{
    QString path = programFolder + folder::slipPicture(firstName, monthKey);
    if (!folder::staysInFolder(firstName) || !folder::staysInFolder(monthKey))
        throw RuntimeError(rtl::cannotCreateFile(path));
    return path;
}

PendingSlipPicture::PendingSlipPicture(const QString &path) : m_path(path), m_file(path) {}

namespace {
QString writeFailure(int error, const QString &path)
{
    return error == ENOSPC || error == EDQUOT || error == EFBIG ? rtl::diskFull() : rtl::cannotCreateFile(path);
}
} // namespace

void PendingSlipPicture::write(const QByteArray &jpeg)
{
    // A save into a missing folder must fail, not fall back to writing the
    // final file in place.
    m_file.setDirectWriteFallback(false);
    // The rename would quietly replace a picture marked read-only, and for
    // root the save file's own check lets it through: refused here for all.
    if (isMarkedReadOnly(m_path) || !m_file.open(QIODevice::WriteOnly))
        throw RuntimeError(rtl::cannotCreateFile(m_path));
    errno = 0;
    if (m_file.write(jpeg) != jpeg.size() || !m_file.flush()) {
        const int error = errno;
        m_file.cancelWriting();
        throw RuntimeError(writeFailure(error, m_path));
    }
}

void PendingSlipPicture::commit()
{
    errno = 0;
    if (!m_file.commit())
        throw RuntimeError(writeFailure(errno, m_path));
}

void saveSlipPicture(const QString &path, const QImage &picture)
{
    PendingSlipPicture file(path);
    file.write(encodeJpeg(picture));
    file.commit();
}

QImage loadSlipPicture(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot + 1);
    if (extension.compare(QLatin1String("jpg"), Qt::CaseInsensitive) != 0 &&
        extension.compare(QLatin1String("jpeg"), Qt::CaseInsensitive) != 0)
        throw RuntimeError(rtl::unknownPictureExtension(extension));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(rtl::cannotOpenFile(path));
    return decodeJpeg(file.readAll());
}

QSize fittedPictureSize(QSize picture, QSize area)
{
    const int w = picture.width(), h = picture.height();
    const int aw = area.width(), ah = area.height();
    if (w <= aw && h <= ah)
        return picture;
    const long double r = static_cast<long double>(w) / h;
    const auto cut = [](long double x) { return static_cast<int>(std::trunc(x)); };
    if (w > h) {
        QSize s(aw, cut(aw / r));
        return s.height() > ah ? QSize(cut(r * ah), ah) : s;
    }
    QSize s(cut(r * ah), ah);
    return s.width() > aw ? QSize(aw, cut(aw / r)) : s;
}

namespace {
// n × num ÷ den rounded to the nearest integer, halves away from zero, with
// a 64-bit product so large pictures on fine printers do not overflow.
int scaled(int n, int num, int den)
{
    if (den <= 0)
        return 0;
    const qint64 p = qint64(n) * num;
    const qint64 q = (2 * (p < 0 ? -p : p) + den) / (2 * qint64(den));
    return int(p < 0 ? -q : q);
}
} // namespace

QSize printedPictureSize(QSize picture, int printerDpiX, int printerDpiY, int screenDpiX, int screenDpiY)
{
    return {scaled(picture.width(), printerDpiX, screenDpiX), scaled(picture.height(), printerDpiY, screenDpiY)};
}
