#pragma once

#include "CSwitchSim.h"
#include "PulseShape.h"

#include <memory>

class COrliskWave;

// A resistance that follows a power law of its voltage, a periodic pulse or a measured waveform.
class CVariableRSim : public CSwitchSim {
public:
    explicit CVariableRSim(CSimulatorDoc* doc);
    ~CVariableRSim() override;

    bool Parse(const QStringList& tokens) override;
    void UpdateSwitchState(int k) override;
    // Creates Wave and reads WaveFile into it; the result is also kept in WaveLoaded.
    bool LoadWaveform();

    enum { Power = 0, Pulsed = 1, Orlisk = 2 };

    std::unique_ptr<COrliskWave> Wave;
    bool WaveLoaded = false;
    double A = 0, B = 0, N = 0; // POWER: R = A + B * v^N
    PulseShape Pulse;           // PULSE: V1 is the low resistance R1, V2 the high resistance R2
    QString WaveFile;           // ORLISK: the .wvf file as the netlist names it
    int Kind = Power;
};
