#pragma once
// The full-screen background shown behind the main window.

#include "widgets/form.h"

class QLabel;

class TBVPfond : public Form {
    Q_OBJECT
public:
    explicit TBVPfond(QWidget *parent = nullptr);

    QLabel *Label1, *Label2;

protected:
    void resizeEvent(QResizeEvent *e) override;
};
