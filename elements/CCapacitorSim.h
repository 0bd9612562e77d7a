#pragma once

#include "CComponentSim.h"
#include "CSimulatorDoc.h"

#include <cstddef>
#include <memory>
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
        if (m_Law != Law::OwnStep && k != m_Step->IeqStep) UpdateHistoryCurrent(k);
        e.stamp(rhsOnly, Geq, m_Step->Ieq);
    }

    void Initialise() override;
    void GatherBatch(CComponentSim* const* elements, std::size_t count) override;
    bool RunBatch(StepOp op, CComponentSim* const* elements, std::size_t count, int k, bool rhsOnly) override
    {
        if (StampGathered(op, elements, count, k, rhsOnly)) return false;
        return RunBatchAs<CCapacitorSim>(op, elements, count, k, rhsOnly);
    }
    bool GetOutput(const QString& kind, int n, double* out) override;
    void AddOutputNames(const QString& group, QStringList& list) override;
    bool Parse(const QStringList& tokens) override;

    double Geq = 0; // siemens

protected:
    // What the stamp reads and writes at every step: the element's own, or, once a batch of linear
    // companions is gathered, the element's place in an array that the batch's first element keeps, so
    // that the steps stream through the batch.
    struct StepState {
        double Ieq = 0;   // amperes
        double Gprev = 0; // Geq and Ieq of the last accepted step (from the first iteration of the next step)
        double Iprev = 0;
        double Geq = 0; // gathered: the element's Geq, which a linear companion keeps from Initialise on
        const double* Row[2] = {}; // the results rows of the two nodes
        CurrentEntries Rhs;        // gathered: the full system's entries, null where the element is not bound
        // gathered: where the current into or out of ground goes. Ground's entry is the system's scratch,
        // which every grounded element would otherwise update in turn, each waiting for the one before.
        double GroundSink = 0;
        int NextStep = 0; // the step whose first iteration has begun
        int IeqStep = 0;  // the step whose history current Ieq is
    };
    StepState m_OwnStep;
    StepState* m_Step = &m_OwnStep;

    int m_FirstStep = 0; // the history count: the run's first step
    Law m_Law;
    double m_StartVoltage = 0; // the voltage before the first step
    // The batch this element gathered as its first: the list it was handed, and the states.
    CComponentSim* const* m_GatheredList = nullptr;
    std::size_t m_GatheredCount = 0;
    std::unique_ptr<StepState[]> m_Gathered;

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
    static void TakeOverAcceptedStep(StepState& s, int k, double geq)
    {
        if (k == s.NextStep) return;
        s.Gprev = geq;
        s.Iprev = s.Ieq;
        s.NextStep = k;
    }
    // The same when step k is accepted, with the current kept.
    void AcceptStep(int k)
    {
        m_Step->Gprev = Geq;
        m_Step->Iprev = m_Step->Ieq;
        Current[size_t(k)] = Voltage(k) * Geq - m_Step->Ieq;
    }
    // Finds the results rows of the nodes and starts the step count: once per run, in Initialise, with
    // the voltage before the first step.
    void StartRun(double startVoltage);
    void UpdateHistoryCurrent(int k)
    {
        StepState& s = *m_Step;
        s.IeqStep = k;
        TakeOverAcceptedStep(s, k, Geq);
        s.Ieq = CompanionCurrent(m_Law, Geq, PreviousVoltage(k, m_StartVoltage), s.Gprev, s.Iprev);
    }
    // The batch's stamps of the right-hand side at step k when it is the batch this element gathered,
    // after the run's first step (which starts from the initial state); false: not done here.
    bool StampGathered(StepOp op, CComponentSim* const* elements, std::size_t count, int k, bool rhsOnly);
    template <Law law> void StampGathered(int k);
    // Element voltage of results column k.
    double Voltage(int k) const { return m_Step->Row[0][k] - m_Step->Row[1][k]; }
    // The voltage the companion model starts a step from: the previous column's, or the initial
    // state at the first step.
    double PreviousVoltage(int k, double initial) const
    {
        return k == m_FirstStep ? initial : Voltage(k - 1);
    }
    // The current of the last accepted step at voltage v of that step.
    double PreviousCurrent(double v) const { return m_Step->Gprev * v - m_Step->Iprev; }
    // The history current of a step that starts from voltage v, after a step whose companion was
    // (gPrev, iPrev).
    static double CompanionCurrent(Law law, double geq, double v, double gPrev, double iPrev)
    {
        if (law == Law::Inductor) return -(geq * v) - (gPrev * v - iPrev);
        return geq * v + (gPrev * v - iPrev);
    }
    // The element current at results columns h..h+n-1: the kept one, or the run's steps again with
    // the voltages of the results (0 beyond the last step of a stopped run).
    void CurrentTrace(int n, double* out) const;
};
