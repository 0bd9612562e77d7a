#pragma once

#include <QString>
#include <QStringList>

// What writing a netlist found out beyond its text.
struct NetlistReport {
    // False when no netlist could be written; the reason has been shown.
    bool ok = true;
    // The elements that run without a simulation model of their own, with their keyword: "R3 (MOV)",
    // "T1_X1 (MITL0)". The simulator runs them as near short circuits.
    QStringList partsWithoutModel;
};

// The one warning for a netlist whose parts include some without a model of their own.
QString NoModelWarning(const QStringList& partsWithoutModel);
