#include "PulseShape.h"

#include <cmath>

double PulseShape::valueAt(double t) const
{
    if (t <= TD) return V1;
    double u = t - TD;
    if (PER > 0 && u > PER) u -= std::trunc(u / PER) * PER;
    if (u < TR) return V1 + (V2 - V1) * u / TR;
    u -= TR;
    if (u < PW) return V2;
    u -= PW;
    if (u < TF) return V2 + (V1 - V2) * u / TF;
    return V1;
}
