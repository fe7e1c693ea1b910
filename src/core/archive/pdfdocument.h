#pragma once
// A one-page PDF, A4 portrait, drawn as vector text and lines: searchable,
// and sharp whatever the printer. Built in memory, so that the caller writes
// the file together with whatever else must land with it.

#include <QBuffer>
#include <QByteArray>
#include <QPainter>
#include <QPdfWriter>
#include <QRect>
#include <QString>
#include <memory>

class PdfPage {
public:
    // Dots per inch of the page's coordinates; fonts keep their point sizes.
    static constexpr int Resolution = 600;

    // Raises "Impossible de préparer la page PDF." when the page cannot be painted on.
    explicit PdfPage(const QString &title);
    PdfPage(const PdfPage &) = delete;
    PdfPage &operator=(const PdfPage &) = delete;

    // The printable area, in the painter's coordinates (its origin is the area's corner).
    QRect area() const;
    // Ends the painting and gives the file's bytes; raises as the constructor does.
    QByteArray finish();

private:
    QByteArray m_bytes;
    QBuffer m_buffer;
    std::unique_ptr<QPdfWriter> m_writer;

public:
    // Last, so that a page abandoned half-way ends its painting before its writer goes.
    QPainter painter;
};
