#pragma once

#include "CComponentSim.h"

// The transformer's entries in one system. Winding w couples its node pair (x1, x2) with its branch
// row B: A[x1][B], A[B][x1], A[x2][B], A[B][x2].
struct WindingEntries {
    double* nodeBranch[2][4] = {};
    double* branch[2][2] = {}; // A[Bi][Bj]
    double* rhs[2] = {};
};

// Two magnetically coupled windings. Each winding current is an unknown of its own (a branch row after
// the node rows) whose row carries the trapezoidal form of the coupled inductances.
// Nodes[0], Nodes[1]: primary winding (p1 -> p2); Nodes[2], Nodes[3]: secondary winding (s1 -> s2).
class CTransformerSim : public StampingElement<CTransformerSim, WindingEntries> {
public:
    explicit CTransformerSim(CSimulatorDoc* doc);

    // Its entries in one system and its values added to them, for every matrix mode.
    void Bind(WindingEntries& e, MatrixBinder& binder);
    void StampInto(const WindingEntries& e, bool rhsOnly, int k);

    void Initialise() override;
    void BeginStep(int k) override;
    bool GetOutput(const QString& kind, int n, double* out) override;
    void AddOutputNames(const QString& group, QStringList& list) override;
    bool Parse(const QStringList& tokens) override;

    double L1 = 0, L2 = 0;            // self-inductances, H
    double K = 0;                     // coupling coefficient
    double M = 0;                     // mutual inductance
    double R11 = 0, R22 = 0, R12 = 0; // 2 L1 / dt, 2 L2 / dt, 2 M / dt
    double E1 = 0, E2 = 0;            // history voltages of the two branch rows
};
