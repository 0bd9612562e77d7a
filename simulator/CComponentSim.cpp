#include "CComponentSim.h"

#include "CSimulatorDoc.h"
#include "Text.h"
#include "UiServices.h"

#include <cmath>

double CComponentSim::ClampConductance(double resistance)
{
    if (resistance == 0.0) return 1e12;
    return ClampG(1.0 / resistance);
}

double CComponentSim::ClampG(double g)
{
    if (std::isnan(g) || g < 1e-12) return 1e-12;
    if (g > 1e12) return 1e12;
    return g;
}

void CComponentSim::AddName(QStringList& list, const QString& kind) const
{
    list << kind + QLatin1Char('(') + Name + QLatin1Char(')');
}

void CComponentSim::AddVoltageAndCurrent(const QString& group, QStringList& list, const char* voltages,
                                         const char* currents) const
{
    if (group == QLatin1String(voltages))
        AddName(list, QStringLiteral("V"));
    else if (group == QLatin1String(currents))
        AddName(list, QStringLiteral("I"));
}

int CComponentSim::TakeBranch()
{
    const int b = m_pDoc->TakeBranch();
    if (BranchCount < 2) Branch[BranchCount++] = b;
    return b;
}

int CComponentSim::BranchUnknown(int i) const
{
    return m_pDoc->NodeCount() + Branch[i];
}

void CComponentSim::NodeDifference(int a, int b, int n, double* out) const
{
    const int h = m_pDoc->HistoryCount();
    const double* va = m_pDoc->ResultRow(a);
    const double* vb = m_pDoc->ResultRow(b);
    for (int j = 0; j < n; ++j)
        out[j] = va[h + j] - vb[h + j];
}

void CComponentSim::CopyHistory(const double* values, int n, double* out) const
{
    const int h = m_pDoc->HistoryCount();
    for (int j = 0; j < n; ++j)
        out[j] = values[h + j];
}

bool CComponentSim::Fail(const QString& text) const
{
    ui().message(text + text::echo(Name));
    return false;
}

bool CComponentSim::RunBatch(StepOp op, CComponentSim* const* elements, std::size_t count, int k,
                             bool rhsOnly, int partition)
{
    bool asked = false;
    for (std::size_t i = 0; i < count; ++i) {
        CComponentSim* e = elements[i];
        switch (op) {
        case BeginStepOp:
            e->BeginStep(k);
            break;
        case PreSolveOp:
            e->PreSolve(k);
            break;
        case StampOp:
            if (partition != 0)
                e->StampPartition(rhsOnly, k, partition);
            else
                e->Stamp(rhsOnly, k);
            break;
        case EndStepOp:
            e->EndStep(k);
            break;
        case NeedsIterationOp:
            if (e->NeedsIteration(k)) return true;
            break;
        case AskEveryOp:
            asked |= e->NeedsIteration(k);
            break;
        }
    }
    return asked;
}

// ---- matrices

IndexMap CComponentSim::ReducedMap() const
{
    return m_pDoc->ReducedMap();
}

const double* CComponentSim::LatestValue(int node) const
{
    if (!m_pDoc->Maximal()) {
        const double* solution = m_pDoc->PreviousSolution();
        return solution ? solution + node : nullptr;
    }
    const int partition = m_SetPartition[PartitionEntries];
    const double* solution = partition ? m_pDoc->PreviousSolution(partition) : nullptr;
    return solution ? solution + m_pDoc->PartitionMap(partition)(node) : nullptr;
}

int CComponentSim::ClaimPartitionSet(const IndexMap& map, int partition)
{
    bool touches = false;
    for (int i = 0; i < NodeCount(); ++i)
        touches = touches || map(Nodes[i]) != 0;
    // Only a line, whose ports are separate sub-networks, can lie in two partitions.
    const int set = m_SetPartition[PartitionEntries] != 0 ? SecondPartitionEntries : PartitionEntries;
    if (!touches || m_SetPartition[set] != 0) return -1;
    m_SetPartition[set] = partition;
    return set;
}
