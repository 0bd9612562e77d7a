#pragma once

#include "CmdUI.h"

#include <functional>
#include <vector>

// Something that handles commands by id: a view, a document, a frame or the application. Handlers
// and update handlers are entered in the constructor of the class that owns them, like a message map.
class CommandTarget {
public:
    CommandTarget() = default;
    virtual ~CommandTarget() = default;
    CommandTarget(const CommandTarget&) = delete;
    CommandTarget& operator=(const CommandTarget&) = delete;

    // Runs the handler of the id; false when this target has none.
    virtual bool OnCmdMsg(int id);
    // Runs the update handler of the id; false when this target has none.
    virtual bool OnUpdateCmdUI(CmdUI& cmdUI);
    bool HasCommandHandler(int id) const;

protected:
    void MapCommand(int id, std::function<void()> handler);
    void MapCommandRange(int first, int last, std::function<void(int)> handler);
    void MapUpdate(int id, std::function<void(CmdUI&)> handler);
    void MapUpdateRange(int first, int last, std::function<void(CmdUI&)> handler);

private:
    struct Command {
        int first, last;
        std::function<void(int)> handler;
    };
    struct Update {
        int first, last;
        std::function<void(CmdUI&)> handler;
    };
    std::vector<Command> m_Commands;
    std::vector<Update> m_Updates;
};
