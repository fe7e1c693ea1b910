#pragma once
// Windows-1252, the code page of the rates file and of the parameter records.

#include <QByteArray>
#include <QString>

QString fromWin1252(const QByteArray &bytes);
// Characters that the code page lacks become "?".
QByteArray toWin1252(const QString &text);
