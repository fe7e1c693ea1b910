#pragma once
// A radio group: one widget under the group's name, whose selected item is
// the int property `itemIndex` (-1 when nothing is chosen).

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

class RadioGroup : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(int itemIndex READ itemIndex WRITE setItemIndex NOTIFY itemIndexChanged)
public:
    RadioGroup(const QString &name, const QString &title, const QStringList &items, QWidget *parent = nullptr);

    int itemIndex() const;
    // From code: an index beyond the last item selects the last one, below 0
    // selects none. No click rule runs; the caller runs it where one applies.
    void setItemIndex(int index);
    int count() const { return int(m_buttons.size()); }
    QRadioButton *button(int i) const { return m_buttons.value(i); }

signals:
    void itemIndexChanged(int index);

private:
    QButtonGroup *m_group;
    QList<QRadioButton *> m_buttons;
};
