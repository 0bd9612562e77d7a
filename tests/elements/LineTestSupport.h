#pragma once
// Reaching the elements of a finished run by name.
#include "CComponentSim.h"
#include "CSimulatorDoc.h"

template <class T> T* findElement(const CSimulatorDoc& doc, const QString& name)
{
    for (const auto& e : doc.Elements())
        if (e->Name == name) return dynamic_cast<T*>(e.get());
    return nullptr;
}
