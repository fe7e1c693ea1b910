#include "windows/openmonthwindow.h"

#include "common/errors.h"
#include "widgets/look.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TOuvrirMois::TOuvrirMois(QWidget *parent) : Form("TOuvrirMois", parent)
{
    setWindowTitle(QStringLiteral("Ouvrir un mois"));
    setHelpContext(this, HoursHelp);
    look::setBackground(this, look::windowColour);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(14, 12, 14, 12);

    ListeMois = named<QTreeWidget>(this, "ListeMois");
    ListeMois->setColumnCount(3);
    ListeMois->setHeaderLabels({QStringLiteral("Mois"), QStringLiteral("Jours"), QStringLiteral("Bulletin")});
    ListeMois->setRootIsDecorated(false);
    ListeMois->setAllColumnsShowFocus(true);
    ListeMois->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ListeMois->header()->setStretchLastSection(true);
    column->addWidget(ListeMois, 1);

    Aucun = named<QLabel>(this, "Aucun");
    look::setTextColour(Aucun, look::warning);
    column->addWidget(Aucun);

    auto *buttons = new QHBoxLayout;
    Ouvrir = named<QPushButton>(this, "Ouvrir");
    Ouvrir->setText(QStringLiteral("&Ouvrir"));
    Ouvrir->setDefault(true);
    Annule = named<QPushButton>(this, "Annule");
    Annule->setText(QStringLiteral("Annule"));
    buttons->addStretch(1);
    buttons->addWidget(Ouvrir);
    buttons->addWidget(Annule);
    column->addLayout(buttons);

    connect(Ouvrir, &QPushButton::clicked, this, &TOuvrirMois::OuvrirClick);
    connect(ListeMois, &QTreeWidget::itemActivated, this, &TOuvrirMois::OuvrirClick);
    connect(Annule, &QPushButton::clicked, this, &QWidget::hide);
    connect(ListeMois, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { Ouvrir->setEnabled(current != nullptr); });
    resize(460, 380);
    centreOnScreen(this);
}

void TOuvrirMois::fill(const QList<StoredMonth> &months, const QString &tableName)
{
    ListeMois->clear();
    for (const StoredMonth &m : months) {
        auto *item = new QTreeWidgetItem(ListeMois, {m.title(), QString::number(m.days), m.slipText()});
        item->setData(0, Qt::UserRole, m.key);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setForeground(2, m.slipSaved ? look::tickGreen : look::warning);
    }
    Aucun->setText(months.isEmpty() ? rtl::noStoredMonth(tableName) : QString());
    Aucun->setVisible(months.isEmpty());
    ListeMois->setCurrentItem(ListeMois->topLevelItem(0));
    Ouvrir->setEnabled(!months.isEmpty());
    ListeMois->setFocus(Qt::OtherFocusReason);
}

void TOuvrirMois::OuvrirClick()
{
    const QTreeWidgetItem *item = ListeMois->currentItem();
    if (!item)
        return;
    const QString key = item->data(0, Qt::UserRole).toString();
    hide();
    emit chosen(key);
}
