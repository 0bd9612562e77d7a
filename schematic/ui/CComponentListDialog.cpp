#include "CComponentListDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CComponentListDialog::CComponentListDialog(ComponentList& objects, QWidget* parent)
    : QDialog(parent), m_Objects(objects), m_Tree(new QTreeWidget(this)),
      m_Check(new QPushButton(QStringLiteral("Check for Errors"), this)),
      m_Repair(new QPushButton(QStringLiteral("Repair Errors"), this))
{
    setWindowTitle(QStringLiteral("Component List"));
    m_Tree->setHeaderHidden(true);
    m_Tree->setMinimumSize(260, 320);
    m_Check->setAutoDefault(false);
    m_Repair->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_Check, &QPushButton::clicked, this, &CComponentListDialog::OnCheckForErrors);
    connect(m_Repair, &QPushButton::clicked, this, &CComponentListDialog::OnRepairErrors);

    auto* side = new QVBoxLayout;
    side->addWidget(buttons);
    side->addStretch();
    side->addWidget(m_Check);
    side->addWidget(m_Repair);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_Tree, 1);
    layout->addLayout(side);
    FillTree();
}

QPushButton* CComponentListDialog::Button(ControlId id) const
{
    switch (id) {
    case IDC_CHECK:
        return m_Check;
    case IDC_REPAIR:
        return m_Repair;
    case IDC_TREE:
        break;
    }
    return nullptr;
}

bool CComponentListDialog::CheckComponentList() const
{
    return ::CheckComponentList(m_Objects);
}

void CComponentListDialog::FillTree()
{
    m_Tree->clear();
    auto* root = new QTreeWidgetItem(m_Tree, {QStringLiteral("Components")});
    for (const ComponentTreeRow& row : ComponentTreeRows(m_Objects)) {
        auto* item = new QTreeWidgetItem(root, {row.text});
        for (const QString& child : row.children)
            new QTreeWidgetItem(item, {child});
    }
    root->setExpanded(true);
}

void CComponentListDialog::OnCheckForErrors()
{
    ReportComponentListCheck(m_Objects);
}

void CComponentListDialog::OnRepairErrors()
{
    if (!RemoveBadComponent(m_Objects)) return;
    m_Repaired = true;
    FillTree();
    ReportComponentListRepair(m_Objects);
}

bool QtComponentListWindow::Run(ComponentList& objects)
{
    CComponentListDialog dialog(objects, m_parent);
    dialog.exec();
    return dialog.Repaired();
}
