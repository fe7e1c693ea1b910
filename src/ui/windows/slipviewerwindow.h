#pragma once
// The viewer of the slips saved earlier: the user picks a picture in the
// "bulljpg" folder and sees it, reduced to fit when it is larger than the
// picture area. The picture chosen last stays, while the window is hidden
// too, until the next search.

#include "widgets/form.h"

class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;

class TRevisu : public Form {
    Q_OBJECT
public:
    explicit TRevisu(QWidget *parent = nullptr);

    QLabel *Image1;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;
    QPushButton *BitBtn2, *BitBtn1;
    QLineEdit *Edit3, *selenf;
    // Made when first needed: building Qt's own file dialog costs the start
    // of the program more than any of its windows.
    QFileDialog *OpenPictureDialog1 = nullptr;
    QFileDialog *openPictureDialog();

    void BitBtn2Click();

    // The full name of the file chosen last; empty until a file is chosen.
    const QString &chosenFile() const { return m_chosenFile; }

protected:
    void onActivate() override;

private:
    void FormActivate();
    void showPicture(const QImage &picture);

    QString m_chosenFile;
};
