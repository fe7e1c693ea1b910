#pragma once
// SKELETON: the slip window is being built.

#include "app/form.h"

class TBulletin : public Form {
    Q_OBJECT
public:
    explicit TBulletin(QWidget *parent = nullptr);
};
