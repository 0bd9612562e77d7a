#pragma once

#include "CComponentSim.h"
#include "CSimulatorDoc.h"
#include "PulseShape.h"

#include <functional>
#include <memory>
#include <vector>

class COrliskWave;

// What drives a source: a constant, a periodic trapezoid or a measured waveform.
enum SourceKind { SourceDC = 0, SourcePulse = 1, SourceOrlisk = 2 };

// Shared by the voltage and the current source: the statement's waveform and its value at a time.
class SourceWaveform {
public:
    SourceWaveform();
    ~SourceWaveform();
    // Reads tokens 3.. of a source statement; shows the message and returns false on an error.
    // takeBranch is called when the statement is accepted (the voltage source's extra unknown).
    bool Parse(CComponentSim& element, CSimulatorDoc& doc, const QStringList& tokens,
               const std::function<void()>& takeBranch);
    double ValueAt(double t) const;
    // Reads WaveformPath (a Windows path, mapped to this machine's files) into Wave.
    bool LoadWaveform();

    SourceKind Kind = SourceDC;
    PulseShape Pulse; // V1 is also the DC value
    QString WaveformPath;
    std::unique_ptr<COrliskWave> Wave;
    bool Loaded = false;
};

// The voltage source's entries in one system: A[n+][b], A[b][n+], A[n-][b], A[b][n-] and rhs[b].
struct VoltageSourceEntries {
    double* pb = nullptr;
    double* bp = nullptr;
    double* mb = nullptr;
    double* bm = nullptr;
    double* rhs = nullptr;
};

// What the voltage and the current source share: the waveform that drives them, its value in the
// current step, and the groups their traces are offered in.
template <class Family, class Entries> class SourceElement : public StampingElement<Family, Entries> {
public:
    using StampingElement<Family, Entries>::StampingElement;

    void BeginStep(int) override { Value = Waveform.ValueAt(this->m_pDoc->CurrentTime()); }
    void AddOutputNames(const QString& group, QStringList& list) override
    {
        this->AddVoltageAndCurrent(group, list, "Source Voltages", "Source Currents");
    }

    double Value = 0;
    SourceWaveform Waveform;
};

// Forces V(n+) - V(n-) = value; its branch unknown is the current inside from n+ to n-.
class CVoltageSourceSim : public SourceElement<CVoltageSourceSim, VoltageSourceEntries> {
public:
    explicit CVoltageSourceSim(CSimulatorDoc* doc) : SourceElement(doc) {}

    // Its entries in one system and its values added to them, for every matrix mode.
    void Bind(VoltageSourceEntries& e, MatrixBinder& binder);
    void StampInto(const VoltageSourceEntries& e, bool rhsOnly, int k);

    bool GetOutput(const QString& kind, int n, double* out) override;
    bool Parse(const QStringList& tokens) override;
};

// Draws its current from node n1 and delivers it into node n2.
class CCurrentSourceSim : public SourceElement<CCurrentSourceSim, CurrentEntries> {
public:
    explicit CCurrentSourceSim(CSimulatorDoc* doc) : SourceElement(doc) {}

    // Bound with the nodes reversed: the current enters n2 and leaves n1.
    void Bind(CurrentEntries& e, MatrixBinder& binder);
    void StampInto(const CurrentEntries& e, bool, int) { e.inject(Value); }

    void Initialise() override;
    double HistoryBytes(double columns) const override { return columns * sizeof(double); }
    void EndStep(int k) override;
    bool GetOutput(const QString& kind, int n, double* out) override;
    bool Parse(const QStringList& tokens) override;

private:
    std::vector<double> m_History; // the current of every results column
};
