#pragma once

#include "CmdUI.h"

#include <QList>

#include <functional>

class CommandTarget;

// Sends a command along the current route (active view, its document, the child frame, the main
// frame, the application) to the first target that handles it.
class CommandRouter {
public:
    using Route = std::function<QList<CommandTarget*>()>;

    explicit CommandRouter(Route route = {}) : m_Route(std::move(route)) {}
    void SetRoute(Route route) { m_Route = std::move(route); }
    QList<CommandTarget*> CurrentRoute() const;

    // True when some target handled the command.
    bool Execute(int id) const;
    // The command's state: an update handler anywhere on the route decides; without one the command
    // is enabled exactly when some target has a handler for it.
    CmdUI Update(int id) const;

private:
    Route m_Route;
};
