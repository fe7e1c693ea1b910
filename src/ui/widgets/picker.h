#pragma once
// The date and time picker of every window: the toolkit's picker, whose own
// typing turns "02/09/2023" into 02/12/0920 and an hour "24" into 02:00:00,
// with the keys a user types taken by TypedEntry instead. What is typed is
// shown as it is typed and becomes the value once complete, or when the
// picker is left; an impossible date or time is refused with a beep and the
// picker keeps its value. The arrow keys, the wheel and the drop-down
// calendar keep working as the toolkit has them.

#include "common/environment.h"
#include "common/typedentry.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimeEdit>

#include <functional>

namespace picker {
// Sounds the refusal. Counted, so that a test can tell a refused entry.
void beep();
int beeps();
} // namespace picker

// Base: QDateTimeEdit (a date picker) or QTimeEdit (a time picker).
template <class Base>
class TypedPicker : public Base {
public:
    explicit TypedPicker(QWidget *parent = nullptr) : Base(parent) {}

    // Whether an entry is being typed and not yet taken.
    bool isTyping() const { return m_entry.active(); }
    // Takes what is being typed now (or refuses it): for a caller that reads
    // the value before the picker learns it is left, such as a table's cell.
    void finishTyping() { finishEntry(); }
    // Called with the text typed, after the beep, each time an entry is refused
    // (impossible, or outside the picker's range), for a window that names
    // the field in a message.
    void setRefusalNote(std::function<void(const QString &typed)> note) { m_refusalNote = std::move(note); }

protected:
    bool event(QEvent *e) override
    {
        switch (e->type()) {
        case QEvent::FocusAboutToChange:
            // Before anything learns that the picker is left, it holds what
            // was typed (or its value of before, when that was refused).
            finishEntry();
            break;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent *>(e)->key();
            if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
                finishEntry();
            break;
        }
        default: break;
        }
        return Base::event(e);
    }

    void keyPressEvent(QKeyEvent *e) override
    {
        const QString t = e->text();
        const bool plain = !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (plain && t.size() == 1 && t.at(0).isPrint() && !t.at(0).isSpace()) {
            if (!m_entry.active()) {
                m_entry = TypedEntry(kind());
                m_entry.begin(currentParts(), m_startPart);
            }
            took(m_entry.key(t.at(0)));
            e->accept();
            return;
        }
        switch (e->key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            // The toolkit would blank a whole part, which then reads as anything.
            if (m_entry.active()) {
                m_entry.backspace();
                showEntry();
            }
            e->accept();
            return;
        case Qt::Key_Escape:
            if (m_entry.active()) {
                m_entry.cancel();
                showValue();
                e->accept();
                return;
            }
            break;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
            finishEntry();
            Base::keyPressEvent(e);
            // Typing goes on into the part the user moved to.
            m_startPart = Base::currentSectionIndex();
            return;
        default: break;
        }
        finishEntry();
        Base::keyPressEvent(e);
    }

    void focusInEvent(QFocusEvent *e) override
    {
        Base::focusInEvent(e);
        // Reached by the keyboard, typing starts with the first part (day or
        // hours); a click chooses the part clicked.
        if (e->reason() != Qt::MouseFocusReason)
            m_startPart = 0;
    }
    void focusOutEvent(QFocusEvent *e) override
    {
        finishEntry();
        Base::focusOutEvent(e);
    }
    void mousePressEvent(QMouseEvent *e) override
    {
        finishEntry();
        Base::mousePressEvent(e);
        m_startPart = Base::currentSectionIndex();
        // A picker that shows none opens its calendar on this month rather
        // than on its lowest value's.
        if (showsNone() && Base::calendarPopup() && Base::calendarWidget())
            Base::calendarWidget()->setCurrentPage(now().date().year(), now().date().month());
    }
#if QT_CONFIG(wheelevent)
    void wheelEvent(QWheelEvent *e) override
    {
        finishEntry();
        Base::wheelEvent(e);
    }
#endif

private:
    TypedEntry::Kind kind() const
    {
        const auto sections = Base::displayedSections();
        if (sections & QDateTimeEdit::DateSections_Mask)
            return TypedEntry::Kind::Date;
        return (sections & QDateTimeEdit::SecondSection) ? TypedEntry::Kind::Time : TypedEntry::Kind::HoursMinutes;
    }
    TypedEntry::Parts currentParts() const
    {
        if (m_entry.kind() == TypedEntry::Kind::Date) {
            const QDate d = Base::date();
            return {d.day(), d.month(), d.year()};
        }
        const QTime t = Base::time();
        return {t.hour(), t.minute(), m_entry.kind() == TypedEntry::Kind::Time ? t.second() : 0};
    }

    void took(TypedEntry::Result r)
    {
        switch (r) {
        case TypedEntry::Result::Typing: showEntry(); break;
        case TypedEntry::Result::Done: take(); break;
        case TypedEntry::Result::Refused: refuse(); break;
        case TypedEntry::Result::Ignored: picker::beep(); break;
        }
    }

    // A complete entry becomes the value, within the picker's range; a date
    // keeps the picker's time of day.
    void take()
    {
        const TypedEntry::Parts p = m_entry.parts();
        QDateTime value = Base::dateTime();
        if (m_entry.kind() == TypedEntry::Kind::Date)
            value.setDate(QDate(p[2], p[1], p[0]));
        else
            value.setTime(QTime(p[0], p[1], p[2]));
        if (value < Base::minimumDateTime() || value > Base::maximumDateTime()) {
            refuse();
            return;
        }
        Base::setDateTime(value);
        showValue();
    }

    // The entry as typed is dropped: the picker shows its value again.
    void refuse()
    {
        const QString typed = m_entry.text();
        picker::beep();
        showValue();
        if (m_refusalNote)
            m_refusalNote(typed);
    }

    void finishEntry()
    {
        if (m_entry.active())
            took(m_entry.finish());
    }

    // The entry as typed, in place of the value, out of the toolkit's sight.
    void showEntry()
    {
        QLineEdit *edit = Base::lineEdit();
        const QSignalBlocker quiet(edit);
        edit->setText(m_entry.text());
        edit->setCursorPosition(m_entry.cursor());
    }
    // The lowest value stands for none when the picker names a text for it.
    bool showsNone() const
    {
        return !Base::specialValueText().isEmpty() && Base::dateTime() == Base::minimumDateTime();
    }
    void showValue()
    {
        QLineEdit *edit = Base::lineEdit();
        const QSignalBlocker quiet(edit);
        edit->setText(showsNone() ? Base::specialValueText() : Base::textFromDateTime(Base::dateTime()));
    }

    TypedEntry m_entry{kind()};
    int m_startPart = 0;
    std::function<void(const QString &)> m_refusalNote;
};

using DatePicker = TypedPicker<QDateTimeEdit>;
using TimePicker = TypedPicker<QTimeEdit>;
