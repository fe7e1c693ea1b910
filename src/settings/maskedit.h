#pragma once
// SKELETON: masked edit field.
#include <QLineEdit>

class MaskEdit : public QLineEdit {
    Q_OBJECT
public:
    MaskEdit(const QString &name, const QString &mask, QWidget *parent = nullptr);
};
