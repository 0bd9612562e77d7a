#include "CTLineCSim.h"

#include "CSimulatorDoc.h"

bool CTLineCSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    if (tokens.size() < 5) return Fail(QStringLiteral("Invalid Netlist.  Not enough arguments: "));
    const int a = m_pDoc->GetNodeIndex(tokens[1]);
    const int b = m_pDoc->GetNodeIndex(tokens[2]);
    Nodes[0] = Nodes[2] = a;
    Nodes[1] = Nodes[3] = b;
    C = ValueAfterKey(tokens[4], QStringLiteral("C="));
    if (C == 0) return Fail(QStringLiteral("Invalid Netlist.  Invalid C=0: "));
    TD = 2 * m_pDoc->TimeStep();
    Z0 = TD / C;
    if (tokens.size() > 5 && tokens[5].startsWith(QLatin1String("IC=")))
        InitialVoltage = m_pDoc->ParseValue(tokens[5].mid(3));
    return true;
}
