#pragma once
// Where the time of a start goes, for the start-up benchmark and for anyone
// looking for a slow step.
//
// With BERLIVO_START_TRACE in the environment, each step of the start writes
// on the standard error what it took since the step before: the clock's
// milliseconds and the processor's (a machine busy with something else
// stretches the first, hardly the second). The first step counts from the
// process's start: the variable may give the monotonic clock in nanoseconds
// at that moment. Once the main window has been
// painted and the event loop has turned, the program writes the monotonic
// clock in nanoseconds on the standard output, as the benchmark's bare Qt
// window does, and ends. Without the variable every call returns at once.

class QWidget;

namespace starttrace {

bool on();
// The step just done, named.
void mark(const char *step);
// Ends the start as said above once `window` has been painted.
void endAfterFirstPaint(QWidget *window);

} // namespace starttrace
