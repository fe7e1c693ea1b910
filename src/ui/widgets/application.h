#pragma once
// What the program sets up once before its windows exist: its title, the
// French texts of Qt's own dialogs, the French calendars, the fonts of the
// look, and the error box.

class QApplication;

void setUpApplication(QApplication &app);
// Maps the Windows fonts named by the look to free fonts that are installed.
void installFontSubstitutes();
