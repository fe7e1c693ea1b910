#pragma once
// The rates list and its file Taux.txt.
//
// The file holds one value per line in Windows-1252: lines 0 to 35 the
// contribution table common to every child, lines 36 to 47 the wage and
// allowance values of the child shown at the last confirmation, which a slot
// filled afresh takes as its defaults.

#include "common/counts.h"

#include <QString>
#include <QStringList>

namespace rates {
// First line of each block of the contribution table (line i - 1 of a block
// belongs to contribution line i).
constexpr int NameLine = 0;                       // StaticText1..9
constexpr int NetLine = ContributionLines;        // Edit1..9, NET coefficients
constexpr int GrossLine = 2 * ContributionLines;  // Edit10..18, BRUT rates in percent
constexpr int BaseLine = 3 * ContributionLines;   // Edit19, Edit20, Edit23, Edit25..30, base percentages
constexpr int TableLines = 4 * ContributionLines; // lines 0..35: the contribution table
// Defaults of a slot filled afresh.
constexpr int SH = 36, SHbr = 37, FJ = 38, FJbr = 39, conge = 40, Indentr = 41;
constexpr int PD = 42, D = 43, G = 44, Sp = 45, ETH = 46, EFJ = 47;
constexpr int LineCount = 48; // the lines a saved file holds

// The parameter record field, and the parameters window's control of the
// same name, that line n holds: StaticText1..9, Edit1..9, Edit10..18, the base
// percentages, then SH, SHbr, FJ, FJbr, conge, Indentr, PD, D, G, Sp, ETH, EFJ.
QString lineField(int n);
// The line that holds a field, or -1 for a field the file does not hold.
int lineOfField(const QString &field);
} // namespace rates

class RatesList {
public:
    RatesList() = default;
    explicit RatesList(QStringList lines) : m_lines(std::move(lines)) {}

    // Line n, or an empty text beyond the end of the list.
    QString line(int n) const;
    // Replaces line n; a line beyond the end stays missing.
    void setLine(int n, const QString &text);
    const QStringList &lines() const { return m_lines; }

    // Replaces the list by the lines of the file (line ends CR LF, LF or CR).
    // A missing or unreadable file raises "Impossible d'ouvrir le fichier %s"
    // with its full path.
    void load(const QString &path);
    // Writes lines 0 to 47, each followed by CR LF, missing ones empty; lines
    // beyond the 48th stay in the list but are not written.
    void save(const QString &path) const;

    // The text of the file, split into lines.
    static QStringList splitLines(const QString &text);
    // What save() writes.
    QByteArray fileBytes() const;

private:
    QStringList m_lines;
};

// Taux.txt in the program folder.
QString ratesFilePath();
