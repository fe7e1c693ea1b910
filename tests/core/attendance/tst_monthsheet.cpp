#include "attendance/dayrecord.h"
#include "attendance/duration.h"
#include "common/monthkey.h"
#include "attendance/monthsheet.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "raised.h"

#include <QtTest>
#include <cmath>

namespace {
QTime t(const char *text) { return QTime::fromString(QString::fromLatin1(text), "HH:mm:ss.zzz"); }

// One day row as the hours window fills it.
void putDay(MonthSheet &s, int row, const QString &date, const QString &duration, bool flat = false)
{
    s.cell(sheet::Date, row) = date;
    if (!duration.isEmpty()) {
        s.cell(sheet::Arrival1, row) = "08:00:00";
        s.cell(sheet::Departure1, row) = "12:00:00";
        s.cell(sheet::Duration, row) = duration;
    }
    if (flat)
        s.cell(sheet::Flat, row) = "OUI";
}
} // namespace

class TestMonthSheet : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setDecimalSeparator('.'); }

    void dayDuration_data()
    {
        QTest::addColumn<QTime>("h1");
        QTest::addColumn<QTime>("h2");
        QTest::addColumn<QTime>("h3");
        QTest::addColumn<QTime>("h4");
        QTest::addColumn<QString>("duration");
        const QTime zero(0, 0);
        QTest::newRow("morning and afternoon")
            << t("08:00:00.000") << t("12:00:00.000") << t("13:30:00.000") << t("17:45:00.000") << "08:15:00";
        QTest::newRow("continuous day in H1-H2")
            << t("08:10:00.000") << t("16:00:00.000") << zero << zero << "07:50:00";
        QTest::newRow("afternoon only") << zero << zero << t("13:15:00.000") << t("14:00:00.000") << "00:45:00";
        QTest::newRow("across midnight: absolute value")
            << t("20:00:00.000") << t("06:00:00.000") << zero << zero << "14:00:00";
        QTest::newRow("nothing entered") << zero << zero << zero << zero << "00:00:00";
        QTest::newRow("seconds truncated, not rounded") << zero << t("00:01:59.999") << zero << zero << "00:01:59";
        QTest::newRow("modulo 24 hours") << zero << t("23:59:59.999") << zero << t("23:59:59.999") << "23:59:59";
        QTest::newRow("negative morning offsets afternoon")
            << t("12:00:00.000") << t("08:00:00.000") << t("13:00:00.000") << t("18:30:00.000") << "01:30:00";
    }
    void dayDuration()
    {
        QFETCH(QTime, h1);
        QFETCH(QTime, h2);
        QFETCH(QTime, h3);
        QFETCH(QTime, h4);
        QFETCH(QString, duration);
        QCOMPARE(::dayDuration(h1, h2, h3, h4), duration);
    }

    void durationHours_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("hours");
        QTest::newRow("8 h 15") << "08:15:00" << 8.25;
        QTest::newRow("7 h 50") << "07:50:00" << 7 + 50 / 60.0;
        QTest::newRow("45 min") << "00:45:00" << 0.75;
        QTest::newRow("seconds ignored") << "08:15:40" << 8.25;
        QTest::newRow("14 h") << "14:00:00" << 14.0;
    }
    void durationHours()
    {
        QFETCH(QString, text);
        QFETCH(double, hours);
        QCOMPARE(::durationHours(text), hours);
    }

    void extendedHoursDifferOnlyInTheLastBit()
    {
        // 1:13 is one of the durations whose two precisions part.
        const double plain = ::durationHours("01:13:00"), extended = ::durationHoursExtended("01:13:00");
        QVERIFY(plain != extended);
        QCOMPARE(std::nextafter(plain, extended), extended);
        QCOMPARE(::durationHoursExtended("08:15:00"), 8.25);
    }

    void durationHoursRejectsBadText()
    {
        QCOMPARE(raised([] { ::durationHours("ab:15:00"); }), QString("'ab' n'est pas une valeur entière correcte"));
    }

    void cutTwoDecimals_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("cut, not rounded") << 37.8333 << "37.83";
        QTest::newRow("small value") << 0.1666 << "0.16";
        QTest::newRow("7 h 50") << 7 + 50 / 60.0 << "7.83";
        QTest::newRow("whole stays whole") << 160.0 << "160";
        QTest::newRow("one decimal") << 8.5 << "8.5";
        QTest::newRow("nearly the next unit") << 1.999999 << "1.99";
        QTest::newRow("zero") << 0.0 << "0";
    }
    void cutTwoDecimals()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(::cutTwoDecimals(value), text);
    }

    void monthKey_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("key");
        QTest::newRow("January 2007") << "05/01/2007"
                                      << "0107";
        QTest::newRow("December 2010") << "31/12/2010"
                                       << "1210";
        QTest::newRow("March 2006") << "14/03/2006"
                                    << "0306";
    }
    void monthKey()
    {
        QFETCH(QString, date);
        QFETCH(QString, key);
        QCOMPARE(::monthKey(date), key);
    }

    void twentyDaysOfEightHours()
    {
        MonthSheet s;
        for (int r = 1; r <= 20; ++r)
            putDay(s, r, QString("%1/02/2007").arg(r, 2, 10, QChar('0')), "08:00:00");
        const MonthTotals totals = monthTotals(s);
        QCOMPARE(totals.hoursText(), QString("160"));
        QCOMPARE(totals.flatDaysText(), QString("0"));
    }

    void totalsAddUncutHours()
    {
        MonthSheet s;
        putDay(s, 1, "01/03/2007", "07:50:00");
        putDay(s, 2, "02/03/2007", "07:50:00");
        // 15.6666..., not 7.83 + 7.83 = 15.66 nor a rounded 15.67.
        const MonthTotals totals = monthTotals(s);
        QCOMPARE(totals.hours, 2 * (7 + 50 / 60.0));
        QCOMPARE(totals.hoursText(), QString("15.66"));
    }

    void totalsCountFlatDaysAndUndatedDurations()
    {
        MonthSheet s;
        putDay(s, 3, "03/03/2007", "", true);
        putDay(s, 4, "04/03/2007", "08:00:00", true);
        putDay(s, 5, "", "05:00:00");   // a duration never given a date
        s.cell(sheet::Flat, 6) = "oui"; // only "OUI" counts
        const MonthTotals totals = monthTotals(s);
        QCOMPARE(totals.flatDays, 2);
        QCOMPARE(totals.hours, 8.0);
    }

    void idleRowsLoseTheirDate()
    {
        MonthSheet s;
        putDay(s, 1, "01/03/2007", "", true);
        s.cell(sheet::Date, 2) = "02/03/2007"; // meals only
        s.cell(sheet::Lunch, 2) = "Déj";
        putDay(s, 3, "03/03/2007", "08:00:00");
        clearIdleDays(s);
        QCOMPARE(s.cell(sheet::Date, 1), QString("01/03/2007"));
        QCOMPARE(s.cell(sheet::Date, 2), QString());
        QCOMPARE(s.cell(sheet::Lunch, 2), QString("Déj"));
        QCOMPARE(s.cell(sheet::Date, 3), QString("03/03/2007"));
    }

    // The month a sheet holds is its first entered day's; what merely
    // leaving the pickers writes fixes none and goes once a month is taken.
    void oneMonthASheet()
    {
        MonthSheet s;
        s.cell(sheet::Date, 2) = "02/05/2026"; // the picker left, nothing more
        s.cell(sheet::Arrival1, 2) = s.cell(sheet::Duration, 2) = "00:00:00";
        QCOMPARE(sheetMonth(s), QDate());
        s.cell(sheet::Date, 9) = "09/06/2026";
        s.cell(sheet::Dinner, 9) = "Diner";
        putDay(s, 15, "15/06/2026", "04:00:00");
        QCOMPARE(sheetMonth(s), QDate(2026, 6, 1));
        // A row typed over is not the sheet's: leaving out 9 and 15 leaves none.
        s.cell(sheet::Date, 9).clear();
        QCOMPARE(sheetMonth(s, 15), QDate());
        QCOMPARE(strayRows(s, QDate(2026, 6, 16)), QList<int>{2});
        QCOMPARE(strayRows(s, QDate(2026, 5, 16)), QList<int>{});
    }

    void validationFilesTheMonthUnderItsLastStoredDay()
    {
        MonthSheet s;
        putDay(s, 1, "28/02/2007", "08:00:00");
        putDay(s, 2, "01/03/2007", ""); // neither hours nor flat rate: not stored
        putDay(s, 3, "02/03/2007", "", true);
        const MonthValidation v = validateMonth(s);
        QCOMPARE(v.sheet.cell(sheet::Date, 2), QString());
        QCOMPARE(v.days.size(), 2);
        QCOMPARE(v.monthKey, QString("0307"));
        QCOMPARE(v.totals.flatDays, 1);
        QCOMPARE(validateMonth(MonthSheet()).monthKey, QString());
    }

    void recordsOfTheDatedRows()
    {
        MonthSheet s;
        putDay(s, 30, "31/01/2007", "", true);
        s.cell(sheet::Holiday, 30) = "OUI";
        putDay(s, 31, "01/02/2007", "07:50:00");
        s.cell(sheet::Arrival2, 31) = "13:00:00";
        s.cell(sheet::Breakfast, 31) = "PD";
        s.cell(sheet::Dinner, 31) = "Diner";
        s.cell(sheet::Lunch, 5) = "Déj"; // undated: not a record

        const QList<day::Record> days = daysToStore(s);
        QCOMPARE(days.size(), 2);
        const day::Record flat = days[0];
        QCOMPARE(flat[day::Date], QString("31/01/2007"));
        for (int f : {day::Heure1, day::Heure2, day::Heure3, day::Heure4, day::Duree})
            QCOMPARE(flat[f], QString());
        QCOMPARE(flat[day::FJ], QString("Vrai"));
        QCOMPARE(flat[day::PD], QString("Faux"));
        QCOMPARE(flat[day::Ferie], QString("Vrai"));
        QCOMPARE(flat[day::Moan], QString("0107"));

        const day::Record worked = days[1];
        QCOMPARE(worked[day::Heure1], QString("08:00:00"));
        QCOMPARE(worked[day::Heure2], QString("12:00:00"));
        QCOMPARE(worked[day::Heure3], QString("13:00:00"));
        QCOMPARE(worked[day::Heure4], QString());
        QCOMPARE(worked[day::Duree], QString("7.83"));
        QCOMPARE(worked[day::FJ], QString("Faux"));
        QCOMPARE(worked[day::PD], QString("Vrai"));
        QCOMPARE(worked[day::Dej], QString("Faux"));
        QCOMPARE(worked[day::Diner], QString("Vrai"));
        QCOMPARE(worked[day::Moan], QString("0207"));
    }

    void storedForms_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("date") << int(day::Date) << "05/01/2007" << QVariant("2007-01-05") << "05/01/2007";
        QTest::newRow("date without zeros") << int(day::Date) << "5/1/2007" << QVariant("2007-01-05") << "05/01/2007";
        QTest::newRow("time") << int(day::Heure3) << "13:30:00" << QVariant("13:30:00") << "13:30:00";
        QTest::newRow("duration") << int(day::Duree) << "7.83" << QVariant(7.83) << "7.83";
        QTest::newRow("true") << int(day::FJ) << "Vrai" << QVariant(1) << "Vrai";
        QTest::newRow("false") << int(day::Ferie) << "Faux" << QVariant(0) << "Faux";
        QTest::newRow("key keeps its zero") << int(day::Moan) << "0107" << QVariant("0107") << "0107";
        QTest::newRow("key cut to four") << int(day::Moan) << "010755" << QVariant("0107") << "0107";
        QTest::newRow("empty is null") << int(day::Heure1) << "" << QVariant() << "";
    }
    void storedForms()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QVariant, stored);
        QFETCH(QString, shown);
        const QVariant v = day::fromText(field, text);
        QCOMPARE(v, stored);
        QCOMPARE(day::toText(field, v), shown);
        // A typed value (what an editor hands back) reaches the same stored form.
        QCOMPARE(day::fromValue(field, day::toValue(field, v)), stored);
    }

    void badTexts_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("date") << int(day::Date) << "32/01/2007"
                              << "'32/01/2007' n'est pas une date correcte";
        QTest::newRow("time") << int(day::Heure1) << "25:00:00"
                              << "'25:00:00' n'est pas une heure correcte";
        QTest::newRow("real") << int(day::Duree) << "7,83"
                              << "'7,83' n'est pas une valeur en virgule flottante correcte";
        QTest::newRow("flag") << int(day::Dej) << "OUI"
                              << "'OUI' n'est pas une valeur booléenne correcte pour le champ 'Déj'";
    }
    void badTexts()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QCOMPARE(raised([&] { day::fromText(field, text); }), message);
    }
};

QTEST_GUILESS_MAIN(TestMonthSheet)
#include "tst_monthsheet.moc"
