#pragma once
// SKELETON: the slip window is being built.

#include "app/form.h"

class TBulletinbrut : public Form {
    Q_OBJECT
public:
    explicit TBulletinbrut(QWidget *parent = nullptr);
};
