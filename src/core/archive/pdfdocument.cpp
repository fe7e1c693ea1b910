#include "archive/pdfdocument.h"

#include "common/errors.h"

#include <QPageLayout>
#include <QPageSize>

PdfPage::PdfPage(const QString &title) : m_buffer(&m_bytes)
{
    m_buffer.open(QIODevice::WriteOnly);
    m_writer = std::make_unique<QPdfWriter>(&m_buffer);
    m_writer->setPageSize(QPageSize(QPageSize::A4));
    m_writer->setPageOrientation(QPageLayout::Portrait);
    m_writer->setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    m_writer->setResolution(Resolution);
    m_writer->setTitle(title);
    m_writer->setCreator(QStringLiteral("Berlivo Paye"));
    if (!painter.begin(m_writer.get()))
        throw RuntimeError(rtl::pdfPageFailed());
}

QRect PdfPage::area() const { return QRect(QPoint(0, 0), m_writer->pageLayout().paintRectPixels(Resolution).size()); }

QByteArray PdfPage::finish()
{
    if (!painter.end())
        throw RuntimeError(rtl::pdfPageFailed());
    m_writer.reset();
    return m_bytes;
}
