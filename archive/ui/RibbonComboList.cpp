#include "RibbonComboList.h"

#include <QComboBox>
#include <QSignalBlocker>

// The ribbon sends a list's command only when the user picks an item; what the program changes
// here stays quiet all the same, so that nothing listening to the list sees half a fill.

RibbonComboList::RibbonComboList(QComboBox* combo) : m_Combo(combo) {}

void RibbonComboList::Clear()
{
    if (!m_Combo) return;
    const QSignalBlocker quiet(m_Combo);
    m_Combo->clear();
}

void RibbonComboList::Add(const QString& text)
{
    if (!m_Combo) return;
    const QSignalBlocker quiet(m_Combo);
    m_Combo->addItem(text);
}

QStringList RibbonComboList::Items() const
{
    QStringList items;
    if (m_Combo)
        for (int i = 0; i < m_Combo->count(); ++i)
            items << m_Combo->itemText(i);
    return items;
}

int RibbonComboList::CurrentIndex() const
{
    return m_Combo ? m_Combo->currentIndex() : -1;
}

void RibbonComboList::Select(int index)
{
    if (!m_Combo) return;
    const QSignalBlocker quiet(m_Combo);
    m_Combo->setCurrentIndex(index);
}

void RibbonComboList::SelectOrAdd(const QString& text)
{
    int index = int(Items().indexOf(text));
    if (index < 0) {
        Add(text);
        index = int(Items().size()) - 1;
    }
    Select(index);
}
