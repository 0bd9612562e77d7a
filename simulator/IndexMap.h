#pragma once

// Maps a global unknown (0 = ground, 1..N nodes, N+1..N+M branch unknowns) to its row in one of the
// run's systems. Row 0 means "not in this system": an element stamps such entries into row or column 0,
// which no solve reads.
class IndexMap {
public:
    // The full system: every unknown is its own row.
    static IndexMap identity() { return IndexMap(nullptr, nullptr, 0); }
    // The reduced system: globalToLocal[g] is the row of g, or 0.
    static IndexMap reduced(const int* globalToLocal) { return IndexMap(nullptr, globalToLocal, 0); }
    // Partition p: an unknown belongs to p when partitionOf[g] == p; localIndex[g] is its row there.
    static IndexMap partition(const int* partitionOf, const int* localIndex, int p)
    {
        return IndexMap(partitionOf, localIndex, p);
    }

    int operator()(int global) const
    {
        if (global <= 0) return 0;
        if (!m_local) return global;
        if (m_partitionOf && m_partitionOf[global] != m_p) return 0;
        return m_local[global];
    }
    bool isIdentity() const { return m_local == nullptr; }

private:
    IndexMap(const int* partitionOf, const int* local, int p)
        : m_partitionOf(partitionOf), m_local(local), m_p(p)
    {
    }
    const int* m_partitionOf;
    const int* m_local;
    int m_p;
};
