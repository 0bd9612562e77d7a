#include "OrliskInput.h"

#include "COrliskWave.h"
#include "UiServices.h"

#if __has_include("Paths.h")
#include "Paths.h"
#define TORVEX_HAVE_PATHS 1
#endif

#include <QFile>

bool ReadOrliskInput(const QString& path, std::unique_ptr<COrliskWave>& wave)
{
#ifdef TORVEX_HAVE_PATHS
    const QString native = paths::toNative(path);
#else
    QString native = path;
    native.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    const auto inputError = [&]() {
        ui().message(QStringLiteral("Error:  Orlisk waveform input error, file=") + path);
        return false;
    };
    QFile test(native);
    if (!test.open(QIODevice::ReadOnly)) return inputError();
    test.close();
    wave = std::make_unique<COrliskWave>();
    if (!wave->Read(native)) return inputError();
    return true;
}
