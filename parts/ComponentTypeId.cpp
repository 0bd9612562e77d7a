#include "ComponentTypeId.h"

#include <algorithm>

namespace {

// The class column names the class of the type's objects (ComponentClasses.cpp lists the classes);
// the models without a class make no object.
// clang-format off
constexpr ComponentType kTypes[] = {
//   id                           name                                            class                netlist counter ribbon tool
    {TypeTerminal,                "Terminal",                                     "CDrawing",          0,   0,   nullptr},
    {TypeDragBox,                 "DragBox",                                      "CDrawing",          0,   0,   nullptr},
    {TypeLabel,                   "Label",                                        "CDrawing",          0,   0,   nullptr},
    // The select tool places nothing; the factory's rule for ids without a class of their own still
    // makes a drawing object of it.
    {TypePartSelectionTool,       "Part Selection Tool",                          "CDrawing",          0,   0,   "Select"},
    {TypeTextSelectionTool,       "Text Selection Tool",                          "CText",             0,   0,   "Text"},
    {TypeWire,                    "Wire Drawing Tool",                            "CDrawing",          0,   0,   "Wire"},
    {TypeResistor,                "Resistor",                                     "CResistor",         'R', 'R', "Resistor"},
    {TypeVariableResistor,        "Variable Resistor",                            "CVariableR",        'R', 'R', "Variable R"},
    {TypeResistiveSwitch,         "Resistive Switch",                             "CSwitch",           'S', 'S', "Switch"},
    {TypeCapacitor,               "Capacitor",                                    "CCapacitor",        'C', 'C', "Capacitor"},
    {TypeInductor,                "Inductor",                                     "CInductor",         'L', 'L', "Inductor"},
    {TypeVariableCapacitor,       "Variable Capacitor",                           "CVariableC",        'C', 'C', "Variable C"},
    {TypeTransmissionLine,        "Transmission Line",                            "CTransmissionLine", 'T', 'T', "Transmission Line"},
    {TypeLossyTransmissionLine,   "Lossy Transmission Line",                      "CLossyDielTL",      'T', 'T', "Lossy TL"},
    {TypeLossyLineTransformer,    "Lossy Transmission Line Transformer",          "CLossyDielTLX",     'T', 'T', "Lossy TL XFormer"},
    {TypeGround,                  "Ground",                                       "CDrawing",          0,   0,   "Ground"},
    {TypeVoltageSource,           "Voltage Source",                               "CVoltageSource",    'V', 'V', "Voltage Source"},
    {TypeCurrentSource,           "Current Source",                               "CCurrentSource",    'I', 'I', "Current Source"},
    // A voltage probe's label names its node.
    {TypeVoltageProbe,            "Voltage Probe",                                "CDrawing",          0,   'P', "Voltage Probe"},
    {TypeCurrentProbe,            "Current Probe",                                "CCurrentProbe",     'V', 'V', "Current Probe"},
    // Equal bubble labels join nodes.
    {TypeBubbleConnector,         "Bubble Connector",                             "CDrawing",          0,   'A', "Bubble"},
    // A block writes the lines of its file, not one of its own.
    {TypeSubcircuitInterface,     "Subcircuit Interface",                         "CSubcircuit",       0,   'X', "Subcircuit"},
    {TypeIdealTransformer,        "Ideal Transformer",                            "CTransformer",      'K', 'K', "Transformer"},
    {TypeDiode,                   "Diode",                                        "CDiode",            'D', 'D', "Diode"},
    {TypeMetalOxideVaristor,      "Metal-Oxide Varistor",                         "CMOV",              'R', 'R', "MOV"},
    {TypeLineInductor,            "Transmission-Line Inductor",                   "CTLineL",           'L', 'L', "TL Inductor"},
    {TypeLineCapacitor,           "Transmission-Line Capacitor",                  "CTLineC",           'C', 'C', "TL Capacitor"},
    {TypeIdealDiode,              "On/Off diode at v=0",                          "CIdealDiode",       'D', 'D', "Ideal Diode"},
    {TypeRailgunModel,            "Railgun Model",                                nullptr,             0,   0,   nullptr},
    {TypeLossyMitlModel,          "Lossy MITL Model",                             "CMITL1",            'T', 'T', nullptr},
    {TypeLosslessMitlModel,       "Lossless MITL Model",                          "CMITL0",            'T', 'T', nullptr},
    {TypeRodpinchModel,           "Rodpinch Model",                               nullptr,             0,   0,   nullptr},
    {TypeOilSwitchModel,          "Oil Switch Model",                             "COilSwitch",        'R', 'R', "Oil Breakdown Switch"},
    {TypePlanarDiodeModel,        "Planar Diode Model",                           "CPlanarDiode",      'R', 'R', "Planar Vacuum Diode"},
    {TypeLossyLineWithResistance, "Lossy Transmission-Line w/ Resistance Input",  "CLossyTL",          'T', 'T', "Lossy TL Resistance"},
    {TypePinchedBeamDiodeModel,   "Pinched-Beam Diode model",                     nullptr,             0,   0,   nullptr},
};
// clang-format on

static_assert(std::is_sorted(std::begin(kTypes), std::end(kTypes),
                             [](const ComponentType& a, const ComponentType& b) { return a.id < b.id; }));

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
