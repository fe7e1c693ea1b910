// What a number field of the parameters window keeps of a text typed, and
// how a message names it.

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
        QTest::newRow("decimal comma") << int(Kind::Amount) << "5,13" << "5.13";
        QTest::newRow("point kept") << int(Kind::Amount) << "5.13" << "5.13";
        QTest::newRow("blanks dropped") << int(Kind::Amount) << " 3,5 " << "3.5";
        QTest::newRow("empty stays empty") << int(Kind::Amount) << "  " << "";
        QTest::newRow("negative comma") << int(Kind::Amount) << "-0,76" << "-0.76";
        QTest::newRow("letters") << int(Kind::Amount) << "abc" << refused;
        QTest::newRow("euro sign") << int(Kind::Amount) << "0.76€" << refused;
        QTest::newRow("grouping and comma") << int(Kind::Amount) << "1,234.5" << refused;
        QTest::newRow("two commas") << int(Kind::Amount) << "1,2,3" << refused;
        QTest::newRow("coefficient comma") << int(Kind::Coefficient) << "0,0936" << "0.0936";
        QTest::newRow("percent sign") << int(Kind::Coefficient) << "3 %" << refused;
        QTest::newRow("whole") << int(Kind::Whole) << "95" << "95";
        QTest::newRow("whole with a decimal") << int(Kind::Whole) << "98,25" << refused;
    }
    void typedText()
    {
        QFETCH(int, kind);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QCOMPARE(numberfield::accepted(typed, Kind(kind)).value_or("<refused>"), kept);
    }

    // Every field the slips read as a number is one, named as the window shows it.
    void fieldsAndNames()
    {
        for (const char *name : {"SH", "SHbr", "FJ", "FJbr", "Indentr", "PD", "D", "G", "Sp", "diverse", "abs",
                                 "accpte", "ETH", "EFJ", "Edit1", "Edit18", "Edit19", "Edit30"})
            QVERIFY2(numberfield::find(name), name);
        for (const char *name : {"nom1", "prenom3", "conge", "StaticText1", "cp1"})
            QVERIFY2(!numberfield::find(name), name);
        QCOMPARE(numberfield::find("Edit30")->kind, Kind::Whole);
        QCOMPARE(numberfield::caption(*numberfield::find("Edit12"), "Sécurité Sociale :"),
                 QString("Taux BRUT, ligne 3 (Sécurité Sociale)"));
        QCOMPARE(numberfield::caption(*numberfield::find("Edit1"), ".........."), QString("Taux NET, ligne 1"));
        QCOMPARE(numberfield::caption(*numberfield::find("accpte")), QString("Accompte déjà versé"));
    }
};

QTEST_GUILESS_MAIN(TestNumberFields)
#include "tst_numberfields.moc"
