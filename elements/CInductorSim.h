#pragma once

#include "CCapacitorSim.h"

// A linear inductor as its trapezoidal companion; it shares the capacitor's stamping and traces.
class CInductorSim : public CCapacitorSim {
public:
    explicit CInductorSim(CSimulatorDoc* doc) : CCapacitorSim(doc, Law::Inductor) {}

    void Initialise() override;
    bool Parse(const QStringList& tokens) override;
    unsigned StepWork() const override { return StepWorkAs<CInductorSim>(); }
    const void* BatchClass() const override { return BatchClassAs<CInductorSim>(); }
    bool RunBatch(StepOp op, CComponentSim* const* elements, std::size_t count, int k, bool rhsOnly,
                  int partition) override
    {
        if (StampGathered(op, elements, count, k, rhsOnly)) return false;
        return RunBatchAs<CInductorSim>(op, elements, count, k, rhsOnly, partition);
    }

    double L = 0;  // henries
    double IC = 0; // initial current, amperes (the capacitor's C and IC are not used)
};
