#pragma once

#include <QString>

#include <memory>

class COrliskWave;

// Reads the waveform file of an ORLISK statement (a source or a variable resistor). `path` is the file
// as the netlist names it: the run's input folder + name + ".wvf", with "\" separators. The file is
// first opened as a test; when it opens, `wave` receives a new waveform read from it. On either failure
// shows "Error:  Orlisk waveform input error, file=" + path (after the reader's own message, if any)
// and returns false.
bool ReadOrliskInput(const QString& path, std::unique_ptr<COrliskWave>& wave);
