#pragma once

#include "CResistorSim.h"

#include <vector>

// A closing switch: R0 until its criterion is met, then a law that falls towards R1. The base of the
// family whose resistance is recomputed at every step (ideal diode, variable resistor).
class CSwitchSim : public CResistorSim {
public:
    explicit CSwitchSim(CSimulatorDoc* doc);

    void Initialise() override;
    double HistoryBytes(double columns) const override { return columns * sizeof(double); }
    void BeginStep(int k) override;
    bool GetOutput(const QString& kind, int n, double* out) override;
    void AddOutputNames(const QString& group, QStringList& list) override;
    bool Parse(const QStringList& tokens) override;
    // Writes R(k) into ResistanceHistory; called by BeginStep in every iteration of step k, so it
    // must give the same R(k) in every iteration of one step.
    virtual void UpdateSwitchState(int k);

    QString SwitchCriterion; // "TIME", "VOLT", "CUR" or "ENERGY"
    QString TimeDependence;  // "EXP", "LIN", "T0/T" or "TANH"
    double InitialResistance = 0;
    double FinalResistance = 0;
    double TimeConstant = 0;
    double CriticalValue = 0;
    double ClosureTime = 0;
    bool Closed = false;                   // ClosureTime is valid (a closure at t = 0 is still a closure)
    std::vector<double> ResistanceHistory; // R of every results column
    double Energy = 0;                     // joules dissipated in the accepted steps so far

protected:
    // V(a) - V(b) of results column k.
    double Voltage(int k) const;
    // The token without a key prefix such as "RON=" when it begins with exactly that text.
    static QString CutPrefix(const QString& token, const char* prefix);

private:
    enum class Criterion { Time, Volt, Cur, Energy };
    enum class Law { Exp, Lin, T0T, Tanh };
    Criterion m_Criterion = Criterion::Time;
    Law m_Law = Law::Exp;
    int m_EnergyColumn = -1; // the step whose previous step's energy has been added
};
