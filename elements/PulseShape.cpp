#include "PulseShape.h"

#include "CSimulatorDoc.h"

#include <cmath>

double PulseShape::valueAt(double t) const
{
    if (t <= TD) return V1;
    double u = t - TD;
    // A negative period repeats every |PER| (the quotient is truncated toward zero); 0, or a period
    // that is not finite, never repeats.
    if (u > PER && PER != 0 && std::isfinite(PER)) u -= std::trunc(u / PER) * PER;
    if (u < TR) return V1 + (V2 - V1) * u / TR;
    u -= TR;
    if (u < PW) return V2;
    u -= PW;
    if (u < TF) return V2 + (V1 - V2) * u / TF;
    return V1;
}

PulseShape PulseShape::Parse(CSimulatorDoc& doc, const QStringList& tokens, int first)
{
    const double dt = doc.TimeStep();
    const double span = doc.StepCount() * dt;
    PulseShape p{0, 0, 0, dt, dt, 0.25 * span, 0.5 * span};
    p.V1 = doc.ParseValue(tokens[first]);
    p.V2 = doc.ParseValue(tokens[first + 1]);
    double* optional[] = {&p.TD, &p.TR, &p.TF, &p.PW, &p.PER};
    for (int i = 0; i < 5 && first + 2 + i < tokens.size(); ++i)
        *optional[i] = doc.ParseValue(tokens[first + 2 + i]);
    return p;
}
