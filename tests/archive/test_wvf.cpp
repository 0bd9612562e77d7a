#include "COrliskWave.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

namespace {

// The example waveform "V(N1)": three samples 0, 1, 0.5 one nanosecond apart, made on 5 December 2026.
// Written out field by field from the file layout, independently of the writer.
QByteArray exampleBytes() {
    const char* fields[] = {
        "0300", // Version 3
        "0500"
        "56284e3129", // Name "V(N1)"
        "03000000",   // SampleCount
        "00000000"
        "5f708930"
        "00000000"
        "0000803f"
        "0000803f", // SpareA, SampleInterval 1e-9, B, C, D
        "00000000"
        "00000000", // FirstSampleTime, TimeOffset
        "0000803f"
        "00000000"
        "02000000"
        "01000000",                                         // MaxValue 1, MinValue 0, indices 2, 1
        "0000803f",                                         // Scale 1
        "0000",                                             // SpareShort
        "000000000000000000000000000000000000000000000000", // SpareFloats
        "00000000"
        "00000000"
        "00000000", // SpareInt, SpareE, SpareF
        "0000",     // Comment ""
        "1c00"
        "53617475726461792c20446563656d6265722030352c2032303236"
        "00", // DateText, terminated
        "0700"
        "546f7276657832", // Creator "Torvex2"
        "0000",           // Note ""
        "0100"
        "03000000"
        "01000000", // trailer 1, N, 1
        "00000000"
        "0000803f"
        "0000003f", // samples 0, 1, 0.5
    };
    QByteArray hex;
    for (const char* f : fields)
        hex += f;
    return QByteArray::fromHex(hex);
}

// Offsets just behind each field of exampleBytes(): truncating there (or one byte earlier) must fail.
const int kFieldEnds[] = {2,  4,  9,  13, 17, 21,  25,  29,  33,  37,  41,  45,  49,  53,  57,  61,
                          63, 87, 91, 95, 99, 101, 103, 131, 133, 140, 142, 144, 148, 152, 156, 160};

COrliskWave example() {
    COrliskWave w;
    w.Version = 3;
    w.Name = "V(N1)";
    w.SampleInterval = 1e-9f;
    w.SetSamples({0.0f, 1.0f, 0.5f});
    w.DeriveHeaderValues();
    w.DateText = COrliskWave::FormatDateText(QDate(2026, 12, 5));
    return w;
}

struct WvfTest : ::testing::Test {
    ScriptedUiServices ui;
    QTemporaryDir dir;
    QString path(const QString& name = "w.wvf") const { return dir.filePath(name); }
    void put(const QByteArray& bytes, const QString& name = "w.wvf") const {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray get(const QString& name = "w.wvf") const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(WvfTest, WritesTheExampleByteForByte) {
    ASSERT_TRUE(example().Write(path()));
    EXPECT_EQ(get().toHex().toStdString(), exampleBytes().toHex().toStdString());
    // An existing longer file is replaced, not overwritten in place.
    put(QByteArray(4000, 'x'));
    ASSERT_TRUE(example().Write(path()));
    EXPECT_EQ(get(), exampleBytes());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(WvfTest, ReadsTheExample) {
    put(exampleBytes());
    COrliskWave w;
    ASSERT_TRUE(w.Read(path()));
    EXPECT_EQ(w.Version, 3);
    EXPECT_EQ(w.Name, "V(N1)");
    EXPECT_EQ(w.SampleCount, 3);
    EXPECT_EQ(w.SampleInterval, 1e-9f);
    EXPECT_EQ(w.MaxIndex, 2);
    EXPECT_EQ(w.MinIndex, 1);
    EXPECT_EQ(w.DateText, QString("Saturday, December 05, 2026") + QChar(0)); // the terminator is kept
    EXPECT_EQ(w.Creator, "Torvex2");
    ASSERT_EQ(w.Samples.size(), 4u);
    EXPECT_EQ(w.Samples[3], 0.5f);
}

TEST_F(WvfTest, RoundTripKeepsEveryField) {
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
}

TEST_F(WvfTest, OverlongTextIsCutToWhatItsCountCanHold) {
    COrliskWave a = example();
    a.Comment = QString(40000, 'c');
    a.DateText = QString(40000, 'd');
    ASSERT_TRUE(a.Write(path()));
    COrliskWave b;
    ASSERT_TRUE(b.Read(path()));
    EXPECT_EQ(b.Comment.size(), 32767);
    EXPECT_EQ(b.DateText, QString(32766, 'd') + QChar(0));
    EXPECT_EQ(b.Samples, a.Samples);
}

TEST_F(WvfTest, ValueAt) {
    COrliskWave w = example(); // samples 0, 1, 0.5 at 0, 1, 2 ns
    w.Samples[1] = 4.0f;       // 4, 1, 0.5
    w.FirstSampleTime = 10e-9f;
    w.TimeOffset = -5e-9f; // sample 1 at 5 ns
    struct Case {
        double t, value;
    } cases[] = {
        {-1.0, 0.0},      {4.99e-9, 0.0}, {5e-9, 4.0}, {5.5e-9, 2.5}, {6e-9, 1.0},
        {6.25e-9, 0.875}, {7e-9, 0.5},    {8e-9, 0.5}, {1.0, 0.5},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(w.ValueAt(c.t), c.value, 1e-6) << "t=" << c.t;

    COrliskWave never; // never read a file
    never.SetSamples({3.0f});
    EXPECT_EQ(never.ValueAt(1.0), 0.0);
}

TEST_F(WvfTest, ValueAtStaysFiniteOnDegenerateWaveforms) {
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    COrliskWave empty = example();
    empty.SetSamples({});
    for (double t : {-1.0, 0.0, 1.0})
        EXPECT_EQ(empty.ValueAt(t), 0.0);

    COrliskWave w = example();
    w.SampleInterval = 0.0f; // every sample at time 0: the last one holds from then on
    EXPECT_EQ(w.ValueAt(-1e-9), 0.0);
    EXPECT_EQ(w.ValueAt(0.0), 0.5);
    EXPECT_EQ(w.ValueAt(1.0), 0.5);
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

TEST_F(WvfTest, HeaderDerivation) {
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
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
    };
    for (const Case& c : cases) {
        COrliskWave w;
        w.SetSamples(c.samples);
        w.DeriveHeaderValues();
        EXPECT_EQ(w.MaxValue, c.max);
        EXPECT_EQ(w.MinValue, c.min);
        EXPECT_EQ(w.MaxIndex, c.maxIndex);
        EXPECT_EQ(w.MinIndex, c.minIndex);
        EXPECT_FLOAT_EQ(w.Scale, c.scale) << c.samples.size() << " samples from " << c.samples[0];
    }
    COrliskWave none; // nothing finite: the defaults stay
    none.SetSamples({nan});
    none.DeriveHeaderValues();
    EXPECT_EQ(none.MaxValue, 1.0f);
    EXPECT_EQ(none.MinValue, 0.0f);
    EXPECT_EQ(none.Scale, 1.0f);
}

TEST(WvfDate, EnglishNamesWhateverTheLocale) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(COrliskWave::FormatDateText(QDate(2026, 12, 5)), "Saturday, December 05, 2026");
    EXPECT_EQ(COrliskWave::FormatDateText(QDate(2024, 2, 29)), "Thursday, February 29, 2024");
    EXPECT_EQ(COrliskWave::FormatDateText(QDate(2027, 5, 17)), "Monday, May 17, 2027");
    EXPECT_EQ(COrliskWave().Creator, "Torvex2");
    EXPECT_TRUE(COrliskWave().DateText.endsWith(QString::number(QDate::currentDate().year())));
    QLocale::setDefault(before);
}

TEST_F(WvfTest, DamagedFilesAreRefusedAndLeaveTheObjectAsItWas) {
    const QByteArray good = exampleBytes();
    const QString inputError = "Error:  Orlisk waveform input error, file=" + path();
    auto withInt = [&](int offset, qint32 value) {
        QByteArray b = good;
        for (int i = 0; i < 4; ++i)
            b[offset + i] = char((quint32(value) >> (8 * i)) & 0xFF);
        return b;
    };
    auto withShort = [&](int offset, qint16 value) {
        QByteArray b = good;
        b[offset] = char(value & 0xFF);
        b[offset + 1] = char((quint16(value) >> 8) & 0xFF);
        return b;
    };
    std::vector<std::pair<std::string, QByteArray>> damaged = {
        {"empty", {}},
        {"negative count", withInt(9, -1)},
        {"huge count", withInt(9, 0x7fffffff)},
        {"one sample too many", withInt(9, 4)},
        {"name past the end", withShort(2, 0x7fff)},
        {"date past the end", withShort(101, 200)},
        {"note past the end", withShort(140, 100)},
        {"last sample cut", good.left(good.size() - 1)},
    };
    for (int end : kFieldEnds) {
        damaged.push_back({"cut at " + std::to_string(end), good.left(end)});
        damaged.push_back({"cut at " + std::to_string(end - 1), good.left(end - 1)});
    }
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

    // A negative text count reads as an empty text; trailing bytes are ignored.
    put(withShort(99, -5) + "extra");
    COrliskWave w;
    EXPECT_TRUE(w.Read(path()));
    EXPECT_EQ(w.Comment, "");

    COrliskWave missing;
    ui.messages.clear();
    EXPECT_FALSE(missing.Read(path("absent.wvf")));
    EXPECT_EQ(ui.messages, QStringList{"Error:  Orlisk waveform input error, file=" + path("absent.wvf")});
}

TEST_F(WvfTest, OldVersionsAreRefusedBeforeAnythingElseIsRead) {
    for (qint16 version : {2, 0, -1}) {
        QByteArray bytes = exampleBytes().left(2); // nothing but the version
        bytes[0] = char(version & 0xFF);
        bytes[1] = char((quint16(version) >> 8) & 0xFF);
        put(bytes);
        COrliskWave w = example();
        ui.messages.clear();
        EXPECT_FALSE(w.Read(path()));
        EXPECT_EQ(ui.messages, QStringList{"Don't know how to handle old Orlisk waveform: " + path()});
        EXPECT_EQ(w.Version, version);
        EXPECT_EQ(w.Name, "V(N1)");
    }
}

TEST_F(WvfTest, FailedWriteKeepsTheOldFile) {
    // A name one byte short of the limit leaves no room for the temporary file beside it.
    const QString name = QString(250, 'w');
    put("old", name);
    ASSERT_EQ(get(name), "old");
    EXPECT_FALSE(example().Write(path(name)));
    EXPECT_EQ(get(name), "old");
    EXPECT_EQ(ui.messages, QStringList{"Error:  Orlisk waveform write error, file=" + path(name)});

    ui.messages.clear();
    EXPECT_FALSE(example().Write(dir.filePath("no/such/folder/w.wvf")));
    EXPECT_EQ(ui.messages.size(), 1);
}
