#pragma once

#include "OrliskCombo.h"

#include <QPointer>

class QComboBox;

// A drop-down list of the ribbon as the archive fills and the archive browser see it. A list that
// is gone (no main window) is empty and takes nothing.
class RibbonComboList : public OrliskCombo {
public:
    explicit RibbonComboList(QComboBox* combo);

    void Clear() override;
    void Add(const QString& text) override;
    QStringList Items() const override;
    int CurrentIndex() const override;
    void Select(int index) override;

    // Selects the item with exactly this text, adding it at the end when the list lacks it.
    void SelectOrAdd(const QString& text);

private:
    QPointer<QComboBox> m_Combo;
};
