#pragma once
// The print/save window that floats above a slip on screen. Printing and
// saving the slip are not built yet: the window only shows its two buttons.

#include "widgets/form.h"

class QPushButton;

class TBO : public Form {
    Q_OBJECT
public:
    explicit TBO(QWidget *parent = nullptr);

    QPushButton *Impression, *Enregistrement;
};
