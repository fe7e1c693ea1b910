#pragma once
// The edit masks of the masked fields (postcodes, telephone, social-security
// and URSSAF numbers).
//
// A mask is written "mask;flag;blank". In the mask "0" is a required digit,
// "9" an optional digit, "#" an optional digit or sign, "L"/"l" a required/
// optional letter, "A"/"a" a required/optional letter or digit, "C"/"c" a
// required/optional character; "\" makes the next character a literal; any
// other character is a literal; a "!" puts the blanks of a text too short
// for the mask at its start instead of its end. Flag 1 keeps the literals in
// the field's text. The blank is the character shown for a position still to
// fill; in the text such a position reads as a space.
//
// A field's content is held as its cells: one character per mask position,
// the literal at literal positions, a space where nothing was typed.

#include <QString>
#include <QVector>

class EditMask {
public:
    EditMask() = default;
    explicit EditMask(const QString &definition);

    int length() const { return int(m_positions.size()); }
    bool isLiteral(int pos) const;
    bool isRequired(int pos) const;
    // Whether `c` may stand at editable position `pos`.
    bool accepts(int pos, QChar c) const;

    // Cells with nothing typed.
    QString blankCells() const;
    // The cells that show a text (a stored value, with or without literals).
    // A text as long as the mask is taken position by position; a shorter or
    // longer one is fitted in from the start (from the end after "!").
    QString cellsFrom(const QString &text) const;
    // The field's text: literals kept (flag 1), blanks as spaces.
    QString text(const QString &cells) const;
    // What the field shows: blanks as the blank character.
    QString display(const QString &cells) const;
    // The cells read back from a shown text.
    QString cellsFromDisplay(const QString &shown) const;
    // First required position still blank; -1 when the cells are complete.
    int firstMissing(const QString &cells) const;

    // First editable position at or after `pos` (length() when none), last
    // one before `pos` (-1 when none).
    int nextEditable(int pos) const;
    int previousEditable(int pos) const;

    // The result of a key: new cells and cursor; `accepted` false when the
    // key was refused (the field beeps and stays as it was).
    struct Edit {
        QString cells;
        int cursor;
        bool accepted;
    };
    // A character typed over the selection [from, to) (from == to: none).
    Edit typed(const QString &cells, int from, int to, QChar c) const;
    // Backspace (backward) or Delete over the selection or next to the cursor.
    Edit erased(const QString &cells, int from, int to, bool backward) const;
    // A text pasted over the selection: characters that fit are placed one
    // after the other, literals of the mask in the text are stepped over,
    // the rest is dropped.
    Edit pasted(const QString &cells, int from, int to, const QString &text) const;

private:
    enum Kind : char { Literal, Digit, DigitOrSign, Letter, LetterOrDigit, AnyChar };
    struct Position {
        Kind kind;
        bool required;
        QChar literal;
    };
    QString blanked(const QString &cells, int from, int to) const;

    QVector<Position> m_positions;
    bool m_keepLiterals = true;
    bool m_reverse = false;
    QChar m_blank = QChar('_');
};
