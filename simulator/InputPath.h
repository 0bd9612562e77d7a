#pragma once

#include <QString>

// The folder a run reads its waveform files from and the trace export writes into, composed from
// the Simulate tab's settings. The result always ends in a separator.

// A typed folder with its separator: "D:\Waves" gives "D:\Waves\", "" gives "\". A folder of this
// machine ("/data/waves") continues with "/"; a text that already ends in "\" or "/" stays as it is.
QString WithFolderEnd(const QString& typedPath);

// The shot's folder in the archive: root + experiment + "\Shots\Shot" + shot + "\" ("/" throughout
// for a root of this machine such as "/data/Experiments/").
QString ArchiveShotFolder(const QString& root, const QString& experiment, const QString& shot);

// The input folder for the source mode: exactly "Orlisk" takes the archive's shot folder, any other
// mode the typed path.
QString ComposeInputPath(const QString& sourceMode, const QString& root, const QString& experiment,
                         const QString& shot, const QString& typedPath);
