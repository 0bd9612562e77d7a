#include "IdleHook.h"

#include <QAbstractEventDispatcher>
#include <QList>
#include <QThread>

namespace {
QList<IdleHook*>& hooks()
{
    static QList<IdleHook*> list;
    return list;
}
} // namespace

IdleHook::IdleHook(std::function<void()> onIdle, QObject* parent)
    : QObject(parent), m_OnIdle(std::move(onIdle))
{
    hooks().append(this);
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(QThread::currentThread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &IdleHook::RunNow);
}

IdleHook::~IdleHook()
{
    hooks().removeAll(this);
}

void IdleHook::RunAll()
{
    for (IdleHook* hook : QList<IdleHook*>(hooks()))
        if (hooks().contains(hook)) hook->RunNow();
}

void IdleHook::RunNow()
{
    if (m_Running || !m_OnIdle) return;
    m_Running = true;
    m_OnIdle();
    m_Running = false;
}
