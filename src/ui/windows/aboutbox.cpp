#include "windows/aboutbox.h"

#include "widgets/appicons.h"
#include "common/environment.h"
#include "common/version.h"

#include <QDir>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

TAboutBox::TAboutBox(QWidget *parent) : Form("TAboutBox", parent)
{
    setWindowTitle(QStringLiteral("A propos"));
    // A fixed dialog border: no resizing, no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(298, 213);
    centreOnScreen(this);

    Panel1 = named<QFrame>(this, "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setGeometry(8, 8, 282, 161);
    ProgramIcon = named<QLabel>(Panel1, "ProgramIcon");
    ProgramIcon->setGeometry(8, 8, 49, 49);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(programPixmap(49));
    ProductName = named<QLabel>(Panel1, "ProductName");
    ProductName->setText(QStringLiteral("Berlivo Paye"));
    QFont bold = ProductName->font();
    bold.setBold(true);
    ProductName->setFont(bold);
    ProductName->setGeometry(88, 16, 180, 16);
    Version = named<QLabel>(Panel1, "Version");
    Version->setText(QStringLiteral("Version ") + programVersion());
    Version->setGeometry(88, 40, 180, 16);
    DataFolder = named<QLabel>(Panel1, "DataFolder");
    DataFolder->setGeometry(8, 80, 266, 72);
    DataFolder->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    DataFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);

    OKButton = named<QPushButton>(this, "OKButton");
    OKButton->setText(QStringLiteral("OK"));
    OKButton->setGeometry(111, 178, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

void TAboutBox::OKButtonClick() { hide(); }

void TAboutBox::onShow()
{
    // A long folder is shortened in its middle; the whole path is the tip.
    const QString path = QDir::toNativeSeparators(programFolder());
    DataFolder->setToolTip(path);
    DataFolder->setText(QStringLiteral("Vos données sont dans :\n") +
                        DataFolder->fontMetrics().elidedText(path, Qt::ElideMiddle, DataFolder->width()));
}

void TAboutBox::keyPressEvent(QKeyEvent *e)
{
    // Enter presses the default button wherever the focus is; Escape closes
    // the box as a dialog's Escape does.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        OKButton->click();
    else if (e->key() == Qt::Key_Escape)
        hide();
    else
        Form::keyPressEvent(e);
}
