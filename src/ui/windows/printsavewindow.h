#pragma once
// The small print/save window that floats above a slip on screen. "Impression"
// prints the slip twice on the default printer. "Enregistrement", offered
// whether or not a print was made, puts the slip's picture on the clipboard,
// saves it as the month's JPEG picture with a PDF of the slip beside it,
// keeps the slip's figures in the archive (all three together or none), and
// ends the slip's display. "Coût pour la famille" opens what the slip's
// month costs the family, the childcare aid estimated.

#include "widgets/form.h"

class QAbstractButton;
class QLabel;
class SlipSheet;

class TBO : public Form {
    Q_OBJECT
public:
    explicit TBO(QWidget *parent = nullptr);

    QAbstractButton *NiceButton1, *NiceButton2, *Cout;
    QLabel *Image1; // holds the slip's picture between the clipboard and the file

    void NiceButton1Click();
    void NiceButton2Click();
    void CoutClick();

    // Shows the window above the slip it belongs to, and above that slip
    // only: the help, the file dialogs and the other windows may cover it.
    void showFor(QWidget *slip);
    // The slip it was last shown for; it hides when that slip hides.
    QWidget *slip() const { return m_slip; }

protected:
    void onShow() override;
    void moveEvent(QMoveEvent *e) override;

private:
    // The slip the commands work on: the contract's slip when shown for it,
    // otherwise the slip of `basis`; none for a basis that is neither.
    SlipSheet *slipInHand(int basis) const;
    void fitOuterSize();

    bool m_outerSizeFitted = false;
    QWidget *m_slip = nullptr;
};
