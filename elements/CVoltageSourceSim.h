#pragma once

#include "CComponentSim.h"
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

// Forces V(n+) - V(n-) = value; its branch unknown is the current inside from n+ to n-.
class CVoltageSourceSim : public CComponentSim {
public:
    explicit CVoltageSourceSim(CSimulatorDoc* doc);

    void Stamp(bool rhsOnly, int k) override;
    void StampMapped(bool rhsOnly, int k) override;
    void StampPartition(bool rhsOnly, int k, int partition) override;
    void BindMatrix(double** A, double* rhs) override;
    void BindMatrixMapped(double** A, double* rhs) override;
    void BindMatrixPartition(double** A, double* rhs, const IndexMap& map, int partition) override;
    void BeginStep(int k) override;
    bool GetOutput(const QString& kind, int n, double* out) override;
    void AddOutputNames(const QString& group, QStringList& list) override;
    bool Parse(const QStringList& tokens) override;
    bool LoadWaveform() { return Waveform.LoadWaveform(); }

    double Value = 0;
    SourceWaveform Waveform;

private:
    struct Entries {
        double* pb = nullptr; // A[n+][b]
        double* bp = nullptr; // A[b][n+]
        double* mb = nullptr; // A[n-][b]
        double* bm = nullptr; // A[b][n-]
        double* rhs = nullptr;
        void bind(double** A, double* r, int rp, int rm, int rb);
        void stamp(bool rhsOnly, double value) const;
    };
    bool m_MappedBound = false;
    Entries m_Full;
    Entries m_Mapped;
};

// Draws its current from node n1 and delivers it into node n2.
class CCurrentSourceSim : public CComponentSim {
public:
    explicit CCurrentSourceSim(CSimulatorDoc* doc) : CComponentSim(doc) {}

    void Stamp(bool rhsOnly, int k) override;
    void StampMapped(bool rhsOnly, int k) override;
    void StampPartition(bool rhsOnly, int k, int partition) override;
    void BindMatrix(double** A, double* rhs) override;
    void BindMatrixMapped(double** A, double* rhs) override;
    void BindMatrixPartition(double** A, double* rhs, const IndexMap& map, int partition) override;
    void Initialise() override;
    void BeginStep(int k) override;
    void EndStep(int k) override;
    bool GetOutput(const QString& kind, int n, double* out) override;
    void AddOutputNames(const QString& group, QStringList& list) override;
    bool Parse(const QStringList& tokens) override;
    bool LoadWaveform() { return Waveform.LoadWaveform(); }

    double Value = 0;
    SourceWaveform Waveform;

private:
    bool m_MappedBound = false;
    CurrentEntries m_Full; // current enters n2 and leaves n1 (bound reversed)
    CurrentEntries m_Mapped;
    std::vector<double> m_History; // the current of every results column
};
