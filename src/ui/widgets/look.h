#pragma once
// The program's colours, and the help topic each window and control opens
// with F1: one place for each, shared by every window.

#include <QColor>

class QWidget;

namespace look {
// The warm peach of the working windows (main, parameters, hours).
inline const QColor windowColour{0xFD, 0xD1, 0xAA};
// The deep blue of the backdrop behind the main window.
inline const QColor backdropColour{0x00, 0x00, 0x8C};
// The program's icon: a purple square edged in magenta.
inline const QColor iconFill{0x8D, 0x03, 0xC9};
inline const QColor iconEdge{0xD2, 0x00, 0xD2};
// The sunken edge of the main window's title and version, on the icon's purple.
inline const QColor titleEdge{0x5A, 0x02, 0x80};
// The magenta of the title and version on the backdrop.
inline const QColor backdropTitle{0xB9, 0x00, 0xB9};

// The slips: black ink on white paper, navy captions, teal month and child,
// red salaries and amount to pay, maroon taxable salary, the day grid on
// pale green with grey rules.
inline const QColor paper{0xFF, 0xFF, 0xFF};
inline const QColor ink{0x00, 0x00, 0x00};
inline const QColor navy{0x00, 0x00, 0x80};
inline const QColor teal{0x00, 0x80, 0x80};
inline const QColor red{0xFF, 0x00, 0x00};
inline const QColor maroon{0x80, 0x00, 0x00};
inline const QColor moneyGreen{0xC0, 0xDC, 0xC0};
inline const QColor gridRule{0x80, 0x80, 0x80};

// The hours window's day grid: navy text, days of care on pale yellow.
inline const QColor paleYellow{0xFF, 0xFF, 0xE1};
// Captions that point at something to do (the hours window, the parameters' reminder).
inline const QColor hintBlue{0x00, 0x00, 0xFF};
// A window's own message saying why it shows no figures, the months it lacks,
// and the notes of an amount below a legal minimum.
inline const QColor warning = maroon;
// The month review's tick.
inline const QColor tickGreen{0x00, 0x80, 0x00};
// The hours window's days filled from the contract's planning, until edited.
inline const QColor fromPlanning{0xDD, 0xF0, 0xD4};

// The print/save window's buttons: a blue gradient, lit from above when
// released, with a darker edge when pressed; grey when disabled.
inline const QColor buttonLight{0xE8, 0xF0, 0xFB};
inline const QColor buttonDeep{0x6F, 0x94, 0xC8};
inline const QColor buttonEdge{0x4A, 0x6A, 0x9A};
inline const QColor buttonPressedEdge{0x24, 0x3F, 0x6B};
inline const QColor buttonDisabledLight{0xEE, 0xEE, 0xEE};
inline const QColor buttonDisabledDeep{0xB8, 0xB8, 0xB8};
inline const QColor buttonDisabledText{0xA0, 0xA0, 0xA4};

// Paints a window's (or control's) own background in `colour`.
void setBackground(QWidget *w, const QColor &colour);
// Gives a text control's text the colour.
void setTextColour(QWidget *w, const QColor &colour);
} // namespace look

// The help topics, by context number.
enum HelpContext {
    MainWindowHelp = 1003,
    ParametersHelp = 1004,
    HoursHelp = 1005,
    MonthReviewHelp = 1006,
    SlipViewerHelp = 1007,
    SlipHelp = 1009,
    DatesHelp = 1010,
    PersonHelp = 1011,
    WagesHelp = 1012,
    AllowancesHelp = 1013,
    ChildTabsHelp = 1014,
    ResetHelp = 1015,
    DeclarationHelp = 1016,
    YearSummaryHelp = 1017,
    ContractHelp = 1018,
    ContractSlipHelp = 1019,
    EndOfContractHelp = 1020,
    FamilyCostHelp = 1021,
};

// The topic F1 opens on this control (the `helpContext` property; 0 for none).
void setHelpContext(QWidget *w, HelpContext context);
int helpContext(const QWidget *w);
