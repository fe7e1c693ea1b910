#include "jpegcodec.h"

#include "common/errors.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h wants FILE declared first
#include <cstdlib>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace {
// The library reports a fatal error by calling error_exit, which must not
// return. It jumps back to the function that started the work; only plain C
// data lives between the two, so no destructor is skipped.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf back;
};

[[noreturn]] void jumpBack(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorManager *>(cinfo->err)->back, 1); }

// Warnings (a truncated file) stay quiet: the picture is still shown.
void noOutput(j_common_ptr) {}

void useErrorManager(ErrorManager &err)
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = jumpBack;
    err.pub.output_message = noOutput;
}

// Rows handed to the library at a time: one call per MCU row of 16 lines.
constexpr int RowBatch = 16;

// Returns 0, or the library's message number of the error that stopped it.
int compress(const QImage &rgb, unsigned char **buffer, unsigned long *size)
{
    jpeg_compress_struct cinfo;
    ErrorManager err;
    cinfo.err = &err.pub;
    useErrorManager(err);
    if (setjmp(err.back)) {
        const int code = err.pub.msg_code;
        jpeg_destroy_compress(&cinfo);
        return code;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, buffer, size);
    cinfo.image_width = JDIMENSION(rgb.width());
    cinfo.image_height = JDIMENSION(rgb.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    cinfo.dct_method = JDCT_FLOAT;
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    JSAMPROW rows[RowBatch];
    while (cinfo.next_scanline < cinfo.image_height) {
        const JDIMENSION first = cinfo.next_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(RowBatch, cinfo.image_height - first);
        for (JDIMENSION k = 0; k < count; ++k)
            rows[k] = const_cast<JSAMPROW>(rgb.constScanLine(int(first + k)));
        jpeg_write_scanlines(&cinfo, rows, count);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return 0;
}

// The largest picture decoded: 256 MiB of pixels, far beyond any slip (a
// slip is under 2 MiB), and short of what a forged header could make us
// allocate.
constexpr qint64 MaxPictureBytes = qint64(256) << 20;
// The library's own working memory beside the picture. A progressive or
// multi-scan file keeps every coefficient of every component until its last
// scan (two bytes a sample, up to ten components): a header within the
// picture limit may still ask for more than this, and is then refused.
constexpr long MaxLibraryBytes = 768L << 20;

// Returns 0, -1 when the picture is too large to hold, or the library's
// message number of the error that stopped it.
int decompress(const QByteArray &file, QImage *out)
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    cinfo.err = &err.pub;
    useErrorManager(err);
    if (setjmp(err.back)) {
        const int code = err.pub.msg_code;
        jpeg_destroy_decompress(&cinfo);
        // Memory refused by the limit above, or by the system.
        return code == JERR_NO_BACKING_STORE || code == JERR_OUT_OF_MEMORY ? -1 : code;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = MaxLibraryBytes;
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char *>(file.constData()),
                 static_cast<unsigned long>(file.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    // Judged on the header, before the library sets up its buffers: starting
    // the decompression already allocates for the whole picture.
    if (qint64(cinfo.image_width) * cinfo.image_height * 3 > MaxPictureBytes) {
        jpeg_destroy_decompress(&cinfo);
        return -1;
    }
    jpeg_start_decompress(&cinfo);
    *out = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGB888);
    if (out->isNull()) {
        jpeg_destroy_decompress(&cinfo);
        return -1;
    }
    JSAMPROW rows[RowBatch];
    while (cinfo.output_scanline < cinfo.output_height) {
        const JDIMENSION first = cinfo.output_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(RowBatch, cinfo.output_height - first);
        for (JDIMENSION k = 0; k < count; ++k)
            rows[k] = out->scanLine(int(first + k));
        jpeg_read_scanlines(&cinfo, rows, count);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return 0;
}
} // namespace

QByteArray encodeJpeg(const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    const int code = compress(rgb, &buffer, &size);
    QByteArray file;
    if (code == 0)
        file = QByteArray(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer); // the library's memory destination allocates with malloc
    if (code != 0)
        throw RuntimeError(rtl::jpegError(code));
    return file;
}

QImage decodeJpeg(const QByteArray &file)
{
    QImage picture;
    const int code = decompress(file, &picture);
    if (code == -1)
        throw RuntimeError(rtl::outOfMemory());
    if (code != 0)
        throw RuntimeError(rtl::jpegError(code));
    return picture;
}
