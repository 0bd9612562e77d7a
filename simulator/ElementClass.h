#pragma once

#include <QStringList>

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
