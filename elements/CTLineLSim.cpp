#include "CTLineLSim.h"

#include "CSimulatorDoc.h"

bool CTLineLSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    if (tokens.size() < 5) return Fail(QStringLiteral("Invalid Netlist.  Not enough arguments: "));
    Nodes[0] = m_pDoc->GetNodeIndex(tokens[1]);
    Nodes[2] = m_pDoc->GetNodeIndex(tokens[2]);
    Nodes[1] = Nodes[3] = 0;
    L = ValueAfterKey(tokens[4], QStringLiteral("L="));
    if (L == 0) return Fail(QStringLiteral("Invalid Netlist.  Invalid L=0: "));
    // One step, not two: the two ports in series between a and b make up the inductor.
    TD = m_pDoc->TimeStep();
    Z0 = L / TD;
    if (tokens.size() > 5 && tokens[5].startsWith(QLatin1String("IC=")))
        InitialCurrent = m_pDoc->ParseValue(tokens[5].mid(3));
    return true;
}
