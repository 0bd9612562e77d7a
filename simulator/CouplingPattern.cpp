#include "CouplingPattern.h"

#include <algorithm>
#include <cstddef>

CouplingPattern::CouplingPattern(int unknownCount, std::span<const int> unknowns,
                                 std::span<const int> cliqueStart)
    : n(unknownCount)
{
    // Both directions of every pair of a clique, then each pair once.
    start.assign(std::size_t(std::max(n, 0)) + 2, 0);
    for (std::size_t c = 0; c + 1 < cliqueStart.size(); ++c)
        for (int i = cliqueStart[c]; i < cliqueStart[c + 1]; ++i)
            if (unknowns[std::size_t(i)] > 0)
                start[std::size_t(unknowns[std::size_t(i)]) + 1] += cliqueStart[c + 1] - cliqueStart[c];
    for (int r = 1; r <= n; ++r)
        start[std::size_t(r) + 1] += start[std::size_t(r)];
    end.assign(start.begin(), start.end() - 1);
    adjacent.resize(std::size_t(start[std::size_t(std::max(n, 0)) + 1]));
    for (std::size_t c = 0; c + 1 < cliqueStart.size(); ++c)
        for (int i = cliqueStart[c]; i < cliqueStart[c + 1]; ++i) {
            const int r = unknowns[std::size_t(i)];
            if (r <= 0) continue;
            for (int j = cliqueStart[c]; j < cliqueStart[c + 1]; ++j)
                adjacent[std::size_t(end[std::size_t(r)]++)] = std::max(unknowns[std::size_t(j)], 0);
        }
    for (int r = 1; r <= n; ++r) {
        const auto first = adjacent.begin() + start[std::size_t(r)],
                   last = adjacent.begin() + end[std::size_t(r)];
        std::sort(first, last);
        const auto unique = std::unique(first, last);
        end[std::size_t(r)] = int(unique - adjacent.begin());
        entries += double(std::count_if(first, unique, [](int c) { return c > 0; }));
    }
}
