#pragma once

#include <QStringList>

class CSimulatorDoc;

// The periodic trapezoid of PULSE sources and pulsed resistances.
struct PulseShape {
    double V1 = 0, V2 = 0, TD = 0, TR = 0, TF = 0, PW = 0, PER = 0;

    // Value at time t: V1 up to TD, then rise, top, fall and rest, repeating every |PER| (PER = 0
    // never repeats). A segment of zero length is skipped.
    double valueAt(double t) const;

    // Reads V1 and V2 from tokens[first] and tokens[first + 1], then TD, TR, TF, PW and PER from the
    // tokens that follow, as far as they are present. Missing ones take the defaults: TD 0, TR and TF
    // one time step, PW a quarter and PER half of the simulated span.
    static PulseShape Parse(CSimulatorDoc& doc, const QStringList& tokens, int first);
};
