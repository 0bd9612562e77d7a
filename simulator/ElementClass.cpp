#include "ElementClass.h"

#include "Text.h"

namespace {

struct NoModelPart {
    char16_t letter;
    const char* keyword;
    // A resistor's value is read as a number, so whatever follows the keyword in its token is still
    // the keyword's value; a line's keyword stands alone before its values.
    bool prefix;
};

constexpr NoModelPart kNoModelParts[] = {
    {u'R', "MOV", true},    {u'R', "OILSW", true},  {u'R', "PLDIODE", true},
    {u'T', "MITL0", false}, {u'T', "MITL1", false},
};

} // namespace

QString NoModelKeyword(QChar letter, QStringView firstValue)
{
    for (const NoModelPart& part : kNoModelParts) {
        if (letter != part.letter) continue;
        const QLatin1StringView keyword(part.keyword);
        if (part.prefix ? firstValue.startsWith(keyword) : firstValue == keyword) return QString(keyword);
    }
    return {};
}

QString NoModelElementWarning(const QString& name, const QString& keyword)
{
    return QStringLiteral("Warning:  ") + text::echo(name) + QStringLiteral(" (") + keyword +
           QStringLiteral(") has no simulation model of its own and runs as a near short circuit.");
}
