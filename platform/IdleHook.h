#pragma once

#include <QObject>

#include <functional>

// Calls a function each time the thread's event loop runs out of work and is about to wait: the
// moment the command states of the ribbon and menus are brought up to date.
class IdleHook : public QObject {
    Q_OBJECT
public:
    explicit IdleHook(std::function<void()> onIdle, QObject* parent = nullptr);

    ~IdleHook() override;

    // Runs the function now (not re-entered while it is running).
    void RunNow();
    // Runs every hook of the program: the idle processing of a message pump inside long work,
    // where the event loop never waits.
    static void RunAll();

private:
    std::function<void()> m_OnIdle;
    bool m_Running = false;
};
