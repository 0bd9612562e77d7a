#include "ComponentClasses.h"

#include "CComponent.h"

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

// A class joins the program here, with its header above and one line, e.g.
//     toolClass<CResistor>(),
// from then on the types that name it in the type table (ComponentTypeId.cpp) make its objects,
// and files holding it can be read. Take its name off the list of classes not yet built in the
// object factory's test at the same time.
constexpr ComponentClass kClasses[] = {
    storedClass<CComponent>(),
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
