#include "settings/editmask.h"

EditMask::EditMask(const QString &definition)
{
    // The mask runs to the first ";" that is not escaped; the flag and the
    // blank follow.
    int i = 0;
    for (; i < definition.size() && definition.at(i) != ';'; ++i) {
        const QChar c = definition.at(i);
        switch (c.unicode()) {
        case '!': m_reverse = true; break;
        case '>':
        case '<': break; // case conversion: no field here uses it
        case '\\':
            if (i + 1 < definition.size())
                m_positions.append({Literal, false, definition.at(++i)});
            break;
        case '0': m_positions.append({Digit, true, {}}); break;
        case '9': m_positions.append({Digit, false, {}}); break;
        case '#': m_positions.append({DigitOrSign, false, {}}); break;
        case 'L': m_positions.append({Letter, true, {}}); break;
        case 'l': m_positions.append({Letter, false, {}}); break;
        case 'A': m_positions.append({LetterOrDigit, true, {}}); break;
        case 'a': m_positions.append({LetterOrDigit, false, {}}); break;
        case 'C': m_positions.append({AnyChar, true, {}}); break;
        case 'c': m_positions.append({AnyChar, false, {}}); break;
        default: m_positions.append({Literal, false, c}); break;
        }
    }
    const QStringList rest = definition.mid(i + 1).split(';');
    if (i < definition.size() && !rest.at(0).isEmpty())
        m_keepLiterals = rest.at(0) != QLatin1String("0");
    if (rest.size() > 1 && !rest.at(1).isEmpty())
        m_blank = rest.at(1).at(0);
}

bool EditMask::isLiteral(int pos) const { return m_positions.at(pos).kind == Literal; }
bool EditMask::isRequired(int pos) const { return m_positions.at(pos).required; }

bool EditMask::accepts(int pos, QChar c) const
{
    const bool digit = c >= '0' && c <= '9';
    switch (m_positions.at(pos).kind) {
    case Literal: return false;
    case Digit: return digit;
    case DigitOrSign: return digit || c == '+' || c == '-';
    case Letter: return c.isLetter();
    case LetterOrDigit: return c.isLetter() || digit;
    case AnyChar: return c.isPrint();
    }
    return false;
}

QString EditMask::blankCells() const
{
    QString cells;
    for (const Position &p : m_positions)
        cells += p.kind == Literal ? p.literal : QChar(' ');
    return cells;
}

QString EditMask::cellsFrom(const QString &text) const
{
    QString cells = blankCells();
    const int n = length();
    if (m_keepLiterals && text.size() == n) {
        for (int pos = 0; pos < n; ++pos)
            if (!isLiteral(pos) && accepts(pos, text.at(pos)))
                cells[pos] = text.at(pos);
        return cells;
    }
    // Fit the text in, one character per editable position; a literal of
    // the mask met in the text is taken as that literal.
    const int step = m_reverse ? -1 : 1;
    int j = m_reverse ? int(text.size()) - 1 : 0;
    for (int pos = m_reverse ? n - 1 : 0; pos >= 0 && pos < n && j >= 0 && j < text.size(); pos += step) {
        if (isLiteral(pos)) {
            if (m_keepLiterals && text.at(j) == m_positions.at(pos).literal)
                j += step;
            continue;
        }
        if (accepts(pos, text.at(j)))
            cells[pos] = text.at(j);
        j += step;
    }
    return cells;
}

QString EditMask::text(const QString &cells) const
{
    if (m_keepLiterals)
        return cells;
    QString t;
    for (int pos = 0; pos < length(); ++pos)
        if (!isLiteral(pos))
            t += cells.at(pos);
    return t;
}

QString EditMask::display(const QString &cells) const
{
    QString shown = cells;
    for (int pos = 0; pos < length(); ++pos)
        if (!isLiteral(pos) && cells.at(pos) == ' ')
            shown[pos] = m_blank;
    return shown;
}

QString EditMask::cellsFromDisplay(const QString &shown) const
{
    QString t = shown;
    t.replace(m_blank, QChar(' '));
    return cellsFrom(t);
}

int EditMask::firstMissing(const QString &cells) const
{
    for (int pos = 0; pos < length(); ++pos)
        if (isRequired(pos) && cells.at(pos) == ' ')
            return pos;
    return -1;
}

int EditMask::nextEditable(int pos) const
{
    pos = qMax(pos, 0);
    while (pos < length() && isLiteral(pos))
        ++pos;
    return pos;
}

int EditMask::previousEditable(int pos) const
{
    for (--pos; pos >= 0; --pos)
        if (!isLiteral(pos))
            return pos;
    return -1;
}

QString EditMask::blanked(const QString &cells, int from, int to) const
{
    QString out = cells;
    for (int pos = qMax(from, 0); pos < qMin(to, length()); ++pos)
        if (!isLiteral(pos))
            out[pos] = ' ';
    return out;
}

EditMask::Edit EditMask::typed(const QString &cells, int from, int to, QChar c) const
{
    const QString base = blanked(cells, from, to);
    // A literal of the mask typed where it stands steps over it; typed just
    // after the cursor jumped over it, it is taken as already there.
    for (int pos = from; pos < length() && isLiteral(pos); ++pos)
        if (m_positions.at(pos).literal == c)
            return {base, nextEditable(pos + 1), true};
    if (from == to && from > 0 && isLiteral(from - 1) && m_positions.at(from - 1).literal == c)
        return {cells, from, true};
    const int pos = nextEditable(from);
    if (pos >= length())
        return {cells, from, false};
    if (c == ' ' && !isRequired(pos)) {
        QString out = base;
        out[pos] = ' ';
        return {out, nextEditable(pos + 1), true};
    }
    if (!accepts(pos, c))
        return {cells, from, false};
    QString out = base;
    out[pos] = c;
    return {out, nextEditable(pos + 1), true};
}

EditMask::Edit EditMask::erased(const QString &cells, int from, int to, bool backward) const
{
    if (from < to)
        return {blanked(cells, from, to), from, true};
    const int pos = backward ? previousEditable(from) : nextEditable(from);
    if (pos < 0 || pos >= length())
        return {cells, from, false};
    return {blanked(cells, pos, pos + 1), pos, true};
}

EditMask::Edit EditMask::pasted(const QString &cells, int from, int to, const QString &text) const
{
    Edit e{blanked(cells, from, to), from, true};
    for (QChar c : text) {
        const Edit next = typed(e.cells, e.cursor, e.cursor, c);
        if (next.accepted)
            e = {next.cells, next.cursor, true};
    }
    return e;
}
