#include "windows/slipsheet.h"

#include "widgets/look.h"
#include "windows/windowset.h"
#include "windows/hourswindow.h"
#include "common/environment.h"
#include "common/messages.h"
#include "contract/contractinputs.h"
#include "windows/printsavewindow.h"
#include "windows/parameterswindow.h"
#include "settings/paramrecord.h"

#include <algorithm>
#include <functional>
#include <QFrame>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

namespace {
// The type a text is given where it stands, kept to shrink from afresh each
// time the text changes.
const char *const naturalFont = "berlivoNaturalFont";
// Where a text that follows another on its line stands when that one leaves it room.
const char *const designLeft = "berlivoDesignLeft";

// The names of the parties' labels on the sheet.
const party::Particulars<const char *> employeeLabels = {.title = "pol1",
                                                         .surname = "nom1",
                                                         .firstName = "prenom1",
                                                         .address1 = "adr11",
                                                         .address2 = "adr12",
                                                         .postcode = "cp1",
                                                         .town = "ville1",
                                                         .phone = nullptr,
                                                         .number = "secu1"};
const party::Particulars<const char *> employerLabels = {.title = "pol2",
                                                         .surname = "nom2",
                                                         .firstName = "prenom2",
                                                         .address1 = "adr21",
                                                         .address2 = "adr22",
                                                         .postcode = "cp2",
                                                         .town = "ville2",
                                                         .phone = nullptr,
                                                         .number = "secu2"};

// The sheet's one rule for a text wider than its room: the stand-in faces
// run wider than the original ones, so the type shrinks a quarter point at a
// time, not below 5 points, until the text fits.
QFont shrunkToFit(QFont font, int room, const std::function<int(const QFont &)> &widthIn)
{
    while (font.pointSizeF() > 5.0 && widthIn(font) > room)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    return font;
}

// The texts the slip gives a party's labels; no title when the slip keeps
// the one shown, and no telephone.
party::Particulars<const SlipText *> partyTexts(const SlipResult &r, party::Side side)
{
    if (side == party::Side::Employee) {
        const SlipText *title = r.pol1Kept ? nullptr : &r.pol1;
        return {title, &r.nom1, &r.prenom1, &r.adr11, &r.adr12, &r.cp1, &r.ville1, nullptr, &r.secu1};
    }
    const SlipText *title = r.pol2Kept ? nullptr : &r.pol2;
    return {title, &r.nom2, &r.prenom2, &r.adr21, &r.adr22, &r.cp2, &r.ville2, nullptr, &r.secu2};
}

// Where a label's text must end: before the next thing on its line, inside
// the box it starts in, inside the sheet.
int roomEnd(const QWidget *sheet, const QLabel *label)
{
    const QRect r = label->geometry();
    int end = sheet->width() - 4;
    for (const QWidget *w : sheet->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (w == label || w->isHidden())
            continue;
        const QRect o = w->geometry();
        if (w->metaObject() == &QFrame::staticMetaObject) {
            if (o.contains(r.topLeft() + QPoint(0, 2)))
                end = std::min(end, o.right() - 3);
        } else if (o.left() > r.left() && o.top() + 3 < r.bottom() - 3 && r.top() + 3 < o.bottom() - 3) {
            end = std::min(end, o.left() - 4);
        }
    }
    return end;
}
} // namespace

const SheetPlaces &SheetPlaces::net()
{
    static const SheetPlaces places = {
        .size = {750, 834},
        .title = {104, 8},
        .monthCaption = QStringLiteral("Mois de  :"),
        .monthCaptionAt = {104, 64},
        .mois = {176, 56},
        .an = {248, 56},
        .child = {80, 88},
        .prenom = {283, 88},
        .nom = {368, 88},
        .prenom2 = {80, 128},
        .nom2 = {168, 128},
        .employeeLeft = 312,
        .nom1 = {464, 128},
        .ville1Left = 352,
        .leaveCaption = {576, 120},
        .leaveLeft = 624,
        .auCaption = QStringLiteral("au :"),
        .gridTop = 272,
        .gridColumns = {50, 36, 53},
        .payHeading = QStringLiteral("SALAIRE NET"),
        .payHeadingAt = {216, 264},
        .payFrame = {192, 272, 537, 129},
        .totheurLeft = 368,
        .hoursCaptionLeft = 448,
        .flatCaptionLeft = 624,
        .congTop = 344,
        .payEuroLeft = 424,
        .feri2Caption = {464, 344},
        .feri2 = {672, 344},
        .feri1Caption = {464, 368},
        .feri1 = {672, 368},
        .contributionsHeading = {216, 408},
        .contributionsFrame = {192, 416, 457, 185},
        .firstLineTop = 432,
        .csLeft = 552,
        .csEuroLeft = 616,
        .totcsLeft = 552,
        .paymentHeading = {224, 608},
        .paymentFrame = {192, 616, 457, 121},
        .nourTop = 640,
        .noticeTop = 752,
        .dateTop = 784,
    };
    return places;
}

const SheetPlaces &SheetPlaces::gross()
{
    static const SheetPlaces places = {
        .size = {747, 834},
        .title = {144, 8},
        .monthCaption = QStringLiteral("Mois de :"),
        .monthCaptionAt = {48, 64},
        .mois = {120, 56},
        .an = {200, 56},
        .child = {48, 88},
        .prenom = {288, 88},
        .nom = {384, 88},
        .prenom2 = {72, 128},
        .nom2 = {136, 128},
        .employeeLeft = 304,
        .nom1 = {432, 128},
        .ville1Left = 344,
        .leaveCaption = {592, 120},
        .leaveLeft = 616,
        .auCaption = QStringLiteral("au"),
        .gridTop = 264,
        .gridColumns = {50, 34, 54},
        .payHeading = QStringLiteral("SALAIRE DE BASE"),
        .payHeadingAt = {224, 256},
        .payFrame = {184, 264, 537, 129},
        .totheurLeft = 376,
        .hoursCaptionLeft = 464,
        .flatCaptionLeft = 618,
        .congTop = 336,
        .payEuroLeft = 432,
        .feri2Caption = {469, 344},
        .feri2 = {673, 344},
        .feri1Caption = {472, 360},
        .feri1 = {672, 360},
        .contributionsHeading = {224, 400},
        .contributionsFrame = {186, 408, 535, 217},
        .firstLineTop = 424,
        .csLeft = 632,
        .csEuroLeft = 680,
        .totcsLeft = 624,
        .paymentHeading = {224, 632},
        .paymentFrame = {186, 640, 535, 137},
        .nourTop = 656,
        .noticeTop = 784,
        .dateTop = 808,
    };
    return places;
}

const SheetPlaces &SheetPlaces::contract()
{
    static const SheetPlaces places = [] {
        SheetPlaces c = gross();
        // Taller and a little wider: the pay block grows by 152 pixels to hold
        // the contract's lines (two rows kept for the end of a contract), and
        // the blocks under it step down.
        constexpr int down = 160;
        c.size = {750, 988};
        c.payHeading = QStringLiteral("SALAIRE MENSUALISE");
        c.payFrame.setHeight(281);
        // The salary and its parts close the pay block, their amounts in the
        // column of the contract's lines.
        c.salaryTop = 478;
        c.congTop = 498;
        c.payValueLeft = 632;
        c.payEuroLeft = 680;
        // The month's holiday hours have a line of their own.
        c.holidayCounts = false;
        c.contributionsHeading.ry() += down;
        c.contributionsFrame.translate(0, down);
        c.firstLineTop += down;
        // The total follows the last line closer than on the gross slip.
        c.totcsTop = c.firstLineTop + 144;
        c.paymentHeading.ry() += down;
        c.paymentFrame.translate(0, down);
        c.nourTop += down;
        c.noticeTop += down;
        c.dateTop += down;
        return c;
    }();
    return places;
}

SlipInput gatherSlipInput()
{
    const THoraire &h = *win().Horaire;
    return slipInputFrom(win().Parametres->recordOnScreen(), h.sheet(), h.moan->text(), h.totheur->text(),
                         now().date());
}

SlipInput gatherSlipInput(const MonthValidation &month)
{
    return slipInputFrom(win().Parametres->recordOnScreen(), month.sheet, month.monthKey, month.totals.hoursText(),
                         now().date());
}

QFont SlipSheet::sheetFont(int points, bool bold)
{
    QFont f(QStringLiteral("MS Sans Serif"));
    // The sheet's pixel positions leave each text the room it takes in the
    // original bitmap face; the free face standing in for it runs about a
    // sixteenth wider, so it is set a sixteenth smaller.
    f.setPointSizeF(points * 15.0 / 16.0);
    f.setBold(bold);
    return f;
}

QLabel *SlipSheet::caption(const QString &text, QPoint at, const QFont &font, const QColor &colour)
{
    auto *l = new QLabel(text, this);
    l->setFont(font);
    l->setProperty(naturalFont, font);
    look::setTextColour(l, colour);
    l->move(at);
    if (m_fitted)
        l->adjustSize();
    else
        m_unfitted.append(l);
    return l;
}

QLabel *SlipSheet::value(const char *name, QPoint at, const QFont &font, const QColor &colour)
{
    // Until the first activation a value label shows its own name.
    QLabel *l = caption(QString::fromLatin1(name), at, font, colour);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QList<QLabel *> SlipSheet::grossColumns(int firstTop, std::array<QLabel *, ContributionLines> &base,
                                        std::array<QLabel *, ContributionLines> &rate)
{
    const QFont plain = sheetFont(8), bold = sheetFont(8, true);
    QList<QLabel *> made;
    for (int k = 0; k < ContributionLines; ++k) {
        const int top = firstTop + 16 * k;
        // A base percentage's label is named after the edit it copies: "Ed19" for "Edit19".
        const QByteArray baseName = QByteArray(paramrecord::baseNames[std::size_t(k)]).replace("Edit", "Ed");
        base[k] = value(baseName.constData(), {352, top}, bold);
        QLabel *percentOf = caption(QStringLiteral("% du brut"), {392, top}, plain);
        rate[k] = value(qPrintable(QStringLiteral("Ed%1").arg(k + 10)), {488, top}, bold);
        made << base[k] << percentOf << rate[k] << caption(QStringLiteral("%"), {536, top}, plain);
    }
    return made;
}

QLabel *SlipSheet::heading(const QString &text, QPoint at)
{
    QFont f = sheetFont(10);
    f.setItalic(true);
    QLabel *l = caption(text, at, f, look::navy);
    // It stands on its box's top line, on the sheet's paper.
    l->setAutoFillBackground(true);
    return l;
}

party::Particulars<QLabel *> SlipSheet::partyBox(const QString &headingText, QPoint headingAt,
                                                 const party::Particulars<const char *> &names,
                                                 const party::Particulars<QPoint> &at, const QString &numberCaption,
                                                 QPoint numberCaptionAt)
{
    using party::members;
    heading(headingText, headingAt);
    const QFont bold = sheetFont(8, true);
    party::Particulars<QLabel *> l{};
    for (std::size_t i = 0; i < members<QLabel *>.size(); ++i) {
        const char *name = names.*members<const char *>[i];
        if (!name)
            continue; // a sheet shows no telephone
        if (members<QLabel *>[i] == &party::Particulars<QLabel *>::number)
            caption(numberCaption, numberCaptionAt, sheetFont(8));
        l.*members<QLabel *>[i] = value(name, at.*members<QPoint>[i], bold);
    }
    return l;
}

QLabel *SlipSheet::euro(QPoint at) { return caption(QStringLiteral("€"), at, sheetFont(8)); }

SlipSheet::SlipSheet(const char *className, const QString &windowCaption, const SheetPlaces &at, QWidget *parent)
    : Form(className, parent)
{
    setWindowTitle(windowCaption);
    // A title bar without system menu, hence without a close box: the
    // print/save window closes the slip once it is saved.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setHelpContext(this, SlipHelp);
    setFixedSize(at.size);
    look::setBackground(this, look::paper);

    const QFont plain = sheetFont(8), bold = sheetFont(8, true);
    auto box = [this](const QRect &r, QFrame::Shadow shadow) {
        auto *f = new QFrame(this);
        f->setFrameStyle(QFrame::Box | shadow);
        f->setGeometry(r);
        return f;
    };
    // Drawn first, so that the headings standing on their top lines hide them.
    box(QRect(16, 120, 257, 129), QFrame::Sunken);
    box(QRect(288, 120, 257, 129), QFrame::Sunken);
    box(at.payFrame, QFrame::Plain);
    box(at.contributionsFrame, QFrame::Plain);
    box(at.paymentFrame, QFrame::Plain);

    QFont titleFont(QStringLiteral("Papyrus"));
    titleFont.setPixelSize(29);
    titleFont.setBold(true);
    caption(QStringLiteral("BULLETIN DE SALAIRE"), at.title, titleFont);

    QFont monthFont = sheetFont(12, true), childFont = sheetFont(10, true);
    caption(at.monthCaption, at.monthCaptionAt, plain);
    mois = value("mois", at.mois, monthFont, look::teal);
    an = value("an", at.an, monthFont, look::teal);
    m_yearLeft = at.an.x();
    caption(QStringLiteral("Assistante Maternelle agrée"), at.child, childFont, look::teal);
    prenom = value("prenom", at.prenom, childFont, look::teal);
    nom = value("nom", at.nom, childFont, look::teal);

    employer = partyBox(QStringLiteral("EMPLOYEUR"), {88, 112}, employerLabels,
                        {.title = {24, 128},
                         .surname = at.nom2,
                         .firstName = at.prenom2,
                         .address1 = {24, 152},
                         .address2 = {24, 176},
                         .postcode = {24, 200},
                         .town = {72, 200},
                         .phone = {}, // not on a sheet
                         .number = {104, 224}},
                        QStringLiteral("N° URSSAF  :"), {24, 224});
    const int e = at.employeeLeft;
    employee = partyBox(QStringLiteral("EMPLOYE"), {384, 112}, employeeLabels,
                        {.title = {e, 128},
                         .surname = at.nom1,
                         .firstName = {376, 128},
                         .address1 = {e, 152},
                         .address2 = {e, 176},
                         .postcode = {e, 208},
                         .town = {at.ville1Left, 208},
                         .phone = {},
                         .number = {392, 232}},
                        QStringLiteral("N° de Sécu  :"), {e, 232});

    QFont underlined = plain;
    underlined.setUnderline(true);
    caption(QStringLiteral("Date des congés :"), at.leaveCaption, underlined);
    caption(QStringLiteral(" du :"), {632, 152}, plain);
    du = value("du", {at.leaveLeft, 176}, bold);
    caption(at.auCaption, {640, 200}, plain);
    au = value("au", {at.leaveLeft, 224}, bold);

    Grille = named<QTableWidget>(this, "Grille");
    Grille->setGeometry(16, at.gridTop, 145, 457);
    Grille->setColumnCount(3);
    Grille->setRowCount(31); // day rows; the title row is the header
    Grille->setFont(plain);
    m_gridDateWidth = at.gridColumns[0] - 2;
    Grille->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A text wider than its column is cut at the column's edge, not elided.
    Grille->setTextElideMode(Qt::ElideNone);
    Grille->setWordWrap(false);
    Grille->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grille->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grille->verticalHeader()->hide();
    Grille->verticalHeader()->setMinimumSectionSize(1);
    Grille->verticalHeader()->setDefaultSectionSize(14); // 13 pixels and the grid line
    Grille->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView *titles = Grille->horizontalHeader();
    titles->setMinimumSectionSize(1);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setHighlightSections(false);
    titles->setFixedHeight(14);
    titles->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: %1; padding: 0px;"
                                         " border: 0px; border-right: 1px solid %2;"
                                         " border-bottom: 1px solid %2; }")
                              .arg(look::moneyGreen.name(), look::gridRule.name()));
    for (int c = 0; c < 3; ++c) {
        Grille->setColumnWidth(c, at.gridColumns[c]);
        Grille->setHorizontalHeaderItem(c, new QTableWidgetItem);
        for (int r = 0; r < 31; ++r) {
            auto *item = new QTableWidgetItem;
            if (c == 0) {
                // The dates column is fixed, as the title row: not selectable.
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(look::moneyGreen);
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            }
            Grille->setItem(r, c, item);
        }
    }

    heading(at.payHeading, at.payHeadingAt);
    caption(QStringLiteral("Gardes effectuées dans le mois :"), {200, 288}, plain);
    totheur = value("totheur", {at.totheurLeft, 288}, bold);
    caption(QStringLiteral("heures et/ou "), {at.hoursCaptionLeft, 288}, plain);
    nbjf = value("nbjf", {560, 288}, bold);
    caption(QStringLiteral("jours forfaitaires"), {at.flatCaptionLeft, 288}, plain);
    euro({at.payEuroLeft, at.salaryTop});
    caption(QStringLiteral("dont indemnités de congés payés :"), {200, at.congTop}, plain);
    Cong = value("Cong", {at.payValueLeft, at.congTop}, bold);
    euro({at.payEuroLeft, at.congTop});
    caption(QStringLiteral("dont indemnités d'absence :"), {200, at.congTop + 16}, plain);
    abs = value("abs", {at.payValueLeft, at.congTop + 16}, bold);
    euro({at.payEuroLeft, at.congTop + 16});
    caption(QStringLiteral("dont indemnités diverses :"), {200, at.congTop + 32}, plain);
    diver = value("diver", {at.payValueLeft, at.congTop + 32}, bold);
    euro({at.payEuroLeft, at.congTop + 32});
    QLabel *feri2Caption =
        caption(QStringLiteral("Nombre d'heures de travail en jour ferié :"), at.feri2Caption, plain);
    feri2 = value("feri2", at.feri2, bold);
    QLabel *feri1Caption = caption(QStringLiteral("Nombre de journées de travail feriées :"), at.feri1Caption, plain);
    feri1 = value("feri1", at.feri1, bold);
    if (!at.holidayCounts)
        for (QLabel *l : {feri2Caption, feri2, feri1Caption, feri1})
            l->hide();

    Remarque = value("Remarque", at.remark.topLeft(), sheetFont(7), look::warning);
    Remarque->setWordWrap(true);
    Remarque->setFixedSize(at.remark.size());
    Remarque->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Remarque->hide();

    heading(QStringLiteral("CALCUL DES COTISATIONS SALARIALES"), at.contributionsHeading);
    for (int k = 0; k < ContributionLines; ++k) {
        const int top = at.firstLineTop + 16 * k;
        St[k] = value(qPrintable(QStringLiteral("St%1").arg(k + 1)), {200, top}, bold);
        cs[k] = value(qPrintable(QStringLiteral("cs%1").arg(k + 1)), {at.csLeft, top}, bold);
        euro({at.csEuroLeft, top});
    }
    caption(QStringLiteral("Total des cotisations salariales :"), {200, at.totcsTop}, bold);
    totcs = value("totcs", {at.totcsLeft, at.totcsTop}, bold);
    euro({at.csEuroLeft, at.totcsTop});

    heading(QStringLiteral("SALAIRE A VERSER"), at.paymentHeading);
    const int n = at.nourTop;
    caption(QStringLiteral("Indemnité de nourriture :"), {200, n}, plain);
    nour = value("nour", {456, n}, bold);
    caption(QStringLiteral("Indemnités d'entretien :"), {200, n + 16}, plain);
    entret = value("entret", {456, n + 16}, bold);
    caption(QStringLiteral("Accompte déjà versé dans le mois :"), {200, n + 32}, plain);
    acpt = value("acpt", {456, n + 32}, bold);
    const QFont redFont = sheetFont(10, true);
    caption(QStringLiteral("MONTANT NET A PAYER :"), {200, n + 64}, redFont, look::red);
    net = value("net", {456, n + 64}, redFont, look::red);
    for (int top : {n, n + 16, n + 32, n + 64})
        euro({528, top});

    caption(QStringLiteral("Ce bulletin de paie doit être conservé sans limitation de durée."), {24, at.noticeTop},
            plain);
    caption(QStringLiteral("Date :"), {24, at.dateTop}, plain);
    Date = value("Date", {72, at.dateTop}, bold);
    caption(QStringLiteral("Signature de l'employeur :"), {328, at.dateTop}, plain);

    m_lines = {{employer.title, employer.firstName, employer.surname},
               {employee.title, employee.firstName, employee.surname},
               {prenom, nom},
               {employer.postcode, employer.town},
               {employee.postcode, employee.town}};
    for (const auto &line : m_lines)
        for (QLabel *l : line)
            l->setProperty(designLeft, l->x());

    // The headings stand on the frames' top lines.
    for (QLabel *l : findChildren<QLabel *>())
        if (l->autoFillBackground())
            l->raise();
}

QString SlipSheet::gridCell(int col, int row) const
{
    const QTableWidgetItem *item = row == 0 ? Grille->horizontalHeaderItem(col) : Grille->item(row - 1, col);
    return item ? item->text() : QString();
}

void SlipSheet::hideEvent(QHideEvent *e)
{
    Form::hideEvent(e);
    // The print/save window belongs to the slip on screen: a slip closed by
    // its close box takes it away, so a closed slip is never printed.
    if (TBO *bo = win().BO; bo && bo->slip() == this)
        bo->hide();
}

bool SlipSheet::event(QEvent *e)
{
    // Sent once, before the sheet is first shown, printed or captured.
    if (e->type() == QEvent::Polish)
        fitToFonts();
    return Form::event(e);
}

void SlipSheet::fitToFonts()
{
    if (m_fitted)
        return;
    m_fitted = true;
    for (QLabel *l : std::as_const(m_unfitted))
        l->adjustSize();
    m_unfitted.clear();
    // A whole date must read in its 50-pixel column: the stand-in face runs
    // wider than the original one, so the grid's type shrinks until it fits.
    Grille->setFont(shrunkToFit(Grille->font(), m_gridDateWidth, [](const QFont &f) {
        return QFontMetrics(f).horizontalAdvance(QStringLiteral("00/00/0000"));
    }));
    // Setting a style sheet restyles the grid and its headers at once.
    Grille->setStyleSheet(QStringLiteral("QTableWidget::item { padding: 0px 1px; }"));
}

void SlipSheet::put(QLabel *label, const SlipText &text)
{
    label->setText(text.value_or(QString()));
    label->adjustSize();
}

void SlipSheet::fitTexts()
{
    const QList<QLabel *> labels = findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    for (QLabel *l : labels) {
        l->setFont(l->property(naturalFont).value<QFont>());
        l->adjustSize();
    }
    // A title, a first name and a surname (a postcode and a town) follow one
    // another: a long one pushes the next one right rather than run into it.
    for (const auto &line : m_lines) {
        int next = 0;
        for (QLabel *l : line) {
            l->move(std::max(l->property(designLeft).toInt(), next), l->y());
            next = l->geometry().right() + 5;
        }
    }
    // Then every text of the sheet fits its room, by the day grid's rule.
    for (QLabel *l : labels) {
        const QFont natural = l->property(naturalFont).value<QFont>();
        const int room = roomEnd(this, l) - l->x();
        if (l->width() <= room)
            continue;
        l->setFont(shrunkToFit(natural, room, [l](const QFont &f) {
            l->setFont(f);
            return l->sizeHint().width();
        }));
        l->adjustSize();
    }
}

void SlipSheet::onShow()
{
    fitTexts();
    if (m_centred)
        return;
    m_centred = true;
    centreOnScreen(this);
}

void SlipSheet::onActivate()
{
    guarded([&] {
        SlipInput in = gatherSlipInput();
        if (m_failedInput && *m_failedInput == in)
            return;
        const SlipResult r = compute(in);
        const QStringList said = remarks(in);
        Remarque->setText(said.join(QLatin1Char('\n')));
        Remarque->setVisible(!said.isEmpty());
        fill(r);
        m_shown.reset();
        if (r.complete()) {
            m_failedInput.reset();
            m_shown = Shown{in, r, grossBasis(), contractHours()};
            // The print/save window floats above the slip; it is only shown,
            // the slip stays the active window.
            win().BO->showFor(this);
        } else {
            // A slip that stopped half-way must be neither printed nor saved.
            win().BO->hide();
            if (saysWhyItself(r))
                return;
            m_failedInput = std::move(in);
            showError(*r.error);
        }
    });
}

QStringList SlipSheet::remarks(const SlipInput &in) const
{
    try {
        const QString note =
            contract::hourlySlipNoteOf(programFolder(), win().Parametres->currentSlot(), in.moan, grossBasis());
        return note.isEmpty() ? QStringList() : QStringList{note};
    } catch (const RuntimeError &) {
        // A contract file that cannot be read was said when "Bulletin"
        // chose this slip; the slip itself does not rest on it.
        return {};
    }
}

void SlipSheet::fill(const SlipResult &r)
{
    put(mois, r.mois);
    put(an, r.an);
    // A long month name ("Septembre", "Décembre") in the stand-in face runs
    // past the year's place: the year then steps right so both stay readable.
    an->move(std::max(m_yearLeft, mois->geometry().right() + 6), an->y());
    put(prenom, r.prenom);
    put(nom, r.nom);
    for (const auto &[labels, texts] : {std::pair{employee, partyTexts(r, party::Side::Employee)},
                                        std::pair{employer, partyTexts(r, party::Side::Employer)}})
        for (std::size_t i = 0; i < party::members<QLabel *>.size(); ++i)
            // A title the slip keeps (no item chosen) has no text to put.
            if (const SlipText *text = texts.*party::members<const SlipText *>[i])
                put(labels.*party::members<QLabel *>[i], *text);
    put(du, r.du);
    put(au, r.au);
    for (int k = 0; k < ContributionLines; ++k) {
        put(St[k], r.St[k]);
        put(cs[k], r.cs[k]);
    }
    put(Date, r.Date);
    // The column titles fit their columns by the same rule as the dates.
    const QFont titleFont = shrunkToFit(sheetFont(8), 0, [&](const QFont &f) {
        int over = 0;
        for (int c = 0; c < 3; ++c)
            over = std::max(over, QFontMetrics(f).horizontalAdvance(r.Grille[0][c].value_or(QString())) -
                                      (Grille->columnWidth(c) - 2));
        return over;
    });
    for (int c = 0; c < 3; ++c) {
        Grille->horizontalHeaderItem(c)->setFont(titleFont);
        Grille->horizontalHeaderItem(c)->setText(r.Grille[0][c].value_or(QString()));
        for (int row = 1; row <= 31; ++row)
            Grille->item(row - 1, c)->setText(r.Grille[row][c].value_or(QString()));
    }
    // No cell stands selected on a fresh sheet.
    Grille->setCurrentItem(nullptr);
    Grille->clearSelection();
    put(totheur, r.totheur);
    put(nbjf, r.nbjf);
    put(feri1, r.feri1);
    put(feri2, r.feri2);
    put(salnet, r.salnet);
    put(Cong, r.Cong);
    put(abs, r.abs);
    put(diver, r.diver);
    put(entret, r.entret);
    put(totcs, r.totcs);
    put(nour, r.nour);
    put(acpt, r.acpt);
    put(net, r.net);
    fillOwn(r);
    fitTexts();
}
