#pragma once

#include <QString>
#include <QStringList>

// The run settings as the Simulate tab shows them; also what a run copies back into the schematic
// document the netlist was made from.
struct RunSettings {
    QString timeStep = QStringLiteral("1ns");
    QString startTime = QStringLiteral("0ns");
    QString timeSpan = QStringLiteral("100ns");
    QString matrixMode = QStringLiteral("Auto");
    QString archiveRoot = QStringLiteral("C:\\Experiments\\");
    QString experiment;
    QString shot;
    QString sourceMode = QStringLiteral("Orlisk"); // "Orlisk" or "Path"
    QString path;                                  // the run's input folder, ending in "\"
};

// The schematic document a netlist was made from, seen from the netlist: it receives the settings of
// every run and keeps the trace-selection lines chosen over the runs' results. The link is weak: a
// closed schematic simply expires.
class RunSettingsReceiver {
public:
    virtual ~RunSettingsReceiver() = default;
    // source mode "Orlisk": time step, start, span, mode, root, experiment, shot; otherwise the path.
    virtual void ReceiveRunSettings(const RunSettings& settings, bool archiveMode) = 0;
    // The saved trace-selection lines, newest first; null when the schematic keeps none.
    virtual QStringList* TraceSelectionHistory() { return nullptr; }
    // The schematic changed outside its own windows (a selection line was saved).
    virtual void SetModified() {}
};
