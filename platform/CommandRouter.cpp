#include "CommandRouter.h"

#include "CommandTarget.h"

QList<CommandTarget*> CommandRouter::CurrentRoute() const
{
    QList<CommandTarget*> route = m_Route ? m_Route() : QList<CommandTarget*>{};
    route.removeAll(nullptr);
    return route;
}

bool CommandRouter::Execute(int id) const
{
    for (CommandTarget* target : CurrentRoute())
        if (target->OnCmdMsg(id)) return true;
    return false;
}

CmdUI CommandRouter::Update(int id) const
{
    CmdUI cmdUI(id);
    const QList<CommandTarget*> route = CurrentRoute();
    for (CommandTarget* target : route)
        if (target->OnUpdateCmdUI(cmdUI)) {
            if (!cmdUI.EnableChanged()) break;
            return cmdUI;
        }
    // An update handler that only set a check leaves enabling to the presence of a handler.
    bool handled = false;
    for (CommandTarget* target : route)
        if (target->HasCommandHandler(id)) {
            handled = true;
            break;
        }
    cmdUI.Enable(handled);
    return cmdUI;
}
