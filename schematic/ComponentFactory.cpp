// The object factory of the ribbon tools: the type table says which class a type's objects have,
// the class list whether the program has that class yet.
#include "CTorvex2Doc.h"

#include "CComponent.h"
#include "ComponentClasses.h"
#include "ComponentTypeId.h"
#include "UiServices.h"

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
    if (!cls || !cls->make) {
        const QString name = ComponentTypeName(typeId);
        ui().message(QStringLiteral("Cannot create %1: this program has no object class for it yet.")
                         .arg(name.isEmpty() ? QStringLiteral("objects of type %1").arg(typeId)
                                             : QStringLiteral("a \"%1\" object").arg(name)));
        return nullptr;
    }
    std::unique_ptr<CComponent> object = cls->make(typeId);
    // A current probe is built as a voltage source of its type, and starts in the first orientation.
    if (typeId == TypeCurrentProbe) object->Orientation = 1;
    return object;
}
