#include "CVariableC.h"

#include "ComboSearch.h"
#include "DialogText.h"
#include "PartSymbol.h"

const ClassInfo CVariableC::Class = {"CVariableC", 3, false, &CCapacitor::Class,
                                     &CreatePersistent<CVariableC>};

namespace {

// The simulator upper-cases the whole netlist, so a keyword typed in any case is the keyword.
bool isKeyword(const QString& token, const char* keyword)
{
    return token.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

} // namespace

VariableCapacitorFields VariableCapacitorFields::FromValue(const QString& value)
{
    VariableCapacitorFields f;
    const QStringList tokens = splitAtBlanks(value);
    const auto token = [&](qsizetype i) { return tokens.value(i); };
    const auto has = [&](qsizetype i) { return i < tokens.size(); };

    qsizetype j = 1; // token 0 is "VARC"
    if (isKeyword(token(1), "TL")) {
        f.line = true;
        j = 2;
    }
    if (isKeyword(token(j), "STANDARD")) {
        f.law = Standard;
        if (has(j + 1)) {
            const int found = selectStringPrefix(f.dielectrics, -1, token(j + 1));
            if (found >= 0) f.dielectric = found;
        }
        if (has(j + 2)) f.zeroValue = token(j + 2);
        if (has(j + 3)) f.rating = token(j + 3);
        j += 4;
    }
    if (isKeyword(token(j), "FIXED")) {
        f.law = Fixed;
        if (has(j + 1)) f.fixedValue = token(j + 1);
        j += 2;
    }
    if (isKeyword(token(j), "POLYNOMIAL")) {
        f.law = Polynomial;
        // The coefficients are taken as typed, blanks and all, up to the end of the text.
        const qsizetype at = value.indexOf(QLatin1String("POLYNOMIAL"), 0, Qt::CaseInsensitive);
        QStringView rest = QStringView(value).mid(at + 10);
        while (rest.startsWith(QLatin1Char(' ')))
            rest = rest.mid(1);
        while (rest.endsWith(QLatin1Char(' ')))
            rest.chop(1);
        f.polynomial = rest.toString();
    }
    if (f.law == NoLaw) f.law = Standard;
    return f;
}

QString VariableCapacitorFields::Compose() const
{
    QString value = line ? QStringLiteral("VARC TL ") : QStringLiteral("VARC ");
    switch (law) {
    case Polynomial:
        return value + QStringLiteral("POLYNOMIAL ") + polynomial;
    case Fixed:
        return value + QStringLiteral("FIXED ") + fixedValue;
    default:
        return value + QStringLiteral("STANDARD ") + dielectrics.value(dielectric) + QLatin1Char(' ') +
               zeroValue + QLatin1Char(' ') + rating;
    }
}

CVariableC::CVariableC() : CCapacitor(Dialog{kDialogTemplate}) {}

CVariableC::CVariableC(quint32 typeId) : CCapacitor(Dialog{kDialogTemplate}, typeId) {}

CVariableC::CVariableC(const CComponent& source) : CCapacitor(Dialog{kDialogTemplate}, source) {}

void CVariableC::OnInitDialog()
{
    Fields = VariableCapacitorFields::FromValue(ValueBuffer);
}

bool CVariableC::OnOK()
{
    ValueBuffer = Fields.Compose();
    return true;
}

void CVariableC::Draw(Dc& dc)
{
    DrawSymbol(dc, *this);
    SymbolPainter s(dc, *this);
    if (!s) return;
    s.Line(72, -144, 360, 144);
    s.Line(360, 144, 288, 144);
    s.Line(360, 144, 360, 72);
}
