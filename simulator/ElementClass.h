#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The element class a statement's first letter and keyword choose.
enum class ElementClass {
    Unrecognized,
    NoModel, // recognised keywords that have no element (RPDIODE, PBDIODE, RAILGUN1)
    TLineC,
    VariableC,
    VarC,
    Capacitor,
    IdealDiode,
    Diode,
    CurrentSource,
    Transformer,
    TLineL,
    Inductor,
    VariableR,
    Resistor,
    Switch,
    LossyDielTLX,
    LossyDielTL,
    LossyTL,
    TransmissionLine,
    VoltageSource,
    Count // not a class: the number of values above
};

// The statement dispatcher's table.
ElementClass ChooseElementClass(const QStringList& tokens);

// The keyword of a part that a schematic can draw but that has no element of its own, from its
// statement's letter and first value token: "MOV", "OILSW" or "PLDIODE" beginning a resistor's value,
// "MITL0" or "MITL1" as a line's. The element of the letter runs such a part as a near short circuit.
// Empty for every other statement.
QString NoModelKeyword(QChar letter, QStringView firstValue);

// The warning that an element gives when it runs such a part (`keyword`) under the element's `name`.
QString NoModelElementWarning(const QString& name, const QString& keyword);
