#include "archive/yearsummary.h"

#include "attendance/daytable.h"
#include "common/errors.h"
#include "common/monthkey.h"
#include "common/programfiles.h"
#include "payslip/money.h"

#include <QFileInfo>
#include <QMap>
#include <algorithm>

QList<int> YearSummary::monthsOf(SummaryMonth::Kind kind) const
{
    QList<int> found;
    for (const SummaryMonth &m : months)
        if (m.kind == kind)
            found << m.month;
    return found;
}

YearSummary buildYearSummary(int slot, int year, const QString &firstName, const QList<ArchivedSlip> &archived,
                             const QList<int> &monthsWithDays, const QList<int> &monthsWithPicture)
{
    YearSummary s;
    s.slot = slot;
    s.year = year;
    s.firstName = firstName;
    QMap<int, SummaryMonth> byMonth;
    for (int m : monthsWithDays)
        if (m >= 1 && m <= 12)
            byMonth[m] = {m, SummaryMonth::Kind::ToDo, true, std::nullopt};
    for (int m : monthsWithPicture)
        if (m >= 1 && m <= 12)
            byMonth[m] = {m, SummaryMonth::Kind::PictureOnly, monthsWithDays.contains(m), std::nullopt};
    for (const ArchivedSlip &a : archived) {
        if (a.slot != slot || a.year() != year || a.month() < 1 || a.month() > 12)
            continue;
        byMonth[a.month()] = {a.month(), SummaryMonth::Kind::Archived, monthsWithDays.contains(a.month()), a};
        YearTotals &t = s.totals;
        t.hours += a.hours;
        t.complementaryHours += a.complementaryHours;
        t.majoratedHours += a.majoratedHours;
        t.activityDays += a.activityDays;
        t.salnet += a.salnet;
        t.Cong += a.Cong;
        t.entret += a.entret;
        t.nour += a.nour;
        t.net += a.net;
    }
    s.months = byMonth.values();
    return s;
}

YearSummary loadYearSummary(const QString &programFolder, int slot, const QString &givenName, int year)
{
    QList<ArchivedSlip> archived;
    QString firstName = givenName;
    const QString archivePath = programFolder + SlipArchive::fileName();
    QString archiveError;
    if (QFileInfo::exists(archivePath)) {
        try {
            const SlipArchive archive(archivePath);
            archived = archive.year(slot, year);
            if (firstName.isEmpty())
                firstName = archive.latestFirstName(slot);
        } catch (const RuntimeError &e) {
            archived.clear();
            archiveError = e.message();
        }
    }
    const QList<int> days = DayTable::monthsWithDays(programFolder + tableNameForSlot(slot - 1), year);
    QList<int> pictures;
    // A first name that would name a file elsewhere has no picture to find.
    const bool safeName = folder::staysInFolder(firstName);
    for (int m = 1; safeName && m <= 12; ++m) {
        const QString key = MonthKey::of(m, year).text();
        if (QFileInfo::exists(programFolder + folder::slipPicture(firstName, key)))
            pictures << m;
    }
    YearSummary s = buildYearSummary(slot, year, firstName, archived, days, pictures);
    s.archiveError = archiveError;
    return s;
}

QList<int> summaryYears(const QString &programFolder, int slot, int currentYear)
{
    QList<int> years = {currentYear - 1, currentYear};
    const QString archivePath = programFolder + SlipArchive::fileName();
    // An archive that cannot be read is said by the summary itself.
    if (QFileInfo::exists(archivePath)) {
        try {
            years += SlipArchive(archivePath).years(slot);
        } catch (const RuntimeError &) {
        }
    }
    std::sort(years.begin(), years.end());
    years.erase(std::unique(years.begin(), years.end()), years.end());
    return years;
}

std::optional<int> latestSlipYear(const QString &programFolder, int slot)
{
    const QString archivePath = programFolder + SlipArchive::fileName();
    if (!QFileInfo::exists(archivePath))
        return std::nullopt;
    const QList<int> years = SlipArchive(archivePath).years(slot);
    if (years.isEmpty())
        return std::nullopt;
    return years.last();
}

QString hoursText(qint64 hundredths) { return centsText(hundredths); }

QString monthTitle(int month, int year)
{
    // The slip spells August its own old way; a table for the tax return spells it right.
    return monthName(month) + ' ' + QString::number(year);
}

QString kindText(SummaryMonth::Kind kind)
{
    switch (kind) {
    case SummaryMonth::Kind::Archived: return QStringLiteral("archivé");
    case SummaryMonth::Kind::PictureOnly: return QStringLiteral("image seule");
    case SummaryMonth::Kind::ToDo: return QStringLiteral("à faire");
    }
    return {};
}

const QStringList &summaryColumns()
{
    static const QStringList columns = {
        QStringLiteral("Mois"),
        QStringLiteral("Heures"),
        QStringLiteral("Heures complémentaires"),
        QStringLiteral("Heures majorées"),
        QStringLiteral("Jours d'activité"),
        QStringLiteral("Salaire net"),
        QStringLiteral("dont congés payés"),
        QStringLiteral("Indemnités d'entretien"),
        QStringLiteral("Indemnités de repas"),
        QStringLiteral("Montant versé"),
        QStringLiteral("Jours saisis"),
        QStringLiteral("Bulletin"),
    };
    return columns;
}

QList<QStringList> summaryTable(const YearSummary &s)
{
    QList<QStringList> rows;
    for (const SummaryMonth &m : s.months) {
        QStringList row = {monthTitle(m.month, s.year)};
        if (m.slip) {
            const ArchivedSlip &a = *m.slip;
            row << hoursText(a.hours) << hoursText(a.complementaryHours) << hoursText(a.majoratedHours)
                << QString::number(a.activityDays) << centsText(a.salnet) << centsText(a.Cong) << centsText(a.entret)
                << centsText(a.nour) << centsText(a.net);
        } else {
            for (qsizetype i = 3; i < summaryColumns().size(); ++i)
                row << QString();
        }
        row << (m.daysStored ? QStringLiteral("oui") : QStringLiteral("non"));
        // A regular contract's month says so: its hours are those its
        // mensualised salary pays.
        row << (m.slip && m.slip->contract ? kindText(m.kind) + QStringLiteral(" (contrat)") : kindText(m.kind));
        rows << row;
    }
    const YearTotals &t = s.totals;
    // Without the archive a total would be a false figure.
    if (!s.archiveError.isEmpty()) {
        QStringList row = {QStringLiteral("Total %1").arg(s.year)};
        for (qsizetype i = 1; i < summaryColumns().size(); ++i)
            row << QString();
        rows << row;
        return rows;
    }
    rows << QStringList{QStringLiteral("Total %1").arg(s.year),
                        hoursText(t.hours),
                        hoursText(t.complementaryHours),
                        hoursText(t.majoratedHours),
                        QString::number(t.activityDays),
                        centsText(t.salnet),
                        centsText(t.Cong),
                        centsText(t.entret),
                        centsText(t.nour),
                        centsText(t.net),
                        QString(),
                        QString()};
    return rows;
}

QList<TaxFigure> taxReturnFigures(const YearSummary &s)
{
    QList<TaxFigure> figures = {
        {QStringLiteral("Salaires nets versés en %1").arg(s.year), centsText(s.totals.salnet) + QStringLiteral(" €")},
        {QStringLiteral("Indemnités d'entretien"), centsText(s.totals.entret) + QStringLiteral(" €")},
        {QStringLiteral("Frais de garde de l'année (salaires nets et entretien)"),
         centsText(s.taxCreditBase()) + QStringLiteral(" €")},
    };
    // Without the archive a zero would be a false figure.
    if (!s.archiveError.isEmpty())
        for (TaxFigure &f : figures)
            f.value.clear();
    return figures;
}

QString taxReturnNote(const YearSummary &s)
{
    if (!s.archiveError.isEmpty())
        return QStringLiteral("Les chiffres des bulletins enregistrés n'ont pas pu être lus : aucun montant n'est "
                              "donné à déclarer. Les mois où des jours ont été saisis sont montrés ci-dessus.");
    QString note = QStringLiteral(
        "Les indemnités de repas ne comptent pas dans les frais de garde. Le montant à déclarer en déduit le "
        "complément de libre choix du mode de garde (CMG) que vous tapez ; déduisez-en aussi toute autre aide "
        "reçue pour cette garde (aide de l'employeur). L'attestation annuelle du service en ligne fait foi.");
    const int unknown =
        int(s.monthsOf(SummaryMonth::Kind::PictureOnly).size() + s.monthsOf(SummaryMonth::Kind::ToDo).size());
    if (unknown > 0)
        note +=
            QStringLiteral(" %1 mois de l'année n'ont pas de chiffres archivés : ajoutez-les d'après leurs bulletins.")
                .arg(unknown);
    return note;
}

namespace {
QString csvField(const QString &text)
{
    if (!text.contains(';') && !text.contains('"') && !text.contains('\n') && !text.contains('\r'))
        return text;
    return '"' + QString(text).replace('"', QStringLiteral("\"\"")) + '"';
}
} // namespace

QByteArray summaryCsv(const YearSummary &s, const QList<TaxFigure> &figures)
{
    // The mark lets spreadsheets that would guess a Windows code page read UTF-8.
    QByteArray out = QByteArrayLiteral("\xEF\xBB\xBF");
    QList<QStringList> rows = summaryTable(s);
    rows.prepend(summaryColumns());
    for (const QStringList &row : rows) {
        QStringList fields;
        for (const QString &f : row)
            fields << csvField(f);
        out += fields.join(';').toUtf8() + "\r\n";
    }
    if (!figures.isEmpty())
        out += "\r\n";
    for (const TaxFigure &f : figures)
        out += (csvField(f.label) + ';' + csvField(f.value)).toUtf8() + "\r\n";
    return out;
}
