#include "SchematicTestSupport.h"

const ClassInfo TestPart::Class = {"CTestPart", 3, false, &CComponent::Class, &CreatePersistent<TestPart>};
const ClassInfo StandInResistor::Class = {"CResistor", 3, false, &CComponent::Class,
                                          &CreatePersistent<StandInResistor>};
const ClassInfo StandInDrawing::Class = {"CDrawing", 3, false, &CComponent::Class,
                                         &CreatePersistent<StandInDrawing>};
const ClassInfo StandInPlotTrace::Class = {"CPlotTrace", 1, false, nullptr,
                                           &CreatePersistent<StandInPlotTrace>};

void RegisterTestClasses()
{
    CTorvex2Doc doc; // registers the program's classes first
    ClassRegistry& r = ClassRegistry::instance();
    for (const ClassInfo* c :
         {&TestPart::Class, &StandInResistor::Class, &StandInDrawing::Class, &StandInPlotTrace::Class})
        r.add(*c);
}
