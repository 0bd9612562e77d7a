#pragma once

#include "Installed.h"

#include <QString>

#include <memory>

class CSimulatorDoc;
class QWidget;
class RunSettingsReceiver;

// Shows the trace-selection dialog over the results of a netlist document. The program installs
// its dialog; tests install a stand-in that records the request or drives the dialog themselves.
class PlotTracesDialog {
public:
    virtual ~PlotTracesDialog() = default;
    // Modal over `owner`. Exports write into archivePath (the run's input folder); the schematic the
    // netlist was made from keeps the selection lines (an expired link: none are shown or saved).
    virtual void Run(CSimulatorDoc& doc, const QString& archivePath,
                     std::weak_ptr<RunSettingsReceiver> schematic, QWidget* owner) = 0;
};

// The installed dialog (not owned); null when none is installed, and Plot Traces then shows nothing.
inline PlotTracesDialog* plotTracesDialog()
{
    return Installed<PlotTracesDialog>::Get();
}
inline void setPlotTracesDialog(PlotTracesDialog* dialog)
{
    Installed<PlotTracesDialog>::Set(dialog);
}
