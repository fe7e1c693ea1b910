#include "windows/printsavewindow.h"

#include "widgets/look.h"

#include "windows/contractslipwindow.h"
#include "windows/costwindow.h"
#include "windows/grossslipwindow.h"
#include "windows/hourswindow.h"
#include "windows/mainwindow.h"
#include "windows/netslipwindow.h"
#include "windows/parameterswindow.h"
#include "windows/windowset.h"
#include "widgets/capture.h"
#include "widgets/radiogroup.h"
#include "common/environment.h"
#include "common/messages.h"
#include "payslip/slippicture.h"
#include "payslip/jpegcodec.h"
#include "archive/slipsave.h"
#include "common/monthkey.h"
#include "widgets/pdfpage.h"
#include "widgets/printjob.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QWindow>

namespace {
// Where the window stands and how large it is, frame and title bar included:
// three buttons of 36 pixels, 6 apart.
constexpr QPoint OuterPosition(728, 311);
constexpr QSize OuterSize(134, 164);

// A button drawn with a picture of its own, one when released and one when
// pressed, its caption over it.
class PictureButton : public QAbstractButton {
public:
    explicit PictureButton(QWidget *parent) : QAbstractButton(parent) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const bool down = isDown();
        const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
        QLinearGradient fill(r.topLeft(), r.bottomLeft());
        const QColor light = isEnabled() ? look::buttonLight : look::buttonDisabledLight;
        const QColor deep = isEnabled() ? look::buttonDeep : look::buttonDisabledDeep;
        // Released, the light comes from above; pressed, from below.
        fill.setColorAt(0, down ? deep : light);
        fill.setColorAt(1, down ? light : deep);
        QPainterPath shape;
        shape.addRoundedRect(r, 8, 8);
        p.fillPath(shape, fill);
        p.setPen(QPen(down ? look::buttonPressedEdge : look::buttonEdge, down ? 2 : 1));
        p.drawPath(shape);
        p.setPen(isEnabled() ? look::ink : look::buttonDisabledText);
        p.setFont(font());
        p.drawText(rect().translated(down ? 1 : 0, down ? 1 : 0), Qt::AlignCenter, text());
    }
};

SlipSheet *slipForBasis(int basis)
{
    return basis == 0 ? static_cast<SlipSheet *>(win().Bulletin) : win().Bulletinbrut;
}

// One print job of one page: the slip's picture at its physical size from
// the top-left corner of the printable area of the default printer.
void printSlip(QWidget *slip)
{
    printOnePage([slip](QPainter &painter, const QPrinter &printer) {
        const QImage picture = captureClientArea(slip);
        const QSize size = printedPictureSize(picture.size(), printer.logicalDpiX(), printer.logicalDpiY(),
                                              slip->logicalDpiX(), slip->logicalDpiY());
        painter.drawImage(QRect(QPoint(0, 0), size), picture);
    });
}
} // namespace

TBO::TBO(QWidget *parent) : Form("TBO", parent)
{
    // A small window kept above its slip (a tool window of it, see showFor),
    // with an empty title bar and no buttons on it: the save is the way out
    // of a slip.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // Shown by the slip on each of its activations: taking the activation
    // from the slip would only start the slip's activation again.
    setAttribute(Qt::WA_ShowWithoutActivating);
    move(OuterPosition);
    resize(OuterSize);

    NiceButton1 = named<PictureButton>(this, "NiceButton1");
    NiceButton1->setText(QStringLiteral("Impression"));
    NiceButton1->setGeometry(8, 6, 118, 36);
    NiceButton2 = named<PictureButton>(this, "NiceButton2");
    NiceButton2->setText(QStringLiteral("Enregistrement"));
    NiceButton2->setGeometry(8, 48, 118, 36);
    Cout = named<PictureButton>(this, "Cout");
    Cout->setText(QStringLiteral("Coût pour la famille"));
    Cout->setGeometry(8, 90, 118, 36);
    // Saving does not wait for a print: a parent with no printer, or whose
    // print failed, still keeps the slip's picture, PDF and figures.
    for (QAbstractButton *b : {NiceButton1, NiceButton2, Cout})
        b->setFocusPolicy(Qt::NoFocus);
    Image1 = named<QLabel>(this, "Image1");
    Image1->hide();

    connect(NiceButton1, &QAbstractButton::clicked, this, &TBO::NiceButton1Click);
    connect(NiceButton2, &QAbstractButton::clicked, this, &TBO::NiceButton2Click);
    connect(Cout, &QAbstractButton::clicked, this, &TBO::CoutClick);
}

void TBO::showFor(QWidget *slip)
{
    // A tool window stands above the window it is transient for, and only
    // above that one; both need their native windows to be tied.
    slip->winId();
    winId();
    if (windowHandle()->transientParent() != slip->windowHandle())
        windowHandle()->setTransientParent(slip->windowHandle());
    m_slip = slip;
    show();
    raise();
}

void TBO::onShow() { fitOuterSize(); }

SlipSheet *TBO::slipInHand(int basis) const
{
    // The slips paid by the hour are the basis's, as they always were; the
    // contract's slip is the one shown.
    if (m_slip && m_slip == win().BulletinContrat)
        return win().BulletinContrat;
    return basis == 0 || basis == 1 ? slipForBasis(basis) : nullptr;
}

void TBO::moveEvent(QMoveEvent *e)
{
    Form::moveEvent(e);
    fitOuterSize();
}

// The size is given frame included; the frame is known only once the window
// system has framed the window, on its first showing or a little later.
void TBO::fitOuterSize()
{
    if (m_outerSizeFitted || !isVisible())
        return;
    const QSize frame = frameGeometry().size() - size();
    if (frame.width() <= 0 && frame.height() <= 0)
        return;
    m_outerSizeFitted = true;
    resize(OuterSize - frame);
}

void TBO::NiceButton1Click()
{
    // A slip closed meanwhile is no longer there to be printed.
    const int basis = win().Parametres->Netbrut->itemIndex();
    if (SlipSheet *slip = slipInHand(basis); slip && !slip->isVisible())
        return;
    guarded([&] {
        showMessage(ask::checkPrinter());
        if (SlipSheet *slip = slipInHand(basis)) {
            printSlip(slip);
            printSlip(slip);
        }
    });
}

void TBO::NiceButton2Click()
{
    guarded([&] {
        // Saving takes any basis but net for the gross one.
        SlipSheet *slip = slipInHand(win().Parametres->Netbrut->itemIndex() == 0 ? 0 : 1);
        if (!slip->isVisible())
            return;
        const QImage picture = captureClientArea(slip);
        // The slip stays on the clipboard whatever happens next; the file is
        // written from what the clipboard holds.
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->setImage(picture);
        const QImage held = clipboard->image();
        Image1->setPixmap(QPixmap::fromImage(held.isNull() ? picture : held));
        const QString firstName = win().Entree->selenf->text();
        const QString monthKey = win().Horaire->moan->text();
        const QString path = slipPicturePath(programFolder(), firstName, monthKey);
        // A month saved before is replaced only when the parent says so.
        if (QFileInfo::exists(path)) {
            const std::optional<MonthKey> month = MonthKey::fromText(monthKey);
            if (!askYesNo(ask::replaceSavedSlip(month ? month->title() : monthKey)))
                return;
        }
        // The picture, a searchable PDF of the same slip beside it, and the
        // slip's figures in the archive land together or not at all.
        SlipSave save;
        save.picturePath = path;
        save.jpeg = encodeJpeg(Image1->pixmap().toImage());
        save.pdf = windowPdf(slip, firstName + monthKey);
        if (const auto &shown = slip->shownSlip())
            save.row = archivedSlipFor(shown->input, shown->result, shown->grossBasis, win().Parametres->currentSlot(),
                                       QFileInfo(path).fileName(), now(), shown->contract);
        saveSlip(programFolder(), save);
        slip->close();
        close();
    });
}

void TBO::CoutClick()
{
    guarded([&] {
        // The window stands beside a complete slip only: its figures are the slip's.
        const SlipSheet *slip = slipInHand(win().Parametres->Netbrut->itemIndex());
        if (!slip || !slip->isVisible() || !slip->shownSlip())
            return;
        const SlipSheet::Shown &shown = *slip->shownSlip();
        TCout::open()->showFor(win().Parametres->currentSlot(), shown.input, shown.result, shown.contract);
    });
}
