#include "CDiodeSim.h"

#include "CSimulatorDoc.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kThermalVoltage = 0.0259;
// Beyond this exponent the breakdown current continues along its tangent: the exponential itself
// would overflow a double for a diode driven far past its breakdown voltage, and one inf in the
// linearisation turns every later iterate into NaN.
constexpr double kExponentCap = 100.0;
// How far past the breakdown voltage the reverse leakage is bridged to the breakdown current.
constexpr double kBreakdownBridge = 1e-3;
// A step whose junction iteration settles takes a handful of solves, a few dozen from far off.
constexpr int kSolvesBeforeCycling = 50;

double cappedExp(double x)
{
    if (x <= kExponentCap) return std::exp(x);
    return std::exp(kExponentCap) * (1.0 + (x - kExponentCap));
}

bool positiveFinite(double x)
{
    return std::isfinite(x) && x > 0;
}
} // namespace

CDiodeSim::CDiodeSim(CSimulatorDoc* doc) : StampingElement(doc)
{
    Nonlinear = true;
    InternalNode = true;
}

double CDiodeSim::Current(double v) const
{
    const double vt = kThermalVoltage * N;
    if (v > -5 * vt) {
        if (v / vt <= 100) return IS * (std::exp(v / vt) - 1) + 1e-12 * v;
        return v + 1e6;
    }
    if (v > -BV) return 1e-12 * v - IS;
    if (v >= -BV - kBreakdownBridge) {
        // Between the leakage at -BV and the breakdown current a straight line, so that every reverse
        // current has a voltage.
        const double top = -1e-12 * BV - IS, bottom = BreakdownCurrent(-BV - kBreakdownBridge);
        return top + (bottom - top) * (-BV - v) / kBreakdownBridge;
    }
    return BreakdownCurrent(v);
}

double CDiodeSim::BreakdownCurrent(double v) const
{
    return -IS * (cappedExp(-(v + BV) / kThermalVoltage) - 1) - IBV;
}

double CDiodeSim::JunctionVoltage(int column) const
{
    if (m_Latest[0]) return *m_Latest[0] - *m_Latest[1];
    return m_pDoc->V(JunctionNode(), column) - m_pDoc->V(Nodes[1], column);
}

void CDiodeSim::Linearise(double v)
{
    vlast = v;
    const double i = Current(v);
    Geq = (Current(v + 1e-6) - i) / 1e-6;
    Ieq = Geq * v - i;
}

// ---- binding and stamping

void CDiodeSim::Bind(DiodeEntries& e, MatrixBinder& binder)
{
    if (RS > 0) e.series.bind(binder, Nodes[0], JunctionNode());
    e.junction.bind(binder, JunctionNode(), Nodes[1]);
}

void CDiodeSim::StampInto(const DiodeEntries& e, bool rhsOnly, int)
{
    if (!rhsOnly && RS > 0) e.series.add(GRS);
    e.junction.stamp(rhsOnly, Geq, Ieq);
}

// ---- the Newton iteration

void CDiodeSim::Initialise()
{
    if (RS <= 0) m_Current.assign(size_t(m_pDoc->ResultColumns()), 0.0);
}

void CDiodeSim::BeginStep(int k)
{
    if (m_pDoc->Iteration() == 1) {
        // The linearised conductance moves on every iteration, so the matrix is rebuilt every time;
        // the flags hold until the step is accepted.
        for (int i = 0; i < NodeCount(); ++i)
            m_pDoc->MarkNodeDirty(Nodes[i]);
        m_ExtraIteration = false;
        if (k == m_pDoc->HistoryCount()) {
            // The junction's voltages are read where its system keeps them: the results table keeps
            // every node in a row of its own, each on a page of its own.
            m_Latest[0] = LatestValue(JunctionNode());
            m_Latest[1] = LatestValue(Nodes[1]);
            m_Latest[2] = LatestValue(Nodes[0]);
            // No previous step to linearise at: start as a bare leakage conductance.
            Geq = 1e-12;
            Ieq = 0;
            vlast = IC;
            return;
        }
        Linearise(JunctionVoltage(k - 1));
        return;
    }
    double v = JunctionVoltage(k);
    // Forward steps are pulled back onto the logarithm so one iterate cannot jump far up the
    // exponential (this divides by IS, which Parse keeps positive).
    if (v > 2 * vlast && v > 0)
        v = kThermalVoltage * N * std::log(1 + v * Geq / IS);
    else
        v = LimitBreakdown(v);
    Linearise(v);
}

double CDiodeSim::LimitBreakdown(double v) const
{
    // Past the breakdown voltage the law climbs the same exponential in reverse. An iterate from above
    // breakdown would land hundreds of volts past it, where the conductance is some 1e36 S and the
    // junction's current the difference of two numbers near 1e39: two such junctions in one circuit
    // leave the solve nothing but noise. It stops where the bridge meets the exponential instead, and
    // goes on from there as the forward limit goes up the exponential.
    const double bridgeEnd = -BV - kBreakdownBridge;
    if (vlast > bridgeEnd && v < bridgeEnd) return bridgeEnd;
    const double past = -(v + BV), pastLast = -(vlast + BV);
    if (past > 2 * pastLast && past > 0) return -BV - kThermalVoltage * std::log(1 + past * Geq / IS);
    return v;
}

bool CDiodeSim::Settled(double v) const
{
    if (std::fabs(v - vlast) < 0.001 * std::max(std::fabs(v), std::fabs(vlast)) + 1e-6) return true;
    // A junction that has not settled in this many solves is not converging any more but cycling: its
    // law jumps where the iterate crosses from the exponential to the reverse leakage, or its nodes
    // are held by currents so small that the solve resolves its voltage only to about 1e-4 V. Its
    // voltage is then as settled as its current can tell: the iterate moves the linearised current by
    // no more than the same 0.1 % of that current, plus the picoampere the law itself leaks per volt.
    if (m_pDoc->Iteration() <= kSolvesBeforeCycling) return false;
    const double current = Geq * vlast - Ieq;
    return std::fabs(Geq * (v - vlast)) <= 0.001 * std::fabs(current) + 1e-12;
}

bool CDiodeSim::NeedsIteration(int k)
{
    if (m_pDoc->Iteration() == 1) return true;
    if (!Settled(JunctionVoltage(k))) return true;
    // One more solve at the converged point before the step is accepted.
    if (!m_ExtraIteration) {
        m_ExtraIteration = true;
        return true;
    }
    return false;
}

void CDiodeSim::EndStep(int k)
{
    // The current as the accepted solution carries it, so it balances the currents of the elements
    // around the diode. (With a series resistance the step is not called: see GetOutput.)
    m_Current[size_t(k)] = Geq * JunctionVoltage(k) - Ieq;
}

// ---- traces

bool CDiodeSim::GetOutput(const QString& kind, int n, double* out)
{
    if (kind == QLatin1String("V")) {
        NodeDifference(Nodes[0], Nodes[1], n, out);
        return true;
    }
    if (kind != QLatin1String("I")) return false;
    if (RS <= 0) {
        CopyHistory(m_Current.data(), n, out);
        return true;
    }
    // With a series resistance the current is read from that resistance: deep in breakdown the
    // junction's own terms are two huge numbers whose difference is the current.
    NodeDifference(Nodes[0], Nodes[2], n, out);
    for (int j = 0; j < n; ++j)
        out[j] *= GRS;
    return true;
}

void CDiodeSim::AddOutputNames(const QString& group, QStringList& list)
{
    AddVoltageAndCurrent(group, list);
}

// ---- the statement

bool CDiodeSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    if (tokens.size() < 4) return Fail(QStringLiteral("Invalid Netlist:  Not enough arguments: "));
    Nodes[0] = m_pDoc->GetNodeIndex(tokens[1]);
    Nodes[1] = m_pDoc->GetNodeIndex(tokens[2]);
    Nodes[2] = 0;

    if (tokens[3] == QLatin1String("1N4004")) {
        IS = 3.699e-9;
        RS = 0.01756;
        N = 1.774;
        CJO = 1.732e-11;
        GradingCoefficient = 0.3353;
        JunctionPotential = 0.3905;
        FC = 0.5;
        BV = 400;
        IBV = 0.001;
    } else {
        for (int t = 3; t < tokens.size(); ++t) {
            const QString& token = tokens[t];
            if (token.startsWith(QLatin1String("IS=")))
                IS = m_pDoc->ParseValue(token.mid(3));
            else if (token.startsWith(QLatin1String("RS=")))
                RS = m_pDoc->ParseValue(token.mid(3));
            else if (token.startsWith(QLatin1String("N=")))
                N = m_pDoc->ParseValue(token.mid(2));
            else if (token.startsWith(QLatin1String("CJO=")))
                CJO = m_pDoc->ParseValue(token.mid(4));
        }
    }
    // The junction law divides by both (the thermal voltage is 0.0259 N, the limiter divides by IS):
    // a zero or negative value would fill the results with NaN.
    if (!positiveFinite(IS)) return Fail(QStringLiteral("Invalid Netlist.  Invalid IS: "));
    if (!positiveFinite(N)) return Fail(QStringLiteral("Invalid Netlist.  Invalid N: "));

    if (RS > 0) {
        Nodes[2] = m_pDoc->GetNodeIndex(QLatin1Char('$') + Name);
        GRS = ClampConductance(RS);
    }
    return true;
}
