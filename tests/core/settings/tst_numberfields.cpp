// What a number field of the parameters window keeps of a text typed.

#include "common/numbers.h"
#include "settings/numberfields.h"

#include <QtTest>

using numberfield::Kind;

class TestNumberFields : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setDecimalSeparator('.'); }

    void typedText_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept"); // "<refused>" when refused
        const QString refused = "<refused>";
        QTest::newRow("decimal comma") << int(Kind::Amount) << "5,13"
                                       << "5.13";
        QTest::newRow("blanks dropped") << int(Kind::Amount) << " 3,5 "
                                        << "3.5";
        QTest::newRow("empty stays empty") << int(Kind::Amount) << "  "
                                           << "";
        QTest::newRow("letters") << int(Kind::Amount) << "abc" << refused;
        QTest::newRow("grouping and comma") << int(Kind::Amount) << "1,234.5" << refused;
        QTest::newRow("two commas") << int(Kind::Amount) << "1,2,3" << refused;
        QTest::newRow("coefficient comma") << int(Kind::Coefficient) << "0,0936"
                                           << "0.0936";
        QTest::newRow("whole with a decimal") << int(Kind::Whole) << "98,25" << refused;
    }
    void typedText()
    {
        QFETCH(int, kind);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QCOMPARE(numberfield::accepted(typed, Kind(kind)).value_or("<refused>"), kept);
    }
};

QTEST_GUILESS_MAIN(TestNumberFields)
#include "tst_numberfields.moc"
