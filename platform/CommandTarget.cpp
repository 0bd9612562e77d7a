#include "CommandTarget.h"

bool CommandTarget::OnCmdMsg(int id)
{
    for (const Command& c : m_Commands) {
        if (id < c.first || id > c.last) continue;
        // A handler may close and free its own target (File Close): run a copy, not the map entry.
        auto handler = c.handler;
        handler(id);
        return true;
    }
    return false;
}

bool CommandTarget::OnUpdateCmdUI(CmdUI& cmdUI)
{
    for (const Update& u : m_Updates) {
        if (cmdUI.ID() < u.first || cmdUI.ID() > u.last) continue;
        u.handler(cmdUI);
        return true;
    }
    return false;
}

bool CommandTarget::HasCommandHandler(int id) const
{
    for (const Command& c : m_Commands)
        if (id >= c.first && id <= c.last) return true;
    return false;
}

void CommandTarget::MapCommand(int id, std::function<void()> handler)
{
    m_Commands.push_back({id, id, [h = std::move(handler)](int) { h(); }});
}

void CommandTarget::MapCommandRange(int first, int last, std::function<void(int)> handler)
{
    m_Commands.push_back({first, last, std::move(handler)});
}

void CommandTarget::MapUpdate(int id, std::function<void(CmdUI&)> handler)
{
    m_Updates.push_back({id, id, std::move(handler)});
}

void CommandTarget::MapUpdateRange(int first, int last, std::function<void(CmdUI&)> handler)
{
    m_Updates.push_back({first, last, std::move(handler)});
}
