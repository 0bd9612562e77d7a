// The object factory of the ribbon tools. A class joins when its header exists; until then its
// tool makes no object and says so.
#include "CTorvex2Doc.h"

#include "CComponent.h"
#include "ComponentTypeId.h"
#include "UiServices.h"

#if __has_include("CCapacitor.h")
#include "CCapacitor.h"
#endif
#if __has_include("CCurrentProbe.h")
#include "CCurrentProbe.h"
#endif
#if __has_include("CCurrentSource.h")
#include "CCurrentSource.h"
#endif
#if __has_include("CDiode.h")
#include "CDiode.h"
#endif
#if __has_include("CDrawing.h")
#include "CDrawing.h"
#endif
#if __has_include("CIdealDiode.h")
#include "CIdealDiode.h"
#endif
#if __has_include("CInductor.h")
#include "CInductor.h"
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
#if __has_include("CMOV.h")
#include "CMOV.h"
#endif
#if __has_include("COilSwitch.h")
#include "COilSwitch.h"
#endif
#if __has_include("CPlanarDiode.h")
#include "CPlanarDiode.h"
#endif
#if __has_include("CResistor.h")
#include "CResistor.h"
#endif
#if __has_include("CSubcircuit.h")
#include "CSubcircuit.h"
#endif
#if __has_include("CSwitch.h")
#include "CSwitch.h"
#endif
#if __has_include("CTLineC.h")
#include "CTLineC.h"
#endif
#if __has_include("CTLineL.h")
#include "CTLineL.h"
#endif
#if __has_include("CText.h")
#include "CText.h"
#endif
#if __has_include("CTransformer.h")
#include "CTransformer.h"
#endif
#if __has_include("CTransmissionLine.h")
#include "CTransmissionLine.h"
#endif
#if __has_include("CVariableC.h")
#include "CVariableC.h"
#endif
#if __has_include("CVariableR.h")
#include "CVariableR.h"
#endif
#if __has_include("CVoltageSource.h")
#include "CVoltageSource.h"
#endif

std::unique_ptr<CComponent> CTorvex2Doc::CreateComponent(quint32 typeId)
{
    switch (typeId) {
    case 501:
#if __has_include("CText.h")
        return std::make_unique<CText>(typeId);
#else
        break;
#endif
    case 510:
#if __has_include("CResistor.h")
        return std::make_unique<CResistor>(typeId);
#else
        break;
#endif
    case 511:
#if __has_include("CVariableR.h")
        return std::make_unique<CVariableR>(typeId);
#else
        break;
#endif
    case 512:
#if __has_include("CSwitch.h")
        return std::make_unique<CSwitch>(typeId);
#else
        break;
#endif
    case 520:
#if __has_include("CCapacitor.h")
        return std::make_unique<CCapacitor>(typeId);
#else
        break;
#endif
    case 521:
#if __has_include("CInductor.h")
        return std::make_unique<CInductor>(typeId);
#else
        break;
#endif
    case 522:
#if __has_include("CVariableC.h")
        return std::make_unique<CVariableC>(typeId);
#else
        break;
#endif
    case 530:
#if __has_include("CTransmissionLine.h")
        return std::make_unique<CTransmissionLine>(typeId);
#else
        break;
#endif
    case 531:
#if __has_include("CLossyDielTL.h")
        return std::make_unique<CLossyDielTL>(typeId);
#else
        break;
#endif
    case 532:
#if __has_include("CLossyDielTLX.h")
        return std::make_unique<CLossyDielTLX>(typeId);
#else
        break;
#endif
    case 541:
#if __has_include("CVoltageSource.h")
        return std::make_unique<CVoltageSource>(typeId);
#else
        break;
#endif
    case 542:
#if __has_include("CCurrentSource.h")
        return std::make_unique<CCurrentSource>(typeId);
#else
        break;
#endif
    case 561:
#if __has_include("CSubcircuit.h")
        return std::make_unique<CSubcircuit>(typeId);
#else
        break;
#endif
    case 570:
#if __has_include("CTransformer.h")
        return std::make_unique<CTransformer>(typeId);
#else
        break;
#endif
    case 571:
#if __has_include("CDiode.h")
        return std::make_unique<CDiode>(typeId);
#else
        break;
#endif
    case 572:
#if __has_include("CMOV.h")
        return std::make_unique<CMOV>(typeId);
#else
        break;
#endif
    case 573:
#if __has_include("CTLineL.h")
        return std::make_unique<CTLineL>(typeId);
#else
        break;
#endif
    case 574:
#if __has_include("CTLineC.h")
        return std::make_unique<CTLineC>(typeId);
#else
        break;
#endif
    case 575:
#if __has_include("CIdealDiode.h")
        return std::make_unique<CIdealDiode>(typeId);
#else
        break;
#endif
    case 601:
#if __has_include("CMITL1.h")
        return std::make_unique<CMITL1>(typeId);
#else
        break;
#endif
    case 602:
#if __has_include("CMITL0.h")
        return std::make_unique<CMITL0>(typeId);
#else
        break;
#endif
    case 604:
#if __has_include("COilSwitch.h")
        return std::make_unique<COilSwitch>(typeId);
#else
        break;
#endif
    case 605:
#if __has_include("CPlanarDiode.h")
        return std::make_unique<CPlanarDiode>(typeId);
#else
        break;
#endif
    case 606:
#if __has_include("CLossyTL.h")
        return std::make_unique<CLossyTL>(typeId);
#else
        break;
#endif
    case TypeCurrentProbe:
#if __has_include("CCurrentProbe.h")
    {
        auto probe = std::make_unique<CCurrentProbe>(typeId);
        probe->Orientation = 1;
        return probe;
    }
#else
        break;
#endif
    case TypeRailgunModel:
    case TypeRodpinchModel:
    case TypePinchedBeamDiodeModel:
        return nullptr;
    default:
#if __has_include("CDrawing.h")
        return std::make_unique<CDrawing>(typeId);
#else
        break;
#endif
    }
    const QString name = ComponentTypeName(typeId);
    ui().message(QStringLiteral("Cannot create %1: this program has no object class for it yet.")
                     .arg(name.isEmpty() ? QStringLiteral("objects of type %1").arg(typeId)
                                         : QStringLiteral("a \"%1\" object").arg(name)));
    return nullptr;
}
