#pragma once

#include "CTransmissionLineSim.h"

#include <vector>

// A lossless line whose impedance may change from one step to the next. A subclass supplies the
// impedance of each step through UpdateValue; when it changes, the waves held on the line are
// rescaled so that the line keeps its charge and its flux, and the port conductance is stamped anew.
// This class itself keeps Z0 for the whole run and reads no statement.
class CVariableZSim : public CTransmissionLineSim {
public:
    explicit CVariableZSim(CSimulatorDoc* doc) : CTransmissionLineSim(doc) {}

    void Initialise() override;
    // Its impedance follows its value from step to step (the nonlinear flag is left to the part it
    // stands for).
    bool ConductancesVary() const override { return true; }
    // The impedance and the waves as sent, beside the line's own.
    double HistoryBytes(double columns) const override
    {
        return CTransmissionLineSim::HistoryBytes(columns) + 3 * columns * sizeof(double);
    }
    void BeginStep(int k) override;
    void PreSolve(int k) override;
    void EndStep(int k) override;
    bool GetOutput(const QString& kind, int n, double* out) override;
    void AddOutputNames(const QString& group, QStringList& list) override;
    bool Parse(const QStringList& tokens) override;
    // Sets Z[k], the impedance of step k. Called from the second step on, at every iteration; what it
    // sets may depend only on accepted steps.
    virtual void UpdateValue(int k);

    // The impedance in force at every results column, ohms; always one the port conductance can
    // stamp as it is (see UsableImpedance).
    std::vector<double> Z;

protected:
    // z itself when the conductance clamp takes 1/z as it is, otherwise 1/G of the clamped G: an
    // impedance of 0, infinity, below zero or NaN turns into the one the stamp actually uses, so the
    // wave rescale and the stamp never disagree.
    static double UsableImpedance(double z);
    const std::vector<double>& SentWaves(int port) const override { return m_Sent[port]; }
    double TraceConductance(int, int k) const override { return ClampConductance(Z[size_t(k)]); }

private:
    // The impedance the waves on the line are scaled for. The waves are brought to Z[k] once, however
    // many iterations the step takes (rescaling again would compound the ratio).
    double m_WaveZ = 0;
    // The waves as each port sent them; the rescale reworks W1 and W2 in place, which would leave
    // the traces of earlier steps out of step with their voltages.
    std::vector<double> m_Sent[2];
};
