#pragma once

#include "CVariableZSim.h"
#include "CapacitanceLaw.h"

#include <vector>

// A voltage-dependent capacitor built as a line stub: the two-step line of CTLineCSim across nodes
// a and b (Nodes[0..3] = a, b, a, b), whose impedance 2 dt / C(v) follows the capacitance law at the
// previous step's voltage. A step needs no iteration; only the port conductance changes.
class CVariableCSim : public CVariableZSim, public CapacitanceTraces {
public:
    explicit CVariableCSim(CSimulatorDoc* doc) : CVariableZSim(doc) { Nonlinear = true; }

    void Initialise() override;
    double HistoryBytes(double columns) const override
    {
        return CVariableZSim::HistoryBytes(columns) + 2 * columns * sizeof(double);
    }
    void EndStep(int k) override;
    bool GetOutput(const QString& kind, int n, double* out) override;
    void AddOutputNames(const QString& group, QStringList& list) override;
    bool Parse(const QStringList& tokens) override;
    void UpdateValue(int k) override;

    CapacitanceLaw Law;

private:
    // The capacitance the stub realises for a law value c, and its impedance z: c itself, unless the
    // conductance clamp had to bound the impedance 2 dt / c (c of 0, below 0 or not finite).
    double Realise(double c, double& z) const;

    double m_PreviousCurrent = 0; // element current of the last accepted step, a to b
};
