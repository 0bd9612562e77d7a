#pragma once

#include "CommandIds.h"

#include <QString>

#include <span>

// The type of a schematic object: the command id of the ribbon tool that places it. The types
// whose tools have names of their own take their numbers from there.
enum ComponentTypeId : quint32 {
    TypeTerminal = 400,
    TypeDragBox = 401,
    TypeLabel = 402,
    TypePartSelectionTool = 500,
    TypeTextSelectionTool = 501,
    TypeWire = 502,
    TypeResistor = ID_Parts_R,
    TypeVariableResistor = ID_Parts_VariableR,
    TypeResistiveSwitch = ID_Parts_Switch,
    TypeCapacitor = 520,
    TypeInductor = 521,
    TypeVariableCapacitor = 522,
    TypeTransmissionLine = 530,
    TypeLossyTransmissionLine = 531,
    TypeLossyLineTransformer = 532,
    TypeGround = 540,
    TypeVoltageSource = 541,
    TypeCurrentSource = 542,
    TypeVoltageProbe = 550,
    TypeCurrentProbe = 551,
    TypeBubbleConnector = 560,
    TypeSubcircuitInterface = 561,
    TypeIdealTransformer = 570,
    TypeDiode = 571,
    TypeMetalOxideVaristor = 572,
    TypeLineInductor = 573,
    TypeLineCapacitor = 574,
    TypeIdealDiode = ID_Parts_IdealDiode,
    TypeRailgunModel = 600,
    TypeLossyMitlModel = 601,
    TypeLosslessMitlModel = 602,
    TypeRodpinchModel = 603,
    TypeOilSwitchModel = ID_Parts_OilSwitch,
    TypePlanarDiodeModel = ID_Parts_PlanarDiode,
    TypeLossyLineWithResistance = 606,
    TypePinchedBeamDiodeModel = 607,
};

// What the objects of a type are to the netlist writer. The labels and pins it reads come from the
// object's own attachment layout: name label, value label, IC label, then the pins.
enum class NetlistForm : quint8 {
    None,              // writes nothing and names no node
    TwoTerminal,       // "name node1 node2 value"
    TwoTerminalWithIC, // "name node1 node2 value ic"
    FourTerminal,      // "name node1 node2 node3 node4 value ic", the value without its commas
    Line,              // four-terminal, and its return pins 2 and 4 are ground where they meet no other pin
    ZeroVoltSource,    // "name node1 node2 DC 0": the current probe, read by its branch current
    Block,             // the netlist of the file it stands for, written with the block's prefix
    Wire,              // joins the nodes of its two ends
    Ground,            // its node is "0"
    Bubble,            // its label names its node, shared by every block and the top level
    VoltageProbe,      // its label names its node within its own block
    Parameters,        // a text that may declare "PARAMS:" name=value pairs
};
// The forms that write an element line.
constexpr bool WritesElement(NetlistForm form)
{
    return form >= NetlistForm::TwoTerminal && form <= NetlistForm::ZeroVoltSource;
}

// What the program knows of a type of schematic object. The rows are in ComponentTypeId.cpp, the one
// list of types that the object factory, the class list, the ribbon and the component list read.
struct ComponentType {
    ComponentTypeId id;
    const char* name;      // the display name ("Resistor"), as the component list shows it
    const char* className; // the class of the objects of this type (as files name it); null: none
    // The element letter of the part's line in a netlist; 0 for objects that write no element line.
    char netlistLetter;
    NetlistForm netlist; // what its objects write into a netlist, or which nodes they name

    // The designator counter that names a new object (its prefix letter); 0 for unnamed objects.
    char counterLetter;
    const char* ribbonLabel; // the text of its tool on the "Schematic" tab; null: no tool there
};

// Every type, by id.
std::span<const ComponentType> ComponentTypes();
// The row of a type; null for an id that is no type.
const ComponentType* FindComponentType(quint32 typeId);
// The display name of a type ("Resistor", "Label"); empty for an id that is no type.
QString ComponentTypeName(quint32 typeId);
