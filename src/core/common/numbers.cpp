#include "numbers.h"

#include "errors.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace {
QChar initialSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 ? point.at(0) : QChar('.');
}

QChar &separator()
{
    static QChar s = initialSeparator();
    return s;
}

bool isBlank(QChar c) { return c.unicode() <= ' '; }

QString trimmedBlanks(const QString &text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && isBlank(text.at(b)))
        ++b;
    while (e > b && isBlank(text.at(e - 1)))
        --e;
    return text.mid(b, e - b);
}
} // namespace

QChar decimalSeparator() { return separator(); }
void setDecimalSeparator(QChar s) { separator() = s; }

std::optional<long double> tryParseFloat(const QString &text)
{
    const QString t = trimmedBlanks(text);
    // Rewrite into the C form that from_chars reads, checking the shape on
    // the way: [sign] digits [sep digits] [(E|e) [sign] digits].
    std::string c;
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    int mantissaDigits = 0;
    while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
        c += char(t[i++].unicode());
        ++mantissaDigits;
    }
    if (i < t.size() && t[i] == separator()) {
        ++i;
        c += '.';
        while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
            c += char(t[i++].unicode());
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
        ++i;
        c += 'e';
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            c += char(t[i++].unicode());
        int expDigits = 0;
        while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
            c += char(t[i++].unicode());
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    if (c.front() == '.')
        c.insert(c.begin(), '0');
    long double value = 0;
    const auto [end, ec] = std::from_chars(c.data(), c.data() + c.size(), value);
    if (ec != std::errc() || end != c.data() + c.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

long double parseFloat(const QString &text)
{
    if (auto v = tryParseFloat(text))
        return *v;
    throw RuntimeError(rtl::notAFloat(text));
}

std::optional<qint32> tryParseInt(const QString &text)
{
    const QString t = trimmedBlanks(text);
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    int base = 10;
    if (i < t.size() && t[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == t.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < t.size(); ++i) {
        const int d = t[i].unicode() < 128 ? QChar(t[i]).digitValue() : -1;
        int digit = d;
        if (base == 16 && d < 0) {
            const char ch = char(t[i].toLower().unicode());
            digit = (ch >= 'a' && ch <= 'f') ? ch - 'a' + 10 : -1;
        }
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > qint64(0x80000000LL))
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 0x7fffffffLL && base == 10)
        return std::nullopt;
    if (value > 0xffffffffLL || value < -0x80000000LL)
        return std::nullopt;
    return qint32(quint32(value));
}

qint32 parseInt(const QString &text)
{
    if (auto v = tryParseInt(text))
        return *v;
    throw RuntimeError(rtl::notAnInteger(text));
}

QString formatGeneral(long double value, int precision)
{
    if (value == 0 || !std::isfinite(value))
        return value == 0 ? QStringLiteral("0") : QString::number(double(value));
    // Round to `precision` significant digits first, then choose the form.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*Le", precision - 1, value);
    const QString sci = QString::fromLatin1(buf); // d.dddde[+-]xx
    const qsizetype ePos = sci.indexOf('e');
    const int exponent = sci.mid(ePos + 1).toInt();
    QString digits = sci.left(ePos);
    const bool negative = digits.startsWith('-');
    if (negative)
        digits.remove(0, 1);
    digits.remove('.');
    while (digits.size() > 1 && digits.endsWith('0'))
        digits.chop(1);
    const QString sep(separator());
    QString out;
    if (exponent >= precision || exponent < -4) {
        out = digits.left(1);
        if (digits.size() > 1)
            out += sep + digits.mid(1);
        out += 'E' + QString::number(exponent);
    } else if (exponent < 0) {
        out = QStringLiteral("0") + sep + QString(-exponent - 1, '0') + digits;
    } else if (digits.size() > exponent + 1) {
        out = digits.left(exponent + 1) + sep + digits.mid(exponent + 1);
    } else {
        out = digits + QString(exponent + 1 - digits.size(), '0');
    }
    return negative ? '-' + out : out;
}
