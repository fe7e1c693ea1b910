#pragma once
// Context help. A window or a control carries the number of its help topic in
// its "helpContext" property (0 or none: no topic of its own). F1 asks for the
// topic of the control that has the focus: its own number, else that of the
// nearest control or window around it that has one; with none in the chain,
// F1 does nothing. Every help request goes to the application's help handler.

#include <QtGlobal>
#include <functional>

class QObject;
class QWidget;

// The help command of a context-help request; its data is the context number.
constexpr quint16 HELP_CONTEXT = 1;

// The application's help handler. It receives every help request and returns
// whether it handled it; setting CallHelp passes the request on to the
// toolkit's default processing, which has no help of its own and shows nothing.
using THelpEvent = std::function<bool(quint16 Command, qint32 Data, bool &CallHelp)>;

// Installs `handler` as the application's help handler, and F1 as the
// context-help key of every window, for as long as `owner` lives.
void setApplicationHelp(QObject *owner, THelpEvent handler);

// The context number that applies to `w`; 0 when none in its chain has one.
int helpContextOf(const QWidget *w);

// What F1 does on `w`: a context-help request for its number. Returns whether
// a request was made.
bool requestContextHelp(const QWidget *w);

// Sends one help request to the application's help handler.
bool requestHelp(quint16 command, qint32 data);
