#pragma once

#include "CComponentSim.h"

// A fixed resistor: one clamped conductance between two nodes.
class CResistorSim : public StampingElement<CResistorSim, ConductanceEntries> {
public:
    explicit CResistorSim(CSimulatorDoc* doc) : StampingElement(doc) {}

    // Its entries in one system and its values added to them, for every matrix mode.
    void Bind(ConductanceEntries& e, MatrixBinder& binder);
    void StampInto(const ConductanceEntries& e, bool rhsOnly, int)
    {
        if (!rhsOnly) e.add(Conductance);
    }

    void Initialise() override;
    bool GetOutput(const QString& kind, int n, double* out) override;
    void AddOutputNames(const QString& group, QStringList& list) override;
    bool Parse(const QStringList& tokens) override;

    double Resistance = 0;
    double Conductance = 0;
};
