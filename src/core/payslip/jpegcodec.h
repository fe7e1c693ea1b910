#pragma once
// JPEG pictures through the libjpeg-turbo C API, both ways.
//
// The saved slips are encoded with fixed settings: the library's defaults,
// then the floating-point DCT and quality 90 with baseline-compatible
// quantisation tables, three-component RGB from a 24-bit picture, sequential,
// full size. The result is byte for byte what `cjpeg -quality 90 -dct float
// -baseline` makes of the same pixels.
//
// A fatal library error is raised as "Erreur JPEG #%d" with the library's
// message number (jerror.h): a file that is not a JPEG fails while its header
// is read (JERR_NO_SOI), an empty one with JERR_INPUT_EMPTY. A truncated file
// is no error: the library only warns and the missing rows come out grey.

#include <QByteArray>
#include <QImage>

// The picture as a JFIF file. Any picture format is first brought to 24 bits
// per pixel; a picture without pixels raises the library's error.
QByteArray encodeJpeg(const QImage &picture);

// The picture a JPEG file holds, as 24-bit RGB (a greyscale file too). A
// picture too large to hold in memory raises "Mémoire insuffisante".
QImage decodeJpeg(const QByteArray &file);
