#pragma once

#include <QStringList>

#include <memory>

class CComponentSim;
class CSimulatorDoc;

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
};

// The statement dispatcher's table.
ElementClass ChooseElementClass(const QStringList& tokens);

// A new element of the class, or null when that class is not built into this program.
std::unique_ptr<CComponentSim> CreateElement(ElementClass cls, CSimulatorDoc* doc);
