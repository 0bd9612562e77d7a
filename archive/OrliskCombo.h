#pragma once

#include <QString>
#include <QStringList>

// A drop-down list of texts with at most one selected item, as the archive fills see it. The
// ribbon's root, experiment and shot lists implement it; so do the lists of tests.
class OrliskCombo {
public:
    virtual ~OrliskCombo() = default;

    virtual void Clear() = 0;
    virtual void Add(const QString& text) = 0;
    virtual QStringList Items() const = 0;
    // -1 when nothing is selected.
    virtual int CurrentIndex() const = 0;
    // -1 selects nothing.
    virtual void Select(int index) = 0;

    // The selected item's text, empty when nothing is selected.
    QString SelectedText() const
    {
        const int i = CurrentIndex();
        const QStringList items = Items();
        return i >= 0 && i < items.size() ? items[i] : QString();
    }
};
