#include "CVoltageSourceSim.h"

#include "COrliskWave.h"
#include "CSimulatorDoc.h"
#include "OrliskInput.h"
#include "Text.h"
#include "UiServices.h"

// ---------------------------------------------------------------------------------------------
// SourceWaveform

SourceWaveform::SourceWaveform() = default;
SourceWaveform::~SourceWaveform() = default;

bool SourceWaveform::Parse(CComponentSim& element, CSimulatorDoc& doc, const QStringList& tokens,
                           const std::function<void()>& takeBranch)
{
    const auto notEnough = [&]() {
        ui().message(QStringLiteral("Invalid Netlist:  Not enough arguments: ") + text::echo(element.Name));
        return false;
    };
    // The count is tested before any token is read.
    if (tokens.size() < 4) return notEnough();
    element.Nodes[0] = doc.GetNodeIndex(tokens[1]);
    element.Nodes[1] = doc.GetNodeIndex(tokens[2]);

    const QString& kind = tokens[3];
    if (kind == QLatin1String("PULSE") && tokens.size() >= 6) {
        takeBranch();
        Kind = SourcePulse;
        Pulse = PulseShape::Parse(doc, tokens, 4);
        return true;
    }
    if (kind == QLatin1String("DC")) {
        if (tokens.size() < 5) return notEnough();
        takeBranch();
        Kind = SourceDC;
        Pulse.V1 = doc.ParseValue(tokens[4]);
        return true;
    }
    if (kind == QLatin1String("ORLISK")) {
        if (tokens.size() < 5) return notEnough();
        takeBranch();
        WaveformPath = doc.InputPath() + tokens[4] + QStringLiteral(".wvf");
        Kind = SourceOrlisk;
        return LoadWaveform();
    }
    ui().message(QStringLiteral("Netlist Error:  Unknown or invalid voltage source type encountered.") +
                 text::echo(element.Name));
    return false;
}

bool SourceWaveform::LoadWaveform()
{
    Loaded = LoadOrliskWave(WaveformPath, Wave);
    return Loaded;
}

double SourceWaveform::ValueAt(double t) const
{
    switch (Kind) {
    case SourceDC:
        return Pulse.V1;
    case SourcePulse:
        return Pulse.valueAt(t);
    case SourceOrlisk:
        return Wave ? Wave->ValueAt(t) : 0.0;
    }
    return 0.0;
}

// ---------------------------------------------------------------------------------------------
// CVoltageSourceSim

void CVoltageSourceSim::Bind(VoltageSourceEntries& e, MatrixBinder& binder)
{
    const int p = Nodes[0], m = Nodes[1], b = BranchUnknown(0);
    e.pb = binder.entry(p, b);
    e.bp = binder.entry(b, p);
    e.mb = binder.entry(m, b);
    e.bm = binder.entry(b, m);
    e.rhs = binder.rhs(b);
}

void CVoltageSourceSim::StampInto(const VoltageSourceEntries& e, bool rhsOnly, int)
{
    if (!rhsOnly) {
        *e.pb += 1;
        *e.bp += 1;
        *e.mb -= 1;
        *e.bm -= 1;
    }
    *e.rhs += Value;
}

bool CVoltageSourceSim::GetOutput(const QString& kind, int n, double* out)
{
    if (kind == QLatin1String("V")) {
        NodeDifference(Nodes[0], Nodes[1], n, out);
        return true;
    }
    if (kind == QLatin1String("I")) {
        NodeDifference(BranchUnknown(0), 0, n, out);
        return true;
    }
    return false;
}

bool CVoltageSourceSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    return Waveform.Parse(*this, *m_pDoc, tokens, [this]() { TakeBranch(); });
}

// ---------------------------------------------------------------------------------------------
// CCurrentSourceSim

void CCurrentSourceSim::Bind(CurrentEntries& e, MatrixBinder& binder)
{
    e.bind(binder, Nodes[1], Nodes[0]);
}

void CCurrentSourceSim::Initialise()
{
    m_History.assign(size_t(m_pDoc->ResultColumns()), 0.0);
}

void CCurrentSourceSim::EndStep(int k)
{
    m_History[size_t(k)] = Value;
}

bool CCurrentSourceSim::GetOutput(const QString& kind, int n, double* out)
{
    if (kind == QLatin1String("V")) {
        NodeDifference(Nodes[0], Nodes[1], n, out);
        return true;
    }
    if (kind == QLatin1String("I")) {
        CopyHistory(m_History.data(), n, out);
        return true;
    }
    return false;
}

bool CCurrentSourceSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    return Waveform.Parse(*this, *m_pDoc, tokens, []() {});
}
