#include "widgets/radiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

RadioGroup::RadioGroup(const QString &name, const QString &title, const QStringList &items, QWidget *parent)
    : QGroupBox(title, parent), m_group(new QButtonGroup(this))
{
    setObjectName(name);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(2);
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items.at(i), this);
        b->setObjectName(QStringLiteral("%1_%2").arg(name).arg(i));
        m_group->addButton(b, i);
        layout->addWidget(b);
        m_buttons << b;
    }
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            emit itemIndexChanged(id);
    });
}

int RadioGroup::itemIndex() const { return m_group->checkedId(); }

void RadioGroup::setItemIndex(int index)
{
    if (index >= count())
        index = count() - 1;
    if (index < 0) {
        if (auto *b = m_group->checkedButton()) {
            m_group->setExclusive(false);
            b->setChecked(false);
            m_group->setExclusive(true);
            emit itemIndexChanged(-1);
        }
        return;
    }
    m_buttons.at(index)->setChecked(true);
}
