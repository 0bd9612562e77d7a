#include "ComponentTypeId.h"

QString ComponentTypeName(quint32 typeId)
{
    switch (typeId) {
    case TypeTerminal:
        return QStringLiteral("Terminal");
    case TypeDragBox:
        return QStringLiteral("DragBox");
    case TypeLabel:
        return QStringLiteral("Label");
    case TypePartSelectionTool:
        return QStringLiteral("Part Selection Tool");
    case TypeTextSelectionTool:
        return QStringLiteral("Text Selection Tool");
    case TypeWire:
        return QStringLiteral("Wire Drawing Tool");
    case TypeResistor:
        return QStringLiteral("Resistor");
    case TypeVariableResistor:
        return QStringLiteral("Variable Resistor");
    case TypeResistiveSwitch:
        return QStringLiteral("Resistive Switch");
    case TypeCapacitor:
        return QStringLiteral("Capacitor");
    case TypeInductor:
        return QStringLiteral("Inductor");
    case TypeVariableCapacitor:
        return QStringLiteral("Variable Capacitor");
    case TypeTransmissionLine:
        return QStringLiteral("Transmission Line");
    case TypeLossyTransmissionLine:
        return QStringLiteral("Lossy Transmission Line");
    case TypeLossyLineTransformer:
        return QStringLiteral("Lossy Transmission Line Transformer");
    case TypeGround:
        return QStringLiteral("Ground");
    case TypeVoltageSource:
        return QStringLiteral("Voltage Source");
    case TypeCurrentSource:
        return QStringLiteral("Current Source");
    case TypeVoltageProbe:
        return QStringLiteral("Voltage Probe");
    case TypeCurrentProbe:
        return QStringLiteral("Current Probe");
    case TypeBubbleConnector:
        return QStringLiteral("Bubble Connector");
    case TypeSubcircuitInterface:
        return QStringLiteral("Subcircuit Interface");
    case TypeIdealTransformer:
        return QStringLiteral("Ideal Transformer");
    case TypeDiode:
        return QStringLiteral("Diode");
    case TypeMetalOxideVaristor:
        return QStringLiteral("Metal-Oxide Varistor");
    case TypeLineInductor:
        return QStringLiteral("Transmission-Line Inductor");
    case TypeLineCapacitor:
        return QStringLiteral("Transmission-Line Capacitor");
    case TypeIdealDiode:
        return QStringLiteral("On/Off diode at v=0");
    case TypeRailgunModel:
        return QStringLiteral("Railgun Model");
    case TypeLossyMitlModel:
        return QStringLiteral("Lossy MITL Model");
    case TypeLosslessMitlModel:
        return QStringLiteral("Lossless MITL Model");
    case TypeRodpinchModel:
        return QStringLiteral("Rodpinch Model");
    case TypeOilSwitchModel:
        return QStringLiteral("Oil Switch Model");
    case TypePlanarDiodeModel:
        return QStringLiteral("Planar Diode Model");
    case TypeLossyLineWithResistance:
        return QStringLiteral("Lossy Transmission-Line w/ Resistance Input");
    case TypePinchedBeamDiodeModel:
        return QStringLiteral("Pinched-Beam Diode model");
    }
    return {};
}
