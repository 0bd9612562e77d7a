#pragma once

#include "CSimulatorDoc.h"
#include "UiServices.h"

#include <QString>

#include <memory>
#include <vector>

// Runs a netlist text headless with scripted interface services and reads traces back.
struct SimHarness {
    ScriptedUiServices ui;
    CSimulatorDoc doc;

    // Settings in the netlist's value syntax; mode "Auto", "None", "Minimal" or "Maximal".
    bool run(const QString& netlist, const QString& step = "1ns", const QString& span = "100ns",
             const QString& mode = "Auto", const QString& start = "0ns");
    // The whole trace (step count + 1 values); empty when it cannot be evaluated.
    std::vector<double> trace(const QString& expression);
    // The trace's value at time t, which must fall on the time grid.
    double at(const QString& expression, double t);
    // Messages other than the completion message.
    QStringList problems() const;
};

// A reference case: the netlist and expected values from an independent simulator.
struct ReferenceCase {
    QString netlist;
    QString step, start, span, mode;
    struct Point {
        QString trace;
        double time, value, tolerance;
    };
    std::vector<Point> points;
};

// Reads NAME.cir and NAME.expect from the reference folder; fails the current test when missing.
ReferenceCase loadReference(const QString& name);
// Seconds from a value such as "2n" or "100.6n".
double referenceTime(const QString& text);
