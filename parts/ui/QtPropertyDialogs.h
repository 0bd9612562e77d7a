#pragma once

#include "PropertyDialogs.h"

#include <QHash>

#include <functional>
#include <memory>

class QDialog;
class QWidget;

// The property dialogs as Qt windows, chosen by the object's dialog template. Template 329 is built
// in; part classes with dialogs of their own register them.
class QtPropertyDialogs : public PropertyDialogs {
public:
    using Factory = std::function<std::unique_ptr<QDialog>(CComponent& object, QWidget* parent)>;

    explicit QtPropertyDialogs(QWidget* parent = nullptr);
    void Register(int dialogTemplate, Factory factory);
    // The dialog for the object's template, or null when none is registered.
    std::unique_ptr<QDialog> Create(CComponent& object) const;
    bool Run(CComponent& object) override;

private:
    QWidget* m_parent;
    QHash<int, Factory> m_factories;
};
