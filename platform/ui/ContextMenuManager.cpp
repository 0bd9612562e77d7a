#include "ContextMenuManager.h"

#include "CommandRouter.h"

#include <QAction>
#include <QHash>
#include <QMenu>

namespace {
QHash<QString, QList<ContextMenuManager::Entry>>& menus()
{
    static QHash<QString, QList<ContextMenuManager::Entry>> m;
    return m;
}
const CommandRouter* g_router = nullptr;
} // namespace

void ContextMenuManager::AddMenu(const QString& name, const QList<Entry>& entries)
{
    menus().insert(name, entries);
}

bool ContextMenuManager::HasMenu(const QString& name)
{
    return menus().contains(name);
}

QList<ContextMenuManager::Entry> ContextMenuManager::Menu(const QString& name)
{
    return menus().value(name);
}

void ContextMenuManager::SetRouter(const CommandRouter* router)
{
    g_router = router;
}

bool ContextMenuManager::ShowPopupMenu(const QString& name, const QPoint& globalPos)
{
    if (!HasMenu(name)) return false;
    QMenu menu;
    for (const Entry& e : menus().value(name)) {
        const QStringList parts = e.second.split(QLatin1Char('\t'));
        QAction* action = menu.addAction(parts.value(0));
        if (parts.size() > 1) action->setShortcut(QKeySequence(parts[1]));
        action->setData(e.first);
        action->setEnabled(g_router && g_router->Update(e.first).IsEnabled());
    }
    if (QAction* chosen = menu.exec(globalPos); chosen && g_router) g_router->Execute(chosen->data().toInt());
    return true;
}
