// The waveform file: the byte layout, damaged files, values between samples and the header values.
#include "COrliskWave.h"
#include "ChildRun.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

namespace {

// The example waveform "V(N1)": samples 0, 1, 0.5 one nanosecond apart, made on 5 December 2026,
// written out field by field from the file layout, independently of the writer.
const QByteArray kExample = QByteArray::fromHex(
    "0300 0500 56284e3129 03000000"                                  // version 3, name, sample count
    "00000000 5f708930 00000000 0000803f 0000803f 00000000 00000000" // A, 1e-9, B, C, D, first, offset
    "0000803f 00000000 02000000 01000000 0000803f 0000"              // max, min, indices, scale, short
    "000000000000000000000000000000000000000000000000 000000000000000000000000" // spare floats and ints
    "0000 1c00 53617475726461792c20446563656d6265722030352c2032303236 00"       // comment, terminated date
    "0700 546f7276657832 0000"                                                  // creator "Torvex2", note
    "0100 03000000 01000000 00000000 0000803f 0000003f"); // trailer 1, N, 1; the samples

COrliskWave example()
{
    COrliskWave w;
    w.Version = 3;
    w.Name = "V(N1)";
    w.SampleInterval = 1e-9f;
    w.SetSamples({0.0f, 1.0f, 0.5f});
    w.DeriveHeaderValues();
    w.DateText = COrliskWave::FormatDateText(QDate(2026, 12, 5));
    return w;
}

QByteArray withWord(QByteArray b, int offset, qint64 value, int size)
{
    for (int i = 0; i < size; ++i)
        b[offset + i] = char((quint64(value) >> (8 * i)) & 0xFF);
    return b;
}

struct WvfTest : ::testing::Test {
    ScriptedUiServices ui;
    QTemporaryDir dir;
    QString path(const QString& name = "w.wvf") const { return dir.filePath(name); }
    void put(const QByteArray& bytes, const QString& name = "w.wvf") const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray get(const QString& name = "w.wvf") const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(WvfTest, TheExampleByteForByteBothWays)
{
    put(QByteArray(4000, 'x')); // a longer file is replaced, not overwritten in place
    ASSERT_TRUE(example().Write(path()));
    EXPECT_EQ(get().toHex().toStdString(), kExample.toHex().toStdString());
    COrliskWave w;
    ASSERT_TRUE(w.Read(path()));
    EXPECT_EQ(
        std::tuple(w.Version, w.Name, w.SampleCount, w.SampleInterval, w.MaxIndex, w.MinIndex, w.Creator),
        std::tuple(3, QString("V(N1)"), 3, 1e-9f, 2, 1, QString("Torvex2")));
    EXPECT_EQ(w.DateText, QString("Saturday, December 05, 2026") + QChar(0)); // the terminator is kept
    EXPECT_EQ(w.Samples, example().Samples);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(WvfTest, RoundTripKeepsEveryFieldAndCutsOverlongText)
{
    COrliskWave a;
    a.Version = 7;
    a.Name = QString::fromUtf8("I(R1) \u20ac caf\u00e9"); // Windows-1252 beyond ASCII
    a.SetSamples({-1.5f, 2.25f, 1e-20f, 3e30f});
    float* floats[] = {&a.SpareA,   &a.SampleInterval,  &a.SpareB,     &a.SpareC,
                       &a.SpareD,   &a.FirstSampleTime, &a.TimeOffset, &a.MaxValue,
                       &a.MinValue, &a.Scale,           &a.SpareE,     &a.SpareF};
    for (int i = 0; i < 12; ++i)
        *floats[i] = 0.5f + float(i);
    for (int i = 0; i < 6; ++i)
        a.SpareFloats[i] = -float(i);
    a.MaxIndex = 4, a.MinIndex = 3, a.SpareShort = -2, a.SpareInt = 123456;
    a.Comment = "c", a.DateText = "", a.Creator = "x", a.Note = "note";
    ASSERT_TRUE(a.Write(path()));
    COrliskWave b;
    ASSERT_TRUE(b.Read(path()));
    EXPECT_EQ(b.Name, a.Name);
    EXPECT_EQ(b.Samples, a.Samples);
    EXPECT_EQ(b.DateText, QString(QChar(0))); // an empty date still takes its terminator
    // Every other field: written again (without the kept terminator) it gives the same bytes.
    b.DateText.chop(1);
    ASSERT_TRUE(b.Write(path("again.wvf")));
    EXPECT_EQ(get("again.wvf"), get());

    a = example();
    a.Comment = QString(40000, 'c');
    a.DateText = QString(40000, 'd');
    ASSERT_TRUE(a.Write(path()));
    ASSERT_TRUE(b.Read(path()));
    EXPECT_EQ(b.Comment.size(), 32767);
    EXPECT_EQ(b.DateText, QString(32766, 'd') + QChar(0));
    EXPECT_EQ(b.Samples, a.Samples);
}

TEST_F(WvfTest, DamagedFilesAreRefusedAndLeaveTheObjectAsItWas)
{
    const QString inputError = "Error:  Orlisk waveform input error, file=" + path();
    std::vector<std::pair<std::string, QByteArray>> damaged = {
        {"negative count", withWord(kExample, 9, -1, 4)},
        {"huge count", withWord(kExample, 9, 0x7fffffff, 4)},
        {"one sample too many", withWord(kExample, 9, 4, 4)},
        {"name past the end", withWord(kExample, 2, 0x7fff, 2)},
        {"date past the end", withWord(kExample, 101, 200, 2)},
        {"note past the end", withWord(kExample, 140, 100, 2)}};
    for (int n = 0; n < kExample.size(); ++n)
        damaged.push_back({"cut at " + std::to_string(n), kExample.left(n)});
    for (const auto& [what, bytes] : damaged) {
        put(bytes);
        COrliskWave w = example();
        w.Name = "before";
        ui.messages.clear();
        EXPECT_FALSE(w.Read(path())) << what;
        EXPECT_EQ(ui.messages, QStringList{inputError}) << what;
        EXPECT_EQ(w.Name, "before") << what;
        EXPECT_EQ(w.Samples, example().Samples) << what;
    }
    // Versions before 3 are refused before anything else is read.
    for (qint16 version : {2, 0, -1}) {
        put(withWord(kExample.left(2), 0, version, 2));
        COrliskWave w = example();
        ui.messages.clear();
        EXPECT_FALSE(w.Read(path()));
        EXPECT_EQ(ui.messages, QStringList{"Don't know how to handle old Orlisk waveform: " + path()});
        EXPECT_EQ(w.Version, version);
        EXPECT_EQ(w.Name, "V(N1)");
    }
    // A negative text count reads as an empty text; trailing bytes are ignored.
    put(withWord(kExample, 99, -5, 2) + "extra");
    COrliskWave w;
    EXPECT_TRUE(w.Read(path()));
    EXPECT_EQ(w.Comment, "");
    ui.messages.clear();
    EXPECT_FALSE(w.Read(path("absent.wvf")));
    EXPECT_EQ(ui.messages, QStringList{"Error:  Orlisk waveform input error, file=" + path("absent.wvf") +
                                       "\nNo such file or directory."});
}

TEST_F(WvfTest, FailedWriteKeepsTheOldFileAndSaysWhy)
{
    put("old");
    const ChildOutcome full = RunOnFullDisk(100, [this] { return example().Write(path()); });
    ASSERT_TRUE(full.finished);
    EXPECT_FALSE(full.succeeded);
    EXPECT_EQ(full.messages,
              QStringList{"Error:  Orlisk waveform write error, file=" + path() + "\nFile too large."});
    EXPECT_EQ(get(), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"w.wvf"}); // nothing left beside it
    EXPECT_FALSE(example().Write(dir.filePath("no/such/folder/w.wvf")));
    EXPECT_EQ(ui.messages,
              QStringList{"Error:  Orlisk waveform write error, file=" +
                          dir.filePath("no/such/folder/w.wvf") + "\nNo such file or directory."});
}

TEST(WvfValue, BetweenSamplesAndOnDegenerateWaveforms)
{
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    COrliskWave w = example();
    w.Samples[1] = 4.0f; // 4, 1, 0.5 from sample 1 at 10 - 5 ns
    w.FirstSampleTime = 10e-9f;
    w.TimeOffset = -5e-9f;
    for (const auto& [t, value] : {std::pair{-1.0, 0.0},
                                   {4.99e-9, 0.0},
                                   {5e-9, 4.0},
                                   {5.5e-9, 2.5},
                                   {6e-9, 1.0},
                                   {6.25e-9, 0.875},
                                   {7e-9, 0.5},
                                   {8e-9, 0.5},
                                   {1.0, 0.5}})
        EXPECT_NEAR(w.ValueAt(t), value, 1e-6) << "t=" << t;
    COrliskWave never; // never read a file
    never.SetSamples({3.0f});
    EXPECT_EQ(never.ValueAt(1.0), 0.0);
    COrliskWave empty = example();
    empty.SetSamples({});
    EXPECT_TRUE(empty.ValueAt(-1.0) == 0 && empty.ValueAt(0.0) == 0 && empty.ValueAt(1.0) == 0);

    w = example();
    w.SampleInterval = 0.0f; // every sample at time 0: the last one holds from then on
    EXPECT_EQ(std::tuple(w.ValueAt(-1e-9), w.ValueAt(0.0), w.ValueAt(1.0)), std::tuple(0.0, 0.5, 0.5));
    for (float interval : {nan, inf}) {
        w.SampleInterval = interval;
        for (double t : {-1.0, 0.0, 1e-9, 1.0})
            EXPECT_TRUE(std::isfinite(w.ValueAt(t)));
    }
    w = example();
    EXPECT_EQ(w.ValueAt(std::nan("")), 0.0);
    EXPECT_EQ(w.ValueAt(std::numeric_limits<double>::infinity()), 0.5);
    w.Samples = {0, inf, nan, 2.0f}; // damaged samples count as 0
    EXPECT_EQ(w.ValueAt(0.0), 0.0);
    EXPECT_NEAR(w.ValueAt(1e-9), 0.0, 1e-6);
    EXPECT_NEAR(w.ValueAt(1.5e-9), 1.0, 1e-6);
}

TEST(WvfHeader, DerivedValuesAndTheDateInEnglish)
{
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        std::vector<float> samples;
        float max, min;
        int maxIndex, minIndex;
        float scale;
    } cases[] = {
        {{-3, -1, -2, -1}, -1, -3, 2, 1, 1},       // all negative; first occurrence of the largest
        {{2, 2, 2}, 2, 2, 1, 1, 1},                // constant
        {{0, 250, 0}, 250, 0, 2, 1, 100},          // |d| = 250
        {{0.05f, 0, 0.05f}, 0.05f, 0, 1, 2, 0.1f}, // 0.05
        {{0, -0.5f}, 0, -0.5f, 1, 2, 1},           // 0.5
        {{nan, 1, inf, -inf, 3}, 3, 1, 5, 2, 1},   // non-finite samples take no part
        {{3e38f, -3e38f}, 3e38f, -3e38f, 1, 2, 1e38f},
        {{nan}, 1, 0, 1, 1, 1}, // nothing finite: the defaults stay
    };
    for (const auto& c : cases) {
        COrliskWave w;
        w.SetSamples(c.samples);
        w.DeriveHeaderValues();
        EXPECT_EQ(std::tuple(w.MaxValue, w.MinValue), std::tuple(c.max, c.min)) << c.samples.size();
        EXPECT_EQ(std::tuple(w.MaxIndex, w.MinIndex), std::tuple(c.maxIndex, c.minIndex)) << c.samples.size();
        EXPECT_FLOAT_EQ(w.Scale, c.scale) << c.samples.size() << " samples from " << c.samples[0];
    }

    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(COrliskWave::FormatDateText(QDate(2026, 12, 5)), "Saturday, December 05, 2026");
    EXPECT_EQ(COrliskWave::FormatDateText(QDate(2027, 5, 17)), "Monday, May 17, 2027");
    EXPECT_TRUE(COrliskWave().DateText.endsWith(QString::number(QDate::currentDate().year())));
    QLocale::setDefault(before);
}
