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

    // A number the slips could read but that pays nothing, or that the file
    // would cut, is refused all the same.
    void keptOrRefused_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("why"); // what the message says, "" when kept
        QTest::newRow("a wage") << "SH"
                                << "3.50"
                                << "";
        QTest::newRow("a wage of 0") << "SH"
                                     << "0"
                                     << "supérieur à 0";
        QTest::newRow("a negative gross wage") << "SHbr"
                                               << "-5"
                                               << "supérieur à 0";
        QTest::newRow("an empty wage, read as never typed") << "SH"
                                                            << ""
                                                            << "";
        QTest::newRow("an allowance of 0") << "PD"
                                           << "0"
                                           << "";
        QTest::newRow("a wage the file would cut") << "SH"
                                                   << "1000000000"
                                                   << "trop long : 8 caractères";
    }
    void keptOrRefused()
    {
        QFETCH(QString, field);
        QFETCH(QString, kept);
        QFETCH(QString, why);
        const numberfield::Field *f = numberfield::find(field);
        QVERIFY(f);
        const QString said = numberfield::refusal(*f, f->label, kept, 8);
        QCOMPARE(said.isEmpty(), why.isEmpty());
        QVERIFY2(said.contains(why) && (why.isEmpty() || said.startsWith(f->label)), qPrintable(said));
    }
};

QTEST_GUILESS_MAIN(TestNumberFields)
#include "tst_numberfields.moc"
