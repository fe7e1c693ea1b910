#include "common/environment.h"
#include "common/errors.h"
#include "common/messages.h"
#include "common/numbers.h"
#include "common/text1252.h"
#include "raised.h"

#include <QtTest>

class TestCommon : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setDecimalSeparator('.'); }

    void parseFloat_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "3.00" << true << 3.0;
        QTest::newRow("blanks around") << "  12.5 " << true << 12.5;
        QTest::newRow("signs") << "-0.5" << true << -0.5;
        QTest::newRow("plus sign") << "+2" << true << 2.0;
        QTest::newRow("exponent") << "1.5E2" << true << 150.0;
        QTest::newRow("negative exponent") << "25e-1" << true << 2.5;
        QTest::newRow("leading point") << ".5" << true << 0.5;
        QTest::newRow("trailing point") << "5." << true << 5.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blank") << "   " << false << 0.0;
        QTest::newRow("comma") << "3,00" << false << 0.0;
        QTest::newRow("grouping") << "1 000" << false << 0.0;
        QTest::newRow("exponent without digits") << "1E" << false << 0.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("sign only") << "-" << false << 0.0;
        QTest::newRow("blank inside") << "- 5" << false << 0.0;
    }
    void parseFloat()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        const auto v = tryParseFloat(text);
        QCOMPARE(v.has_value(), ok);
        if (ok)
            QCOMPARE(double(*v), value);
        else {
            QCOMPARE(raised([&] { ::parseFloat(text); }),
                     QString("'%1' n'est pas une valeur en virgule flottante correcte").arg(text));
        }
    }

    void parseFloatFollowsSeparator()
    {
        setDecimalSeparator(',');
        QCOMPARE(double(*tryParseFloat("2,5")), 2.5);
        QVERIFY(!tryParseFloat("2.5"));
        QCOMPARE(::formatGeneral(2.5L), QString("2,5"));
        setDecimalSeparator('.');
    }

    void parseInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "95" << true << 95;
        QTest::newRow("blanks") << " 100 " << true << 100;
        QTest::newRow("negative") << "-7" << true << -7;
        QTest::newRow("hex dollar") << "$1F" << true << 31;
        QTest::newRow("hex 0x") << "0x10" << true << 16;
        QTest::newRow("max") << "2147483647" << true << 2147483647;
        QTest::newRow("min") << "-2147483648" << true << int(-2147483648LL);
        QTest::newRow("overflow") << "2147483648" << false << 0;
        QTest::newRow("decimal") << "98.25" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("exponent") << "1E2" << false << 0;
    }
    void parseInt()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        const auto v = tryParseInt(text);
        QCOMPARE(v.has_value(), ok);
        if (ok)
            QCOMPARE(*v, value);
        else
            QVERIFY_THROWS_EXCEPTION(RuntimeError, ::parseInt(text));
    }

    void formatGeneral_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("half") << 7.5 << "7.5";
        QTest::newRow("whole") << 160.0 << "160";
        QTest::newRow("third") << 7.0 / 3.0 << "2.33333333333333";
        QTest::newRow("five sixths") << 37.0 + 50.0 / 60.0 << "37.8333333333333";
        QTest::newRow("small") << 0.0001 << "0.0001";
        QTest::newRow("tiny") << 0.00001 << "1E-5";
        QTest::newRow("huge") << 1e20 << "1E20";
        QTest::newRow("negative") << -2.25 << "-2.25";
        QTest::newRow("round up to next power") << 9.9999999999999999 << "10";
    }
    void formatGeneral()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(::formatGeneral(value), text);
    }

    void win1252RoundTrip()
    {
        const QByteArray bytes("S\xe9"
                               "curit\xe9 \x80 \x9c");
        const QString text = fromWin1252(bytes);
        QCOMPARE(text, QString::fromUtf8("Sécurité € œ"));
        QCOMPARE(toWin1252(text), bytes);
        QCOMPARE(toWin1252(QString::fromUtf8("日")), QByteArray("?"));
        QCOMPARE(toWin1252(QString::fromUtf8("a\U0001F600b")), QByteArray("a?b"));
    }

    void dateNumbers()
    {
        QCOMPARE(toDateNumber(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
        QCOMPARE(toDateNumber(QDateTime(QDate(1900, 1, 1), QTime(18, 0))), 2.75);
        const QDateTime t(QDate(2026, 12, 7), QTime(20, 18, 27));
        QCOMPARE(fromDateNumber(toDateNumber(t)), t);
        QCOMPARE(fromDateNumber(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
        QCOMPARE(shortDate(QDate(2007, 1, 5)), QString("05/01/2007"));
    }

    void guardedShowsTheTextAndStops()
    {
        QStringList shown;
        auto previous = setMessageSink([&](MessageKind, const QString &t) { shown << t; });
        int reached = 0;
        const bool ok = guarded([&] {
            reached = 1;
            ::parseFloat("x");
            reached = 2;
        });
        setMessageSink(previous);
        QVERIFY(!ok);
        QCOMPARE(reached, 1);
        QCOMPARE(shown, QStringList{"'x' n'est pas une valeur en virgule flottante correcte"});
    }

    void ioTexts()
    {
        QCOMPARE(rtl::ioErrorText(rtl::AccessDenied), QString("Accès au fichier refusé"));
        QCOMPARE(rtl::ioErrorText(rtl::DiskFull), QString("Disque plein"));
        QCOMPARE(rtl::ioErrorText(rtl::ReadBeyondEnd), QString("Lecture au-delà de la fin de fichier"));
        QCOMPARE(rtl::ioErrorText(32), QString("Erreur E/S 32"));
    }
};

QTEST_GUILESS_MAIN(TestCommon)
#include "tst_numbers.moc"
