#include "windows/monthreviewwindow.h"
#include "widgets/look.h"

#include "attendance/monthchoice.h"
#include "common/environment.h"
#include "common/messages.h"
#include "windows/mainwindow.h"
#include "windows/parameterswindow.h"
#include "windows/windowset.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDataWidgetMapper>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

// A grid cell is typed as the text the grid shows (DD/MM/YYYY, HH:MM:SS,
// 7.83, Vrai/Faux) and converted by the table's model, whose refusal goes to
// the error box. Enter ends the cell without storing the record: the record
// is stored when the user moves to another one.
class CellTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *e = new QLineEdit(parent);
        e->setFrame(false);
        m_editor = e;
        return e;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        static_cast<QLineEdit *>(editor)->setText(index.data(Qt::DisplayRole).toString());
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        const QString text = static_cast<QLineEdit *>(editor)->text();
        // A cell merely entered and left does not put its record into editing.
        if (text == index.data(Qt::DisplayRole).toString())
            return;
        if (!model->setData(index, text))
            if (auto *days = qobject_cast<DayModel *>(model))
                showError(days->lastError());
    }
    // The cell being typed in, if any, goes to its record now.
    void finish()
    {
        if (QWidget *e = m_editor.data()) {
            emit commitData(e);
            emit closeEditor(e, NoHint);
        }
    }
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override
    {
        if (editor == m_editor)
            m_editor.clear();
        QStyledItemDelegate::destroyEditor(editor, index);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(e)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                auto *editor = static_cast<QWidget *>(watched);
                emit commitData(editor);
                emit closeEditor(editor, NoHint);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(watched, e);
    }

private:
    mutable QPointer<QWidget> m_editor;
};

namespace {
// The detail area only shows the current record: data texts in the grid's
// text form, check boxes ticked for "Vrai". The boxes write through their
// own click rule, so this delegate writes nothing back.
class DetailDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QCheckBox *>(editor))
            box->setChecked(index.data(Qt::EditRole).toBool());
        else if (auto *text = qobject_cast<QLabel *>(editor))
            text->setText(index.data(Qt::DisplayRole).toString());
    }
    void setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const override {}
};

QIcon tickIcon()
{
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(look::tickGreen, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(3, 11), QPointF(8, 16), QPointF(17, 4)}));
    return QIcon(pm);
}

// |◀  ◀  ▶  ▶| in the navigator's dark blue.
QIcon navigatorIcon(TableNavigator::Move move)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(look::navy);
    const bool back = move == TableNavigator::First || move == TableNavigator::Prior;
    const bool end = move == TableNavigator::First || move == TableNavigator::Last;
    if (back)
        p.drawPolygon(QPolygonF({QPointF(11, 3), QPointF(11, 13), QPointF(5, 8)}));
    else
        p.drawPolygon(QPolygonF({QPointF(5, 3), QPointF(5, 13), QPointF(11, 8)}));
    if (end)
        p.drawRect(back ? QRectF(3, 3, 2, 10) : QRectF(11, 3, 2, 10));
    return QIcon(pm);
}

QLabel *label(QWidget *parent, const char *name, const QString &text, QRect r)
{
    auto *l = named<QLabel>(parent, name);
    l->setText(text);
    l->setGeometry(r);
    return l;
}

QLabel *dataText(QWidget *parent, const char *name, QRect r, Qt::Alignment align = Qt::AlignLeft)
{
    auto *t = label(parent, name, QString(), r);
    t->setAlignment(align | Qt::AlignVCenter);
    QFont bold = t->font();
    bold.setBold(true);
    t->setFont(bold);
    return t;
}

QLineEdit *readOnlyEdit(QWidget *parent, const char *name, const QString &text, QRect r)
{
    auto *e = named<QLineEdit>(parent, name);
    e->setReadOnly(true);
    e->setText(text);
    e->setFocusPolicy(Qt::NoFocus);
    e->setGeometry(r);
    return e;
}
} // namespace

// ---------------------------------------------------------------- navigator

TableNavigator::TableNavigator(QWidget *parent) : QWidget(parent)
{
    static const char *const names[] = {"First", "Prior", "Next", "Last"};
    static const char *const hints[] = {"Premier enregistrement", "Enregistrement précédent", "Enregistrement suivant",
                                        "Dernier enregistrement"};
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (int m = First; m <= Last; ++m) {
        auto *b = named<QToolButton>(this, names[m]);
        b->setIcon(navigatorIcon(Move(m)));
        b->setToolTip(QString::fromUtf8(hints[m]));
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        row->addWidget(b);
        m_buttons[m] = b;
        connect(b, &QToolButton::clicked, this, [this, m] { emit moved(Move(m)); });
    }
    setPosition(-1, 0);
}

void TableNavigator::setPosition(int row, int count)
{
    m_buttons[First]->setEnabled(row > 0);
    m_buttons[Prior]->setEnabled(row > 0);
    m_buttons[Next]->setEnabled(row >= 0 && row < count - 1);
    m_buttons[Last]->setEnabled(row >= 0 && row < count - 1);
}

// ---------------------------------------------------------------- window

TRecap::TRecap(QWidget *parent) : Form("TRecap", parent)
{
    setWindowTitle(QStringLiteral("Revoir un mois..."));
    setFixedSize(916, 620);
    centreOnScreen(this);
    setHelpContext(this, MonthReviewHelp);

    Datechoi = named<QCalendarWidget>(this, "Datechoi");
    Datechoi->setGeometry(16, 16, 296, 208);
    Datechoi->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);

    Valid = named<QPushButton>(this, "Valid");
    Valid->setText(QStringLiteral("&Valide"));
    Valid->setIcon(tickIcon());
    Valid->setGeometry(328, 24, 120, 40);
    Valid->setDefault(true);
    Valid->setEnabled(false);

    Label4 = label(this, "Label4", QStringLiteral("du"), {328, 80, 24, 20});
    Label1 = label(this, "Label1", QString(), {352, 80, 100, 20});
    Label5 = label(this, "Label5", QStringLiteral("au"), {328, 104, 24, 20});
    Label2 = label(this, "Label2", QString(), {352, 104, 100, 20});

    DBNavigator1 = new TableNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setGeometry(328, 184, 128, 32);

    Edit3 = readOnlyEdit(this, "Edit3", QStringLiteral("Enfant actuellement selectionné  :"), {472, 16, 232, 24});
    selenf = readOnlyEdit(this, "selenf", QString(), {712, 16, 188, 24});
    QFont bold = selenf->font();
    bold.setBold(true);
    selenf->setFont(bold);

    // The current record: its date and duration, its two periods, its marks.
    Label6 = label(this, "Label6", QStringLiteral("le"), {480, 64, 20, 24});
    DBText1 = dataText(this, "DBText1", {504, 64, 100, 24});
    DBText6 = dataText(this, "DBText6", {640, 64, 60, 24}, Qt::AlignRight);
    Label3 = label(this, "Label3", QStringLiteral("heures"), {708, 64, 60, 24});
    Label7 = label(this, "Label7", QStringLiteral("de"), {480, 96, 36, 24});
    DBText2 = dataText(this, "DBText2", {520, 96, 72, 24});
    Label8 = label(this, "Label8", QStringLiteral("à"), {600, 96, 16, 24});
    DBText3 = dataText(this, "DBText3", {620, 96, 72, 24});
    Label9 = label(this, "Label9", QStringLiteral("et de"), {480, 128, 36, 24});
    DBText4 = dataText(this, "DBText4", {520, 128, 72, 24});
    Label10 = label(this, "Label10", QStringLiteral("à"), {600, 128, 16, 24});
    DBText5 = dataText(this, "DBText5", {620, 128, 72, 24});

    auto box = [this](const char *name, const QString &caption, QRect r) {
        auto *b = named<QCheckBox>(this, name);
        b->setText(caption);
        b->setGeometry(r);
        b->setEnabled(false);
        return b;
    };
    DBCheckBox5 = box("DBCheckBox5", QStringLiteral("Forfait jour."), {480, 168, 130, 24});
    DBCheckBox6 = box("DBCheckBox6", QStringLiteral("Jour ferié"), {480, 196, 130, 24});
    DBCheckBox1 = box("DBCheckBox1", QStringLiteral("Petit Déj."), {620, 168, 130, 24});
    DBCheckBox2 = box("DBCheckBox2", QStringLiteral("Déjeuner"), {620, 196, 130, 24});
    DBCheckBox3 = box("DBCheckBox3", QStringLiteral("Gouter"), {760, 168, 130, 24});
    DBCheckBox4 = box("DBCheckBox4", QStringLiteral("Diner"), {760, 196, 130, 24});

    DayModel *model = m_table.model();
    DBGrid1 = named<QTableView>(this, "DBGrid1");
    DBGrid1->setGeometry(16, 240, 884, 320);
    DBGrid1->setModel(model);
    DBGrid1->setSortingEnabled(false);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    m_cellDelegate = new CellTextDelegate(DBGrid1);
    DBGrid1->setItemDelegate(m_cellDelegate);
    DBGrid1->verticalHeader()->setDefaultSectionSize(20);
    DBGrid1->verticalHeader()->setFixedWidth(32);
    const QList<int> shown = review::gridFields();
    for (int f = 0; f < day::FieldCount; ++f) {
        DBGrid1->setColumnHidden(f, !shown.contains(f));
        DBGrid1->setColumnWidth(f, f == day::Date ? 84 : 68);
    }

    Button1 = named<QPushButton>(this, "Button1");
    Button1->setText(QStringLiteral("Quitter"));
    Button1->setGeometry(788, 572, 112, 36);

    DataSource1 = new QDataWidgetMapper(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setModel(model);
    DataSource1->setItemDelegate(new DetailDelegate(DataSource1));
    DataSource1->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    const std::pair<QWidget *, int> mapped[] = {
        {DBText1, day::Date},   {DBText2, day::Heure1},  {DBText3, day::Heure2},     {DBText4, day::Heure3},
        {DBText5, day::Heure4}, {DBText6, day::Duree},   {DBCheckBox5, day::FJ},     {DBCheckBox6, day::Ferie},
        {DBCheckBox1, day::PD}, {DBCheckBox2, day::Dej}, {DBCheckBox3, day::Gouter}, {DBCheckBox4, day::Diner}};
    for (const auto &[widget, field] : mapped) {
        DataSource1->addMapping(widget, field);
        if (auto *b = qobject_cast<QCheckBox *>(widget))
            connect(b, &QCheckBox::clicked, this, [this, f = field](bool checked) { markClicked(f, checked); });
    }

    connect(Datechoi, &QCalendarWidget::currentPageChanged, this, &TRecap::DatechoiGetMonthInfo);
    // Enter in the calendar presses the default button, as everywhere else.
    if (auto *days = Datechoi->findChild<QAbstractItemView *>())
        days->installEventFilter(this);
    connect(Valid, &QPushButton::clicked, this, &TRecap::ValidClick);
    connect(Button1, &QPushButton::clicked, this, &TRecap::Button1Click);
    connect(DBNavigator1, &TableNavigator::moved, this, &TRecap::navigate);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        storePending();
        recordChanged();
    });
    auto *remove = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete), DBGrid1);
    remove->setContext(Qt::WidgetWithChildrenShortcut);
    connect(remove, &QShortcut::activated, this, &TRecap::deleteRecord);
    recordChanged();
}

TRecap::~TRecap()
{
    // Leaving the program with a month still shown keeps the correction made
    // to its current record.
    if (m_table.isOpen())
        m_table.model()->submit();
    delete DataSource1;
    DBGrid1->setModel(nullptr);
}

void TRecap::onShow() { DatechoiGetMonthInfo(); }
void TRecap::onActivate() { FormActivate(); }

void TRecap::onClose(QCloseEvent *e)
{
    // The close box leaves as "Quitter" does: the table is not kept held.
    e->ignore();
    Button1Click();
}

void TRecap::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        // Enter presses the button that has the focus, else the default one.
        if (auto *focused = qobject_cast<QPushButton *>(focusWidget())) {
            focused->click();
            return;
        }
        if (Valid->isEnabled()) {
            Valid->click();
            return;
        }
    }
    Form::keyPressEvent(e);
}

bool TRecap::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(e)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && Valid->isEnabled()) {
            Valid->click();
            return true;
        }
    }
    return Form::eventFilter(watched, e);
}

void TRecap::FormActivate()
{
    guarded([&] {
        selenf->setText(win().Entree->selenf->text());
        Datechoi->setSelectedDate(now().date());
        m_table.setFolder(programFolder());
        const QString name = tableNameForSlot(win().Parametres->TabControl1->currentIndex());
        if (name.isEmpty())
            return;
        if (name != m_table.tableName() && m_table.isOpen()) {
            // Another child was chosen while a month was shown: the month
            // shown is not this child's, so it is put away before the name
            // changes (a change still pending is stored first).
            releaseTable();
            Label1->clear();
            Label2->clear();
        }
        m_table.setTableName(name);
    });
}

void TRecap::DatechoiGetMonthInfo() { Valid->setEnabled(true); }

void TRecap::ValidClick()
{
    guarded([&] {
        finishCellEdit();
        const review::MonthChoice month = review::monthOf(shortDate(Datechoi->selectedDate()));
        m_table.open(DayTable::Access::Exclusive);
        Label1->setText(shortDate(month.first));
        Label2->setText(shortDate(month.last));
        // A change pending on the record shown is stored before the new month is read.
        m_table.setMonthFilter(month.key);
        if (m_table.model()->rowCount() > 0)
            DBGrid1->setCurrentIndex(m_table.model()->index(0, day::Date));
        recordChanged();
    });
}

void TRecap::Button1Click()
{
    guarded([&] {
        releaseTable();
        hide();
    });
}

// ---------------------------------------------------------------- records

void TRecap::finishCellEdit() { m_cellDelegate->finish(); }

void TRecap::storePending()
{
    DayModel *model = m_table.model();
    if (model->isDirty() && !model->submit())
        showError(model->lastError());
}

void TRecap::releaseTable()
{
    finishCellEdit();
    DayModel *model = m_table.model();
    if (model->isDirty() && !model->submit())
        throw RuntimeError(model->lastError());
    m_table.close();
    recordChanged();
}

int TRecap::currentRecord() const
{
    const QModelIndex i = DBGrid1->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void TRecap::recordChanged()
{
    const int row = currentRecord();
    const QList<QCheckBox *> boxes = {DBCheckBox1, DBCheckBox2, DBCheckBox3, DBCheckBox4, DBCheckBox5, DBCheckBox6};
    for (QCheckBox *b : boxes)
        b->setEnabled(row >= 0);
    if (row >= 0) {
        DataSource1->setCurrentIndex(row);
    } else {
        for (QLabel *t : {DBText1, DBText2, DBText3, DBText4, DBText5, DBText6})
            t->clear();
        for (QCheckBox *b : boxes)
            b->setChecked(false);
    }
    DBNavigator1->setPosition(row, m_table.model()->rowCount());
}

void TRecap::navigate(TableNavigator::Move move)
{
    const int count = m_table.model()->rowCount();
    if (count == 0)
        return;
    const int row = currentRecord();
    int target = 0;
    switch (move) {
    case TableNavigator::First: target = 0; break;
    case TableNavigator::Prior: target = qMax(0, row - 1); break;
    case TableNavigator::Next: target = qMin(count - 1, row + 1); break;
    case TableNavigator::Last: target = count - 1; break;
    }
    const int column = DBGrid1->currentIndex().isValid() ? DBGrid1->currentIndex().column() : int(day::Date);
    DBGrid1->setCurrentIndex(m_table.model()->index(target, column));
    DBGrid1->scrollTo(DBGrid1->currentIndex());
}

void TRecap::markClicked(int field, bool checked)
{
    const int row = currentRecord();
    if (row < 0)
        return;
    DayModel *model = m_table.model();
    if (!model->setData(model->index(row, field), checked))
        showError(model->lastError());
    recordChanged();
}

void TRecap::deleteRecord()
{
    const int row = currentRecord();
    if (row < 0 || !confirm(QStringLiteral("Supprimer l'enregistrement ?")))
        return;
    DayModel *model = m_table.model();
    if (!model->removeRows(row, 1))
        showError(model->lastError());
    recordChanged();
}
