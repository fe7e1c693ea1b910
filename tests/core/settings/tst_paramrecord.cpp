#include "settings/paramrecord.h"

#include <QtTest>
#include <functional>

namespace {
// Where each text lies in the stored record, independently of the codec's
// own table: offset of the length byte, capacity, and the field.
struct Expected {
    const char *name;
    int offset;
    int capacity;
    std::function<QString &(ParamRecord &)> field;
};

#define F(n) [](ParamRecord &r) -> QString & { return r.n; }
std::vector<Expected> expectedTexts()
{
    std::vector<Expected> e = {
        {"nom1", 0, 20, F(nom1)},
        {"nom2", 21, 20, F(nom2)},
        {"prenom1", 42, 20, F(prenom1)},
        {"prenom2", 63, 20, F(prenom2)},
        {"Ville1", 84, 20, F(Ville1)},
        {"ville2", 105, 20, F(ville2)},
        {"nom3", 126, 20, F(nom3)},
        {"prenom3", 147, 20, F(prenom3)},
        {"Adr11", 168, 35, F(Adr11)},
        {"Adr12", 204, 35, F(Adr12)},
        {"adr21", 240, 35, F(adr21)},
        {"adr22", 276, 35, F(adr22)},
        {"cp1", 312, 6, F(cp1)},
        {"cp2", 319, 6, F(cp2)},
        {"PD", 326, 6, F(PD)},
        {"D", 333, 6, F(D)},
        {"G", 340, 6, F(G)},
        {"Sp", 347, 6, F(Sp)},
        {"Tel1", 354, 14, F(Tel1)},
        {"Tel2", 369, 14, F(Tel2)},
        {"Secu", 384, 22, F(Secu)},
        {"urssaf", 407, 17, F(urssaf)},
        {"SH", 456, 8, F(SH)},
        {"SHbr", 465, 8, F(SHbr)},
        {"FJ", 474, 8, F(FJ)},
        {"FJbr", 483, 8, F(FJbr)},
        {"Indentr", 672, 3, F(Indentr)},
        {"conge", 1045, 2, F(conge)},
        {"diverse", 1048, 10, F(diverse)},
        {"abs", 1059, 10, F(abs)},
        {"accpte", 1070, 10, F(accpte)},
        {"ETH", 1081, 10, F(ETH)},
        {"EFJ", 1092, 10, F(EFJ)},
    };
    for (int i = 0; i < 9; ++i) {
        e.push_back({"Edit1..9", 492 + 9 * i, 8, [i](ParamRecord &r) -> QString & { return r.netRate[i]; }});
        e.push_back({"Edit10..18", 573 + 7 * i, 6, [i](ParamRecord &r) -> QString & { return r.grossRate[i]; }});
        e.push_back({"base", 636 + 4 * i, 3, [i](ParamRecord &r) -> QString & { return r.basePercent[i]; }});
        e.push_back({"StaticText", 676 + 41 * i, 40, [i](ParamRecord &r) -> QString & { return r.lineName[i]; }});
    }
    return e;
}
#undef F

// The bytes of `a` and `b` differ only inside [from, to).
bool differOnlyWithin(const QByteArray &a, const QByteArray &b, int from, int to)
{
    for (int i = 0; i < a.size(); ++i)
        if ((i < from || i >= to) && a[i] != b[i])
            return false;
    return true;
}

ParamRecord fullRecord()
{
    ParamRecord r;
    int n = 0;
    for (const auto &e : expectedTexts())
        e.field(r) = QStringLiteral("%1-%2").arg(e.name).arg(++n).left(e.capacity);
    r.nom1 = QStringLiteral("Müller-Lüdenscheid");
    r.datenaiss = 40000.25;
    r.du = 45000.5;
    r.au = -1.75;
    r.pol1 = 2;
    r.pol2 = 1;
    r.Conges = 1;
    r.Netbrut = 1;
    r.lineTick = {1, 0, 1, 0, 1, 2, 0, 1, 0};
    r.CheckBox10 = 1;
    r.CheckBox12 = 1;
    r.Indentre = 1;
    return r;
}
} // namespace

class TestParamRecord : public QObject {
    Q_OBJECT
private slots:
    void size() { QCOMPARE(paramrecord::encode(ParamRecord{}).size(), 1136); }

    void allZeroIsTheStartState()
    {
        QCOMPARE(paramrecord::encode(ParamRecord{}), QByteArray(1136, '\0'));
        QCOMPARE(paramrecord::decode(QByteArray(1136, '\0')), ParamRecord{});
    }

    void everyTextAtItsOffsetCutToItsCapacity()
    {
        const QByteArray empty = paramrecord::encode(ParamRecord{});
        for (const Expected &e : expectedTexts()) {
            ParamRecord r;
            // Longer than any capacity, every character different from its neighbours.
            const QString text = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
            e.field(r) = text;
            const QByteArray bytes = paramrecord::encode(r);
            const QString where = QStringLiteral("%1 at %2").arg(e.name).arg(e.offset);
            QVERIFY2(bytes.at(e.offset) == char(e.capacity), qPrintable(where));
            QVERIFY2(bytes.mid(e.offset + 1, e.capacity) == text.left(e.capacity).toLatin1(), qPrintable(where));
            QVERIFY2(differOnlyWithin(bytes, empty, e.offset, e.offset + 1 + e.capacity), qPrintable(where));
            ParamRecord back = paramrecord::decode(bytes);
            QVERIFY2(e.field(back) == text.left(e.capacity), qPrintable(where));
        }
    }

    void cutOnStore_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("25-char surname") << "nom1"
                                         << "Abcdefghijklmnopqrstuvwxy"
                                         << "Abcdefghijklmnopqrst";
        QTest::newRow("40-char address") << "Adr11"
                                         << "1234567890123456789012345678901234567890"
                                         << "12345678901234567890123456789012345";
        QTest::newRow("paid-leave percentage") << "conge"
                                               << "12.5"
                                               << "12";
        QTest::newRow("holiday multiplier") << "Indentr"
                                            << "1.25"
                                            << "1.2";
        QTest::newRow("fits") << "SH"
                              << "12345678"
                              << "12345678";
        QTest::newRow("accents count one byte")
            << "prenom3" << QStringLiteral("Éléonore-Hélène-Noël") << QStringLiteral("Éléonore-Hélène-Noël");
    }
    void cutOnStore()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        const paramrecord::TextField *f = paramrecord::textField(field);
        QVERIFY(f);
        ParamRecord r;
        f->ref(r) = typed;
        ParamRecord back = paramrecord::stored(r);
        QCOMPARE(f->ref(back), stored);
    }

    void datesRadioIndexesAndStates()
    {
        ParamRecord r;
        r.datenaiss = 36526.5; // 1 January 2000, noon
        r.du = 2.0;
        r.au = -1.25;
        r.pol1 = 0x01020304;
        r.pol2 = -1;
        r.Conges = 1;
        r.Netbrut = 2;
        r.lineTick[0] = 1;
        r.lineTick[8] = 2;
        r.CheckBox10 = 1;
        r.CheckBox11 = 1;
        r.CheckBox12 = 2;
        r.Indentre = 1;
        const QByteArray b = paramrecord::encode(r);
        QCOMPARE(b.mid(432, 8), QByteArray::fromHex("00000000d0d5e140"));
        QCOMPARE(b.mid(440, 8), QByteArray::fromHex("0000000000000040"));
        QCOMPARE(b.mid(448, 8), QByteArray::fromHex("000000000000f4bf"));
        QCOMPARE(b.mid(1104, 16), QByteArray::fromHex("04030201"
                                                      "ffffffff"
                                                      "01000000"
                                                      "02000000"));
        QCOMPARE(b.mid(1120, 16), QByteArray::fromHex("01000000000000000201010201"
                                                      "000000"));
        QCOMPARE(paramrecord::decode(b), r);
    }

    void writtenAndReadBackByteForByte()
    {
        const ParamRecord r = fullRecord();
        const QByteArray bytes = paramrecord::encode(r);
        QCOMPARE(paramrecord::decode(bytes), r);
        QCOMPARE(paramrecord::encode(paramrecord::decode(bytes)), bytes);
        QCOMPARE(bytes.mid(1, 18), QByteArray("M\xfcller-L\xfc"
                                              "denscheid"));
    }

    void readerToleratesForeignBytes()
    {
        const ParamRecord r = fullRecord();
        QByteArray bytes = paramrecord::encode(r);
        // Unused positions: the padding and the tail of each text.
        for (int i : {425, 426, 431, 1103, 1133, 1135})
            bytes[i] = char(0xAA);
        for (const Expected &e : expectedTexts()) {
            const int used = 1 + quint8(bytes[e.offset]);
            for (int i = e.offset + used; i <= e.offset + e.capacity; ++i)
                bytes[i] = char(0x55);
        }
        QCOMPARE(paramrecord::decode(bytes), r);
        QCOMPARE(paramrecord::encode(paramrecord::decode(bytes)), paramrecord::encode(r));
    }

    void lengthBeyondCapacityIsClamped()
    {
        QByteArray bytes(1136, 'x');
        bytes[0] = char(0xFF); // nom1: 20 at most
        bytes[1045] = char(3); // conge: 2 at most
        bytes[1048] = char(0); // diverse: empty
        const ParamRecord r = paramrecord::decode(bytes);
        QCOMPARE(r.nom1, QString(20, 'x'));
        QCOMPARE(r.conge, QString("xx"));
        QCOMPARE(r.diverse, QString());
        QCOMPARE(r.nom2, QString(20, 'x')); // its length byte is 'x' (120)
    }
};

QTEST_GUILESS_MAIN(TestParamRecord)
#include "tst_paramrecord.moc"
