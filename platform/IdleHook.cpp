#include "IdleHook.h"

#include <QAbstractEventDispatcher>
#include <QThread>

IdleHook::IdleHook(std::function<void()> onIdle, QObject* parent)
    : QObject(parent), m_OnIdle(std::move(onIdle)) {
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(QThread::currentThread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &IdleHook::RunNow);
}

void IdleHook::RunNow() {
    if (m_Running || !m_OnIdle) return;
    m_Running = true;
    m_OnIdle();
    m_Running = false;
}
