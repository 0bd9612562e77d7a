#pragma once

#include <QDate>
#include <QString>

#include <cstdint>
#include <vector>

// One waveform of the archive, held in memory and stored as one .wvf file: a header with the time
// base, summary values and four 8-bit texts, then the samples as 32-bit floats (little-endian).
class COrliskWave {
public:
    COrliskWave();

    // Replaces every field with the file's content. On any failure shows one message, which names
    // the file and, where the system gives one, the reason, and returns false; the object then holds
    // what it held before (only a refused old version is kept). `old` tells whether the refusal was
    // of an old version, whose message does not say that the file could not be used as input.
    bool Read(const QString& path, bool* old = nullptr);
    // Creates or replaces the file with all of its bytes: a failed write leaves an existing file as
    // it was and shows a message with the reason.
    bool Write(const QString& path) const;
    // The value at time t (seconds), linearly interpolated; 0 before the first sample, the last
    // sample from the last sample's time on. Always finite.
    double ValueAt(double t) const;

    // Hands the samples to the object: values[0] becomes Samples[1]; sets SampleCount.
    void SetSamples(const std::vector<float>& values);
    // Sets MaxValue/MaxIndex, MinValue/MinIndex from the samples (first occurrences) and Scale, the
    // power of ten below their range. Non-finite samples take no part; without a finite sample the
    // fields keep their values.
    void DeriveHeaderValues();

    // "%A, %B %d, %Y" with English names whatever the locale, such as "Saturday, December 05, 2026".
    static QString FormatDateText(const QDate& date);

    int16_t Version = 0; // 0: holds no waveform
    QString Name;
    int32_t SampleCount = 0;
    float SpareA = 0.0f;
    float SampleInterval = 1.0f;
    float SpareB = 0.0f;
    float SpareC = 1.0f;
    float SpareD = 1.0f;
    float FirstSampleTime = 0.0f;
    float TimeOffset = 0.0f;
    float MaxValue = 1.0f;
    float MinValue = 0.0f;
    int32_t MaxIndex = 1;
    int32_t MinIndex = 1;
    float Scale = 1.0f;
    int16_t SpareShort = 0;
    float SpareFloats[6] = {0, 0, 0, 0, 0, 0};
    int32_t SpareInt = 0;
    float SpareE = 0.0f;
    float SpareF = 0.0f;
    QString Comment;
    QString DateText;
    QString Creator;
    QString Note;
    // SampleCount + 1 entries used 1-based: Samples[1] .. Samples[SampleCount]; entry 0 is unused.
    std::vector<float> Samples;

private:
    // The sample at 1-based index i for interpolation: a damaged (non-finite) sample counts as 0.
    double SampleValue(int32_t i) const;
};
