#include "COrliskWave.h"

#include "Files.h"
#include "Text.h"
#include "UiServices.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace {

const QString kInputError = QStringLiteral("Error:  Orlisk waveform input error, file=");
const QString kWriteError = QStringLiteral("Error:  Orlisk waveform write error, file=");
const QString kOldVersion = QStringLiteral("Don't know how to handle old Orlisk waveform: ");

// A text's count is a signed 16-bit number.
constexpr qsizetype kMaxTextBytes = 32767;

// Reads little-endian fields from a file's bytes. Every read checks the bytes that remain, so a
// count in a damaged file can never lead past the end or into a huge allocation.
class FieldReader {
public:
    explicit FieldReader(const QByteArray& bytes) : m_data(bytes.constData()), m_size(bytes.size()) {}

    qsizetype remaining() const { return m_size - m_pos; }

    bool raw(void* out, qsizetype n)
    {
        if (n < 0 || n > remaining()) return false;
        std::memcpy(out, m_data + m_pos, size_t(n));
        m_pos += n;
        return true;
    }
    template <class T> bool number(T& out)
    {
        unsigned char b[sizeof(T)];
        if (!raw(b, sizeof(T))) return false;
        std::conditional_t<sizeof(T) == 2, uint16_t, uint32_t> u = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            u |= decltype(u)(b[i]) << (8 * i);
        out = std::bit_cast<T>(u);
        return true;
    }
    // A count below 1 gives an empty text and reads nothing.
    bool text(QString& out)
    {
        int16_t count = 0;
        if (!number(count)) return false;
        if (count < 1) {
            out.clear();
            return true;
        }
        if (count > remaining()) return false;
        out = text::fromAnsi(QByteArray(m_data + m_pos, count));
        m_pos += count;
        return true;
    }

private:
    const char* m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

class FieldWriter {
public:
    template <class T> void number(T value)
    {
        const auto u = std::bit_cast<std::conditional_t<sizeof(T) == 2, uint16_t, uint32_t>>(value);
        for (size_t i = 0; i < sizeof(T); ++i)
            m_bytes += char((u >> (8 * i)) & 0xFF);
    }
    // `terminated` adds the zero byte that the date text carries inside its count.
    void text(const QString& s, bool terminated = false)
    {
        QByteArray bytes = text::toAnsi(s);
        const qsizetype limit = terminated ? kMaxTextBytes - 1 : kMaxTextBytes;
        if (bytes.size() > limit) bytes.truncate(limit);
        if (terminated) bytes += '\0';
        number(int16_t(bytes.size()));
        m_bytes += bytes;
    }
    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

const char* const kDays[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

} // namespace

COrliskWave::COrliskWave()
    : DateText(FormatDateText(QDate::currentDate())), Creator(QStringLiteral("Torvex2"))
{
}

QString COrliskWave::FormatDateText(const QDate& date)
{
    if (!date.isValid()) return {};
    return QString::fromLatin1(kDays[date.dayOfWeek() - 1]) + QStringLiteral(", ") +
           QString::fromLatin1(kMonths[date.month() - 1]) + QLatin1Char(' ') +
           QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0')) + QStringLiteral(", ") +
           QString::number(date.year());
}

bool COrliskWave::Read(const QString& path, bool* old)
{
    if (old) *old = false;
    // The path comes from a netlist statement and may be of any length.
    const QString shown = text::echo(path);
    const auto inputError = [&shown](const QString& reason = {}) {
        ui().message(files::WithReason(kInputError + shown, reason));
        return false;
    };
    QString reason;
    const std::optional<QByteArray> bytes = files::Read(path, files::Kind::Waveform, &reason);
    if (!bytes) return inputError(reason);

    FieldReader in(*bytes);
    int16_t version = 0;
    if (!in.number(version)) return inputError();
    if (version < 3) {
        Version = version;
        if (old) *old = true;
        ui().message(kOldVersion + shown);
        return false;
    }

    // Read into a fresh object so that a damaged file leaves this one as it was.
    COrliskWave w;
    w.Version = version;
    int16_t trailerWord = 0;
    int32_t trailerCount = 0, trailerWord2 = 0;
    const bool ok =
        in.text(w.Name) && in.number(w.SampleCount) && in.number(w.SpareA) && in.number(w.SampleInterval) &&
        in.number(w.SpareB) && in.number(w.SpareC) && in.number(w.SpareD) && in.number(w.FirstSampleTime) &&
        in.number(w.TimeOffset) && in.number(w.MaxValue) && in.number(w.MinValue) && in.number(w.MaxIndex) &&
        in.number(w.MinIndex) && in.number(w.Scale) && in.number(w.SpareShort) &&
        in.number(w.SpareFloats[0]) && in.number(w.SpareFloats[1]) && in.number(w.SpareFloats[2]) &&
        in.number(w.SpareFloats[3]) && in.number(w.SpareFloats[4]) && in.number(w.SpareFloats[5]) &&
        in.number(w.SpareInt) && in.number(w.SpareE) && in.number(w.SpareF) && in.text(w.Comment) &&
        in.text(w.DateText) && in.text(w.Creator) && in.text(w.Note) && in.number(trailerWord) &&
        in.number(trailerCount) && in.number(trailerWord2);
    if (!ok) return inputError();
    const int32_t n = w.SampleCount;
    if (n < 0 || qint64(n) * 4 > in.remaining()) return inputError();
    w.Samples.assign(size_t(n) + 1, 0.0f);
    for (int32_t i = 1; i <= n; ++i)
        in.number(w.Samples[size_t(i)]);

    *this = std::move(w);
    return true;
}

bool COrliskWave::Write(const QString& path) const
{
    FieldWriter out;
    out.number(Version);
    out.text(Name);
    out.number(SampleCount);
    for (float f :
         {SpareA, SampleInterval, SpareB, SpareC, SpareD, FirstSampleTime, TimeOffset, MaxValue, MinValue})
        out.number(f);
    out.number(MaxIndex);
    out.number(MinIndex);
    out.number(Scale);
    out.number(SpareShort);
    for (float f : SpareFloats)
        out.number(f);
    out.number(SpareInt);
    out.number(SpareE);
    out.number(SpareF);
    out.text(Comment);
    out.text(DateText, true);
    out.text(Creator);
    out.text(Note);
    out.number(int16_t(1));
    out.number(SampleCount);
    out.number(int32_t(1));
    // Samples the object lacks are stored as 0 rather than read past the array.
    for (int32_t i = 1; i <= SampleCount; ++i)
        out.number(size_t(i) < Samples.size() ? Samples[size_t(i)] : 0.0f);

    QString reason;
    if (!files::Write(path, out.bytes(), &reason)) {
        ui().message(files::WithReason(kWriteError + path, reason));
        return false;
    }
    return true;
}

double COrliskWave::SampleValue(int32_t i) const
{
    const float v = Samples[size_t(i)];
    return std::isfinite(v) ? double(v) : 0.0;
}

double COrliskWave::ValueAt(double t) const
{
    if (Version == 0) return 0.0;
    const int32_t n = std::min<qint64>(SampleCount, qint64(Samples.size()) - 1);
    if (n < 1) return 0.0;
    const double start = double(FirstSampleTime) + double(TimeOffset);
    const double interval = double(SampleInterval);
    // Every sample at one instant: the division below would give NaN at that instant.
    if (interval == 0.0) return t >= start ? SampleValue(n) : 0.0;
    const double u = (t - start) / interval + 1.0;
    if (!(u >= 1.0)) return 0.0; // before the first sample, or no time at all (NaN)
    if (u >= double(n)) return SampleValue(n);
    const auto i = int32_t(u);
    const double f = u - i;
    return (1.0 - f) * SampleValue(i) + f * SampleValue(i + 1);
}

void COrliskWave::SetSamples(const std::vector<float>& values)
{
    Samples.assign(values.size() + 1, 0.0f);
    std::copy(values.begin(), values.end(), Samples.begin() + 1);
    SampleCount = int32_t(values.size());
}

void COrliskWave::DeriveHeaderValues()
{
    const int32_t n = std::min<qint64>(SampleCount, qint64(Samples.size()) - 1);
    int32_t maxIndex = 0, minIndex = 0;
    for (int32_t i = 1; i <= n; ++i) {
        const float v = Samples[size_t(i)];
        if (!std::isfinite(v)) continue;
        if (maxIndex == 0 || v > Samples[size_t(maxIndex)]) maxIndex = i;
        if (minIndex == 0 || v < Samples[size_t(minIndex)]) minIndex = i;
    }
    if (maxIndex == 0) return;
    MaxIndex = maxIndex;
    MinIndex = minIndex;
    MaxValue = Samples[size_t(maxIndex)];
    MinValue = Samples[size_t(minIndex)];

    const float d = MaxValue - MinValue;
    if (d == 0.0f) {
        Scale = 1.0f;
        return;
    }
    // The range of two finite floats can overflow a float; its logarithm then comes from the double.
    const float lg = std::isfinite(d) ? std::log10(std::fabs(d))
                                      : float(std::log10(std::fabs(double(MaxValue) - MinValue)));
    Scale = std::pow(10.0f, std::trunc(lg));
}
