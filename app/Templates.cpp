#include "Templates.h"

#include "DocTemplate.h"
#include "Resource.h"

// Each document type joins the program when its document and view headers are in the build.
#if __has_include("CTorvex2View.h")
#include "CTorvex2Doc.h"
#include "CTorvex2View.h"
#define TORVEX_HAS_SCHEMATIC 1
#endif
#if __has_include("CSimulatorView.h")
#include "CSimulatorDoc.h"
#include "CSimulatorView.h"
#include "ElementFactory.h"
#define TORVEX_HAS_NETLIST 1
#endif
#if __has_include("CPlotView.h")
#include "CPlotDoc.h"
#include "CPlotView.h"
#define TORVEX_HAS_PLOT 1
#endif

TemplateMakers TemplateMakers::Program()
{
    TemplateMakers makers;
#ifdef TORVEX_HAS_SCHEMATIC
    makers.schematic = [] {
        return DocTemplate::Make<CTorvex2Doc, CTorvex2View>(IDR_TORVEX2TYPE, strings::SchematicTemplate);
    };
#endif
#ifdef TORVEX_HAS_NETLIST
    makers.netlist = [] {
        return std::make_unique<DocTemplate>(
            IDR_NETLIST, QString::fromLatin1(strings::NetlistTemplate),
            [] {
                auto doc = std::make_unique<CSimulatorDoc>();
                doc->SetElementFactory(CreateElement);
                return std::unique_ptr<Document>(std::move(doc));
            },
            [] { return static_cast<View*>(new CSimulatorView); });
    };
#endif
#ifdef TORVEX_HAS_PLOT
    makers.plot = [] { return DocTemplate::Make<CPlotDoc, CPlotView>(IDR_PLOT, strings::PlotTemplate); };
#endif
    return makers;
}
