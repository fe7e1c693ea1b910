#include "widgets/maskedit.h"

#include "common/errors.h"
#include "common/messages.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QStackedWidget>
#include <QTabWidget>

MaskEdit::MaskEdit(const QString &name, const QString &mask, QWidget *parent)
    : QLineEdit(parent), m_mask(mask), m_cells(m_mask.blankCells())
{
    setObjectName(name);
    setDragEnabled(false);
    setAcceptDrops(false);
    m_loadedCells = m_enteredCells = m_cells;
    show(m_cells, 0);
    // Changes made by other means than the keys handled below (the context
    // menu's paste or delete, say) are fitted back into the mask.
    connect(this, &QLineEdit::textChanged, this, &MaskEdit::shownTextChanged);
}

QString MaskEdit::maskedText() const { return m_mask.text(m_cells); }

void MaskEdit::setMaskedText(const QString &text)
{
    m_cells = m_loadedCells = m_enteredCells = m_mask.cellsFrom(text);
    m_userModified = false;
    show(m_cells, 0);
}

void MaskEdit::show(const QString &cells, int cursor)
{
    m_showing = true;
    QLineEdit::setText(m_mask.display(cells));
    m_showing = false;
    setCursorPosition(cursor);
}

void MaskEdit::apply(const EditMask::Edit &edit)
{
    if (!edit.accepted) {
        QApplication::beep();
        return;
    }
    if (edit.cells != m_cells)
        m_userModified = true;
    m_cells = edit.cells;
    show(m_cells, edit.cursor);
}

void MaskEdit::shownTextChanged(const QString &shown)
{
    if (m_showing || shown == m_mask.display(m_cells))
        return;
    const int cursor = qMin(cursorPosition(), m_mask.length());
    m_cells = m_mask.cellsFromDisplay(shown);
    m_userModified = true;
    show(m_cells, cursor);
}

void MaskEdit::keyPressEvent(QKeyEvent *e)
{
    const int from = hasSelectedText() ? selectionStart() : cursorPosition();
    const int to = hasSelectedText() ? selectionEnd() : from;
    if (e->key() == Qt::Key_Escape && m_cells == m_enteredCells) {
        // Nothing to undo: the key goes on to the window.
        e->ignore();
        return;
    }
    if (e->key() == Qt::Key_Escape || e == QKeySequence::Undo) {
        // Back to what the field held when the user entered it.
        m_cells = m_enteredCells;
        m_userModified = m_cells != m_loadedCells;
        show(m_cells, 0);
    } else if (e == QKeySequence::Paste) {
        apply(m_mask.pasted(m_cells, from, to, QGuiApplication::clipboard()->text()));
    } else if (e == QKeySequence::Cut) {
        copy();
        apply(m_mask.erased(m_cells, from, to, false));
    } else if (e->key() == Qt::Key_Backspace) {
        apply(m_mask.erased(m_cells, from, to, true));
    } else if (e->key() == Qt::Key_Delete && e->modifiers() == Qt::NoModifier) {
        apply(m_mask.erased(m_cells, from, to, false));
    } else if (!e->text().isEmpty() && e->text().at(0).isPrint() &&
               !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        const QString text = e->text();
        apply(text.size() == 1 ? m_mask.typed(m_cells, from, to, text.at(0)) : m_mask.pasted(m_cells, from, to, text));
    } else {
        // Moving, selecting, copying, Enter and Tab: the line edit's own.
        QLineEdit::keyPressEvent(e);
        return;
    }
    e->accept();
}

void MaskEdit::inputMethodEvent(QInputMethodEvent *e)
{
    const int from = hasSelectedText() ? selectionStart() : cursorPosition();
    const int to = hasSelectedText() ? selectionEnd() : from;
    if (!e->commitString().isEmpty())
        apply(m_mask.pasted(m_cells, from, to, e->commitString()));
    e->accept();
}

void MaskEdit::focusInEvent(QFocusEvent *e)
{
    // Coming back from another program or from the error box is not a new
    // entry into the field.
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason && !m_reEntering)
        m_enteredCells = m_cells;
    m_reEntering = false;
    QLineEdit::focusInEvent(e);
}

void MaskEdit::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason)
        return;
    if (m_userModified && m_mask.firstMissing(m_cells) >= 0)
        // Once the focus has settled on the control the user went to.
        QMetaObject::invokeMethod(this, &MaskEdit::refuseExit, Qt::QueuedConnection);
}

void MaskEdit::refuseExit()
{
    const int pos = m_mask.firstMissing(m_cells);
    // The window may have been closed meanwhile, or the user already back.
    if (!m_userModified || pos < 0 || !window()->isVisible() || hasFocus())
        return;
    // Taken back, the field still undoes to what it held when the user
    // first entered it.
    m_reEntering = true;
    // Bring back the page the field stands on.
    for (QWidget *w = this; w->parentWidget(); w = w->parentWidget()) {
        auto *stack = qobject_cast<QStackedWidget *>(w->parentWidget());
        if (!stack)
            continue;
        if (auto *tabs = qobject_cast<QTabWidget *>(stack->parentWidget()))
            tabs->setCurrentWidget(w);
        else
            stack->setCurrentWidget(w);
    }
    setFocus(Qt::OtherFocusReason);
    m_reEntering = false;
    setCursorPosition(pos);
    QApplication::beep();
    showError(rtl::invalidMaskedInput());
}
