#pragma once

#include "CComponentSim.h"
#include "ElementClass.h"

#include <memory>

// The program's element of the class; null for Unrecognized and NoModel, which have none. Whoever
// runs a netlist document hands this to CSimulatorDoc::SetElementFactory.
std::unique_ptr<CComponentSim> CreateElement(ElementClass cls, CSimulatorDoc* doc);
