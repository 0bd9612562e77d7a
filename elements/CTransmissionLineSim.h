#pragma once

#include "CComponentSim.h"

#include <array>
#include <cstdint>
#include <vector>

// A lossless two-port line modelled by travelling waves with a delay of whole time steps. Towards
// the circuit each port is a conductance in parallel with a current source driven by the wave that
// left the other port one delay earlier, so the two ports exchange nothing within a step: the line is
// decoupled, and the partitioned matrix mode cuts the circuit at it.
//
// Nodes[0], Nodes[1] are port 1 (a1, b1); Nodes[2], Nodes[3] port 2 (a2, b2). The lossy and
// variable-impedance lines derive from this class and reuse its ports, binding and traces.
class CTransmissionLineSim : public StampingElement<CTransmissionLineSim, std::array<CompanionEntries, 2>> {
public:
    explicit CTransmissionLineSim(CSimulatorDoc* doc);

    // Each port: its conductance with the arriving wave's source current. A port outside the system
    // being bound (the other side of a cut) lands on the binder's scratch entries.
    void Bind(std::array<CompanionEntries, 2>& ports, MatrixBinder& binder);
    void StampInto(const std::array<CompanionEntries, 2>& ports, bool rhsOnly, int)
    {
        ports[0].stamp(rhsOnly, PortG[0], 2 * WaveG[0] * Vinc[0]);
        ports[1].stamp(rhsOnly, PortG[1], 2 * WaveG[1] * Vinc[1]);
    }

    void Prepare() override;
    void Initialise() override;
    // The two sent waves, and what the line's cells keep.
    double HistoryBytes(double columns) const override;
    void PreSolve(int k) override;
    void EndStep(int k) override;
    bool GetOutput(const QString& kind, int n, double* out) override;
    void AddOutputNames(const QString& group, QStringList& list) override;
    bool Parse(const QStringList& tokens) override;

    double Z0 = 0;             // characteristic impedance as parsed, ohms
    double TD = 0;             // delay as parsed, seconds
    double InitialVoltage = 0; // the line starts uniformly charged to this voltage ...
    double InitialCurrent = 0; // ... carrying this current from port 1 towards port 2

    // The delay in steps, at least 1, as the time step gives it (DelayExact) and as the run uses it
    // (Delay). A line longer than the run is simulated with Delay = steps + 1: nothing sent into it
    // comes out before the run ends either way, so the results are the same and the history count
    // stays within the run's own size.
    std::int64_t DelayExact = 1;
    int Delay = 1;

    // Waves leaving port 1 (W1) and port 2 (W2) at every results column; columns up to h hold the
    // initial waves.
    std::vector<double> W1, W2;
    double Vinc[2] = {0, 0}; // the waves arriving at port 1 and port 2 in the current step
    double G = 0;            // clamped 1/Z0

    // Per port: the conductance stamped into the matrix, and the wave conductance that turns the
    // arriving wave into the port's source current 2*WaveG*Vinc and the port's traces into currents.
    // Both are G for a lossless line.
    double PortG[2] = {0, 0};
    double WaveG[2] = {0, 0};

protected:
    // Reads a value token whose key prefix (e.g. "Z0=") is dropped when present.
    double ValueAfterKey(const QString& token, const QString& key) const;
    // Reads a lossy line's value token without as many characters as its key has, whatever they are.
    // When they are not the key (the key was left out, as in "5N" for "TD=5N"), a warning names the
    // element and the token: the value is then read from what remains, often nothing, which is 0.
    double ValueAfterCutKey(const QString& token, const char* key);
    // Reads the initial-condition token at index i (and the current token after it); tokens that do
    // not begin with "IC=" leave the line at rest.
    void ParseInitialCondition(const QStringList& tokens, int i);
    // Refuses a delay that is not a finite number of steps; Parse hands the result on.
    bool CheckDelay();
    // Records the waves the two ports send back in accepted step k: port voltage less arriving wave.
    void StoreOutgoingWaves(int k);
    // Refuses an impedance that is negative or not a finite number, and 0 unless the line's arithmetic
    // holds for it (`zeroRuns`): "Invalid Netlist.  Invalid Z0: " + Name.
    bool CheckImpedance(double z, const QString& key, bool zeroRuns = false);
    // The cells of a lossy line that can reach a port within the run: a wave moves one cell per step,
    // so cells further from both ports than the run has steps change nothing that the ports see.
    int CellLimit() const;
    // The wave each port sent at every results column, as the traces show it. A line that reworks
    // the waves it holds after they were sent (the variable-impedance line) keeps its own record.
    virtual const std::vector<double>& SentWaves(int port) const { return port == 0 ? W1 : W2; }
    // The conductance that turns a port's traces into a current at results column k.
    virtual double TraceConductance(int port, int) const { return WaveG[port]; }
};
