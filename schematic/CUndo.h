#pragma once

#include <QByteArray>

#include <deque>

class Archive;

// Whole-state undo and redo for a document, by snapshots of the document's serialised state kept in
// memory. The owner supplies one hook that writes or reads its whole state through an archive (a read
// that fails must leave the owner as it was); the store knows nothing else of its owner.
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

protected:
    // Writes or reads the owner's whole state.
    virtual void SerializeForUndo(Archive& ar) = 0;

    void Store(QByteArray& snapshot);
    void Load(const QByteArray& snapshot);

private:
    std::deque<QByteArray> m_UndoList; // newest first; the head is the current state
    std::deque<QByteArray> m_RedoList; // the most recently undone state first
    int m_Levels = 20;                 // earlier states kept besides the current one
    int m_SuspendCount = 0;
};
