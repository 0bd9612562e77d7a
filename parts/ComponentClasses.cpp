#include "ComponentClasses.h"

#include "CComponent.h"

// The class headers, by family (each family in its own group, so that classes of different families
// join without touching each other's lines).

// Drawing objects, text, sub-circuit block.
#include "CDrawing.h"
#include "CSubcircuit.h"
#include "CText.h"

// Resistor family.
#include "CIdealDiode.h"
#include "COilSwitch.h"
#include "CPlanarDiode.h"
#include "CResistor.h"
#include "CSwitch.h"
#include "CVariableR.h"

// Capacitor family, transformer, diode.
#include "CCapacitor.h"
#include "CDiode.h"
#include "CInductor.h"
#include "CTransformer.h"
#include "CVariableC.h"

// Transmission lines.
#include "CTransmissionLine.h"

// Sources and probes.
#include "CCurrentProbe.h"
#include "CCurrentSource.h"
#include "CVoltageSource.h"

namespace {

// A class whose objects the ribbon tools place: it has a constructor from the type id.
template <class T> constexpr ComponentClass toolClass()
{
    return {&T::Class,
            [](quint32 typeId) -> std::unique_ptr<CComponent> { return std::make_unique<T>(typeId); }};
}
// A class whose objects only come from files, snapshots and the clipboard.
template <class T> constexpr ComponentClass storedClass()
{
    return {&T::Class, nullptr};
}

// A class joins the program here, with its header above and one line in its family's group, e.g.
//     toolClass<CResistor>(),
// From then on the types that name it in the type table (ComponentTypeId.cpp) make its objects, and
// files holding it can be read.
constexpr ComponentClass kClasses[] = {
    storedClass<CComponent>(),
    // Drawing objects, text, sub-circuit block.
    toolClass<CDrawing>(),
    toolClass<CText>(),
    toolClass<CSubcircuit>(),
    // Resistor family.
    toolClass<CResistor>(),
    toolClass<CVariableR>(),
    toolClass<CSwitch>(),
    toolClass<CIdealDiode>(),
    toolClass<COilSwitch>(),
    toolClass<CPlanarDiode>(),
    // Capacitor family, transformer, diode.
    // clang-format off
    toolClass<CCapacitor>(),
    toolClass<CVariableC>(),
    toolClass<CMOV>(),
    toolClass<CInductor>(),
    toolClass<CTransformer>(),
    toolClass<CDiode>(),
    // clang-format on
    // Transmission lines.
    // clang-format off
    toolClass<CTransmissionLine>(),
    toolClass<CLossyDielTL>(),
    toolClass<CLossyDielTLX>(),
    toolClass<CLossyTL>(),
    toolClass<CMITL0>(),
    toolClass<CMITL1>(),
    toolClass<CTLineC>(),
    toolClass<CTLineL>(),
    storedClass<CVariableTL>(),
    storedClass<CVariableZ>(),
    // clang-format on
    // Sources and probes.
    toolClass<CVoltageSource>(),
    toolClass<CCurrentSource>(),
    toolClass<CCurrentProbe>(),
};

} // namespace

std::span<const ComponentClass> ComponentClasses()
{
    return kClasses;
}

const ComponentClass* FindComponentClass(QByteArrayView name)
{
    for (const ComponentClass& c : kClasses)
        if (QByteArrayView(c.info->name) == name) return &c;
    return nullptr;
}

void RegisterComponentClasses(ClassRegistry& registry)
{
    for (const ComponentClass& c : kClasses)
        registry.add(*c.info);
}
