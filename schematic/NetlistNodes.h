#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// Where a node's name came from; a label that takes a generated name joins nodes the user never
// joined.
enum NodeOrigin : quint8 { FromOutside = 0, Generated = 1, FromLabel = 2 };

// The nodes of one document while its netlist is written: every pin starts in the node of its
// position, and the naming passes join nodes and rename them. A name always belongs to one node.
class NodeTable {
public:
    // A new node; its id.
    int Add(const QString& name, NodeOrigin origin);
    // The node that `id` has been joined into.
    int Find(int id);
    const QString& Name(int id) { return m_Name[size_t(Find(id))]; }
    NodeOrigin OriginOf(int id) { return m_Origin[size_t(Find(id))]; }
    // When the node took its name: later names have higher stamps.
    int Stamp(int id) { return m_Stamp[size_t(Find(id))]; }
    // Pins that a line's return pin is compared with (see the line-return pass).
    int& Compared(int id) { return m_Compared[size_t(Find(id))]; }
    int Size() const { return int(m_Parent.size()); }

    // Every pin of the node takes the name, joining the node that has it already. A label that
    // joins a generated node (or the other way round) is reported through `collided`.
    void Rename(int id, QString name, NodeOrigin origin, QStringList& collided);

    // Every node that remains: its id, its name and where the name came from.
    template <class F> void ForEachNode(F f) const
    {
        for (int id = 0; id < int(m_Parent.size()); ++id)
            if (m_Parent[size_t(id)] == id) f(id, m_Name[size_t(id)], m_Origin[size_t(id)]);
    }

private:
    std::vector<int> m_Parent;
    std::vector<int> m_Size;
    std::vector<QString> m_Name;
    std::vector<NodeOrigin> m_Origin;
    std::vector<int> m_Compared;
    std::vector<int> m_Stamp;
    int m_Clock = 0;
    QHash<QString, int> m_ByName;
};

// Sets of ids that are joined, and nothing more: the nets of a netlist written from several
// documents, each node of each document one id.
class DisjointSets {
public:
    explicit DisjointSets(int count);
    int Find(int id);
    void Join(int a, int b);

private:
    std::vector<int> m_Parent;
};
