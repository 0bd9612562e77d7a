#pragma once

#include <span>
#include <vector>

// Who couples with whom in a system of n unknowns whose elements couple the unknowns of each clique
// (unknowns[cliqueStart[c] .. cliqueStart[c+1]), 0 for one outside the system): for unknown r
// (1..n) its neighbours, itself among them, adjacent[start[r] .. end[r]) in ascending order, each
// once (0 first where ground is one). What the memory estimates of the solvers start from.
struct CouplingPattern {
    CouplingPattern(int n, std::span<const int> unknowns, std::span<const int> cliqueStart);
    int n;
    std::vector<int> start, end, adjacent;
    double entries = 0; // the neighbours that are unknowns of the system, over all unknowns
};
