#pragma once
// The two documents the parent hands the childminder at the end of a
// contract, as one-page French PDFs drawn from the data the program holds:
// the "Certificat de travail" and the "Reçu pour solde de tout compte". Each
// is painted by one function, on a PDF page or on a printer's page alike.

#include "contract/contract.h"
#include "contract/endofcontract.h"
#include "settings/party.h"

#include <QByteArray>
#include <QDate>
#include <QRect>
#include <QString>

class QPainter;
struct ParamRecord;

namespace contract {

// Who the documents name, as the child's parameters hold them.
struct EndParties {
    party::Party employer, employee;
    QString child;
};
EndParties partiesOf(const ParamRecord &record);

// The job the certificate names.
inline const QString minderJob = QStringLiteral("Assistante maternelle agréée");

// `area` is the printable area in the painter's coordinates, `dpi` its dots
// per inch; `madeOn` the day the document is drawn up.
void paintWorkCertificate(QPainter &p, const QRect &area, int dpi, const EndParties &parties, const Contract &c,
                          QDate madeOn);
void paintFinalReceipt(QPainter &p, const QRect &area, int dpi, const EndParties &parties, const Contract &c,
                       const EndOfContract &end);

enum class EndDocument { Certificate, Receipt };
// Where a child's document is saved: beside the saved slips in the program
// folder (ending with "/"). A first name that would put it elsewhere raises.
QString endDocumentPath(const QString &programFolder, EndDocument which, int slot, const QString &firstName);
// "Certificat de travail", "Reçu pour solde de tout compte": the document's title.
QString endDocumentTitle(EndDocument which);

// The same as PDF files' bytes; raise as the PDF page does.
QByteArray workCertificatePdf(const EndParties &parties, const Contract &c, QDate madeOn);
QByteArray finalReceiptPdf(const EndParties &parties, const Contract &c, const EndOfContract &end);

} // namespace contract
