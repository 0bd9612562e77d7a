#include "CTransmissionLineSim.h"

#include "CSimulatorDoc.h"
#include "ElementClass.h"
#include "Text.h"
#include "UiServices.h"

#include <algorithm>
#include <cmath>

CTransmissionLineSim::CTransmissionLineSim(CSimulatorDoc* doc) : StampingElement(doc)
{
    TerminalCount = 4;
    Decoupled = true;
}

// ---------------------------------------------------------------------------------------------
// Statement

double CTransmissionLineSim::ValueAfterKey(const QString& token, const QString& key) const
{
    return m_pDoc->ParseValue(token.startsWith(key) ? token.mid(key.size()) : token);
}

double CTransmissionLineSim::ValueAfterCutKey(const QString& token, const char* key)
{
    const QLatin1String k(key);
    if (!token.startsWith(k))
        ui().message(QStringLiteral("Warning: ") + text::echo(Name) + QStringLiteral(": ") +
                     text::echo(token) + QStringLiteral(" does not begin with ") + k +
                     QStringLiteral("; it is read without its first %1 characters.").arg(k.size()));
    return m_pDoc->ParseValue(token.mid(k.size()));
}

void CTransmissionLineSim::ParseInitialCondition(const QStringList& tokens, int i)
{
    if (i >= tokens.size() || !tokens[i].startsWith(QLatin1String("IC="))) return;
    const QString& t = tokens[i];
    // The writer keeps the comma of "IC=v, i", so the current arrives as the next token.
    if (t.endsWith(QLatin1Char(','))) {
        InitialVoltage = m_pDoc->ParseValue(t.mid(3, t.size() - 4));
        if (i + 1 < tokens.size()) InitialCurrent = m_pDoc->ParseValue(tokens[i + 1]);
    } else {
        InitialVoltage = m_pDoc->ParseValue(t.mid(3));
    }
}

bool CTransmissionLineSim::CheckDelay()
{
    // Any finite delay can be run (a line longer than the run is shortened to it in Prepare), but the
    // step count must be a number: infinity, or a count beyond 64 bits, is a typing error.
    const double steps = TD / m_pDoc->TimeStep();
    if (!std::isfinite(TD) || !(steps < 0x1p62))
        return Fail(QStringLiteral("Invalid Netlist.  Invalid TD: "));
    return true;
}

bool CTransmissionLineSim::CheckImpedance(double z, const QString& key, bool zeroRuns)
{
    if ((z > 0 || (zeroRuns && z == 0)) && std::isfinite(z)) return true;
    return Fail(QStringLiteral("Invalid Netlist.  Invalid ") + key + QStringLiteral(": "));
}

bool CTransmissionLineSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    if (tokens.size() < 7) return Fail(QStringLiteral("Invalid Netlist.  Not enough arguments: "));
    for (int i = 0; i < 4; ++i)
        Nodes[i] = m_pDoc->GetNodeIndex(tokens[1 + i]);
    Z0 = ValueAfterKey(tokens[5], QStringLiteral("Z0="));
    TD = ValueAfterKey(tokens[6], QStringLiteral("TD="));
    ParseInitialCondition(tokens, 7);
    if (!CheckDelay()) return false;

    // The magnetically insulated line parts reach here as plain lines read by position: their keyword
    // reads as Z0 = 0 and their first value as TD = 0, a one-step line whose ports are near shorts.
    // Say so rather than let them pass for a model.
    const QString keyword = NoModelKeyword(u'T', tokens[5]);
    if (!keyword.isEmpty()) ui().message(NoModelElementWarning(Name, keyword));
    return true;
}

// ---------------------------------------------------------------------------------------------
// Run

void CTransmissionLineSim::Prepare()
{
    const double q = TD / m_pDoc->TimeStep() + 0.5;
    if (!(q >= 1))
        DelayExact = 1;
    else if (q < 0x1p62)
        DelayExact = std::int64_t(q);
    else
        DelayExact = std::int64_t(1) << 62;
    const std::int64_t longest = std::int64_t(m_pDoc->StepCount()) + 1;
    Delay = int(std::min(DelayExact, longest));
    m_pDoc->RaiseHistoryCount(Delay);
}

int CTransmissionLineSim::CellLimit() const
{
    return m_pDoc->StepCount() + 2;
}

double CTransmissionLineSim::HistoryBytes(double columns) const
{
    return 2 * columns * sizeof(double);
}

void CTransmissionLineSim::Initialise()
{
    const int h = m_pDoc->HistoryCount();
    const size_t columns = size_t(m_pDoc->ResultColumns());
    W1.assign(columns, 0.0);
    W2.assign(columns, 0.0);
    // Only a current makes the two waves differ; leaving it out at rest keeps an infinite Z0 finite.
    const double iz = InitialCurrent == 0 ? 0.0 : InitialCurrent * Z0;
    const double forward = (InitialVoltage + iz) / 2;
    const double backward = (InitialVoltage - iz) / 2;
    for (size_t i = 0; i <= size_t(h) && i < columns; ++i) {
        W1[i] = forward;
        W2[i] = backward;
    }
    Vinc[0] = Vinc[1] = 0;
    G = ClampConductance(Z0);
    PortG[0] = PortG[1] = WaveG[0] = WaveG[1] = G;
}

void CTransmissionLineSim::PreSolve(int k)
{
    Vinc[0] = W2[size_t(k - Delay)];
    Vinc[1] = W1[size_t(k - Delay)];
}

void CTransmissionLineSim::StoreOutgoingWaves(int k)
{
    W1[size_t(k)] = m_pDoc->V(Nodes[0], k) - m_pDoc->V(Nodes[1], k) - Vinc[0];
    W2[size_t(k)] = m_pDoc->V(Nodes[2], k) - m_pDoc->V(Nodes[3], k) - Vinc[1];
}

void CTransmissionLineSim::EndStep(int k)
{
    StoreOutgoingWaves(k);
}

// ---------------------------------------------------------------------------------------------
// Matrices

void CTransmissionLineSim::Bind(std::array<CompanionEntries, 2>& ports, MatrixBinder& binder)
{
    for (int port = 0; port < 2; ++port)
        ports[size_t(port)].bind(binder, Nodes[2 * port], Nodes[2 * port + 1]);
}

// ---------------------------------------------------------------------------------------------
// Traces

bool CTransmissionLineSim::GetOutput(const QString& kind, int n, double* out)
{
    enum What { Voltage, Current, Sent, Arrived };
    struct Trace {
        const char* kind;
        int port;
        What what;
    };
    static const Trace traces[] = {{"VL", 0, Voltage}, {"VR", 1, Voltage}, {"IL", 0, Current},
                                   {"IR", 1, Current}, {"V2L", 0, Sent},   {"V1L", 0, Arrived},
                                   {"V2R", 1, Sent},   {"V1R", 1, Arrived}};
    const Trace* t = std::find_if(std::begin(traces), std::end(traces),
                                  [&](const Trace& x) { return kind == QLatin1String(x.kind); });
    if (t == std::end(traces)) return false;

    const std::vector<double>& sent = SentWaves(t->port);
    if (t->what == Sent) {
        CopyHistory(sent.data(), n, out);
        return true;
    }
    const int h = m_pDoc->HistoryCount();
    NodeDifference(Nodes[2 * t->port], Nodes[2 * t->port + 1], n, out);
    for (int j = 0; j < n; ++j) {
        const double wave = sent[size_t(h + j)];
        // The current out of the line into the port's "+" node. It uses the stamped wave conductance,
        // so a line of Z0 = 0 shows the finite current that flowed instead of a division by zero.
        if (t->what == Current)
            out[j] = (out[j] - 2 * wave) * TraceConductance(t->port, h + j);
        else if (t->what == Arrived)
            out[j] -= wave;
    }
    return true;
}

void CTransmissionLineSim::AddOutputNames(const QString& group, QStringList& list)
{
    if (group == QLatin1String("TLine Voltages")) {
        AddName(list, QStringLiteral("VL"));
        AddName(list, QStringLiteral("VR"));
    } else if (group == QLatin1String("TLine Currents")) {
        AddName(list, QStringLiteral("IL"));
        AddName(list, QStringLiteral("IR"));
    } else if (group == QLatin1String("TLine Waves")) {
        AddName(list, QStringLiteral("V2L"));
        AddName(list, QStringLiteral("V1L"));
        AddName(list, QStringLiteral("V2R"));
        AddName(list, QStringLiteral("V1R"));
    }
}
