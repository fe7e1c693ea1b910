#pragma once
// The about box: the product name and its version.

#include "widgets/form.h"

class QLabel;
class QPushButton;
class QFrame;

class TAboutBox : public Form {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);

    QFrame *Panel1;
    QLabel *ProgramIcon, *ProductName, *Version;
    QLabel *DataFolder; // where the user's data lives
    QPushButton *OKButton;

public slots:
    void OKButtonClick();

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void onShow() override;
};
