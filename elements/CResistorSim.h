#pragma once

#include "CComponentSim.h"

// A fixed resistor: one clamped conductance between two nodes.
class CResistorSim : public CComponentSim {
public:
    explicit CResistorSim(CSimulatorDoc* doc) : CComponentSim(doc) {}

    void Stamp(bool rhsOnly, int k) override;
    void StampMapped(bool rhsOnly, int k) override;
    void StampPartition(bool rhsOnly, int k, int partition) override;
    void BindMatrix(double** A, double* rhs) override;
    void BindMatrixMapped(double** A, double* rhs) override;
    void BindMatrixPartition(double** A, double* rhs, const IndexMap& map, int partition) override;
    void Initialise() override;
    bool GetOutput(const QString& kind, int n, double* out) override;
    void AddOutputNames(const QString& group, QStringList& list) override;
    bool Parse(const QStringList& tokens) override;

    double Resistance = 0;
    double Conductance = 0;

protected:
    // Binds the mapped entries through a map (reduced system or one partition).
    void BindThrough(double** A, const IndexMap& map);

    ConductanceEntries m_Full;
    ConductanceEntries m_Mapped; // reduced system or the element's partition
};
