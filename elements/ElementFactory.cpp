// Creates the element object for a statement's class. An element family that is not part of this
// build leaves its statements unrecognised.
#include "CComponentSim.h"
#include "ElementClass.h"

#if __has_include("CResistorSim.h")
#include "CResistorSim.h"
#endif
#if __has_include("CSwitchSim.h")
#include "CSwitchSim.h"
#endif
#if __has_include("CIdealDiodeSim.h")
#include "CIdealDiodeSim.h"
#endif
#if __has_include("CVariableRSim.h")
#include "CVariableRSim.h"
#endif
#if __has_include("CCapacitorSim.h")
#include "CCapacitorSim.h"
#endif
#if __has_include("CInductorSim.h")
#include "CInductorSim.h"
#endif
#if __has_include("CVarCSim.h")
#include "CVarCSim.h"
#endif
#if __has_include("CTransformerSim.h")
#include "CTransformerSim.h"
#endif
#if __has_include("CDiodeSim.h")
#include "CDiodeSim.h"
#endif
#if __has_include("CTransmissionLineSim.h")
#include "CTransmissionLineSim.h"
#endif
#if __has_include("CTLineCSim.h")
#include "CTLineCSim.h"
#endif
#if __has_include("CTLineLSim.h")
#include "CTLineLSim.h"
#endif
#if __has_include("CLossyDielTLSim.h")
#include "CLossyDielTLSim.h"
#endif
#if __has_include("CLossyDielTLXSim.h")
#include "CLossyDielTLXSim.h"
#endif
#if __has_include("CLossyTLSim.h")
#include "CLossyTLSim.h"
#endif
#if __has_include("CVariableCSim.h")
#include "CVariableCSim.h"
#endif
#if __has_include("CVoltageSourceSim.h")
#include "CVoltageSourceSim.h"
#endif
#if __has_include("CCurrentSourceSim.h")
#include "CCurrentSourceSim.h"
#endif

namespace {
template <class T> std::unique_ptr<CComponentSim> makeElement(CSimulatorDoc* doc)
{
    return std::make_unique<T>(doc);
}
} // namespace

std::unique_ptr<CComponentSim> CreateElement(ElementClass cls, CSimulatorDoc* doc)
{
    switch (cls) {
#if __has_include("CResistorSim.h")
    case ElementClass::Resistor:
        return makeElement<CResistorSim>(doc);
#endif
#if __has_include("CSwitchSim.h")
    case ElementClass::Switch:
        return makeElement<CSwitchSim>(doc);
#endif
#if __has_include("CIdealDiodeSim.h")
    case ElementClass::IdealDiode:
        return makeElement<CIdealDiodeSim>(doc);
#endif
#if __has_include("CVariableRSim.h")
    case ElementClass::VariableR:
        return makeElement<CVariableRSim>(doc);
#endif
#if __has_include("CCapacitorSim.h")
    case ElementClass::Capacitor:
        return makeElement<CCapacitorSim>(doc);
#endif
#if __has_include("CInductorSim.h")
    case ElementClass::Inductor:
        return makeElement<CInductorSim>(doc);
#endif
#if __has_include("CVarCSim.h")
    case ElementClass::VarC:
        return makeElement<CVarCSim>(doc);
#endif
#if __has_include("CTransformerSim.h")
    case ElementClass::Transformer:
        return makeElement<CTransformerSim>(doc);
#endif
#if __has_include("CDiodeSim.h")
    case ElementClass::Diode:
        return makeElement<CDiodeSim>(doc);
#endif
#if __has_include("CTransmissionLineSim.h")
    case ElementClass::TransmissionLine:
        return makeElement<CTransmissionLineSim>(doc);
#endif
#if __has_include("CTLineCSim.h")
    case ElementClass::TLineC:
        return makeElement<CTLineCSim>(doc);
#endif
#if __has_include("CTLineLSim.h")
    case ElementClass::TLineL:
        return makeElement<CTLineLSim>(doc);
#endif
#if __has_include("CLossyDielTLSim.h")
    case ElementClass::LossyDielTL:
        return makeElement<CLossyDielTLSim>(doc);
#endif
#if __has_include("CLossyDielTLXSim.h")
    case ElementClass::LossyDielTLX:
        return makeElement<CLossyDielTLXSim>(doc);
#endif
#if __has_include("CLossyTLSim.h")
    case ElementClass::LossyTL:
        return makeElement<CLossyTLSim>(doc);
#endif
#if __has_include("CVariableCSim.h")
    case ElementClass::VariableC:
        return makeElement<CVariableCSim>(doc);
#endif
#if __has_include("CVoltageSourceSim.h")
    case ElementClass::VoltageSource:
        return makeElement<CVoltageSourceSim>(doc);
#endif
#if __has_include("CCurrentSourceSim.h")
    case ElementClass::CurrentSource:
        return makeElement<CCurrentSourceSim>(doc);
#endif
    default:
        return nullptr;
    }
}
