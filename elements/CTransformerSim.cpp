#include "CTransformerSim.h"

#include "CSimulatorDoc.h"

#include <cmath>

CTransformerSim::CTransformerSim(CSimulatorDoc* doc) : StampingElement(doc)
{
    TerminalCount = 4;
}

// ---- binding and stamping

void CTransformerSim::Bind(WindingEntries& e, MatrixBinder& binder)
{
    // The branch rows are wherever the system placed the two global branch unknowns: the reduced and
    // partition systems number only their own branches, in their own order.
    const int rows[2] = {BranchUnknown(0), BranchUnknown(1)};
    for (int w = 0; w < 2; ++w) {
        const int x1 = Nodes[2 * w], x2 = Nodes[2 * w + 1], b = rows[w];
        e.nodeBranch[w][0] = binder.entry(x1, b);
        e.nodeBranch[w][1] = binder.entry(b, x1);
        e.nodeBranch[w][2] = binder.entry(x2, b);
        e.nodeBranch[w][3] = binder.entry(b, x2);
        e.rhs[w] = binder.rhs(b);
        for (int v = 0; v < 2; ++v)
            e.branch[w][v] = binder.entry(b, rows[v]);
    }
}

void CTransformerSim::StampInto(const WindingEntries& e, bool rhsOnly, int)
{
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
