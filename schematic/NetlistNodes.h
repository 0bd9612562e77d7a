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
    // Pins that a line's return pin is compared with (see the line-return pass).
    int& Compared(int id) { return m_Compared[size_t(Find(id))]; }

    // Every pin of the node takes the name, joining the node that has it already. A label that
    // joins a generated node (or the other way round) is reported through `collided`.
    void Rename(int id, QString name, NodeOrigin origin, QStringList& collided);

    // Every node that remains: its name and where the name came from.
    template <class F> void ForEachNode(F f) const
    {
        for (int id = 0; id < int(m_Parent.size()); ++id)
            if (m_Parent[size_t(id)] == id) f(m_Name[size_t(id)], m_Origin[size_t(id)]);
    }

private:
    std::vector<int> m_Parent;
    std::vector<int> m_Size;
    std::vector<QString> m_Name;
    std::vector<NodeOrigin> m_Origin;
    std::vector<int> m_Compared;
    QHash<QString, int> m_ByName;
};
