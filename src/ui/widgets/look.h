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
// The dark red of a note that asks for a parent's attention (a missing
// figure, an amount below a legal minimum).
inline const QColor warningColour{0x8B, 0x00, 0x00};
// The program's icon: a purple square edged in magenta.
inline const QColor iconFill{0x8D, 0x03, 0xC9};
inline const QColor iconEdge{0xD2, 0x00, 0xD2};

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
};

// The topic F1 opens on this control (the `helpContext` property; 0 for none).
void setHelpContext(QWidget *w, HelpContext context);
int helpContext(const QWidget *w);
