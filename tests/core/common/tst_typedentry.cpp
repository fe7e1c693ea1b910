// Dates and times typed key by key: what each sequence gives, or that it is
// refused.

#include "common/typedentry.h"

#include <QtTest>

using Parts = TypedEntry::Parts;
Q_DECLARE_METATYPE(Parts)

namespace {
// Types the keys into an entry begun on `from`, then leaves the control.
// Returns the parts taken, or an empty optional when the entry was refused
// (at a key or when leaving).
std::optional<Parts> typed(TypedEntry::Kind kind, const Parts &from, const QString &keys, int first = 0)
{
    TypedEntry e(kind);
    e.begin(from, first);
    for (QChar c : keys) {
        if (!e.active())
            e.begin(from, 0);
        switch (e.key(c)) {
        case TypedEntry::Result::Refused: return std::nullopt;
        case TypedEntry::Result::Done: return e.parts(); // nothing typed after a complete value here
        default: break;
        }
    }
    if (e.finish() == TypedEntry::Result::Done)
        return e.parts();
    return std::nullopt;
}
} // namespace

class TestTypedEntry : public QObject {
    Q_OBJECT
private slots:
    void dates_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("result"); // DD/MM/YYYY, or "refused"
        // Begun on 14/03/2026.
        QTest::newRow("full form") << "02/09/2023"
                                   << "02/09/2023";
        QTest::newRow("short parts") << "2/9/2023"
                                     << "02/09/2023";
        QTest::newRow("digits only") << "02092023"
                                     << "02/09/2023";
        QTest::newRow("31 February") << "31022023"
                                     << "refused";
        QTest::newRow("29 February of a leap year") << "29022024"
                                                    << "29/02/2024";
        QTest::newRow("29 February otherwise") << "29022023"
                                               << "refused";
        QTest::newRow("month 13") << "0113"
                                  << "refused";
        QTest::newRow("day 00") << "00"
                                << "refused";
        QTest::newRow("day 32") << "32"
                                << "refused";
        QTest::newRow("day only") << "15"
                                  << "15/03/2026";
        QTest::newRow("day and month") << "1/12"
                                       << "01/12/2026";
        QTest::newRow("31 of a 30-day month") << "31/04"
                                              << "refused";
        QTest::newRow("year cut short") << "1/1/23"
                                        << "refused";
        QTest::newRow("slash keeps the day") << "/06"
                                             << "14/06/2026";
        QTest::newRow("letters have no place") << "1x5"
                                               << "15/03/2026";
    }
    void dates()
    {
        QFETCH(QString, keys);
        QFETCH(QString, result);
        const auto parts = typed(TypedEntry::Kind::Date, {14, 3, 2026}, keys);
        const QString got = parts ? QStringLiteral("%1/%2/%3")
                                        .arg((*parts)[0], 2, 10, QChar('0'))
                                        .arg((*parts)[1], 2, 10, QChar('0'))
                                        .arg((*parts)[2], 4, 10, QChar('0'))
                                  : QStringLiteral("refused");
        QCOMPARE(got, result);
    }

    void times_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("first"); // the part typed into first
        QTest::addColumn<QString>("result");
        // Begun on 08:15:40.
        QTest::newRow("24") << "24" << 0 << "refused";
        QTest::newRow("23") << "23" << 0 << "23:00:00";
        QTest::newRow("0730") << "0730" << 0 << "07:30:00";
        QTest::newRow("7:5") << "7:5" << 0 << "07:05:00";
        QTest::newRow("07:30 with colon after moving on") << "07:30" << 0 << "07:30:00";
        QTest::newRow("seconds") << "164540" << 0 << "16:45:40";
        QTest::newRow("minute 60") << "0760" << 0 << "refused";
        QTest::newRow("second 60") << "075960" << 0 << "refused";
        QTest::newRow("hour 9 alone") << "9" << 0 << "09:00:00";
        QTest::newRow("minutes typed into") << "30" << 1 << "08:30:00";
    }
    void times()
    {
        QFETCH(QString, keys);
        QFETCH(int, first);
        QFETCH(QString, result);
        const auto parts = typed(TypedEntry::Kind::Time, {8, 15, 40}, keys, first);
        const QString got = parts ? QStringLiteral("%1:%2:%3")
                                        .arg((*parts)[0], 2, 10, QChar('0'))
                                        .arg((*parts)[1], 2, 10, QChar('0'))
                                        .arg((*parts)[2], 2, 10, QChar('0'))
                                  : QStringLiteral("refused");
        QCOMPARE(got, result);
    }

    // A planned duration HH:MM: done after its minutes, never with seconds.
    void hoursMinutes()
    {
        TypedEntry e(TypedEntry::Kind::HoursMinutes);
        e.begin({8, 15, 40});
        QCOMPARE(e.key('9'), TypedEntry::Result::Typing);
        QCOMPARE(e.text(), QString("9_:00"));
        e.key(':');
        QCOMPARE(e.key('3'), TypedEntry::Result::Typing);
        QCOMPARE(e.text(), QString("09:3_"));
        QCOMPARE(e.key('0'), TypedEntry::Result::Done);
        QCOMPARE(e.parts(), (Parts{9, 30, 0}));
        e.begin({0, 0, 0});
        e.key('0');
        e.key('7');
        e.key('6');
        QCOMPARE(e.key('0'), TypedEntry::Result::Refused);
        // A mistyped hour is refused once the whole value is typed, shown as typed.
        e.begin({9, 0, 0});
        for (QChar c : QStringLiteral("250"))
            QCOMPARE(e.key(c), TypedEntry::Result::Typing);
        QCOMPARE(e.key('0'), TypedEntry::Result::Refused);
        QCOMPARE(e.text(), QString("25:00"));
    }

    void shownWhileTyping()
    {
        TypedEntry e(TypedEntry::Kind::Date);
        e.begin({14, 3, 2026});
        QCOMPARE(e.key('2'), TypedEntry::Result::Typing);
        QCOMPARE(e.text(), QString("2_/03/2026"));
        QCOMPARE(e.cursor(), 1);
        e.key('/');
        e.key('1');
        QCOMPARE(e.text(), QString("02/1_/2026"));
        e.backspace();
        e.key('0');
        e.key('9');
        e.key('2');
        QCOMPARE(e.text(), QString("02/09/2___"));
        QCOMPARE(e.cursor(), 7);
        e.key('0');
        e.key('2');
        QCOMPARE(e.key('3'), TypedEntry::Result::Done);
        QCOMPARE(e.parts(), (Parts{2, 9, 2023}));
        QVERIFY(!e.active());
    }
};

QTEST_GUILESS_MAIN(TestTypedEntry)
#include "tst_typedentry.moc"
