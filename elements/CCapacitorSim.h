#pragma once

#include "CComponentSim.h"

#include <vector>

// A linear capacitor as its trapezoidal companion: the conductance Geq between its nodes in parallel
// with the history current Ieq, which enters node a and leaves node b.
class CCapacitorSim : public StampingElement<CCapacitorSim, CompanionEntries> {
public:
    explicit CCapacitorSim(CSimulatorDoc* doc) : StampingElement(doc) {}

    // Its entries in one system and its values added to them, for every matrix mode.
    void Bind(CompanionEntries& e, MatrixBinder& binder);
    void StampInto(const CompanionEntries& e, bool rhsOnly, int) { e.stamp(rhsOnly, Geq, Ieq); }

    void Initialise() override;
    double HistoryBytes(double columns) const override { return columns * sizeof(double); }
    void BeginStep(int k) override;
    void EndStep(int k) override;
    bool GetOutput(const QString& kind, int n, double* out) override;
    void AddOutputNames(const QString& group, QStringList& list) override;
    bool Parse(const QStringList& tokens) override;

    double C = 0;     // farads
    double IC = 0;    // initial voltage, volts
    double Geq = 0;   // siemens
    double Ieq = 0;   // amperes
    double Gprev = 0; // Geq and Ieq of the last accepted step
    double Iprev = 0;
    std::vector<double> Current; // element current (a to b) of every results column

protected:
    // Reads "name a b value [[IC=]ic]": the value and the initial condition.
    bool ParseValueAndInitial(const QStringList& tokens, double& value, double& initial);
    // Element voltage of results column k.
    double Voltage(int k) const;
    // The voltage the companion model starts a step from: the previous column's, or the initial
    // state at the first step.
    double PreviousVoltage(int k, double initial) const;
    // The current of the last accepted step at voltage v of that step.
    double PreviousCurrent(double v) const { return Gprev * v - Iprev; }
};
