#include "typedentry.h"

#include <QDate>

void TypedEntry::begin(const Parts &from, int first)
{
    m_active = true;
    m_parts = from;
    m_part = qBound(0, first, lastPart());
    if (isTimeKind())
        for (int i = m_part + 1; i < 3; ++i)
            m_parts[i] = 0;
    m_buffer.clear();
    m_movedOn = false;
    m_spoiled = false;
}

bool TypedEntry::partPossible(int part, int value) const
{
    if (m_kind == Kind::Date) {
        switch (part) {
        case 0: return value >= 1 && value <= 31;
        case 1: return value >= 1 && value <= 12;
        default: return value >= 1;
        }
    }
    return value >= 0 && value < (part == 0 ? 24 : 60);
}

bool TypedEntry::isPossible(Kind kind, const Parts &p)
{
    if (kind == Kind::Date)
        return QDate(p[2], p[1], p[0]).isValid() && p[2] >= 1;
    const bool seconds = kind == Kind::HoursMinutes ? p[2] == 0 : p[2] >= 0 && p[2] < 60;
    return p[0] >= 0 && p[0] < 24 && p[1] >= 0 && p[1] < 60 && seconds;
}

void TypedEntry::spoil()
{
    m_parts[m_part] = m_buffer.toInt();
    m_buffer.clear();
    m_spoiled = true;
}

bool TypedEntry::takeBuffer()
{
    // A year is typed whole: "23" is not 2023, nor the year 23.
    if (m_buffer.size() < width(m_part) && m_kind == Kind::Date && m_part == 2)
        return false;
    const int value = m_buffer.toInt();
    if (!partPossible(m_part, value))
        return false;
    m_parts[m_part] = value;
    m_buffer.clear();
    return true;
}

TypedEntry::Result TypedEntry::moveOn()
{
    if (m_part == lastPart())
        return finish();
    ++m_part;
    return Result::Typing;
}

TypedEntry::Result TypedEntry::key(QChar c)
{
    if (!m_active)
        return Result::Ignored;
    if (c.isDigit() && c.unicode() < 128) {
        m_buffer += c;
        m_movedOn = false;
        if (m_buffer.size() < width(m_part))
            return Result::Typing;
        if (!takeBuffer())
            spoil();
        m_movedOn = true;
        return moveOn();
    }
    if (c == separator()) {
        // Right after a part that moved on by itself, the separator the user
        // types out of habit is already behind the cursor.
        if (m_movedOn) {
            m_movedOn = false;
            return Result::Typing;
        }
        if (!m_buffer.isEmpty() && !takeBuffer())
            spoil();
        return moveOn();
    }
    return Result::Ignored;
}

void TypedEntry::backspace()
{
    if (m_active && !m_buffer.isEmpty())
        m_buffer.chop(1);
    m_movedOn = false;
}

TypedEntry::Result TypedEntry::finish()
{
    if (!m_active)
        return Result::Ignored;
    if (!m_buffer.isEmpty() && !takeBuffer())
        spoil();
    m_active = false;
    return !m_spoiled && isPossible(m_kind, m_parts) ? Result::Done : Result::Refused;
}

QString TypedEntry::text() const
{
    QString t;
    for (int i = 0; i <= lastPart(); ++i) {
        if (i > 0)
            t += separator();
        if (m_active && i == m_part && !m_buffer.isEmpty())
            t += m_buffer.leftJustified(width(i), QChar('_'));
        else
            t += QString::number(m_parts[i]).rightJustified(width(i), QChar('0'));
    }
    return t;
}

int TypedEntry::cursor() const { return m_part * 3 + int(m_buffer.size()); }
