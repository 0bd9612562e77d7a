#include "CVoltageSourceSim.h"

#include "COrliskWave.h"
#include "CSimulatorDoc.h"
#include "IndexMap.h"
#include "OrliskInput.h"
#include "UiServices.h"

// ---------------------------------------------------------------------------------------------
// SourceWaveform

SourceWaveform::SourceWaveform() = default;
SourceWaveform::~SourceWaveform() = default;

bool SourceWaveform::Parse(CComponentSim& element, CSimulatorDoc& doc, const QStringList& tokens,
                           const std::function<void()>& takeBranch)
{
    const auto notEnough = [&]() {
        ui().message(QStringLiteral("Invalid Netlist:  Not enough arguments: ") + element.Name);
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
        return OpenOrliskInput(WaveformPath, [this]() { return LoadWaveform(); });
    }
    ui().message(QStringLiteral("Netlist Error:  Unknown or invalid voltage source type encountered.") +
                 element.Name);
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

static void addSourceNames(const CComponentSim& e, const QString& group, QStringList& list)
{
    if (group == QLatin1String("Source Voltages"))
        list << QStringLiteral("V(") + e.Name + QLatin1Char(')');
    else if (group == QLatin1String("Source Currents"))
        list << QStringLiteral("I(") + e.Name + QLatin1Char(')');
}

// ---------------------------------------------------------------------------------------------
// CVoltageSourceSim

CVoltageSourceSim::CVoltageSourceSim(CSimulatorDoc* doc) : CComponentSim(doc) {}

void CVoltageSourceSim::Entries::bind(double** A, double* r, int rp, int rm, int rb)
{
    pb = &A[rp][rb];
    bp = &A[rb][rp];
    mb = &A[rm][rb];
    bm = &A[rb][rm];
    rhs = &r[rb];
}

void CVoltageSourceSim::Entries::stamp(bool rhsOnly, double value) const
{
    if (!rhsOnly) {
        *pb += 1;
        *bp += 1;
        *mb -= 1;
        *bm -= 1;
    }
    *rhs += value;
}

void CVoltageSourceSim::Stamp(bool rhsOnly, int)
{
    m_Full.stamp(rhsOnly, Value);
}

void CVoltageSourceSim::StampMapped(bool rhsOnly, int)
{
    if (InReducedSet && m_MappedBound) m_Mapped.stamp(rhsOnly, Value);
}

void CVoltageSourceSim::StampPartition(bool rhsOnly, int, int partition)
{
    if (m_MappedBound && partition == Partition) m_Mapped.stamp(rhsOnly, Value);
}

void CVoltageSourceSim::BindMatrix(double** A, double* rhs)
{
    m_Full.bind(A, rhs, Nodes[0], Nodes[1], BranchUnknown(0));
}

void CVoltageSourceSim::BindMatrixMapped(double** A, double* rhs)
{
    const IndexMap map = m_pDoc->ReducedMap();
    m_MappedBound = map(Nodes[0]) != 0 || map(Nodes[1]) != 0;
    if (m_MappedBound) m_Mapped.bind(A, rhs, map(Nodes[0]), map(Nodes[1]), map(BranchUnknown(0)));
}

void CVoltageSourceSim::BindMatrixPartition(double** A, double* rhs, const IndexMap& map, int partition)
{
    if (map(Nodes[0]) == 0 && map(Nodes[1]) == 0) return;
    Partition = partition;
    m_MappedBound = true;
    m_Mapped.bind(A, rhs, map(Nodes[0]), map(Nodes[1]), map(BranchUnknown(0)));
}

void CVoltageSourceSim::BeginStep(int)
{
    Value = Waveform.ValueAt(m_pDoc->CurrentTime());
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

void CVoltageSourceSim::AddOutputNames(const QString& group, QStringList& list)
{
    addSourceNames(*this, group, list);
}

bool CVoltageSourceSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    return Waveform.Parse(*this, *m_pDoc, tokens, [this]() { TakeBranch(); });
}

// ---------------------------------------------------------------------------------------------
// CCurrentSourceSim

void CCurrentSourceSim::Stamp(bool, int)
{
    m_Full.inject(Value);
}

void CCurrentSourceSim::StampMapped(bool, int)
{
    if (m_MappedBound) m_Mapped.inject(Value);
}

void CCurrentSourceSim::StampPartition(bool, int, int partition)
{
    if (m_MappedBound && partition == Partition) m_Mapped.inject(Value);
}

// Bound with the nodes reversed: the current enters n2 and leaves n1.
void CCurrentSourceSim::BindMatrix(double**, double* rhs)
{
    m_Full.bind(rhs, Nodes[1], Nodes[0]);
}

void CCurrentSourceSim::BindMatrixMapped(double**, double* rhs)
{
    const IndexMap map = m_pDoc->ReducedMap();
    m_MappedBound = map(Nodes[0]) != 0 || map(Nodes[1]) != 0;
    if (m_MappedBound) m_Mapped.bind(rhs, map(Nodes[1]), map(Nodes[0]));
}

void CCurrentSourceSim::BindMatrixPartition(double**, double* rhs, const IndexMap& map, int partition)
{
    if (map(Nodes[0]) == 0 && map(Nodes[1]) == 0) return;
    Partition = partition;
    m_MappedBound = true;
    m_Mapped.bind(rhs, map(Nodes[1]), map(Nodes[0]));
}

void CCurrentSourceSim::Initialise()
{
    m_History.assign(size_t(m_pDoc->ResultColumns()), 0.0);
}

void CCurrentSourceSim::BeginStep(int)
{
    Value = Waveform.ValueAt(m_pDoc->CurrentTime());
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

void CCurrentSourceSim::AddOutputNames(const QString& group, QStringList& list)
{
    addSourceNames(*this, group, list);
}

bool CCurrentSourceSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    return Waveform.Parse(*this, *m_pDoc, tokens, []() {});
}
