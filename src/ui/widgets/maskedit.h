#pragma once
// A masked edit field: the user fills the positions of a fixed mask; the
// literals stay in place and a position not filled shows the mask's blank.
//
// maskedText() gives the field's value: its literals and a space for each
// blank position. QLineEdit's text() stays what the field shows, blanks
// included, whichever pointer a caller holds.
// When the user leaves a field he changed with a required position still
// blank, the field beeps, shows "Valeur d'entrée incorrecte. Utiliser Echap
// pour abandonner les modifications" and takes the focus back at that
// position. Escape undoes the changes made since the field took the focus.

#include "settings/editmask.h"

#include <QLineEdit>

class MaskEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString maskedText READ maskedText WRITE setMaskedText)
public:
    MaskEdit(const QString &name, const QString &mask, QWidget *parent = nullptr);

    QString maskedText() const;
    // Shows a value set by the program: the field counts as unchanged.
    void setMaskedText(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    void apply(const EditMask::Edit &edit);
    void show(const QString &cells, int cursor);
    void shownTextChanged(const QString &shown);
    void refuseExit();

    EditMask m_mask;
    QString m_cells;        // what the field holds
    QString m_loadedCells;  // as the program last set it
    QString m_enteredCells; // as it was when the field took the focus
    bool m_userModified = false;
    bool m_showing = false;
    bool m_reEntering = false;
};
