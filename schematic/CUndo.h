#pragma once

#include <QByteArray>

#include <deque>

class Archive;

// Whole-state undo and redo for a document, by snapshots of the document's serialised state kept in
// memory. The owner supplies one hook that writes or reads its whole state through an archive (a read
// that fails must leave the owner as it was), and may hear where an undo or redo has left it; the
// store knows nothing else of its owner.
class CUndo {
public:
    CUndo();
    virtual ~CUndo();
    CUndo(const CUndo&) = delete;
    CUndo& operator=(const CUndo&) = delete;

    // Records the current state; a new edit discards every state that could be redone.
    void CheckPoint();
    void ClearRedoList();

    // The commands of the view. Undo needs an earlier state besides the current one.
    bool CanUndo() const { return m_UndoList.size() >= 2; }
    bool CanRedo() const { return !m_RedoList.empty(); }
    void Undo();
    void Redo();

    int UndoCount() const { return int(m_UndoList.size()); }
    int RedoCount() const { return int(m_RedoList.size()); }

    // The owner's state is now what its file holds (just opened or saved): the current snapshot is
    // taken again, so that it holds changes that took no snapshot of their own (a page size, a saved
    // file's new version), and an undo or redo that comes back to it reports the saved state.
    void MarkSaved();

protected:
    // Writes or reads the owner's whole state.
    virtual void SerializeForUndo(Archive& ar) = 0;
    // After an undo or redo: whether the restored state is the one last saved.
    virtual void RestoredState(bool saved) {}

    void Store(QByteArray& snapshot);
    void Load(const QByteArray& snapshot);

private:
    struct Snapshot {
        QByteArray bytes;
        quint64 id; // never reused, so a dropped snapshot is never taken for the saved one
    };
    void Restore(const Snapshot& snapshot);

    std::deque<Snapshot> m_UndoList; // newest first; the head is the current state
    std::deque<Snapshot> m_RedoList; // the most recently undone state first
    int m_Levels = 20;               // earlier states kept besides the current one
    int m_SuspendCount = 0;
    quint64 m_NextId = 1;
    quint64 m_SavedId = 0; // the snapshot of the saved state; 0: none
};
