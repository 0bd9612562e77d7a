#pragma once

#include <QString>

#include <memory>

class COrliskWave;

// The waveform file of an ORLISK statement (a source or a variable resistor). `path` is the file as
// the netlist names it: the run's input folder + name + ".wvf", a Windows path that is mapped to this
// machine's files.

// Replaces `wave` by a new waveform read from the file; returns the reader's result. The reader
// names the file and what is wrong with it in one message.
bool LoadOrliskWave(const QString& path, std::unique_ptr<COrliskWave>& wave);
