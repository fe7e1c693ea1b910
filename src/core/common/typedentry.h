#pragma once
// A date or a time of day typed into a picker, one key at a time, the way a
// French user types it: digits fill the day, the month and the year (the
// hours, the minutes and the seconds) in that order; a part of two digits
// (the year: four) is complete by itself and the entry moves on; "/" (":")
// moves on from a part begun, and does nothing right after a part that moved
// on by itself, so no part is ever skipped. A part or a whole value that
// cannot be (month 13, hour 24, minute 60, 31/02) refuses the entry once it
// is typed to its end or left: the digits after a part that cannot be belong
// to the same mistyped value ("2500" is 25:00, refused), never to a new one
// that would be taken in its place (00:00). The picker keeps the value it
// had. Nothing but the value shown is ever taken.

#include <QChar>
#include <QString>
#include <array>

class TypedEntry {
public:
    // HoursMinutes is a time shown without its seconds ("HH:MM", a planned
    // duration): two parts, the seconds always 0.
    enum class Kind { Date, Time, HoursMinutes };
    // Date: day, month, year. Time: hours, minutes, seconds.
    using Parts = std::array<int, 3>;
    enum class Result {
        Typing,  // the entry goes on; show text()
        Done,    // the entry is complete and possible: take parts()
        Refused, // the entry is impossible and dropped: the value stays as it was; text() shows it
        Ignored, // the key has no place in a date (a time): nothing changed
    };

    explicit TypedEntry(Kind kind) : m_kind(kind) {}

    Kind kind() const { return m_kind; }
    bool active() const { return m_active; }

    // Starts an entry over the value `from`, typing into part `first` (the
    // parts before it stay). In a time, the parts after it start at 0: "8"
    // then leaving gives 08:00:00.
    void begin(const Parts &from, int first = 0);
    // One typed character: a digit, or the separator ("/" in a date, ":" in
    // a time).
    Result key(QChar c);
    // Takes back the last digit typed in the part being typed.
    void backspace();
    // The control is left (or Enter pressed): a part begun counts as typed
    // ("7" is 07); a year needs its four digits.
    Result finish();
    // Drops the entry (Escape).
    void cancel() { m_active = false; }

    // The value entered, once Done.
    const Parts &parts() const { return m_parts; }
    // What the control shows during the entry: "2_/09/2023", "07:3_:00".
    QString text() const;
    // Where the cursor stands in text(): after the last digit typed.
    int cursor() const;

    static bool isPossible(Kind kind, const Parts &parts);

private:
    int lastPart() const { return m_kind == Kind::HoursMinutes ? 1 : 2; }
    int width(int part) const { return m_kind == Kind::Date && part == 2 ? 4 : 2; }
    QChar separator() const { return m_kind == Kind::Date ? QChar('/') : QChar(':'); }
    bool isTimeKind() const { return m_kind != Kind::Date; }
    bool partPossible(int part, int value) const;
    // Takes the digits of the part being typed; false when they cannot be.
    bool takeBuffer();
    Result moveOn();
    // Keeps a part that cannot be as typed, so that the entry goes on to its
    // end and is refused whole.
    void spoil();

    Kind m_kind;
    bool m_active = false;
    Parts m_parts{};
    int m_part = 0;
    QString m_buffer;       // digits of the part being typed
    bool m_movedOn = false; // the last part was completed by its digits
    bool m_spoiled = false; // a part cannot be: the entry ends refused
};
