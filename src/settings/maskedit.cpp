#include "maskedit.h"

MaskEdit::MaskEdit(const QString &name, const QString &, QWidget *parent) : QLineEdit(parent)
{
    setObjectName(name);
}
