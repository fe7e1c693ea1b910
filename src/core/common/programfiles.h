#pragma once
// The names of what the program keeps in its program folder: one place for
// each, for every unit that opens, lays out or backs up those files.

#include <QString>

namespace folder {

inline const QString ratesFile = QStringLiteral("Taux.txt");
inline const QString paramFile = QStringLiteral("Paramtre.bvp");
inline const QString slipArchive = QStringLiteral("Bulletins.db");
// The children's contracts.
inline const QString contracts = QStringLiteral("Contrats.db");
// The family's particulars for the childcare aid (UTF-8 text).
inline const QString familyFile = QStringLiteral("Famille.txt");
// The folder of the saved slips' pictures (and their PDFs).
inline const QString pictures = QStringLiteral("bulljpg");
// The legal values with their dates (UTF-8 text), shipped beside the first
// Taux.txt.
inline const QString legalTable = QStringLiteral("Baremes.txt");
// The employee's contribution lines with their dates (UTF-8 text), beside it.
inline const QString contributionTable = QStringLiteral("Cotisations.txt");
// The help folder, its compiled help and the collection a viewer keeps of it.
inline const QString help = QStringLiteral("Aide");
inline const QString helpFile = QStringLiteral("Berlivo.qch");
inline const QString helpCollection = QStringLiteral("Berlivo.qhc");

// The day-record table of child slot 1 to 5, "Enf1.db" to "Enf5.db"; "" for any other slot.
QString dayTable(int slot);
// A saved slip's picture, relative to the program folder: "bulljpg/Léa0302.jpg".
QString slipPicture(const QString &firstName, const QString &monthKey);
// The documents of the end of the contract of child slot 1 to 5, beside the
// saved slips, relative to the program folder: "bulljpg/Léa (enfant 2)
// certificat de travail.pdf", "bulljpg/Léa (enfant 2) reçu pour solde de tout
// compte.pdf"; "Enfant 2" for a child without a first name.
QString workCertificate(int slot, const QString &firstName);
QString finalReceipt(int slot, const QString &firstName);
// Whether a part of a file name keeps the file in its folder: one holding a
// separator ("/" or "\") would name a file elsewhere, and "." and ".." are
// the names of folders.
bool staysInFolder(const QString &part);

} // namespace folder
