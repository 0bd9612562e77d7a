#include "OrliskInput.h"

#include "COrliskWave.h"
#include "Paths.h"

bool LoadOrliskWave(const QString& path, std::unique_ptr<COrliskWave>& wave)
{
    wave = std::make_unique<COrliskWave>();
    return wave->Read(paths::toNative(path));
}
