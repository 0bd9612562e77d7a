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
    m_UndoList.push_front({std::move(snapshot), m_NextId++});
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
    Restore(m_UndoList.front());
}

void CUndo::Redo()
{
    if (!CanRedo()) return;
    Snapshot snapshot = std::move(m_RedoList.front());
    m_RedoList.pop_front();
    if (int(m_UndoList.size()) > m_Levels) m_UndoList.pop_back();
    m_UndoList.push_front(std::move(snapshot));
    Restore(m_UndoList.front());
}

void CUndo::MarkSaved()
{
    if (m_UndoList.empty()) return;
    Store(m_UndoList.front().bytes);
    m_SavedId = m_UndoList.front().id;
}

void CUndo::Restore(const Snapshot& snapshot)
{
    Load(snapshot.bytes);
    RestoredState(snapshot.id == m_SavedId);
}

void CUndo::Store(QByteArray& snapshot)
{
    snapshot.clear();
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
