#pragma once

#include <cstddef>
#include <vector>

// Permittivity of free space, farads per metre (the leaky-dielectric lines derive their leakage from it).
constexpr double kEpsilon0 = 8.854214881302399e-12;

// The two wave trains of a lossy line cut into cells of one time step each. At every boundary between
// two cells the waves scatter: part goes on, part is reflected.
class CellChain {
public:
    // `cells` cells holding the initial forward and backward waves.
    void reset(size_t cells, double forward, double backward);
    size_t size() const { return F.size(); }
    // The waves arriving at port 1 (the backward wave of the first cell) and port 2.
    void arriving(double* vinc) const
    {
        vinc[0] = B.front();
        vinc[1] = F.back();
    }
    // One step. Boundary b lies between cells b and b+1; its coefficients are t1[b·stride] (forward
    // transmission), r1 (reflection back of the forward wave), t2 (backward transmission) and r2
    // (reflection of the backward wave); a stride of 0 gives every boundary the same. The ports then
    // send in w1 and w2.
    void advance(const double* t1, const double* r1, const double* t2, const double* r2, size_t stride,
                 double w1, double w2);

private:
    std::vector<double> F, B;   // forward wave (F[0] at port 1) and backward wave in every cell
    std::vector<double> Fs, Bs; // scratch of one step
};
