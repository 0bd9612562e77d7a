#pragma once

#include "ComponentListCheck.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

// The "Component List" window: a schematic's objects as a tree, each part with its attachments
// beneath it, and buttons that check the list's order and repair it one broken group at a time. It
// works on the document's list directly; a repair is not undone by Cancel.
class CComponentListDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDialogTemplate = 369;
    enum ControlId { IDC_TREE = 1052, IDC_REPAIR = 1053, IDC_CHECK = 1054 };

    explicit CComponentListDialog(ComponentList& objects, QWidget* parent = nullptr);

    bool CheckComponentList() const;
    void FillTree();
    void OnCheckForErrors();
    void OnRepairErrors();
    // True once a repair removed objects.
    bool Repaired() const { return m_Repaired; }

    QTreeWidget* Tree() const { return m_Tree; }
    QPushButton* Button(ControlId id) const;

private:
    ComponentList& m_Objects;
    QTreeWidget* m_Tree;
    QPushButton* m_Check;
    QPushButton* m_Repair;
    bool m_Repaired = false;
};

// The window as the program shows it, modal over `parent`.
class QtComponentListWindow : public ComponentListWindow {
public:
    explicit QtComponentListWindow(QWidget* parent = nullptr) : m_parent(parent) {}
    bool Run(ComponentList& objects) override;

private:
    QWidget* m_parent;
};
