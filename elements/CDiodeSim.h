#pragma once

#include "CComponentSim.h"

#include <vector>

// The diode's entries in one system: the series resistance (anode - internal node, with RS only) and
// the linearised junction (junction node - cathode).
struct DiodeEntries {
    ConductanceEntries series;
    CompanionEntries junction;
};

// The semiconductor diode: an exponential junction with reverse leakage and breakdown, an optional
// series resistance through an internal node, solved by Newton iteration within each time step.
// Nodes[0] anode, Nodes[1] cathode, Nodes[2] the internal node (0 without series resistance).
class CDiodeSim : public StampingElement<CDiodeSim, DiodeEntries> {
public:
    explicit CDiodeSim(CSimulatorDoc* doc);

    // Its entries in one system and its values added to them, for every matrix mode.
    void Bind(DiodeEntries& e, MatrixBinder& binder);
    void StampInto(const DiodeEntries& e, bool rhsOnly, int k);

    void Initialise() override;
    // With a series resistance the current is read from the results table when asked for, so the
    // step has nothing to keep.
    double HistoryBytes(double columns) const override { return RS > 0 ? 0 : columns * sizeof(double); }
    unsigned StepWork() const override
    {
        return StampingElement::StepWork() & ~(RS > 0 ? unsigned(EndStepOp) : 0u);
    }
    void BeginStep(int k) override;
    void EndStep(int k) override;
    bool GetOutput(const QString& kind, int n, double* out) override;
    bool NeedsIteration(int k) override;
    void AddOutputNames(const QString& group, QStringList& list) override;
    bool Parse(const QStringList& tokens) override;

    double IS = 1e-14; // saturation current, A
    double N = 1;      // emission coefficient
    double RS = 0;     // series resistance, ohm
    double GRS = 0;    // clamped 1/RS, only with RS > 0
    double BV = 1e14;  // reverse breakdown voltage, V
    double IBV = 0.001;
    // Read and kept for the part's sake; the run has no junction capacitance.
    double CJO = 0;
    double GradingCoefficient = 0;
    double JunctionPotential = 0;
    double FC = 0;
    double IC = 0; // junction voltage of the first step

    double Geq = 1e-12; // linearised junction conductance
    double Ieq = 0;     // linearised junction current source
    double vlast = 0;   // where the junction was last linearised

private:
    double Current(double v) const;
    double BreakdownCurrent(double v) const;
    int JunctionNode() const { return RS > 0 ? Nodes[2] : Nodes[0]; }
    double JunctionVoltage(int column) const;
    void Linearise(double v);
    // The new junction voltage v past the breakdown voltage, pulled back as the forward limit does.
    double LimitBreakdown(double v) const;
    // Whether the junction voltage v of the last solution lets the step end, as far as this diode goes.
    bool Settled(double v) const;

    bool m_ExtraIteration = false;
    // Where the latest values of the junction node, the cathode and the anode are kept (LatestValue),
    // or null.
    const double* m_Latest[3] = {};
    std::vector<double> m_Current; // without series resistance: the current of every step, by column
};
