#pragma once

#include "CComponentSim.h"
#include "CSimulatorDoc.h"

#include <vector>

// A linear capacitor as its trapezoidal companion: the conductance Geq between its nodes in parallel
// with the history current Ieq, which enters node a and leaves node b.
class CCapacitorSim : public StampingElement<CCapacitorSim, CompanionEntries> {
public:
    // How the history current of a step follows: the linear capacitor's and inductor's laws, or the
    // element's own BeginStep (a variable capacitance).
    enum class Law : unsigned char { Capacitor, Inductor, OwnStep };
    explicit CCapacitorSim(CSimulatorDoc* doc, Law law = Law::Capacitor) : StampingElement(doc), m_Law(law) {}

    // Its entries in one system and its values added to them, for every matrix mode. A linear
    // companion finds its history current where it first stamps in a step: nothing reads it before,
    // and one pass over the elements then does all of a step's work.
    void Bind(CompanionEntries& e, MatrixBinder& binder);
    void StampInto(const CompanionEntries& e, bool rhsOnly, int k)
    {
        if (m_Law != Law::OwnStep && k != m_IeqStep) UpdateHistoryCurrent(k);
        e.stamp(rhsOnly, Geq, Ieq);
    }

    void Initialise() override;
    bool GetOutput(const QString& kind, int n, double* out) override;
    void AddOutputNames(const QString& group, QStringList& list) override;
    bool Parse(const QStringList& tokens) override;

    // What a step reads and writes first, together.
    double Geq = 0;   // siemens
    double Ieq = 0;   // amperes
    double Gprev = 0; // Geq and Ieq of the last accepted step (from the first iteration of the next step)
    double Iprev = 0;

protected:
    const double* m_Row[2] = {}; // the results rows of the two nodes
    int m_NextStep = 0;          // the step whose first iteration has begun
    int m_IeqStep = 0;           // the step whose history current Ieq is
    int m_FirstStep = 0;         // the history count: the run's first step
    Law m_Law;
    double m_StartVoltage = 0; // the voltage before the first step

public:
    double C = 0;  // farads
    double IC = 0; // initial voltage, volts
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
    // Finds the results rows of the nodes and starts the step count: once per run, in Initialise, with
    // the voltage before the first step.
    void StartRun(double startVoltage);
    void UpdateHistoryCurrent(int k)
    {
        m_IeqStep = k;
        TakeOverAcceptedStep(k);
        Ieq = CompanionCurrent(PreviousVoltage(k, m_StartVoltage), Gprev, Iprev);
    }
    // Element voltage of results column k.
    double Voltage(int k) const { return m_Row[0][k] - m_Row[1][k]; }
    // The voltage the companion model starts a step from: the previous column's, or the initial
    // state at the first step.
    double PreviousVoltage(int k, double initial) const
    {
        return k == m_FirstStep ? initial : Voltage(k - 1);
    }
    // The current of the last accepted step at voltage v of that step.
    double PreviousCurrent(double v) const { return Gprev * v - Iprev; }
    // The history current of a step that starts from voltage v, after a step whose companion was
    // (gPrev, iPrev).
    double CompanionCurrent(double v, double gPrev, double iPrev) const
    {
        if (m_Law == Law::Inductor) return -(Geq * v) - (gPrev * v - iPrev);
        return Geq * v + (gPrev * v - iPrev);
    }
    // The element current at results columns h..h+n-1: the kept one, or the run's steps again with
    // the voltages of the results (0 beyond the last step of a stopped run).
    void CurrentTrace(int n, double* out) const;
};
