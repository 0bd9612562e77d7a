#include "Templates.h"

#include "CPlotDoc.h"
#include "CPlotView.h"
#include "CSimulatorDoc.h"
#include "CSimulatorView.h"
#include "CTorvex2Doc.h"
#include "CTorvex2View.h"
#include "DocTemplate.h"
#include "ElementFactory.h"
#include "Resource.h"

TemplateMakers TemplateMakers::Program()
{
    TemplateMakers makers;
    makers.schematic = [] {
        return DocTemplate::Make<CTorvex2Doc, CTorvex2View>(IDR_TORVEX2TYPE, strings::SchematicTemplate);
    };
    makers.netlist = [] {
        return std::make_unique<DocTemplate>(
            IDR_NETLIST, QString::fromLatin1(strings::NetlistTemplate),
            [] {
                auto doc = std::make_unique<CSimulatorDoc>();
                doc->SetElementFactory(CreateElement);
                return doc;
            },
            [] { return static_cast<View*>(new CSimulatorView); });
    };
    makers.plot = [] { return DocTemplate::Make<CPlotDoc, CPlotView>(IDR_PLOT, strings::PlotTemplate); };
    return makers;
}
