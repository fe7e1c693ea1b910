#pragma once
// The default printer as a queue of the cups-pdf backend, and what a printed
// PDF holds: shared by the window tests that print a slip.

#include "pictures.h"
#include "testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QTest>
#include <algorithm>

inline const QByteArray TestQueue = "BerlivoPDF";

// The test's queue made this process's default printer, when it is a queue
// of the cups-pdf backend: its name and the folder its PDF files land in
// (from its own cups-pdf settings).
struct PdfQueue {
    QString name, folder, unusable;

    static PdfQueue find()
    {
        PdfQueue q;
        qunsetenv("LPDEST"); // it would come before PRINTER
        qputenv("PRINTER", TestQueue);
        const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
        if (printer.printerName() != QLatin1String(TestQueue)) {
            q.unusable = QStringLiteral("no print queue %1 (scripts/cups-test-queue makes it as root)")
                             .arg(QLatin1String(TestQueue));
            return q;
        }
        q.name = printer.printerName();
        const QString settings = QStringLiteral("/etc/cups/cups-pdf-%1.conf").arg(q.name);
        const QRegularExpression out(QStringLiteral("^Out\\s+(\\S+)"), QRegularExpression::MultilineOption);
        const QRegularExpressionMatch m = out.match(QString::fromUtf8(readBytes(settings)));
        if (!m.hasMatch() || !QFileInfo(m.captured(1)).isDir())
            q.unusable =
                QStringLiteral("the default printer %1 is not a cups-pdf queue with its own output folder").arg(q.name);
        else
            q.folder = m.captured(1);
        return q;
    }
    // The numbers of the jobs the queue remembers, finished or not. CUPS
    // forgets the oldest finished ones past its limit, so new jobs are
    // counted by number, not by how many are listed.
    QList<int> jobIds() const
    {
        QList<int> ids;
        const QRegularExpression id(QStringLiteral("^%1-(\\d+)\\s").arg(QRegularExpression::escape(name)),
                                    QRegularExpression::MultilineOption);
        auto it = id.globalMatch(QString::fromUtf8(runTool("lpstat", {"-W", "all", "-o", name})));
        while (it.hasNext())
            ids << it.next().captured(1).toInt();
        return ids;
    }
    int lastJob() const
    {
        const QList<int> ids = jobIds();
        return ids.isEmpty() ? 0 : *std::max_element(ids.begin(), ids.end());
    }
    int jobsSince(int last) const
    {
        const QList<int> ids = jobIds();
        return int(std::count_if(ids.begin(), ids.end(), [last](int id) { return id > last; }));
    }
    bool idle() const { return runTool("lpstat", {"-o", name}).trimmed().isEmpty(); }
    QStringList pdfs() const { return QDir(folder).entryList({"*.pdf"}, QDir::Files, QDir::Name); }
    // Waits (two minutes at most) for the queue to finish its jobs and hold
    // `expected` PDF files more than `before`; the paths of those that
    // appeared, however many.
    QStringList newPdfs(const QStringList &before, int expected) const
    {
        QStringList added;
        (void)QTest::qWaitFor(
            [&] {
                added.clear();
                for (const QString &f : pdfs())
                    if (!before.contains(f))
                        added << folder + '/' + f;
                return idle() && added.size() >= expected;
            },
            120000);
        return added;
    }
};

// One page of a printed PDF: its count of pages, and the size in pixels and
// the resolution of the pictures on it.
struct PrintedPage {
    int pages = 0;
    QList<QSize> pictures;
    QList<QSizeF> ppi;
};

inline PrintedPage readPdf(const QString &path)
{
    PrintedPage page;
    const QRegularExpression pagesLine(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption);
    page.pages = pagesLine.match(QString::fromUtf8(runTool("pdfinfo", {path}))).captured(1).toInt();
    // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
    const QStringList lines = QString::fromUtf8(runTool("pdfimages", {"-list", path})).split('\n');
    for (const QString &line : lines.mid(2)) {
        const QStringList f = line.simplified().split(' ');
        if (f.size() < 14 || f[2] != QLatin1String("image"))
            continue;
        page.pictures << QSize(f[3].toInt(), f[4].toInt());
        page.ppi << QSizeF(f[12].toDouble(), f[13].toDouble());
    }
    return page;
}
