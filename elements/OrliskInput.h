#pragma once

#include <QString>

#include <memory>

class COrliskWave;

// The waveform file of an ORLISK statement (a source or a variable resistor). `path` is the file as
// the netlist names it: the run's input folder + name + ".wvf", a Windows path that is mapped to this
// machine's files.

// Replaces `wave` by a new waveform read from the file; returns the reader's result. A file that
// cannot be opened gets the reader's message alone, which names it with the reason; a file that the
// reader refuses gets the reader's message and then the input error that names it.
bool LoadOrliskWave(const QString& path, std::unique_ptr<COrliskWave>& wave);
