#pragma once

// The periodic trapezoid of PULSE sources and pulsed resistances.
struct PulseShape {
    double V1 = 0, V2 = 0, TD = 0, TR = 0, TF = 0, PW = 0, PER = 0;

    // Value at time t: V1 up to TD, then rise, top, fall and rest, repeating every PER (PER <= 0 never
    // repeats). A segment of zero length is skipped.
    double valueAt(double t) const;
};
