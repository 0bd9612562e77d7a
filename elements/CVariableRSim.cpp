#include "CVariableRSim.h"

#include "COrliskWave.h"
#include "CSimulatorDoc.h"
#include "OrliskInput.h"

#include <cmath>

CVariableRSim::CVariableRSim(CSimulatorDoc* doc) : CSwitchSim(doc) {}

CVariableRSim::~CVariableRSim() = default;

bool CVariableRSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    if (tokens.size() < 6)
        return Fail(QStringLiteral("Error:  Invalid Netlist Line:  Not enough arguments: "));
    Nodes[0] = m_pDoc->GetNodeIndex(tokens[1]);
    Nodes[1] = m_pDoc->GetNodeIndex(tokens[2]);
    const auto unrecognized = [this]() {
        return Fail(QStringLiteral("Error:  Invalid Netlist Line:  Unrecognized variable resistor type: "));
    };

    const QString& kind = tokens[4];
    if (kind == QLatin1String("POWER")) {
        if (tokens.size() < 7) return unrecognized();
        // N missing: a law without its exponent cannot be run.
        if (tokens.size() < 8)
            return Fail(QStringLiteral("Error:  Invalid Netlist Line:  Not enough arguments: "));
        Kind = Power;
        A = m_pDoc->ParseValue(CutPrefix(tokens[5], "A="));
        B = m_pDoc->ParseValue(CutPrefix(tokens[6], "B="));
        N = m_pDoc->ParseValue(CutPrefix(tokens[7], "N="));
        return true;
    }
    if (kind == QLatin1String("PULSE")) {
        if (tokens.size() < 7) return unrecognized();
        Kind = Pulsed;
        Pulse = PulseShape::Parse(*m_pDoc, tokens, 5);
        return true;
    }
    if (kind == QLatin1String("ORLISK")) {
        Kind = Orlisk;
        WaveFile = m_pDoc->InputPath() + tokens[5] + QStringLiteral(".wvf");
        return LoadWaveform();
    }
    return unrecognized();
}

bool CVariableRSim::LoadWaveform()
{
    WaveLoaded = LoadOrliskWave(WaveFile, Wave);
    return WaveLoaded;
}

void CVariableRSim::UpdateSwitchState(int k)
{
    double& r = ResistanceHistory[size_t(k)];
    switch (Kind) {
    case Power: {
        const double v = Voltage(k - 1);
        // A fractional exponent of a negative voltage has no real power: the law is taken as
        // symmetric there instead of giving NaN (which would silently open the resistor).
        double p = v == 0 ? 0.0 : std::pow(v, N);
        if (std::isnan(p) && !std::isnan(v)) p = std::pow(std::fabs(v), N);
        r = v == 0 ? A : A + B * p;
        break;
    }
    case Pulsed:
        r = Pulse.valueAt(m_pDoc->CurrentTime());
        break;
    case Orlisk:
        r = Wave ? Wave->ValueAt(m_pDoc->CurrentTime()) : 0.0;
        break;
    }
}
