#pragma once
// The small print/save window that floats above a slip on screen. "Impression"
// prints the slip twice on the default printer, then offers "Enregistrement",
// which puts the slip's picture on the clipboard, saves it as the month's
// JPEG picture with a PDF of the slip beside it, keeps the slip's figures in
// the archive (all three together or none), and ends the slip's display. Coming back to this window from
// another one takes "Enregistrement" away until the next print.

#include "widgets/form.h"

#include <QPointer>

class QAbstractButton;
class QLabel;
class SlipSheet;

class TBO : public Form {
    Q_OBJECT
public:
    explicit TBO(QWidget *parent = nullptr);

    QAbstractButton *NiceButton1, *NiceButton2;
    QLabel *Image1; // holds the slip's picture between the clipboard and the file

    void NiceButton1Click();
    void NiceButton2Click();

    // The slip that shows this window over it. The two slips paid by the hour
    // are printed and saved as the child's basis says; a contract's slip is
    // printed and saved itself.
    void offerFor(SlipSheet *slip) { m_offeredBy = slip; }

protected:
    void onShow() override;
    void onActivate() override;
    void onDeactivate() override;
    void moveEvent(QMoveEvent *e) override;

private:
    void FormActivate();
    // The slip the commands work on; none for a basis that is neither.
    SlipSheet *slipInHand(int basis) const;
    QPointer<SlipSheet> m_offeredBy;
    void fitOuterSize();

    // The print message box is open / the window lost the activation to it:
    // the activation it gets back when the box closes, possibly only after
    // the print is done, is no return from another window.
    bool m_inMessageBox = false;
    bool m_lostToMessageBox = false;
    bool m_outerSizeFitted = false;
};
