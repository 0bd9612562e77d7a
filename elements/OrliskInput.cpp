#include "OrliskInput.h"

#include "COrliskWave.h"
#include "Paths.h"
#include "Text.h"
#include "UiServices.h"

bool LoadOrliskWave(const QString& path, std::unique_ptr<COrliskWave>& wave)
{
    const QString file = paths::toNative(path);
    wave = std::make_unique<COrliskWave>();
    bool old = false;
    if (wave->Read(file, &old)) return true;
    // The reader names a file it cannot use as input; an old version it refuses with a message of
    // its own, and the statement's input error follows that.
    if (old) ui().message(QStringLiteral("Error:  Orlisk waveform input error, file=") + text::echo(file));
    return false;
}
