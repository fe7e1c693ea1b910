#pragma once
// A window as a one-page PDF (the page itself: archive/pdfdocument.h).

#include <QByteArray>
#include <QString>

class QWidget;

// The window as drawn on screen (its background, then every child control),
// painted through the PDF engine rather than captured as pixels, and scaled
// to the width of the page's printable area (or its height, for a tall one).
QByteArray windowPdf(QWidget *window, const QString &title);
