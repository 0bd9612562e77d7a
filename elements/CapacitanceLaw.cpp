#include "CapacitanceLaw.h"

#include "CComponentSim.h"
#include "CSimulatorDoc.h"
#include "Text.h"
#include "UiServices.h"

#include <cmath>

void CapacitanceLaw::SetDielectric(const QString& name)
{
    Dielectric = name;
    DielectricMaterial = name == QLatin1String("HRS")   ? Material::HRS
                         : name == QLatin1String("Z5V") ? Material::Z5V
                                                        : Material::Other;
}

double CapacitanceLaw::Capacitance(double v) const
{
    switch ((Kind.isEmpty() ? QChar() : Kind[0]).unicode()) {
    case u'F':
        return Fixed;
    case u'P':
        return ((c3 * v + c2) * v + c1) * v + c0;
    case u'S': {
        if (DielectricMaterial == Material::Other) return 1e-12;
        const bool hrs = DielectricMaterial == Material::HRS;
        // Change of capacitance in percent against the applied voltage in percent of the rating: a
        // fitted cubic up to 110 %, continued by a straight line that meets it there.
        const double x = 100.0 * std::fabs(v / Vrated);
        double d = x <= 110.0 ? x * (((2.11247e-07 * x + 8.874e-06) * x - 0.00853) * x + 0.12766)
                              : -46.4304 - 0.3021 * (x - 110.0);
        if (hrs) d *= 0.45;
        return C0 * (1.0 + 0.01 * d);
    }
    default:
        return 1e-12;
    }
}

bool CapacitanceLaw::Usable(double c)
{
    return std::isfinite(c) && c > 0.0;
}

bool CapacitanceLaw::Parse(const CComponentSim& element, CSimulatorDoc& doc, const QStringList& tokens,
                           int first, double& initialVoltage)
{
    const auto refuse = [&](const char* text) {
        ui().message(QString::fromLatin1(text) + text::echo(element.Name));
        return false;
    };
    const QString kind = tokens.value(first);
    int icToken = 0;
    if (kind == QLatin1String("STANDARD"))
        icToken = first + 4;
    else if (kind == QLatin1String("FIXED"))
        icToken = first + 2;
    else if (kind == QLatin1String("POLYNOMIAL"))
        icToken = first + 5;
    else
        return refuse("Invalid Netlist.  Unrecongnized variable cap.: ");
    // Every form needs its initial-voltage token, so a short statement is refused before any value is
    // read.
    if (tokens.size() <= icToken) return refuse("Invalid Netlist.  Not enough arguments: ");

    Kind = kind;
    if (kind == QLatin1String("STANDARD")) {
        C0 = doc.ParseValue(tokens[first + 2]);
        SetDielectric(tokens[first + 1]);
        Vrated = doc.ParseValue(tokens[first + 3]);
        // The curve is read in percent of the rating's magnitude, so a negative rating reads as its
        // magnitude; a rating of 0, or one that is not finite, leaves no voltage with a capacitance.
        if (Vrated == 0.0 || !std::isfinite(Vrated)) return refuse("Invalid Netlist.  Invalid VRATED: ");
    } else if (kind == QLatin1String("FIXED")) {
        Fixed = doc.ParseValue(tokens[first + 1]);
    } else {
        c0 = doc.ParseValue(tokens[first + 1]);
        c1 = doc.ParseValue(tokens[first + 2]);
        c2 = doc.ParseValue(tokens[first + 3]);
        c3 = doc.ParseValue(tokens[first + 4]);
    }
    initialVoltage = doc.ParseValue(tokens[icToken].mid(3));
    return true;
}

bool CapacitanceTraces::Output(const CSimulatorDoc& doc, const QString& kind, int n, double* out) const
{
    const std::vector<double>* values = kind == QLatin1String("C")   ? &Capacitance
                                        : kind == QLatin1String("Q") ? &Charge
                                                                     : nullptr;
    if (!values) return false;
    const int h = doc.HistoryCount();
    for (int j = 0; j < n; ++j)
        out[j] = (*values)[size_t(h + j)];
    return true;
}

void CapacitanceTraces::AddNames(const CComponentSim& element, const QString& group, QStringList& list)
{
    if (group != QLatin1String("Special")) return;
    list << QStringLiteral("C(") + element.Name + QLatin1Char(')')
         << QStringLiteral("Q(") + element.Name + QLatin1Char(')');
}
