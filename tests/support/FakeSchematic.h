#pragma once
// The schematic a netlist was made from, as the netlist's link sees it: the run settings are
// dropped, the trace-selection lines kept, and every mark of a change counted.
#include "CSimulatorDoc.h"

#include <QStringList>

struct FakeSchematic : RunSettingsReceiver {
    void ReceiveRunSettings(const RunSettings&, bool) override {}
    QStringList* TraceSelectionHistory() override { return &history; }
    void SetModified() override { ++modified; }

    QStringList history;
    int modified = 0;
};
