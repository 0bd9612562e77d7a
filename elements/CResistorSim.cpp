#include "CResistorSim.h"

#include "CSimulatorDoc.h"
#include "ElementClass.h"
#include "UiServices.h"

void CResistorSim::Bind(ConductanceEntries& e, MatrixBinder& binder)
{
    e.bind(binder, Nodes[0], Nodes[1]);
}

void CResistorSim::Initialise()
{
    Conductance = ClampConductance(Resistance);
}

bool CResistorSim::GetOutput(const QString& kind, int n, double* out)
{
    if (kind == QLatin1String("V")) {
        NodeDifference(Nodes[0], Nodes[1], n, out);
        return true;
    }
    if (kind == QLatin1String("R")) {
        for (int j = 0; j < n; ++j)
            out[j] = Resistance;
        return true;
    }
    if (kind == QLatin1String("I") || kind == QLatin1String("E")) {
        // Through the stamped conductance, so a zero-ohm resistor gives finite values.
        NodeDifference(Nodes[0], Nodes[1], n, out);
        const double dt = m_pDoc->TimeStep();
        for (int j = 0; j < n; ++j)
            out[j] = kind == QLatin1String("I") ? out[j] * Conductance : out[j] * out[j] * Conductance * dt;
        return true;
    }
    return false;
}

void CResistorSim::AddOutputNames(const QString& group, QStringList& list)
{
    AddVoltageAndCurrent(group, list);
}

bool CResistorSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    if (tokens.size() < 4) return Fail(QStringLiteral("Invalid Netlist:  Not enough arguments: "));
    Resistance = m_pDoc->ParseValue(tokens[3]);
    Nodes[0] = m_pDoc->GetNodeIndex(tokens[1]);
    Nodes[1] = m_pDoc->GetNodeIndex(tokens[2]);
    Conductance = ClampConductance(Resistance);
    // Parts that the schematic can draw but that have no element of their own reach us as resistors
    // whose value is their model keyword, which reads as 0 ohms. Say so, or the near short would pass
    // for a result of the part's real model.
    const QString keyword = NoModelKeyword(u'R', tokens[3]);
    if (!keyword.isEmpty()) ui().message(NoModelElementWarning(Name, keyword));
    return true;
}
