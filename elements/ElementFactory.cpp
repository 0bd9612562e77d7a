#include "ElementFactory.h"

#include "CCurrentSourceSim.h"
#include "CDiodeSim.h"
#include "CIdealDiodeSim.h"
#include "CInductorSim.h"
#include "CLossyDielTLSim.h"
#include "CLossyDielTLXSim.h"
#include "CLossyTLSim.h"
#include "CResistorSim.h"
#include "CSwitchSim.h"
#include "CTLineCSim.h"
#include "CTLineLSim.h"
#include "CTransformerSim.h"
#include "CTransmissionLineSim.h"
#include "CVarCSim.h"
#include "CVariableCSim.h"
#include "CVariableRSim.h"
#include "CVoltageSourceSim.h"

#include <iterator>

namespace {

using Maker = std::unique_ptr<CComponentSim> (*)(CSimulatorDoc*);

template <class T> std::unique_ptr<CComponentSim> make(CSimulatorDoc* doc)
{
    return std::make_unique<T>(doc);
}

// Every class with an element, in the order of ElementClass (checked below).
constexpr std::pair<ElementClass, Maker> kElements[] = {
    {ElementClass::TLineC, make<CTLineCSim>},
    {ElementClass::VariableC, make<CVariableCSim>},
    {ElementClass::VarC, make<CVarCSim>},
    {ElementClass::Capacitor, make<CCapacitorSim>},
    {ElementClass::IdealDiode, make<CIdealDiodeSim>},
    {ElementClass::Diode, make<CDiodeSim>},
    {ElementClass::CurrentSource, make<CCurrentSourceSim>},
    {ElementClass::Transformer, make<CTransformerSim>},
    {ElementClass::TLineL, make<CTLineLSim>},
    {ElementClass::Inductor, make<CInductorSim>},
    {ElementClass::VariableR, make<CVariableRSim>},
    {ElementClass::Resistor, make<CResistorSim>},
    {ElementClass::Switch, make<CSwitchSim>},
    {ElementClass::LossyDielTLX, make<CLossyDielTLXSim>},
    {ElementClass::LossyDielTL, make<CLossyDielTLSim>},
    {ElementClass::LossyTL, make<CLossyTLSim>},
    {ElementClass::TransmissionLine, make<CTransmissionLineSim>},
    {ElementClass::VoltageSource, make<CVoltageSourceSim>},
};

constexpr size_t kFirstModelled = size_t(ElementClass::NoModel) + 1;

constexpr bool inEnumOrder()
{
    for (size_t i = 0; i < std::size(kElements); ++i)
        if (size_t(kElements[i].first) != kFirstModelled + i) return false;
    return kFirstModelled + std::size(kElements) == size_t(ElementClass::Count);
}
static_assert(inEnumOrder(), "one maker for every element class, in the order of ElementClass");

} // namespace

std::unique_ptr<CComponentSim> CreateElement(ElementClass cls, CSimulatorDoc* doc)
{
    const size_t i = size_t(cls) - kFirstModelled;
    if (size_t(cls) < kFirstModelled || i >= std::size(kElements)) return nullptr;
    return kElements[i].second(doc);
}
