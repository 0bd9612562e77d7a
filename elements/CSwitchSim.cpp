#include "CSwitchSim.h"

#include "CSimulatorDoc.h"

#include <algorithm>
#include <cmath>

CSwitchSim::CSwitchSim(CSimulatorDoc* doc) : CResistorSim(doc)
{
    Nonlinear = true;
    Conductance = 1e12;
}

void CSwitchSim::Initialise()
{
    ResistanceHistory.assign(size_t(m_pDoc->ResultColumns()), 0.0);
}

double CSwitchSim::Voltage(int k) const
{
    return m_pDoc->V(Nodes[0], k) - m_pDoc->V(Nodes[1], k);
}

QString CSwitchSim::CutPrefix(const QString& token, const char* prefix)
{
    const QLatin1String p(prefix);
    return token.startsWith(p) ? token.mid(p.size()) : token;
}

void CSwitchSim::BeginStep(int k)
{
    UpdateSwitchState(k);
    const double r = ResistanceHistory[size_t(k)];
    Conductance = ClampConductance(r);
    // The first step builds the whole matrix anyway.
    if (k > m_pDoc->HistoryCount() && r != ResistanceHistory[size_t(k) - 1]) {
        m_pDoc->MarkNodeDirty(Nodes[0]);
        m_pDoc->MarkNodeDirty(Nodes[1]);
    }
}

void CSwitchSim::UpdateSwitchState(int k)
{
    const double t = m_pDoc->CurrentTime();
    const double v = Voltage(k - 1);
    // The conductance of the previous step; column h-1 holds 0, the 1e12 of a switch not yet stepped.
    const double i = ClampConductance(ResistanceHistory[size_t(k) - 1]) * v;
    // Once per step, not once per iteration: an element elsewhere that iterates must not make the
    // energy grow faster.
    if (k != m_EnergyColumn) {
        Energy += i * v * m_pDoc->TimeStep();
        m_EnergyColumn = k;
    }

    double& r = ResistanceHistory[size_t(k)];
    const double r0 = InitialResistance;
    const double r1 = FinalResistance;
    const double tau = TimeConstant;
    // A time constant of 0 has no law to follow: the switch closes at once. A negative one follows the
    // law as it stands, which then moves away from R1.
    const bool instant = tau == 0 || std::isnan(tau);

    if (m_Criterion == Criterion::Time && m_Law == Law::Tanh) {
        // Centred on the critical time from the first step on; no closure is recorded.
        if (instant)
            r = t < CriticalValue ? r0 : r1;
        else
            r = (r0 - r1) * 0.5 * (1 - std::tanh((t - CriticalValue) / tau)) + r1;
        return;
    }
    if (!Closed) {
        bool met = false;
        switch (m_Criterion) {
        case Criterion::Time:
            met = t >= CriticalValue;
            break;
        case Criterion::Volt:
            met = std::abs(v) / CriticalValue >= 1;
            break;
        case Criterion::Cur:
            met = i / CriticalValue >= 1;
            break; // signed: a reverse current never closes
        case Criterion::Energy:
            met = Energy / CriticalValue >= 1;
            break;
        }
        if (!met) {
            r = r0;
            return;
        }
        Closed = true;
        ClosureTime = t;
    }
    if (instant) {
        r = r1;
        return;
    }
    const double x = (t - ClosureTime) / tau;
    switch (m_Law) {
    case Law::Exp:
        // A negative time constant lets the exponential overflow in the end; with R0 = R1 there is
        // nothing to grow (0 times infinity would give no resistance at all).
        r = r0 == r1 ? r1 : (r0 - r1) * std::exp(-x) + r1;
        break;
    case Law::Lin:
        r = (r0 - r1) * std::max(1 - x, 0.0) + r1;
        break;
    case Law::T0T:
        r = std::max(1 / std::max(x, 1 / r0), r1);
        break;
    case Law::Tanh:
        r = (r0 - r1) * (1 - std::tanh(x)) + r1;
        break;
    }
}

bool CSwitchSim::GetOutput(const QString& kind, int n, double* out)
{
    if (kind == QLatin1String("V")) {
        NodeDifference(Nodes[0], Nodes[1], n, out);
        return true;
    }
    if (kind == QLatin1String("R")) {
        CopyHistory(ResistanceHistory.data(), n, out);
        return true;
    }
    if (kind == QLatin1String("I") || kind == QLatin1String("E")) {
        // Through the stamped conductance of each column, so that R = 0 gives finite values.
        const int h = m_pDoc->HistoryCount();
        const double dt = m_pDoc->TimeStep();
        const bool current = kind == QLatin1String("I");
        NodeDifference(Nodes[0], Nodes[1], n, out);
        double energy = 0;
        for (int j = 0; j < n; ++j) {
            const double g = ClampConductance(ResistanceHistory[size_t(h + j)]);
            energy += out[j] * out[j] * g * dt;
            out[j] = current ? out[j] * g : energy;
        }
        return true;
    }
    return false;
}

void CSwitchSim::AddOutputNames(const QString& group, QStringList& list)
{
    CResistorSim::AddOutputNames(group, list);
    if (group == QLatin1String("Part Impedances")) AddName(list, QStringLiteral("R"));
}

bool CSwitchSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    if (tokens.size() < 9)
        return Fail(QStringLiteral("Error:  Invalid Netlist Line:  Not enough arguments: "));
    Nodes[0] = m_pDoc->GetNodeIndex(tokens[1]);
    Nodes[1] = m_pDoc->GetNodeIndex(tokens[2]);

    static const struct {
        const char* text;
        Criterion criterion;
    } kCriteria[] = {{"TIME", Criterion::Time},
                     {"VOLT", Criterion::Volt},
                     {"CUR", Criterion::Cur},
                     {"ENERGY", Criterion::Energy}};
    const auto criterion = std::find_if(std::begin(kCriteria), std::end(kCriteria),
                                        [&](const auto& c) { return tokens[3] == QLatin1String(c.text); });
    if (criterion == std::end(kCriteria))
        return Fail(QStringLiteral("Error:  Invalid Netlist Line:  Unrecognized switch type: "));
    m_Criterion = criterion->criterion;
    SwitchCriterion = tokens[3];
    InitialResistance = m_pDoc->ParseValue(tokens[4]);
    FinalResistance = m_pDoc->ParseValue(tokens[5]);
    CriticalValue = m_pDoc->ParseValue(tokens[6]);
    TimeConstant = m_pDoc->ParseValue(tokens[7]);

    static const struct {
        const char* text;
        Law law;
    } kLaws[] = {{"EXP", Law::Exp}, {"LIN", Law::Lin}, {"T0/T", Law::T0T}, {"TANH", Law::Tanh}};
    const auto law = std::find_if(std::begin(kLaws), std::end(kLaws),
                                  [&](const auto& l) { return tokens[8] == QLatin1String(l.text); });
    // Refused although the text calls it a warning.
    if (law == std::end(kLaws))
        return Fail(QStringLiteral(
            "Warning:  Invalid Switch Parameter: Unknown or invalid switch type encountered."));
    m_Law = law->law;
    TimeDependence = tokens[8];
    return true;
}
