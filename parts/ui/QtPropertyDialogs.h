#pragma once

#include "CComponent.h"
#include "PropertyDialogs.h"

#include <QDialog>
#include <QHash>

#include <functional>
#include <memory>

class QWidget;

// The property dialogs as Qt windows, chosen by the object's dialog template. Template 329 is built
// in; part classes with dialogs of their own register them.
class QtPropertyDialogs : public PropertyDialogs {
public:
    using Factory = std::function<std::unique_ptr<QDialog>(CComponent& object, QWidget* parent)>;

    explicit QtPropertyDialogs(QWidget* parent = nullptr);
    void Register(int dialogTemplate, Factory factory);
    // Dialog D over the objects of class T; an object of another class with the template gets none.
    template <class T, class D> void Register(int dialogTemplate)
    {
        Register(dialogTemplate, [](CComponent& object, QWidget* parent) -> std::unique_ptr<QDialog> {
            auto* typed = dynamic_cast<T*>(&object);
            if (!typed) return nullptr;
            return std::make_unique<D>(*typed, parent);
        });
    }
    // The dialog for the object's template, or null when none is registered.
    std::unique_ptr<QDialog> Create(CComponent& object) const;
    bool Run(CComponent& object) override;

private:
    QWidget* m_parent;
    QHash<int, Factory> m_factories;
};
