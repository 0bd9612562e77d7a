#pragma once

#include "CComponentSim.h"
#include "CSimulatorDoc.h"
#include "ElementFactory.h"
#include "UiServices.h"

#include <QString>

#include <memory>
#include <vector>

// Runs a netlist text headless with scripted interface services and reads traces back.
struct SimHarness {
    ScriptedUiServices ui;
    CSimulatorDoc doc;

    SimHarness() { doc.SetElementFactory(CreateElement); }

    // Settings in the netlist's value syntax; mode "Auto", "None", "Minimal" or "Maximal".
    bool run(const QString& netlist, const QString& step = "1ns", const QString& span = "100ns",
             const QString& mode = "Auto", const QString& start = "0ns");
    // As run(), and the run must succeed without any message but the completion message.
    bool runClean(const QString& netlist, const QString& step = "1ns", const QString& span = "100ns",
                  const QString& mode = "Auto", const QString& start = "0ns");
    // The whole trace (step count + 1 values); empty when it cannot be evaluated.
    std::vector<double> trace(const QString& expression);
    // The trace's value at time t, which must fall on the time grid.
    double at(const QString& expression, double t);
    // Messages other than the completion message.
    QStringList problems() const;
};

// The element of the last run with this name, or nullptr.
template <class T> T* findElement(const CSimulatorDoc& doc, const QString& name)
{
    for (const auto& e : doc.Elements())
        if (e->Name == name) return dynamic_cast<T*>(e.get());
    return nullptr;
}

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

// The four matrix modes of the Simulate tab.
inline const char* const kMatrixModes[] = {"Auto", "None", "Minimal", "Maximal"};

// Runs the reference case in the mode and checks every expected value within its tolerance, and that
// the run showed no message but the completion message.
void runReference(SimHarness& h, const ReferenceCase& rc, const QString& mode);

// Every value of the traces agrees between two runs, to abs + rel * |want|.
void expectSameTraces(SimHarness& got, SimHarness& want, std::initializer_list<const char*> traces,
                      double abs = 1e-9, double rel = 1e-9);

// Runs the netlist in "Auto" into h and in "None"; h's traces must be those of "None".
void runAgreeingWithNone(SimHarness& h, const QString& netlist, const QString& step, const QString& span,
                         std::initializer_list<const char*> traces, double abs = 1e-9, double rel = 1e-9);

// Runs the netlist in "None" and in each of the modes; every mode must give the traces of "None".
void expectModesAgree(const QString& netlist, std::initializer_list<const char*> traces, const QString& step,
                      const QString& span, std::initializer_list<const char*> modes = {"Minimal", "Maximal"},
                      double abs = 1e-9, double rel = 1e-9);

// The run of the netlist fails with the message, then the processing failure.
void expectRefused(const QString& netlist, const QString& message);

// A resistor chain NB0..NB(count-1) driven by its own source VB and tied to ground at every node: it
// adds nodes to a netlist without touching any other part of it.
QString separateLadder(int count);

// Reads NAME.cir and NAME.expect from the reference folder; fails the current test when missing.
ReferenceCase loadReference(const QString& name);
// Reads NAME.cir alone (a circuit without expected values); fails the current test when missing.
QString loadReferenceNetlist(const QString& name);
