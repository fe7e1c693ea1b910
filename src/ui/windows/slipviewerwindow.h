#pragma once
// This window is not built yet: it exists from start to exit with its caption.

#include "widgets/form.h"

class TRevisu : public Form {
    Q_OBJECT
public:
    explicit TRevisu(QWidget *parent = nullptr);
};
