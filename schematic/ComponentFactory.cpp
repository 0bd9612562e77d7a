// The object factory of the ribbon tools: the type table says which class a type's objects have.
#include "CTorvex2Doc.h"

#include "CComponent.h"
#include "ComponentClasses.h"
#include "ComponentTypeId.h"

namespace {
// The class of the objects of an id that the type table does not know.
constexpr const char* kDrawingClass = "CDrawing";
} // namespace

std::unique_ptr<CComponent> CTorvex2Doc::CreateComponent(quint32 typeId)
{
    const ComponentType* type = FindComponentType(typeId);
    const char* className = type ? type->className : kDrawingClass;
    if (!className) return nullptr; // the models that have no object
    const ComponentClass* cls = FindComponentClass(className);
    return cls && cls->make ? cls->make(typeId) : nullptr;
}
