// Feeds arbitrary bytes to the waveform reader: it must refuse or accept them without a crash, and a
// waveform it accepts must give finite values.
#include "COrliskWave.h"
#include "UiServices.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

class SilentUi : public UiServices {
public:
    void message(const QString&) override {}
    Answer question(const QString&, Buttons) override { return Answer::Ok; }
};

SilentUi g_ui;
QTemporaryDir* g_dir = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setUi(&g_ui);
    g_dir = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = g_dir->filePath(QStringLiteral("input.wvf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    COrliskWave wave;
    if (!wave.Read(path)) return 0;
    if (wave.Samples.size() != size_t(wave.SampleCount) + 1) std::abort();
    const double start = double(wave.FirstSampleTime) + wave.TimeOffset;
    const double step = wave.SampleInterval;
    for (double k : {-1.0, 0.0, 0.5, 1.0, 2.5, double(wave.SampleCount), 1e9})
        if (!std::isfinite(wave.ValueAt(start + k * step))) std::abort();
    if (!std::isfinite(wave.ValueAt(0.0)) || !std::isfinite(wave.ValueAt(NAN))) std::abort();
    // Without a finite sample the header keeps what the file said, which may be anything.
    const bool anyFinite =
        std::any_of(wave.Samples.begin() + 1, wave.Samples.end(), [](float v) { return std::isfinite(v); });
    wave.DeriveHeaderValues();
    if (anyFinite && !(std::isfinite(wave.Scale) && wave.Scale > 0)) std::abort();
    return 0;
}
