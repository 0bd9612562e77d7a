#include "Text.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

namespace text {

// The C run-time formats and reads numbers in the process's LC_NUMERIC, which a Qt application
// takes from the user's environment: a decimal comma in much of Europe. Numbers in files and
// messages always use the C locale's point.
static locale_t cLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return c;
}

namespace {
// The C locale for the calling thread while it lives.
class CLocaleScope {
public:
    CLocaleScope() : m_previous(uselocale(cLocale())) {}
    ~CLocaleScope() { uselocale(m_previous); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t m_previous;
};
} // namespace

QString upperAscii(const QString& s)
{
    QString out = s;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z') c = QChar(char16_t(u - 32));
    }
    return out;
}

QString upper(const QString& s)
{
    QString out = s;
    char16_t* d = reinterpret_cast<char16_t*>(out.data());
    const qsizetype n = out.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = d[i];
        if (u < 0x80) {
            if (u >= u'a' && u <= u'z') d[i] = char16_t(u - 32);
        } else if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(d[i + 1])) {
            const char32_t capital = QChar::toUpper(QChar::surrogateToUcs4(u, d[i + 1]));
            if (QChar::requiresSurrogates(capital)) {
                d[i] = QChar::highSurrogate(capital);
                d[i + 1] = QChar::lowSurrogate(capital);
            }
            ++i;
        } else {
            const char32_t capital = QChar::toUpper(char32_t(u));
            if (!QChar::requiresSurrogates(capital)) d[i] = char16_t(capital);
        }
    }
    return out;
}

static bool isSpace(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}
static bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

double parseDouble(const QString& s, int* consumed)
{
    const int n = int(s.size());
    int i = 0;
    while (i < n && isSpace(s[i].unicode()))
        ++i;

    std::string buf; // the number in plain ASCII, read below with the C locale's strtod
    if (i < n && (s[i] == u'+' || s[i] == u'-')) buf += char(s[i++].unicode());
    int digits = 0;
    while (i < n && isDigit(s[i].unicode())) {
        buf += char(s[i++].unicode());
        ++digits;
    }
    if (i < n && s[i] == u'.') {
        buf += '.';
        ++i;
        while (i < n && isDigit(s[i].unicode())) {
            buf += char(s[i++].unicode());
            ++digits;
        }
    }
    if (digits == 0) {
        if (consumed) *consumed = 0;
        return 0.0;
    }
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        int j = i + 1;
        std::string exp = "e";
        if (j < n && (s[j] == u'+' || s[j] == u'-')) exp += char(s[j++].unicode());
        int expDigits = 0;
        while (j < n && isDigit(s[j].unicode())) {
            exp += char(s[j++].unicode());
            ++expDigits;
        }
        if (expDigits > 0) {
            buf += exp;
            i = j;
        }
    }
    if (consumed) *consumed = i;
    return strtod_l(buf.c_str(), nullptr, cLocale());
}

// Windows-1252 for 0x80..0x9F; the five unassigned bytes map to the control characters of the same value.
static const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                         0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                         0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                         0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QByteArray toAnsi(const QString& s)
{
    QByteArray out;
    out.reserve(s.size());
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out += char(u);
            continue;
        }
        char b = '?';
        for (int i = 0; i < 32; ++i)
            if (kCp1252High[i] == u) {
                b = char(0x80 + i);
                break;
            }
        out += b;
    }
    return out;
}

QString fromAnsi(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const unsigned char b = static_cast<unsigned char>(ch);
        out += QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b));
    }
    return out;
}

QString format(const char* fmt, ...)
{
    const CLocaleScope c;
    va_list ap;
    va_start(ap, fmt);
    va_list ap2;
    va_copy(ap2, ap);
    const int len = std::vsnprintf(nullptr, 0, fmt, ap);
    va_end(ap);
    std::string buf(len > 0 ? size_t(len) : 0, '\0');
    if (len > 0) std::vsnprintf(buf.data(), buf.size() + 1, fmt, ap2);
    va_end(ap2);
    return QString::fromStdString(buf);
}

QString echo(const QString& s, int limit)
{
    if (s.size() <= limit) return s;
    // A surrogate pair is not cut in two.
    int keep = limit;
    if (keep > 0 && s[keep - 1].isHighSurrogate()) --keep;
    return s.left(keep) + QChar(0x2026);
}

namespace {

enum class Encoding { Utf8, Utf16LE, Utf16BE };

Encoding withoutMark(QByteArrayView bytes)
{
    if (bytes.isEmpty() || std::memchr(bytes.data(), 0, size_t(bytes.size())) == nullptr)
        return Encoding::Utf8;
    qsizetype zeroEven = 0, zeroOdd = 0;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        zeroEven += bytes[i] == 0;
        zeroOdd += bytes[i + 1] == 0;
    }
    const qsizetype quarter = bytes.size() / 8;
    if (zeroOdd > quarter && zeroOdd >= zeroEven) return Encoding::Utf16LE;
    if (zeroEven > quarter) return Encoding::Utf16BE;
    return Encoding::Utf8;
}

QString fromUtf16(QByteArrayView bytes, Encoding order)
{
    QString s(bytes.size() / 2, Qt::Uninitialized);
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    char16_t* out = reinterpret_cast<char16_t*>(s.data());
    const int high = order == Encoding::Utf16BE ? 0 : 1;
    for (qsizetype i = 0; i < s.size(); ++i)
        out[i] = char16_t(b[2 * i + high] << 8 | b[2 * i + 1 - high]);
    return s;
}

// In place, in one pass: a netlist of tens of megabytes is read in the window.
void unifyLineEnds(QString& s)
{
    if (!s.contains(u'\r')) return;
    QChar* d = s.data();
    const qsizetype n = s.size();
    qsizetype w = 0;
    for (qsizetype r = 0; r < n; ++r) {
        if (d[r] != u'\r') {
            d[w++] = d[r];
            continue;
        }
        d[w++] = u'\n';
        if (r + 1 < n && d[r + 1] == u'\n') ++r;
    }
    s.truncate(w);
}

} // namespace

QString decode(QByteArrayView bytes)
{
    QString s;
    if (bytes.startsWith("\xFF\xFE"))
        s = fromUtf16(bytes.sliced(2), Encoding::Utf16LE);
    else if (bytes.startsWith("\xFE\xFF"))
        s = fromUtf16(bytes.sliced(2), Encoding::Utf16BE);
    else if (bytes.startsWith("\xEF\xBB\xBF"))
        s = QString::fromUtf8(bytes.sliced(3));
    else if (const Encoding e = withoutMark(bytes); e != Encoding::Utf8)
        s = fromUtf16(bytes, e);
    else
        s = QString::fromUtf8(bytes);
    unifyLineEnds(s);
    return s;
}

} // namespace text
