#include "CIdealDiodeSim.h"

#include "CSimulatorDoc.h"

#include <algorithm>

bool CIdealDiodeSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    if (tokens.size() < 6)
        return Fail(QStringLiteral("Error:  Invalid Netlist Line:  Not enough arguments: "));
    Nodes[0] = m_pDoc->GetNodeIndex(tokens[1]);
    Nodes[1] = m_pDoc->GetNodeIndex(tokens[2]);
    // The dispatcher chose this class by the keyword, so this holds for every line it hands us.
    if (tokens[3] != QLatin1String("IDIODE")) return false;
    OnResistance = m_pDoc->ParseValue(CutPrefix(tokens[4], "RON="));
    OffResistance = m_pDoc->ParseValue(CutPrefix(tokens[5], "ROFF="));
    return true;
}

void CIdealDiodeSim::UpdateSwitchState(int k)
{
    double& r = ResistanceHistory[size_t(k)];
    if (k <= m_pDoc->HistoryCount() + 5) {
        r = OffResistance;
        return;
    }
    const double step = (OffResistance - OnResistance) / 5;
    const double previous = ResistanceHistory[size_t(k) - 1];
    const double s = Voltage(k - 1) + Voltage(k - 2) + Voltage(k - 3) + Voltage(k - 4);
    if (s > 0)
        r = std::max(previous - step, OnResistance);
    else if (s < 0)
        r = std::min(previous + step, OffResistance);
    else
        r = previous;
}
