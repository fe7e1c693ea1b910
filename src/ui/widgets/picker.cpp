#include "widgets/picker.h"

namespace {
int beepCount = 0;
}

namespace picker {
void beep()
{
    ++beepCount;
    QApplication::beep();
}
int beeps() { return beepCount; }
} // namespace picker
