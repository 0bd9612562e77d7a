#include "ComponentTypeId.h"

#include <algorithm>

namespace {

using enum NetlistForm;

// The class column names the class of the type's objects (ComponentClasses.cpp lists the classes);
// the models without a class make no object.
// clang-format off
constexpr ComponentType kTypes[] = {
//   id                            name                                           class                element and netlist form     counter ribbon tool
    {TypeTerminal,                 "Terminal",                                    "CDrawing",          0,   None,              0,   nullptr},
    {TypeDragBox,                  "DragBox",                                     "CDrawing",          0,   None,              0,   nullptr},
    {TypeLabel,                    "Label",                                       "CDrawing",          0,   None,              0,   nullptr},
    // The select tool places nothing; the factory's rule for ids without a class of their own still
    // makes a drawing object of it.
    {TypePartSelectionTool,        "Part Selection Tool",                         "CDrawing",          0,   None,              0,   "Select"},
    {TypeTextSelectionTool,        "Text Selection Tool",                         "CText",             0,   Parameters,        0,   "Text"},
    {TypeWire,                     "Wire Drawing Tool",                           "CDrawing",          0,   Wire,              0,   "Wire"},
    {TypeResistor,                 "Resistor",                                    "CResistor",         'R', TwoTerminal,       'R', "Resistor"},
    {TypeVariableResistor,         "Variable Resistor",                           "CVariableR",        'R', TwoTerminal,       'R', "Variable R"},
    {TypeResistiveSwitch,          "Resistive Switch",                            "CSwitch",           'S', TwoTerminal,       'S', "Switch"},
    {TypeCapacitor,                "Capacitor",                                   "CCapacitor",        'C', TwoTerminalWithIC, 'C', "Capacitor"},
    {TypeInductor,                 "Inductor",                                    "CInductor",         'L', TwoTerminalWithIC, 'L', "Inductor"},
    {TypeVariableCapacitor,        "Variable Capacitor",                          "CVariableC",        'C', TwoTerminalWithIC, 'C', "Variable C"},
    {TypeTransmissionLine,         "Transmission Line",                           "CTransmissionLine", 'T', Line,              'T', "Transmission Line"},
    {TypeLossyTransmissionLine,    "Lossy Transmission Line",                     "CLossyDielTL",      'T', Line,              'T', "Lossy TL"},
    {TypeLossyLineTransformer,     "Lossy Transmission Line Transformer",         "CLossyDielTLX",     'T', Line,              'T', "Lossy TL XFormer"},
    {TypeGround,                   "Ground",                                      "CDrawing",          0,   Ground,            0,   "Ground"},
    {TypeVoltageSource,            "Voltage Source",                              "CVoltageSource",    'V', TwoTerminal,       'V', "Voltage Source"},
    {TypeCurrentSource,            "Current Source",                              "CCurrentSource",    'I', TwoTerminal,       'I', "Current Source"},
    // A voltage probe's label names its node.
    {TypeVoltageProbe,             "Voltage Probe",                               "CDrawing",          0,   VoltageProbe,      'P', "Voltage Probe"},
    {TypeCurrentProbe,             "Current Probe",                               "CCurrentProbe",     'V', ZeroVoltSource,    'V', "Current Probe"},
    // Equal bubble labels join nodes.
    {TypeBubbleConnector,          "Bubble Connector",                            "CDrawing",          0,   Bubble,            'A', "Bubble"},
    // A block writes the lines of its file, not one of its own.
    {TypeSubcircuitInterface,      "Subcircuit Interface",                        "CSubcircuit",       0,   Block,             'X', "Subcircuit"},
    {TypeIdealTransformer,         "Ideal Transformer",                           "CTransformer",      'K', FourTerminal,      'K', "Transformer"},
    {TypeDiode,                    "Diode",                                       "CDiode",            'D', TwoTerminalWithIC, 'D', "Diode"},
    {TypeMetalOxideVaristor,       "Metal-Oxide Varistor",                        "CMOV",              'R', TwoTerminalWithIC, 'R', "MOV"},
    {TypeLineInductor,             "Transmission-Line Inductor",                  "CTLineL",           'L', TwoTerminalWithIC, 'L', "TL Inductor"},
    {TypeLineCapacitor,            "Transmission-Line Capacitor",                 "CTLineC",           'C', TwoTerminalWithIC, 'C', "TL Capacitor"},
    {TypeIdealDiode,               "On/Off diode at v=0",                         "CIdealDiode",       'D', TwoTerminal,       'D', "Ideal Diode"},
    {TypeRailgunModel,             "Railgun Model",                               nullptr,             0,   None,              0,   nullptr},
    {TypeLossyMitlModel,           "Lossy MITL Model",                            "CMITL1",            'T', FourTerminal,      'T', nullptr},
    {TypeLosslessMitlModel,        "Lossless MITL Model",                         "CMITL0",            'T', FourTerminal,      'T', nullptr},
    {TypeRodpinchModel,            "Rodpinch Model",                              nullptr,             0,   None,              0,   nullptr},
    {TypeOilSwitchModel,           "Oil Switch Model",                            "COilSwitch",        'R', TwoTerminal,       'R', "Oil Breakdown Switch"},
    {TypePlanarDiodeModel,         "Planar Diode Model",                          "CPlanarDiode",      'R', TwoTerminal,       'R', "Planar Vacuum Diode"},
    {TypeLossyLineWithResistance,  "Lossy Transmission-Line w/ Resistance Input", "CLossyTL",          'T', FourTerminal,      'T', "Lossy TL Resistance"},
    {TypePinchedBeamDiodeModel,    "Pinched-Beam Diode model",                    nullptr,             0,   None,              0,   nullptr},
};
// clang-format on

static_assert(std::is_sorted(std::begin(kTypes), std::end(kTypes),
                             [](const ComponentType& a, const ComponentType& b) { return a.id < b.id; }));
// A part whose netlist form writes an element line has the letter that starts it, and no other has one.
static_assert(std::all_of(std::begin(kTypes), std::end(kTypes), [](const ComponentType& t) {
    return (t.netlistLetter != 0) == WritesElement(t.netlist);
}));

} // namespace

std::span<const ComponentType> ComponentTypes()
{
    return kTypes;
}

const ComponentType* FindComponentType(quint32 typeId)
{
    const auto* row = std::lower_bound(std::begin(kTypes), std::end(kTypes), typeId,
                                       [](const ComponentType& t, quint32 id) { return t.id < id; });
    return row != std::end(kTypes) && row->id == typeId ? row : nullptr;
}

QString ComponentTypeName(quint32 typeId)
{
    const ComponentType* type = FindComponentType(typeId);
    return type ? QString::fromLatin1(type->name) : QString();
}
