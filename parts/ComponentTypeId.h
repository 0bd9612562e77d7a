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

// What the program knows of a type of schematic object. The rows are in ComponentTypeId.cpp, the one
// list of types that the object factory, the class list, the ribbon and the component list read.
struct ComponentType {
    ComponentTypeId id;
    const char* name;      // the display name ("Resistor"), as the component list shows it
    const char* className; // the class of the objects of this type (as files name it); null: none
    // The element letter of the part's line in a netlist; 0 for objects that write no element line.
    char netlistLetter;
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
