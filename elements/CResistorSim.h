#pragma once

#include "CComponentSim.h"

// A fixed resistor: one clamped conductance between two nodes.
class CResistorSim : public StampingElement<ConductanceEntries> {
public:
    explicit CResistorSim(CSimulatorDoc* doc) : StampingElement(doc) {}

    void Initialise() override;
    bool GetOutput(const QString& kind, int n, double* out) override;
    void AddOutputNames(const QString& group, QStringList& list) override;
    bool Parse(const QStringList& tokens) override;

    double Resistance = 0;
    double Conductance = 0;

protected:
    void Bind(ConductanceEntries& e, MatrixBinder& binder) override;
    void StampInto(const ConductanceEntries& e, bool rhsOnly, int k) override;
};
