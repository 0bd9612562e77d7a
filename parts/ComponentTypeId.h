#pragma once

#include <QString>

// The type of a schematic object: the command id of the ribbon tool that places it.
enum ComponentTypeId : quint32 {
    TypeTerminal = 400,
    TypeDragBox = 401,
    TypeLabel = 402,
    TypePartSelectionTool = 500,
    TypeTextSelectionTool = 501,
    TypeWire = 502,
    TypeResistor = 510,
    TypeVariableResistor = 511,
    TypeResistiveSwitch = 512,
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
    TypeIdealDiode = 575,
    TypeRailgunModel = 600,
    TypeLossyMitlModel = 601,
    TypeLosslessMitlModel = 602,
    TypeRodpinchModel = 603,
    TypeOilSwitchModel = 604,
    TypePlanarDiodeModel = 605,
    TypeLossyLineWithResistance = 606,
    TypePinchedBeamDiodeModel = 607,
};

// The display name of a type ("Resistor", "Label"); empty for an id that has none.
QString ComponentTypeName(quint32 typeId);
