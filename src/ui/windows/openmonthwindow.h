#pragma once
// The list of the months a child's table holds, from which the hours window
// opens one again: month and year, days stored, and whether its slip is
// saved and on which basis; the latest first. Built the first time the
// hours window asks for it, and only hidden after.

#include "widgets/form.h"
#include "archive/storedmonths.h"

#include <QList>

class QLabel;
class QPushButton;
class QTreeWidget;

class TOuvrirMois : public Form {
    Q_OBJECT
public:
    explicit TOuvrirMois(QWidget *parent = nullptr);

    // Shows the months (of the table named `tableName`) to choose from.
    void fill(const QList<StoredMonth> &months, const QString &tableName);

    QTreeWidget *ListeMois;
    QLabel *Aucun;
    QPushButton *Ouvrir, *Annule;

signals:
    // The month chosen, by its key; the list is hidden first.
    void chosen(const QString &key);

private:
    void OuvrirClick();
};
