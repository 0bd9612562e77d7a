#include "CUndo.h"

#include "Archive.h"
#include "UiServices.h"

CUndo::CUndo() = default;
CUndo::~CUndo() = default;

void CUndo::CheckPoint()
{
    if (m_SuspendCount > 0) return;
    QByteArray snapshot;
    Store(snapshot);
    if (int(m_UndoList.size()) > m_Levels) m_UndoList.pop_back();
    m_UndoList.push_front(std::move(snapshot));
    ClearRedoList();
}

void CUndo::ClearRedoList()
{
    m_RedoList.clear();
}

void CUndo::Undo()
{
    if (!CanUndo()) return;
    m_RedoList.push_front(std::move(m_UndoList.front()));
    m_UndoList.pop_front();
    Load(m_UndoList.front());
}

void CUndo::Redo()
{
    if (!CanRedo()) return;
    QByteArray snapshot = std::move(m_RedoList.front());
    m_RedoList.pop_front();
    if (int(m_UndoList.size()) > m_Levels) m_UndoList.pop_back();
    m_UndoList.push_front(std::move(snapshot));
    Load(m_UndoList.front());
}

void CUndo::Store(QByteArray& snapshot)
{
    Archive ar(&snapshot);
    SerializeForUndo(ar);
}

void CUndo::Load(const QByteArray& snapshot)
{
    try {
        Archive ar(snapshot);
        SerializeForUndo(ar);
    } catch (const ArchiveError& e) {
        // Snapshots are our own bytes; this only happens when the program itself is broken.
        ui().message(QStringLiteral("The earlier state cannot be restored: ") + e.detail());
    }
}
