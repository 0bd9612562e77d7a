#include "CTransformerSim.h"

#include "CSimulatorDoc.h"
#include "IndexMap.h"

#include <cmath>

CTransformerSim::CTransformerSim(CSimulatorDoc* doc) : CComponentSim(doc)
{
    TerminalCount = 4;
}

// ---- binding and stamping

void CTransformerSim::Entries::bind(double** A, double* r, const int nodes[4], int b1, int b2)
{
    const int rows[2] = {b1, b2};
    for (int w = 0; w < 2; ++w) {
        const int x1 = nodes[2 * w], x2 = nodes[2 * w + 1], b = rows[w];
        nodeBranch[w][0] = &A[x1][b];
        nodeBranch[w][1] = &A[b][x1];
        nodeBranch[w][2] = &A[x2][b];
        nodeBranch[w][3] = &A[b][x2];
        rhs[w] = &r[b];
        for (int v = 0; v < 2; ++v)
            branch[w][v] = &A[b][rows[v]];
    }
    bound = true;
}

void CTransformerSim::StampInto(const Entries& e, bool rhsOnly) const
{
    if (!e.bound) return;
    if (!rhsOnly) {
        *e.branch[0][0] -= R11;
        *e.branch[0][1] -= R12;
        *e.branch[1][1] -= R22;
        *e.branch[1][0] -= R12;
        // Each winding current leaves its first node and enters its second.
        for (int w = 0; w < 2; ++w) {
            *e.nodeBranch[w][0] += 1;
            *e.nodeBranch[w][1] += 1;
            *e.nodeBranch[w][2] -= 1;
            *e.nodeBranch[w][3] -= 1;
        }
    }
    *e.rhs[0] += E1;
    *e.rhs[1] += E2;
}

void CTransformerSim::BindThrough(Entries& e, double** A, double* rhs, const IndexMap& map) const
{
    const int nodes[4] = {map(Nodes[0]), map(Nodes[1]), map(Nodes[2]), map(Nodes[3])};
    // The branch rows are wherever that system placed the two global branch unknowns: the reduced
    // and partition systems number only their own branches, in their own order.
    e.bind(A, rhs, nodes, map(BranchUnknown(0)), map(BranchUnknown(1)));
}

void CTransformerSim::Stamp(bool rhsOnly, int)
{
    StampInto(m_Full, rhsOnly);
}

void CTransformerSim::StampMapped(bool rhsOnly, int)
{
    if (InReducedSet) StampInto(m_Mapped, rhsOnly);
}

void CTransformerSim::StampPartition(bool rhsOnly, int, int partition)
{
    if (partition == Partition) StampInto(m_Mapped, rhsOnly);
}

void CTransformerSim::BindMatrix(double** A, double* rhs)
{
    BindThrough(m_Full, A, rhs, IndexMap::identity());
}

void CTransformerSim::BindMatrixMapped(double** A, double* rhs)
{
    const IndexMap map = m_pDoc->ReducedMap();
    if (map(Nodes[0]) || map(Nodes[1]) || map(Nodes[2]) || map(Nodes[3])) BindThrough(m_Mapped, A, rhs, map);
}

void CTransformerSim::BindMatrixPartition(double** A, double* rhs, const IndexMap& map, int partition)
{
    if (!map(Nodes[0]) && !map(Nodes[1]) && !map(Nodes[2]) && !map(Nodes[3])) return;
    Partition = partition;
    BindThrough(m_Mapped, A, rhs, map);
}

// ---- the run

void CTransformerSim::Initialise()
{
    M = std::sqrt(L1 * L2) * K;
    const double dt = m_pDoc->TimeStep();
    R11 = 2 * L1 / dt;
    R12 = 2 * M / dt;
    R22 = 2 * L2 / dt;
}

void CTransformerSim::BeginStep(int k)
{
    // Before the first step both windings are at rest.
    if (k == m_pDoc->HistoryCount()) {
        E1 = E2 = 0;
        return;
    }
    const CSimulatorDoc& d = *m_pDoc;
    const double iP = d.V(BranchUnknown(0), k - 1), iS = d.V(BranchUnknown(1), k - 1);
    const double vP = d.V(Nodes[0], k - 1) - d.V(Nodes[1], k - 1);
    const double vS = d.V(Nodes[2], k - 1) - d.V(Nodes[3], k - 1);
    E1 = -R11 * iP - R12 * iS - vP;
    E2 = -R22 * iS - R12 * iP - vS;
}

// ---- traces

bool CTransformerSim::GetOutput(const QString& kind, int n, double* out)
{
    if (kind == QLatin1String("VL"))
        NodeDifference(Nodes[0], Nodes[1], n, out);
    else if (kind == QLatin1String("VR"))
        NodeDifference(Nodes[2], Nodes[3], n, out);
    else if (kind == QLatin1String("IL"))
        NodeDifference(BranchUnknown(0), 0, n, out);
    else if (kind == QLatin1String("IR"))
        NodeDifference(BranchUnknown(1), 0, n, out);
    else
        return false;
    return true;
}

void CTransformerSim::AddOutputNames(const QString& group, QStringList& list)
{
    if (group == QLatin1String("Part Voltages")) {
        AddName(list, QStringLiteral("VL"));
        AddName(list, QStringLiteral("VR"));
    } else if (group == QLatin1String("Part Currents")) {
        AddName(list, QStringLiteral("IL"));
        AddName(list, QStringLiteral("IR"));
    }
}

// ---- the statement

bool CTransformerSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    const QString notEnough = QStringLiteral("Invalid Netlist:  Not enough arguments: ");
    if (tokens.size() < 8) return Fail(notEnough);
    for (int i = 0; i < 4; ++i)
        Nodes[i] = m_pDoc->GetNodeIndex(tokens[i + 1]);

    bool haveL1 = false, haveL2 = false, haveK = false;
    for (int t = 4; t < tokens.size(); ++t) {
        const QString& token = tokens[t];
        if (token.startsWith(QLatin1String("L1="))) {
            L1 = m_pDoc->ParseValue(token.mid(3));
            haveL1 = true;
        } else if (token.startsWith(QLatin1String("L2="))) {
            L2 = m_pDoc->ParseValue(token.mid(3));
            haveL2 = true;
        } else if (token.startsWith(QLatin1String("K="))) {
            K = m_pDoc->ParseValue(token.mid(2));
            haveK = true;
        }
    }
    // Eight tokens can still lack a value; there is no sensible default for any of the three.
    if (!haveL1 || !haveL2 || !haveK) return Fail(notEnough);
    // The mutual inductance is the root of L1 L2.
    if (!(L1 * L2 >= 0))
        return Fail(QStringLiteral("Invalid Netlist.  Invalid ") +
                    (L1 < 0 || !std::isfinite(L1) ? QStringLiteral("L1: ") : QStringLiteral("L2: ")));

    TakeBranch();
    TakeBranch();
    return true;
}
