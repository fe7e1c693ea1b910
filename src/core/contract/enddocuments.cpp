#include "contract/enddocuments.h"

#include "archive/pdfdocument.h"
#include "common/environment.h"
#include "common/errors.h"
#include "common/programfiles.h"
#include "settings/paramrecord.h"

#include <QFont>
#include <QPainter>
#include <QPen>
#include <QRegularExpression>

namespace contract {

namespace {
QString joined(const QStringList &parts)
{
    QStringList kept;
    for (const QString &s : parts)
        if (!s.trimmed().isEmpty())
            kept << s.trimmed();
    return kept.join(QLatin1Char(' '));
}

// "Madame Anne Durand": the party's title and name, without the missing parts.
QString named(const party::Party &p) { return joined({p.title, p.firstName, p.surname}); }

QString address(const party::Party &p) { return joined({p.address1, p.address2, p.postcode, p.town}); }

// The childminder's social security number; the number's mask leaves its
// separators in a field never filled in, which says no number.
QString secu(const party::Party &p)
{
    const QString n = p.number.trimmed();
    return n.contains(QRegularExpression(QStringLiteral("[0-9]"))) ? n : QString();
}

// ", demeurant <address>", or nothing when the parameters give no address.
QString residing(const QString &address)
{
    return address.isEmpty() ? QString() : QStringLiteral(", demeurant %1").arg(address);
}

// Writes paragraphs down the page, one under the other.
class Writer {
public:
    Writer(QPainter &p, const QRect &area, int dpi) : m_p(p), m_area(area), m_mm(dpi * 10 / 254), m_y(area.top())
    {
        m_font = QFont(QStringLiteral("Liberation Serif"));
        m_p.setPen(QPen(Qt::black, dpi / 200.0));
    }
    int mm() const { return m_mm; }
    void title(const QString &text)
    {
        QFont f = m_font;
        f.setPointSizeF(16);
        f.setBold(true);
        m_p.setFont(f);
        m_p.drawText(QRect(m_area.left(), m_y, m_area.width(), 12 * m_mm), Qt::AlignCenter, text);
        m_y += 20 * m_mm;
    }
    void paragraph(const QString &text, bool bold = false, int indent = 0)
    {
        QFont f = m_font;
        f.setPointSizeF(11);
        f.setBold(bold);
        m_p.setFont(f);
        const QRect room(m_area.left() + indent, m_y, m_area.width() - indent, m_area.bottom() - m_y);
        const QRect used = m_p.boundingRect(room, Qt::AlignLeft | Qt::TextWordWrap, text);
        m_p.drawText(room, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
        m_y += used.height() + 4 * m_mm;
    }
    // A caption on the left, its amount on the right.
    void amountLine(const QString &caption, const QString &value, bool bold)
    {
        QFont f = m_font;
        f.setPointSizeF(11);
        f.setBold(bold);
        m_p.setFont(f);
        const int h = 7 * m_mm, left = m_area.left() + 10 * m_mm, width = m_area.width() - 20 * m_mm;
        m_p.drawText(QRect(left, m_y, width * 3 / 4, h), Qt::AlignLeft | Qt::AlignVCenter, caption);
        m_p.drawText(QRect(left + width * 3 / 4, m_y, width / 4, h), Qt::AlignRight | Qt::AlignVCenter, value);
        if (bold)
            m_p.drawLine(left, m_y, left + width, m_y);
        m_y += h;
    }
    void space(int millimetres) { m_y += millimetres * m_mm; }
    // A signature box under each caption given, side by side.
    void signatures(const QString &left, const QString &right)
    {
        const int w = (m_area.width() - 10 * m_mm) / 2, h = 30 * m_mm;
        QFont f = m_font;
        f.setPointSizeF(10);
        m_p.setFont(f);
        int x = m_area.left();
        for (const QString &caption : {left, right}) {
            if (caption.isEmpty())
                continue;
            m_p.drawText(QRect(x, m_y, w, 12 * m_mm), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, caption);
            m_p.drawRect(QRect(x, m_y + 12 * m_mm, w, h));
            x += w + 10 * m_mm;
        }
        m_y += 12 * m_mm + h;
    }

private:
    QPainter &m_p;
    QRect m_area;
    int m_mm;
    int m_y;
    QFont m_font;
};

const QString certificateTitle = QStringLiteral("Certificat de travail");
const QString receiptTitle = QStringLiteral("Reçu pour solde de tout compte");
} // namespace

EndParties partiesOf(const ParamRecord &r)
{
    return {party::of(r, party::Side::Employer), party::of(r, party::Side::Employee), joined({r.prenom3, r.nom3})};
}

void paintWorkCertificate(QPainter &p, const QRect &area, int dpi, const EndParties &who, const Contract &c,
                          QDate madeOn)
{
    Writer w(p, area, dpi);
    w.title(certificateTitle.toUpper());
    w.paragraph(QStringLiteral("Je soussigné(e), %1%2, particulier employeur, certifie avoir employé :")
                    .arg(named(who.employer), residing(address(who.employer))));
    const QString secuNumber = secu(who.employee);
    w.paragraph(named(who.employee) + residing(address(who.employee)) +
                    (secuNumber.isEmpty() ? QString() : QStringLiteral(", n° de sécurité sociale %1").arg(secuNumber)),
                true, 10 * w.mm());
    w.paragraph(QStringLiteral("en qualité de « %1 », pour l'accueil de l'enfant %2,").arg(minderJob, who.child));
    w.paragraph(QStringLiteral("du %1 (premier jour) au %2 (dernier jour).")
                    .arg(shortDate(c.first), shortDate(contractEndDate(c))),
                true);
    w.paragraph(QStringLiteral("%1 quitte son emploi libre de tout engagement.").arg(named(who.employee)));
    w.space(6);
    w.paragraph(QStringLiteral("Fait à %1, le %2.").arg(who.employer.town.trimmed(), shortDate(madeOn)));
    w.space(4);
    w.signatures(QStringLiteral("Signature de l'employeur"), QString());
}

void paintFinalReceipt(QPainter &p, const QRect &area, int dpi, const EndParties &who, const Contract &c,
                       const EndOfContract &end)
{
    Writer w(p, area, dpi);
    w.title(receiptTitle.toUpper());
    w.paragraph(QStringLiteral("Je soussignée, %1%2, %3, reconnais avoir reçu de %4%5, pour solde de tout compte "
                               "de mon contrat de travail du %6 au %7 (accueil de l'enfant %8), les sommes "
                               "suivantes :")
                    .arg(named(who.employee), residing(address(who.employee)), minderJob, named(who.employer),
                         residing(address(who.employer)), shortDate(c.first), shortDate(contractEndDate(c)),
                         who.child));
    const QList<EndLine> lines = receiptLines(end);
    for (qsizetype i = 0; i < lines.size(); ++i)
        w.amountLine(lines[i].caption, lines[i].value, i + 1 == lines.size());
    w.space(4);
    w.paragraph(QStringLiteral("Le salaire du dernier mois est payé par son bulletin. Ce reçu est établi en deux "
                               "exemplaires, dont un m'a été remis. Il peut être dénoncé dans les six mois qui "
                               "suivent sa signature."));
    w.paragraph(QStringLiteral("Fait à ........................................, le ........................"));
    w.space(4);
    w.signatures(QStringLiteral("Signature de l'employeur"),
                 QStringLiteral("Signature de l'assistante maternelle, précédée de « Pour solde de tout compte »"));
}

QString endDocumentPath(const QString &programFolder, EndDocument which, int slot, const QString &firstName)
{
    QString path = programFolder + (which == EndDocument::Certificate ? folder::workCertificate(slot, firstName)
                                                                      : folder::finalReceipt(slot, firstName));
    if (!folder::staysInFolder(firstName))
        throw RuntimeError(rtl::cannotCreateFile(path));
    return path;
}

QString endDocumentTitle(EndDocument which)
{
    return which == EndDocument::Certificate ? certificateTitle : receiptTitle;
}

QByteArray workCertificatePdf(const EndParties &parties, const Contract &c, QDate madeOn)
{
    PdfPage page(certificateTitle + QStringLiteral(" - ") + named(parties.employee));
    paintWorkCertificate(page.painter, page.area(), PdfPage::Resolution, parties, c, madeOn);
    return page.finish();
}

QByteArray finalReceiptPdf(const EndParties &parties, const Contract &c, const EndOfContract &end)
{
    PdfPage page(receiptTitle + QStringLiteral(" - ") + named(parties.employee));
    paintFinalReceipt(page.painter, page.area(), PdfPage::Resolution, parties, c, end);
    return page.finish();
}

} // namespace contract
