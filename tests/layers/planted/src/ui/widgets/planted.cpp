// A widget that includes a window; never compiled, only read by the include
// check, which must refuse it.
#include "widgets/form.h"
#include "windows/windowset.h"
