#include "OrliskInput.h"

#include "COrliskWave.h"
#include "Paths.h"
#include "Text.h"
#include "UiServices.h"

#include <QFile>

bool OpenOrliskInput(const QString& path, const std::function<bool()>& load)
{
    QFile test(paths::toNative(path));
    const bool opens = test.open(QIODevice::ReadOnly);
    test.close();
    if (opens && load()) return true;
    ui().message(QStringLiteral("Error:  Orlisk waveform input error, file=") + text::echo(path));
    return false;
}

bool LoadOrliskWave(const QString& path, std::unique_ptr<COrliskWave>& wave)
{
    wave = std::make_unique<COrliskWave>();
    return wave->Read(paths::toNative(path));
}
