#include "settings/editmask.h"

#include <QtTest>

namespace {
const QString postcode = QStringLiteral("00 000;1;_");
const QString phone = QStringLiteral("!00\\.00\\.00\\.00\\.00;1;_");
const QString secu = QStringLiteral("!0 00 00 00 000 000\\ -99;1;_");
const QString urssaf = QStringLiteral("!00 00 000 000 000;1;_");
} // namespace

class TestEditMask : public QObject {
    Q_OBJECT
private slots:
    void shape_data()
    {
        QTest::addColumn<QString>("definition");
        QTest::addColumn<QString>("blankText");
        QTest::addColumn<QString>("blankDisplay");
        QTest::newRow("postcode") << postcode << "      "
                                  << "__ ___";
        QTest::newRow("phone") << phone << "  .  .  .  .  "
                               << "__.__.__.__.__";
        QTest::newRow("social security") << secu << QString(19, ' ') + "-  "
                                         << "_ __ __ __ ___ ___ -__";
        QTest::newRow("URSSAF") << urssaf << "                 "
                                << "__ __ ___ ___ ___";
        QTest::newRow("literals dropped") << "00-00;0;*"
                                          << "    "
                                          << "**-**";
        QTest::newRow("no flag") << "00/00"
                                 << "  /  "
                                 << "__/__";
    }
    void shape()
    {
        QFETCH(QString, definition);
        QFETCH(QString, blankText);
        QFETCH(QString, blankDisplay);
        const EditMask m(definition);
        QCOMPARE(m.text(m.blankCells()), blankText);
        QCOMPARE(m.display(m.blankCells()), blankDisplay);
        QCOMPARE(m.text(m.cellsFrom(QString())), blankText);
        QCOMPARE(m.display(m.cellsFrom(QString())), blankDisplay);
    }

    void storedText_data()
    {
        QTest::addColumn<QString>("definition");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("firstMissing");
        QTest::newRow("postcode complete") << postcode << "75 011"
                                           << "75 011" << -1;
        QTest::newRow("postcode half") << postcode << "75 0  "
                                       << "75 0  " << 4;
        QTest::newRow("postcode, a blank inside") << postcode << "7  011"
                                                  << "7  011" << 1;
        QTest::newRow("letters are not digits") << postcode << "7x 011"
                                                << "7  011" << 1;
        QTest::newRow("wrong literal, same length") << postcode << "75-011"
                                                    << "75 011" << -1;
        QTest::newRow("postcode without its blank") << postcode << "75011"
                                                    << "75 011" << -1;
        QTest::newRow("postcode too short") << postcode << "75"
                                            << "75    " << 3;
        QTest::newRow("phone") << phone << "01.23.45.67.89"
                               << "01.23.45.67.89" << -1;
        QTest::newRow("phone digits only, right-aligned") << phone << "0123"
                                                          << "  .  .  .01.23" << 0;
        QTest::newRow("social security with key") << secu << "1 85 05 78 006 084 -36"
                                                  << "1 85 05 78 006 084 -36" << -1;
        QTest::newRow("social security without key") << secu << "1 85 05 78 006 084 -  "
                                                     << "1 85 05 78 006 084 -  " << -1;
        QTest::newRow("URSSAF") << urssaf << "12 34 567 890 123"
                                << "12 34 567 890 123" << -1;
        QTest::newRow("URSSAF digits only, right-aligned") << urssaf << "1234" << QString(12, ' ') + "1 234" << 0;
        QTest::newRow("too long") << postcode << "75 0119"
                                  << "75 011" << -1;
    }
    void storedText()
    {
        QFETCH(QString, definition);
        QFETCH(QString, stored);
        QFETCH(QString, text);
        QFETCH(int, firstMissing);
        const EditMask m(definition);
        const QString cells = m.cellsFrom(stored);
        QCOMPARE(m.text(cells), text);
        QCOMPARE(m.firstMissing(cells), firstMissing);
        // What is shown reads back as the same cells.
        QCOMPARE(m.cellsFromDisplay(m.display(cells)), cells);
    }

    void requiredPositions()
    {
        const EditMask m(secu);
        QCOMPARE(m.length(), 22);
        QString required;
        for (int pos = 0; pos < m.length(); ++pos)
            required += m.isLiteral(pos) ? '.' : m.isRequired(pos) ? 'R' : 'o';
        QCOMPARE(required, QString("R.RR.RR.RR.RRR.RRR..oo"));
    }

    void typing_data()
    {
        QTest::addColumn<QString>("definition");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<int>("refused");
        QTest::newRow("fills and skips the literal") << postcode << "" << 0 << 0 << "750"
                                                     << "75 0  " << 4 << 0;
        QTest::newRow("overwrites") << postcode << "75 011" << 3 << 3 << "9"
                                    << "75 911" << 4 << 0;
        QTest::newRow("typed literals taken as there") << phone << "" << 0 << 0 << "01.2"
                                                       << "01.2 .  .  .  " << 4 << 0;
        QTest::newRow("typed literal steps over") << phone << "" << 2 << 2 << ".5"
                                                  << "  .5 .  .  .  " << 4 << 0;
        QTest::newRow("other literal refused") << phone << "" << 0 << 0 << "1-"
                                               << "1 .  .  .  .  " << 1 << 1;
        QTest::newRow("letter refused") << postcode << "" << 0 << 0 << "7a5"
                                        << "75    " << 3 << 1;
        QTest::newRow("full field refuses more") << postcode << "" << 0 << 0 << "750119"
                                                 << "75 011" << 6 << 1;
        QTest::newRow("selection blanked then typed") << postcode << "75 011" << 0 << 4 << "1"
                                                      << "1   11" << 1 << 0;
        QTest::newRow("space refused where required") << postcode << "" << 0 << 0 << " "
                                                      << "      " << 0 << 1;
        QTest::newRow("space blanks an optional digit") << secu << "1 85 05 78 006 084 -36" << 20 << 20 << " "
                                                        << "1 85 05 78 006 084 - 6" << 21 << 0;
        QTest::newRow("social security key") << secu << "" << 18 << 18 << "42" << QString(19, ' ') + "-42" << 22 << 0;
    }
    void typing()
    {
        QFETCH(QString, definition);
        QFETCH(QString, stored);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(int, cursor);
        QFETCH(int, refused);
        const EditMask m(definition);
        EditMask::Edit e{m.cellsFrom(stored), from, true};
        int refusals = 0;
        for (QChar c : keys) {
            const EditMask::Edit next = m.typed(e.cells, e.cursor, qMax(e.cursor, to), c);
            to = 0;
            if (next.accepted)
                e = next;
            else
                ++refusals;
        }
        QCOMPARE(m.text(e.cells), text);
        QCOMPARE(e.cursor, cursor);
        QCOMPARE(refusals, refused);
    }

    void erasing_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("backward");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("backspace over the literal") << 3 << 3 << true << "7  011" << 1 << true;
        QTest::newRow("backspace at the start") << 0 << 0 << true << "75 011" << 0 << false;
        QTest::newRow("delete skips the literal") << 2 << 2 << false << "75  11" << 3 << true;
        QTest::newRow("delete at the end") << 6 << 6 << false << "75 011" << 6 << false;
        QTest::newRow("selection") << 1 << 5 << true << "7    1" << 1 << true;
    }
    void erasing()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, backward);
        QFETCH(QString, text);
        QFETCH(int, cursor);
        QFETCH(bool, accepted);
        const EditMask m(postcode);
        const EditMask::Edit e = m.erased(m.cellsFrom("75 011"), from, to, backward);
        QCOMPARE(m.text(e.cells), text);
        QCOMPARE(e.cursor, cursor);
        QCOMPARE(e.accepted, accepted);
    }

    void pasting_data()
    {
        QTest::addColumn<QString>("definition");
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("text");
        QTest::newRow("digits only") << phone << 0 << "0123456789"
                                     << "01.23.45.67.89";
        QTest::newRow("with its literals") << phone << 0 << "01.23.45.67.89"
                                           << "01.23.45.67.89";
        QTest::newRow("other separators dropped") << phone << 0 << "01 23-45"
                                                  << "01.23.45.  .  ";
        QTest::newRow("too long") << postcode << 0 << "75011999"
                                  << "75 011";
        QTest::newRow("in the middle") << postcode << 3 << "12"
                                       << "   12 ";
    }
    void pasting()
    {
        QFETCH(QString, definition);
        QFETCH(int, from);
        QFETCH(QString, clip);
        QFETCH(QString, text);
        const EditMask m(definition);
        QCOMPARE(m.text(m.pasted(m.blankCells(), from, from, clip).cells), text);
    }
};

QTEST_GUILESS_MAIN(TestEditMask)
#include "tst_editmask.moc"
