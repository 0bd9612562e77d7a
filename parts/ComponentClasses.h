#pragma once

class ClassRegistry;

// Registers every schematic object class of this build, so that files, undo snapshots and the
// clipboard can recreate their objects by class name. Registering twice changes nothing.
void RegisterComponentClasses(ClassRegistry& registry);
