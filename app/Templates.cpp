#include "Templates.h"

#include "CPlotDoc.h"
#include "CPlotView.h"
#include "CSimulatorDoc.h"
#include "CSimulatorView.h"
#include "CTorvex2Doc.h"
#include "CTorvex2View.h"
#include "DocTemplate.h"
#include "Resource.h"

TemplateMakers TemplateMakers::Program()
{
    TemplateMakers makers;
    makers.schematic = [] {
        return DocTemplate::Make<CTorvex2Doc, CTorvex2View>(IDR_TORVEX2TYPE, strings::SchematicTemplate);
    };
    makers.netlist = [] {
        return DocTemplate::Make<CSimulatorDoc, CSimulatorView>(IDR_NETLIST, strings::NetlistTemplate);
    };
    makers.plot = [] { return DocTemplate::Make<CPlotDoc, CPlotView>(IDR_PLOT, strings::PlotTemplate); };
    return makers;
}
