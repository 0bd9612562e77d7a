#pragma once

#include "CCapacitorSim.h"
#include "CapacitanceLaw.h"

#include <vector>

// A capacitor whose capacitance follows a law of its voltage, taken at the previous step's voltage,
// so a step needs no iteration; only its conductance changes from step to step.
class CVarCSim : public CCapacitorSim, public CapacitanceTraces {
public:
    explicit CVarCSim(CSimulatorDoc* doc) : CCapacitorSim(doc, Law::OwnStep) { Nonlinear = true; }

    void Initialise() override;
    // The capacitor's current, and the capacitance and charge.
    double HistoryBytes(double columns) const override { return 3 * columns * sizeof(double); }
    void BeginStep(int k) override;
    void EndStep(int k) override;
    bool GetOutput(const QString& kind, int n, double* out) override;
    void AddOutputNames(const QString& group, QStringList& list) override;
    bool Parse(const QStringList& tokens) override;

    CapacitanceLaw Law;
};
