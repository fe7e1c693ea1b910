#pragma once
// What the two slip windows share: a read-only white sheet of labels at fixed
// pixel positions, the day grid, and the activation that gathers the inputs
// from the parameters and hours windows, works out the slip and fills the
// labels.

#include "widgets/form.h"
#include "common/counts.h"
#include "widgets/look.h"
#include "payslip/declaration.h"
#include "payslip/slip.h"
#include "settings/party.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <optional>
#include <vector>

class QLabel;
class QTableWidget;

// The slip's inputs as the windows show them now: the shown child's record from
// the parameters window, the month from the hours window (slipInputFrom).
SlipInput gatherSlipInput();
// The same inputs for a stored month taken back into its sheet
// (storedMonthSheet) in place of the hours window's.
SlipInput gatherSlipInput(const MonthValidation &month);

// Where the parts of a sheet stand: the two sheets differ by a few pixels
// almost everywhere, and by what they call their salary lines.
struct SheetPlaces {
    QSize size;
    QPoint title;
    QString monthCaption;
    QPoint monthCaptionAt, mois, an;
    QPoint child, prenom, nom;
    QPoint prenom2, nom2;
    int employeeLeft; // pol1, the address lines, the postcode and the "N° de Sécu" caption
    QPoint nom1;
    int ville1Left;
    QPoint leaveCaption;
    int leaveLeft; // du, au
    QString auCaption;
    int gridTop;
    std::array<int, 3> gridColumns;
    // pay block
    QString payHeading;
    QPoint payHeadingAt;
    QRect payFrame;
    int totheurLeft, hoursCaptionLeft, flatCaptionLeft;
    int congTop, payEuroLeft;
    QPoint feri2Caption, feri2, feri1Caption, feri1;
    // contributions block
    QPoint contributionsHeading;
    QRect contributionsFrame;
    int firstLineTop, csLeft, csEuroLeft, totcsLeft;
    // payment block
    QPoint paymentHeading;
    QRect paymentFrame;
    int nourTop;
    int noticeTop, dateTop;
    // The salary line, the column of the pay block's amounts and the total of
    // the contributions: where the two slips have them, unless a sheet says
    // otherwise.
    int salaryTop = 312;
    int payValueLeft = 368;
    int totcsTop = 576;
    // The counts of public-holiday days and hours on the pay block's right
    // (a contract's month shows its holiday hours on a line of its own).
    bool holidayCounts = true;
    // The sheet's remarks, right of the month and the child, under the
    // subtitle: free on every sheet.
    QRect remark = {440, 56, 300, 58};

    // The sheets of the net slip, of the gross slip, and of a regular
    // contract's slip (the gross one's, taller).
    static const SheetPlaces &net();
    static const SheetPlaces &gross();
    static const SheetPlaces &contract();
};

class SlipSheet : public Form {
    Q_OBJECT
public:
    // The text of the day grid's cell (Cells[col, row]); row 0 holds the titles.
    QString gridCell(int col, int row) const;

    // The inputs and figures of the complete slip the sheet shows now, as
    // its last activation worked them out; none after a slip that stopped.
    struct Shown {
        SlipInput input;
        SlipResult result;
        bool grossBasis = false;
        // A regular contract's month: the hours and days its figures came from.
        std::optional<ContractHours> contract;
    };
    const std::optional<Shown> &shownSlip() const { return m_shown; }

    QLabel *mois, *an, *prenom, *nom;
    // The employee's labels pol1 ... secu1, the employer's pol2 ... secu2
    // (a sheet shows no telephone).
    party::Particulars<QLabel *> employee{}, employer{};
    QLabel *du, *au, *Date;
    std::array<QLabel *, ContributionLines> St{}, cs{};
    QTableWidget *Grille;
    QLabel *totheur, *nbjf, *feri1, *feri2;
    // What the sheet says of the month beside its figures (remarks()), a
    // line each; hidden when it says nothing.
    QLabel *Remarque;
    QLabel *salnet = nullptr, *Cong, *abs, *diver, *entret, *totcs, *nour, *acpt, *net;

protected:
    SlipSheet(const char *className, const QString &caption, const SheetPlaces &places, QWidget *parent);

    void onActivate() override;
    void onShow() override;
    bool event(QEvent *e) override;
    void hideEvent(QHideEvent *e) override;

    virtual SlipResult compute(const SlipInput &in) const = 0;
    // The labels of one sheet only.
    virtual void fillOwn(const SlipResult &r) = 0;
    // The basis of the slip the sheet shows.
    virtual bool grossBasis() const { return false; }
    // A regular contract's month: what its declaration and its archive row
    // take from the contract.
    virtual std::optional<ContractHours> contractHours() const { return std::nullopt; }
    // A slip that could not be worked out for a reason the sheet shows in
    // its own text: no error box then, and an activation with the same
    // inputs works it out again (the reason may lie outside the inputs).
    virtual bool saysWhyItself(const SlipResult &) const { return false; }
    // The remarks of the month, once compute() has run: for a slip paid by
    // the hour, that the month lies outside the child's regular contract and
    // which slip is computed instead.
    virtual QStringList remarks(const SlipInput &in) const;

    // Building blocks of the layout.
    QLabel *caption(const QString &text, QPoint at, const QFont &font, const QColor &colour = look::ink);
    QLabel *value(const char *name, QPoint at, const QFont &font, const QColor &colour = look::ink);
    QLabel *euro(QPoint at);
    // A box's heading, in italics on the box's top line.
    QLabel *heading(const QString &text, QPoint at);
    // A party's box: its heading, its particulars at `at` (their labels
    // named by `names`), and the caption of its number.
    party::Particulars<QLabel *> partyBox(const QString &headingText, QPoint headingAt,
                                          const party::Particulars<const char *> &names,
                                          const party::Particulars<QPoint> &at, const QString &numberCaption,
                                          QPoint numberCaptionAt);
    static QFont sheetFont(int points, bool bold = false);
    // The columns the gross basis adds to each contribution line, from the
    // line at `firstTop` down: the base percentage, "% du brut", the rate
    // and "%". Returns every label made.
    QList<QLabel *> grossColumns(int firstTop, std::array<QLabel *, ContributionLines> &base,
                                 std::array<QLabel *, ContributionLines> &rate);

    // Writes a label's new text; one the computation did not reach is emptied.
    static void put(QLabel *label, const SlipText &text);

private:
    void fill(const SlipResult &r);
    // Shrinks the type of each text too wide for its room.
    void fitTexts();
    // Sizes the labels to their texts and fits the day grid's type: it needs
    // the sheet's fonts, which the start of the program need not load for a
    // hidden window, so it waits until the sheet is first shown or drawn.
    void fitToFonts();

    bool m_centred = false;
    bool m_fitted = false;
    QList<QLabel *> m_unfitted;
    int m_gridDateWidth;
    int m_yearLeft; // where the year stands when the month name leaves it room
    // The texts that follow one another on a line.
    std::vector<std::vector<QLabel *>> m_lines;
    // The inputs of a slip that stopped on a text: activating it again with
    // the same inputs would only stop again, and re-showing the error box
    // would hand the activation back to the slip, round after round.
    std::optional<SlipInput> m_failedInput;
    std::optional<Shown> m_shown;
};
