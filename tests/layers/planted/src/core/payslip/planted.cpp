// A core file that breaks the layers three ways; never compiled, only read
// by the include check, which must refuse it.
#include "payslip/money.h"
#include "widgets/look.h"
#include <QLabel>
#include <QColor>
