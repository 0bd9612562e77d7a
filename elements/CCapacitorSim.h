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
        if (m_Law != Law::OwnStep) FindHistoryCurrent(k);
        e.stamp(rhsOnly, Geq, *m_Ieq);
    }

    void Initialise() override;
    void GatherBatch(CComponentSim* const* elements, std::size_t count, int partition) override;
    bool RunBatch(StepOp op, CComponentSim* const* elements, std::size_t count, int k, bool rhsOnly,
                  int partition) override
    {
        if (StampGathered(op, elements, count, k, rhsOnly)) return false;
        return RunBatchAs<CCapacitorSim>(op, elements, count, k, rhsOnly, partition);
    }
    bool GetOutput(const QString& kind, int n, double* out) override;
    void AddOutputNames(const QString& group, QStringList& list) override;
    bool Parse(const QStringList& tokens) override;

    double Geq = 0; // siemens

protected:
    // The history current: the element's own, or, once a batch of linear companions is gathered, the
    // element's place in the batch's array, so that the steps stream through the batch.
    double m_OwnIeq = 0; // amperes
    double* m_Ieq = &m_OwnIeq;

    // Geq and Ieq of the last accepted step (from the first iteration of the next step). A linear
    // companion takes them over at every step after the first, so it reads them only then and needs
    // them kept only for the first step: a gathered batch leaves them behind.
    double m_Gprev = 0, m_Iprev = 0;
    int m_NextStep = 0;             // the step whose first iteration has begun
    int m_IeqStep = 0;              // the step whose history current the element's own state holds
    const double* m_Row[2] = {};    // the results rows of the two nodes
    const double* m_Latest[2] = {}; // see StepStartVoltage
    int m_FirstStep = 0;            // the history count: the run's first step
    Law m_Law;
    double m_StartVoltage = 0; // the voltage before the first step

    // A batch of linear companions that follow each other in a step list of the full system or of one
    // partition, kept by its first element. A batch is only gathered where every element of it is stamped
    // in every iteration, so the history currents of all of them are found together, once in a step.
    struct GatheredBatch {
        CComponentSim* const* List = nullptr; // the list it was handed
        std::size_t Count = 0;
        int Step = 0;              // the step whose history currents Ieq holds
        bool FromSolution = false; // From points into the system's last solution
        // By element of the batch: the history current, Geq (which a linear companion keeps from
        // Initialise on), and where the voltages of a step come from and its current goes.
        std::vector<double> Ieq, Geq;
        struct Wires {
            // The two nodes' results rows, read at column k - 1, or, while the system alone writes the
            // results of its unknowns, their places in its last solution (which holds the same values).
            const double* From[2];
            // The system's entries of the two nodes, null for ground (the system's scratch entry,
            // which nothing reads).
            double* Rhs[2];
        };
        std::vector<Wires> Wiring;
        // The batch in order: single elements, and runs of elements from consecutive nodes to ground
        // (consecutive unknowns of the solution and of the right-hand side), which stream as vectors:
        // every element of a run has a row of its own, so nothing is added in another order.
        struct Segment {
            std::size_t First, Count;
            bool Run;
        };
        std::vector<Segment> Segments;
    };
    CCapacitorSim* m_Batch = nullptr; // the element whose batch holds this element's Ieq
    std::unique_ptr<GatheredBatch> m_Gathered;

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
        m_Gprev = Geq;
        m_Iprev = *m_Ieq;
        m_NextStep = k;
    }
    // The same when step k is accepted, with the current kept.
    void AcceptStep(int k)
    {
        m_Gprev = Geq;
        m_Iprev = *m_Ieq;
        Current[size_t(k)] = Voltage(k) * Geq - *m_Ieq;
    }
    // Finds the results rows of the nodes and starts the step count: once per run, in Initialise, with
    // the voltage before the first step.
    void StartRun(double startVoltage);
    void FindHistoryCurrent(int k)
    {
        if (m_Batch)
            m_Batch->FindBatchHistoryCurrents(k);
        else if (k != m_IeqStep)
            UpdateHistoryCurrent(k);
    }
    // Those of every element of the batch this element gathered, once in step k.
    void FindBatchHistoryCurrents(int k);
    void UpdateHistoryCurrent(int k)
    {
        m_IeqStep = k;
        TakeOverAcceptedStep(k);
        *m_Ieq = CompanionCurrent(m_Law, Geq, StepStartVoltage(k), m_Gprev, m_Iprev);
    }
    // PreviousVoltage as the run finds it at the first stamp of step k: where the element's system
    // keeps its last solution (LatestValue), which then holds column k - 1, rather than in two rows of
    // the results table far apart.
    double StepStartVoltage(int k)
    {
        if (k == m_FirstStep) {
            for (int j = 0; j < 2; ++j)
                m_Latest[j] = LatestValue(Nodes[j]);
            return m_StartVoltage;
        }
        return m_Latest[0] ? *m_Latest[0] - *m_Latest[1] : Voltage(k - 1);
    }
    // The batch's stamps of the right-hand side at step k when it is the batch this element gathered,
    // after the run's first step (which starts from the initial state); false: not done here.
    bool StampGathered(StepOp op, CComponentSim* const* elements, std::size_t count, int k, bool rhsOnly);
    template <Law law, bool inject> void StampGathered(int k);
    // The batch's history currents of step k, and with `inject` their stamps, by the element's law.
    template <bool inject> void StepBatch(int k)
    {
        if (m_Law == Law::Inductor)
            StampGathered<Law::Inductor, inject>(k);
        else
            StampGathered<Law::Capacitor, inject>(k);
    }
    template <Law law, bool inject>
    static void StreamRun(double* ieq, const double* geq, const double* v, double* rhs, std::size_t n);
    // Element voltage of results column k (one the table holds back from the rows through the document).
    double Voltage(int k) const
    {
        if (m_pDoc->ColumnHeld(k)) return m_pDoc->V(Nodes[0], k) - m_pDoc->V(Nodes[1], k);
        return m_Row[0][k] - m_Row[1][k];
    }
    // The voltage the companion model starts a step from: the previous column's, or the initial
    // state at the first step.
    double PreviousVoltage(int k, double initial) const
    {
        return k == m_FirstStep ? initial : Voltage(k - 1);
    }
    // The current of the last accepted step at voltage v of that step.
    double PreviousCurrent(double v) const { return m_Gprev * v - m_Iprev; }
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
