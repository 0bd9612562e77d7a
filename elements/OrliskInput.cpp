#include "OrliskInput.h"

#include "COrliskWave.h"
#include "Paths.h"
#include "Text.h"
#include "UiServices.h"

#include <QFileInfo>

bool LoadOrliskWave(const QString& path, std::unique_ptr<COrliskWave>& wave)
{
    const QString file = paths::toNative(path);
    wave = std::make_unique<COrliskWave>();
    if (wave->Read(file)) return true;
    // A file that cannot be opened has been named once, by the reader, with the reason. One that was
    // there to be read but was refused (an old version, a damaged one) is named again as the
    // statement's input error, after what the reader found wrong with it.
    const QFileInfo info(file);
    if (info.isFile() && info.isReadable())
        ui().message(QStringLiteral("Error:  Orlisk waveform input error, file=") + text::echo(file));
    return false;
}
