#pragma once

#include <QString>

#include <functional>
#include <memory>

class COrliskWave;

// The waveform file of an ORLISK statement (a source or a variable resistor). `path` is the file as
// the netlist names it: the run's input folder + name + ".wvf", a Windows path that is mapped to this
// machine's files.

// Opens the file as a test, then has `load` read it (the element's LoadWaveform). On either failure
// shows "Error:  Orlisk waveform input error, file=" + path (after the reader's own message, if any)
// and returns false.
bool OpenOrliskInput(const QString& path, const std::function<bool()>& load);

// Replaces `wave` by a new waveform read from the file; returns the reader's result.
bool LoadOrliskWave(const QString& path, std::unique_ptr<COrliskWave>& wave);
