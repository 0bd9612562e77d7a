#include "NetlistNodes.h"

#include <algorithm>
#include <numeric>
#include <utility>

int NodeTable::Add(const QString& name, NodeOrigin origin)
{
    const int id = int(m_Parent.size());
    m_Parent.push_back(id);
    m_Size.push_back(1);
    m_Name.push_back(name);
    m_Origin.push_back(origin);
    m_Compared.push_back(0);
    m_Stamp.push_back(++m_Clock);
    m_ByName.insert(name, id);
    return id;
}

int NodeTable::Find(int id)
{
    while (m_Parent[size_t(id)] != id) {
        m_Parent[size_t(id)] = m_Parent[size_t(m_Parent[size_t(id)])];
        id = m_Parent[size_t(id)];
    }
    return id;
}

void NodeTable::Rename(int id, QString name, NodeOrigin origin, QStringList& collided)
{
    int a = Find(id);
    if (m_Name[size_t(a)] == name) return;
    m_ByName.remove(m_Name[size_t(a)]);
    const auto existing = m_ByName.constFind(name);
    if (existing == m_ByName.cend()) {
        m_Name[size_t(a)] = name;
        m_Origin[size_t(a)] = origin;
        m_Stamp[size_t(a)] = ++m_Clock;
        m_ByName.insert(name, a);
        return;
    }
    int b = Find(*existing);
    const NodeOrigin kept = m_Origin[size_t(b)];
    if ((origin | kept) == (Generated | FromLabel)) collided << name;
    if (m_Size[size_t(a)] > m_Size[size_t(b)]) std::swap(a, b);
    m_Parent[size_t(a)] = b;
    m_Size[size_t(b)] += m_Size[size_t(a)];
    m_Compared[size_t(b)] += m_Compared[size_t(a)];
    m_Name[size_t(b)] = name;
    m_Origin[size_t(b)] = kept;
    m_Stamp[size_t(b)] = ++m_Clock;
    m_ByName.insert(name, b);
}

DisjointSets::DisjointSets(int count) : m_Parent(size_t(count))
{
    std::iota(m_Parent.begin(), m_Parent.end(), 0);
}

int DisjointSets::Find(int id)
{
    while (m_Parent[size_t(id)] != id) {
        m_Parent[size_t(id)] = m_Parent[size_t(m_Parent[size_t(id)])];
        id = m_Parent[size_t(id)];
    }
    return id;
}

void DisjointSets::Join(int a, int b)
{
    a = Find(a);
    b = Find(b);
    if (a != b) m_Parent[size_t(std::max(a, b))] = std::min(a, b);
}
