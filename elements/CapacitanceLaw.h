#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class CComponentSim;
class CSimulatorDoc;

// The voltage-dependent capacitance of the variable capacitors (the lumped one and the line-built
// one): a fixed value, a cubic polynomial, or the measured curve of a ceramic dielectric.
struct CapacitanceLaw {
    QString Kind;       // "FIXED", "POLYNOMIAL" or "STANDARD"
    QString Dielectric; // STANDARD: "Z5V" or "HRS" (any other gives 1e-12 F)
    enum class Material { Other, Z5V, HRS };
    Material DielectricMaterial = Material::Other; // the dielectric, named once rather than every step
    void SetDielectric(const QString& name);
    double Vrated = 0;                     // STANDARD: rated voltage, volts
    double C0 = 0;                         // STANDARD: nominal capacitance, farads
    double Fixed = 0;                      // FIXED: capacitance, farads
    double c0 = 0, c1 = 0, c2 = 0, c3 = 0; // POLYNOMIAL coefficients, farads per volt^n

    // C(v) in farads. Not bounded: a law may give a value that is zero, negative or not finite.
    double Capacitance(double v) const;

    // A capacitance an element can be built on: finite and above zero.
    static bool Usable(double c);

    // Reads the law from tokens[first] (the kind word) on and the initial voltage from the token that
    // follows the law's values ("IC=v": its first three characters are dropped unread). The caller has
    // numbered the element's nodes and tested its own minimum count. Shows the message, followed by
    // the element's name, and returns false when a token is missing, the kind is unknown or the
    // parameters leave no voltage with a usable capacitance.
    bool Parse(const CComponentSim& element, CSimulatorDoc& doc, const QStringList& tokens, int first,
               double& initialVoltage);
};

// The "C" (capacitance in force) and "Q" (charge moved in since the start) traces that both variable
// capacitors keep, per results column.
struct CapacitanceTraces {
    std::vector<double> Capacitance;
    std::vector<double> Charge;

    // Fills out[0..n-1] from column h on for kind "C" or "Q"; false for any other kind.
    bool Output(const CSimulatorDoc& doc, const QString& kind, int n, double* out) const;
    // Adds C(name) and Q(name) to the "Special" group.
    static void AddNames(const CComponentSim& element, const QString& group, QStringList& list);
};
