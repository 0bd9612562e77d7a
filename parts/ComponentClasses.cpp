// The schematic object classes of this build. A class joins when its header is in this folder; each
// such class has a static `Class` of its own.
#include "ComponentClasses.h"

#include "CComponent.h"

#if __has_include("CDrawing.h")
#include "CDrawing.h"
#endif
#if __has_include("CText.h")
#include "CText.h"
#endif
#if __has_include("CResistor.h")
#include "CResistor.h"
#endif
#if __has_include("CVariableR.h")
#include "CVariableR.h"
#endif
#if __has_include("CSwitch.h")
#include "CSwitch.h"
#endif
#if __has_include("CIdealDiode.h")
#include "CIdealDiode.h"
#endif
#if __has_include("COilSwitch.h")
#include "COilSwitch.h"
#endif
#if __has_include("CPlanarDiode.h")
#include "CPlanarDiode.h"
#endif
#if __has_include("CCapacitor.h")
#include "CCapacitor.h"
#endif
#if __has_include("CVariableC.h")
#include "CVariableC.h"
#endif
#if __has_include("CMOV.h")
#include "CMOV.h"
#endif
#if __has_include("CInductor.h")
#include "CInductor.h"
#endif
#if __has_include("CDiode.h")
#include "CDiode.h"
#endif
#if __has_include("CTransformer.h")
#include "CTransformer.h"
#endif
#if __has_include("CTransmissionLine.h")
#include "CTransmissionLine.h"
#endif
#if __has_include("CLossyDielTL.h")
#include "CLossyDielTL.h"
#endif
#if __has_include("CLossyDielTLX.h")
#include "CLossyDielTLX.h"
#endif
#if __has_include("CLossyTL.h")
#include "CLossyTL.h"
#endif
#if __has_include("CMITL0.h")
#include "CMITL0.h"
#endif
#if __has_include("CMITL1.h")
#include "CMITL1.h"
#endif
#if __has_include("CTLineC.h")
#include "CTLineC.h"
#endif
#if __has_include("CTLineL.h")
#include "CTLineL.h"
#endif
#if __has_include("CVariableTL.h")
#include "CVariableTL.h"
#endif
#if __has_include("CVariableZ.h")
#include "CVariableZ.h"
#endif
#if __has_include("CVoltageSource.h")
#include "CVoltageSource.h"
#endif
#if __has_include("CCurrentSource.h")
#include "CCurrentSource.h"
#endif
#if __has_include("CCurrentProbe.h")
#include "CCurrentProbe.h"
#endif
#if __has_include("CSubcircuit.h")
#include "CSubcircuit.h"
#endif

void RegisterComponentClasses(ClassRegistry& registry)
{
    registry.add(CComponent::Class);
#if __has_include("CDrawing.h")
    registry.add(CDrawing::Class);
#endif
#if __has_include("CText.h")
    registry.add(CText::Class);
#endif
#if __has_include("CResistor.h")
    registry.add(CResistor::Class);
#endif
#if __has_include("CVariableR.h")
    registry.add(CVariableR::Class);
#endif
#if __has_include("CSwitch.h")
    registry.add(CSwitch::Class);
#endif
#if __has_include("CIdealDiode.h")
    registry.add(CIdealDiode::Class);
#endif
#if __has_include("COilSwitch.h")
    registry.add(COilSwitch::Class);
#endif
#if __has_include("CPlanarDiode.h")
    registry.add(CPlanarDiode::Class);
#endif
#if __has_include("CCapacitor.h")
    registry.add(CCapacitor::Class);
#endif
#if __has_include("CVariableC.h")
    registry.add(CVariableC::Class);
#endif
#if __has_include("CMOV.h")
    registry.add(CMOV::Class);
#endif
#if __has_include("CInductor.h")
    registry.add(CInductor::Class);
#endif
#if __has_include("CDiode.h")
    registry.add(CDiode::Class);
#endif
#if __has_include("CTransformer.h")
    registry.add(CTransformer::Class);
#endif
#if __has_include("CTransmissionLine.h")
    registry.add(CTransmissionLine::Class);
#endif
#if __has_include("CLossyDielTL.h")
    registry.add(CLossyDielTL::Class);
#endif
#if __has_include("CLossyDielTLX.h")
    registry.add(CLossyDielTLX::Class);
#endif
#if __has_include("CLossyTL.h")
    registry.add(CLossyTL::Class);
#endif
#if __has_include("CMITL0.h")
    registry.add(CMITL0::Class);
#endif
#if __has_include("CMITL1.h")
    registry.add(CMITL1::Class);
#endif
#if __has_include("CTLineC.h")
    registry.add(CTLineC::Class);
#endif
#if __has_include("CTLineL.h")
    registry.add(CTLineL::Class);
#endif
#if __has_include("CVariableTL.h")
    registry.add(CVariableTL::Class);
#endif
#if __has_include("CVariableZ.h")
    registry.add(CVariableZ::Class);
#endif
#if __has_include("CVoltageSource.h")
    registry.add(CVoltageSource::Class);
#endif
#if __has_include("CCurrentSource.h")
    registry.add(CCurrentSource::Class);
#endif
#if __has_include("CCurrentProbe.h")
    registry.add(CCurrentProbe::Class);
#endif
#if __has_include("CSubcircuit.h")
    registry.add(CSubcircuit::Class);
#endif
}
