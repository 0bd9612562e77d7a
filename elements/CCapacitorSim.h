#pragma once

#include "CComponentSim.h"
#include "CSimulatorDoc.h"

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
    void BeginStep(int k) override
    {
        TakeOverAcceptedStep(k);
        Ieq = CCapacitorSim::CompanionCurrent(PreviousVoltage(k, IC), Gprev, Iprev);
    }
    bool GetOutput(const QString& kind, int n, double* out) override;
    void AddOutputNames(const QString& group, QStringList& list) override;
    bool Parse(const QStringList& tokens) override;

    double C = 0;     // farads
    double IC = 0;    // initial voltage, volts
    double Geq = 0;   // siemens
    double Ieq = 0;   // amperes
    double Gprev = 0; // Geq and Ieq of the last accepted step (from the first iteration of the next step)
    double Iprev = 0;
    // Element current (a to b) of every results column, kept where the conductance changes; with a
    // fixed conductance the currents follow again from the voltages (CurrentTrace).
    std::vector<double> Current;

protected:
    // Reads "name a b value [[IC=]ic]": the value and the initial condition.
    bool ParseValueAndInitial(const QStringList& tokens, double& value, double& initial);
    // A linear companion has nothing to do when a step is accepted but to keep its values for the next
    // step: it does so at the first iteration of that step, and needs no call at the end of each step.
    void TakeOverAcceptedStep(int k)
    {
        if (k == m_NextStep) return;
        Gprev = Geq;
        Iprev = Ieq;
        m_NextStep = k;
    }
    // The same when step k is accepted, with the current kept.
    void AcceptStep(int k)
    {
        Gprev = Geq;
        Iprev = Ieq;
        Current[size_t(k)] = Voltage(k) * Geq - Ieq;
    }
    // Finds the results rows of the nodes and starts the step count: once per run, in Initialise.
    void StartRun();
    // Element voltage of results column k.
    double Voltage(int k) const { return m_Row[0][k] - m_Row[1][k]; }
    // The voltage the companion model starts a step from: the previous column's, or the initial
    // state at the first step.
    double PreviousVoltage(int k, double initial) const
    {
        return k == m_pDoc->HistoryCount() ? initial : Voltage(k - 1);
    }
    // The current of the last accepted step at voltage v of that step.
    double PreviousCurrent(double v) const { return Gprev * v - Iprev; }
    // The history current of a step that starts from voltage v, after a step whose companion was
    // (gPrev, iPrev); and the voltage before the first step.
    virtual double CompanionCurrent(double v, double gPrev, double iPrev) const
    {
        return Geq * v + (gPrev * v - iPrev);
    }
    virtual double InitialVoltage() const { return IC; }
    // The element current at results columns h..h+n-1: the kept one, or the run's steps again with
    // the voltages of the results (0 beyond the last step of a stopped run).
    void CurrentTrace(int n, double* out) const;

private:
    const double* m_Row[2] = {}; // the results rows of the two nodes
    int m_NextStep = 0;          // the step whose first iteration has begun
};
