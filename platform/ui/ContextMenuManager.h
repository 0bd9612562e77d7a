#pragma once

#include <QList>
#include <QPair>
#include <QPoint>
#include <QString>

class CommandRouter;

// Pop-up menus registered by name; a view shows one at the mouse and the chosen command goes along
// the main window's command route, with entries enabled as their update handlers say.
class ContextMenuManager {
public:
    using Entry = QPair<int, QString>; // command id, text ("\t" then the shortcut text)

    static void AddMenu(const QString& name, const QList<Entry>& entries);
    static bool HasMenu(const QString& name);
    static QList<Entry> Menu(const QString& name);
    static void SetRouter(const CommandRouter* router);
    // Shows the menu and runs the chosen command; false when no menu has that name.
    static bool ShowPopupMenu(const QString& name, const QPoint& globalPos);
};
