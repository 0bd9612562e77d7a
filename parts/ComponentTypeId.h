#pragma once

#include "CommandIds.h"

#include <QString>

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

// The display name of a type ("Resistor", "Label"); empty for an id that has none.
QString ComponentTypeName(quint32 typeId);
