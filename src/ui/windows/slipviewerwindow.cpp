#include "windows/slipviewerwindow.h"
#include "widgets/look.h"

#include "windows/mainwindow.h"
#include "windows/windowset.h"
#include "common/environment.h"
#include "common/messages.h"
#include "common/programfiles.h"
#include "payslip/slippicture.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace {
constexpr QSize PictureArea(705, 789);
constexpr QSize PreviewSize(180, 200);

// The picture-open dialog: the files of one picture kind, and a preview of
// the file under the cursor beside the list.
QFileDialog *pictureDialog(QWidget *parent)
{
    auto *dialog = new QFileDialog(parent, QStringLiteral("Bulletin à charger..."));
    dialog->setObjectName(QStringLiteral("OpenPictureDialog1"));
    // Qt's own dialog: the platform's may not take a preview pane.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name is taken as it is, whether or not such a file exists.
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(QStringLiteral("Fichier image JPEG (*.jpg)"));

    auto *preview = new QLabel(dialog);
    preview->setObjectName(QStringLiteral("preview"));
    preview->setFixedSize(PreviewSize);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    if (auto *grid = qobject_cast<QGridLayout *>(dialog->layout()))
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(dialog, &QFileDialog::currentChanged, preview, [preview](const QString &path) {
        QImage picture;
        // A file that is no picture simply shows no preview.
        try {
            if (QFileInfo(path).isFile())
                picture = loadSlipPicture(path);
        } catch (const RuntimeError &) {
        }
        if (picture.isNull()) {
            preview->clear();
            return;
        }
        preview->setPixmap(QPixmap::fromImage(
            picture.scaled(PreviewSize - QSize(8, 8), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    });
    return dialog;
}
} // namespace

TRevisu::TRevisu(QWidget *parent) : Form("TRevisu", parent)
{
    setWindowTitle(QStringLiteral("Visualiser un bulletin ancien"));
    setHelpContext(this, SlipViewerHelp);
    resize(872, 824);
    centreOnScreen(this);

    Image1 = named<QLabel>(this, "Image1");
    Image1->setGeometry(QRect(QPoint(0, 0), PictureArea));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const QStringList instruction = {"Recherchez l'image",   "souhaitée dont le nom", "correspond au prénom",
                                     "de l'enfant suivi du", "mois et de l'année",    "de création du bulletin."};
    QLabel **labels[] = {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6};
    for (int k = 0; k < 6; ++k) {
        const QByteArray name = "Label" + QByteArray::number(k + 1);
        *labels[k] = named<QLabel>(this, name.constData());
        (*labels[k])->setText(instruction[k]);
        (*labels[k])->setGeometry(720, 40 + 20 * k, 148, 18);
    }

    QStyle *style = QApplication::style();
    BitBtn2 = named<QPushButton>(this, "BitBtn2");
    BitBtn2->setText(QStringLiteral("&Rechercher"));
    BitBtn2->setIcon(style->standardIcon(QStyle::SP_BrowserReload));
    BitBtn2->setGeometry(736, 200, 112, 32);
    BitBtn1 = named<QPushButton>(this, "BitBtn1");
    BitBtn1->setText(QStringLiteral("&Fermer"));
    BitBtn1->setIcon(style->standardIcon(QStyle::SP_DialogCloseButton));
    BitBtn1->setGeometry(736, 248, 112, 32);

    Edit3 = named<QLineEdit>(this, "Edit3");
    Edit3->setText(QStringLiteral("Enfant selectionné  :"));
    Edit3->setReadOnly(true);
    Edit3->setFrame(false);
    Edit3->setFocusPolicy(Qt::NoFocus);
    Edit3->setGeometry(720, 312, 148, 21);
    Edit3->setCursorPosition(0); // the caption read from its start
    selenf = named<QLineEdit>(this, "selenf");
    selenf->setReadOnly(true);
    QFont bold = selenf->font();
    bold.setBold(true);
    selenf->setFont(bold);
    selenf->setGeometry(720, 336, 144, 21);

    connect(BitBtn2, &QPushButton::clicked, this, &TRevisu::BitBtn2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &QWidget::close);
}

void TRevisu::onActivate() { FormActivate(); }

void TRevisu::FormActivate() { selenf->setText(win().Entree->selenf->text()); }

QFileDialog *TRevisu::openPictureDialog()
{
    if (!OpenPictureDialog1)
        OpenPictureDialog1 = pictureDialog(this);
    return OpenPictureDialog1;
}

void TRevisu::BitBtn2Click()
{
    guarded([&] {
        QFileDialog *dialog = openPictureDialog();
        // When the folder is missing the dialog opens where it was last.
        dialog->setDirectory(programFolder() + folder::pictures + '/');
        if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty())
            m_chosenFile = dialog->selectedFiles().constFirst();
        // Cancelling shows the file chosen last again.
        showPicture(loadSlipPicture(m_chosenFile));
    });
}

void TRevisu::showPicture(const QImage &picture)
{
    const QSize shown = fittedPictureSize(picture.size(), PictureArea);
    const QImage fitted =
        shown == picture.size() ? picture : picture.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    Image1->setPixmap(QPixmap::fromImage(fitted));
}
