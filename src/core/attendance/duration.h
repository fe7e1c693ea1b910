#pragma once
// The arithmetic of a day of care: its duration from the four clock times,
// that duration in decimal hours, the two-decimal cut of a total, and the
// month key a day is filed under.

#include <QString>
#include <QTime>

// The duration of a day with a morning (h1 to h2) and an afternoon (h3 to
// h4), written HH:MM:SS. An untouched picker reads 00:00:00, so a day with
// only a morning counts h2 - h1. The clock has no notion of midnight: the
// sum is taken in absolute value, to the millisecond, modulo 24 hours, and
// the seconds are written without rounding the milliseconds up.
QString dayDuration(QTime h1, QTime h2, QTime h3, QTime h4);

// A duration text HH:MM:SS in decimal hours: hours + minutes / 60, the
// seconds ignored. A text whose fixed positions do not hold numbers raises
// the runtime's integer error.
double durationHours(const QString &duration);
// The same hours worked out in extended precision and then held as a double,
// as the slip computes its holiday hours. The two differ in the last bit for
// some minutes (1:13 among them); each keeps the figures its own window has
// always shown, the stored Durée and totals on one side, the slip on the other.
double durationHoursExtended(const QString &duration);

// The value in general format, cut after its second decimal (37.8333 gives
// 37.83, 0.1666 gives 0.16): the slip and the stored days never show a
// rounded-up hour. A whole value stays whole (160).
QString cutTwoDecimals(double value);
