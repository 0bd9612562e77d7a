#include "NetlistValue.h"

#include "Text.h"

namespace {

double multiplier(QStringView suffix)
{
    switch (suffix[0].unicode()) {
    case u'T':
        return 1e12;
    case u'G':
        return 1e9;
    case u'K':
        return 1e3;
    case u'M':
        if (suffix.startsWith(u"MEG")) return 1e6;
        if (suffix.startsWith(u"MIL")) return 25.4;
        return 1e-3;
    case u'U':
        return 1e-6;
    case u'N':
        return 1e-9;
    case u'P':
        return 1e-12;
    case u'F':
        return 1e-15;
    default:
        return 1.0; // A, H, V
    }
}

} // namespace

NetlistValue ReadNetlistValue(const QString& s)
{
    static const QString kSuffixLetters = QStringLiteral("KMGTUNPFHVA");
    qsizetype p = 0;
    while (p < s.size() && !kSuffixLetters.contains(s[p]))
        ++p;
    NetlistValue v;
    v.scaled = p < s.size();
    const QString number = s.left(p);
    int used = 0;
    v.value = text::parseDouble(number, &used);
    v.digits = used > 0;
    v.stray = used < number.size();
    if (v.scaled) v.value *= multiplier(QStringView(s).mid(p));
    return v;
}
