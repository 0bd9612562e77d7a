#include "WindowsDialog.h"

#include "Document.h"
#include "View.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

WindowsDialog::WindowsDialog(QMdiArea* area, QWidget* parent) : QDialog(parent), m_Area(area)
{
    setWindowTitle(QStringLiteral("Windows"));
    m_List = new QListWidget(this);
    m_List->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* buttons = new QVBoxLayout;
    auto add = [&](const QString& text, auto slot) {
        auto* b = new QPushButton(text, this);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    add(QStringLiteral("&Activate"), &WindowsDialog::Activate)->setDefault(true);
    add(QStringLiteral("OK"), &QDialog::accept);
    add(QStringLiteral("&Save"), &WindowsDialog::SaveSelected);
    add(QStringLiteral("&Close Window(s)"), &WindowsDialog::CloseSelected);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_List, 1);
    layout->addLayout(buttons);
    connect(m_List, &QListWidget::itemDoubleClicked, this, &WindowsDialog::Activate);
    Fill();
    resize(460, 260);
}

void WindowsDialog::Fill()
{
    m_List->clear();
    m_Windows = m_Area->subWindowList(QMdiArea::StackingOrder);
    std::reverse(m_Windows.begin(), m_Windows.end()); // the active window first
    for (QMdiSubWindow* w : m_Windows)
        m_List->addItem(w->windowTitle());
    if (!m_Windows.isEmpty()) m_List->setCurrentRow(0);
}

QList<QMdiSubWindow*> WindowsDialog::Selected() const
{
    QList<QMdiSubWindow*> list;
    for (int row = 0; row < m_List->count(); ++row)
        if (m_List->item(row)->isSelected()) list << m_Windows[row];
    return list;
}

void WindowsDialog::Activate()
{
    const QList<QMdiSubWindow*> selected = Selected();
    if (selected.size() != 1) return;
    m_Area->setActiveSubWindow(selected.front());
    accept();
}

void WindowsDialog::SaveSelected()
{
    for (QMdiSubWindow* w : Selected())
        if (auto* view = dynamic_cast<View*>(w->widget()); view && view->GetDocument())
            view->GetDocument()->DoFileSave();
    Fill();
}

void WindowsDialog::CloseSelected()
{
    QList<QPointer<QMdiSubWindow>> windows;
    for (QMdiSubWindow* w : Selected())
        windows << w;
    // Closing one window may close others of the same document.
    for (const QPointer<QMdiSubWindow>& w : windows)
        if (w) w->close();
    Fill();
}
