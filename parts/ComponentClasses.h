#pragma once

#include <QByteArrayView>

#include <memory>
#include <span>

class CComponent;
class ClassRegistry;
struct ClassInfo;

// A class of schematic objects that the program has: its run-time class (the name files store and
// the factory that recreates an object from a file) and its type constructor.
struct ComponentClass {
    const ClassInfo* info;
    // A new object of a type, built as a ribbon tool makes it; null for a class no tool places.
    std::unique_ptr<CComponent> (*make)(quint32 typeId);
};

// Every class of schematic objects that the program has.
std::span<const ComponentClass> ComponentClasses();
// The class of that name; null for a name that is no class of the program.
const ComponentClass* FindComponentClass(QByteArrayView name);

// Registers every class of schematic objects, so that files, undo snapshots and the clipboard can
// recreate their objects by class name. Registering twice changes nothing.
void RegisterComponentClasses(ClassRegistry& registry);
