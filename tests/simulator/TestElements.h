#pragma once
// Small elements of the tests' own, for driving the run where the real families do not fit.
#include "CComponentSim.h"
#include "CResistorSim.h"
#include "CSimulatorDoc.h"
#include "ElementFactory.h"

// A resistor flagged nonlinear whose resistance alternates between steps (D lines here).
struct TestNonlinear : CResistorSim {
    explicit TestNonlinear(CSimulatorDoc* doc) : CResistorSim(doc) { Nonlinear = true; }
    void BeginStep(int k) override
    {
        if (m_pDoc->Iteration() != 1) return;
        const double g = ClampConductance(Resistance * ((k % 2) ? 1.0 : 2.0));
        if (g != Conductance) {
            Conductance = g;
            m_pDoc->MarkNodeDirty(Nodes[0]);
            m_pDoc->MarkNodeDirty(Nodes[1]);
        }
    }
};

// A test element between two nodes (K lines: K1 A B, then what ParseRest reads).
struct TwoNodeElement : CComponentSim {
    explicit TwoNodeElement(CSimulatorDoc* doc) : CComponentSim(doc) {}
    bool Parse(const QStringList& t) override
    {
        Name = t.value(0);
        Nodes[0] = m_pDoc->GetNodeIndex(t.value(1));
        Nodes[1] = m_pDoc->GetNodeIndex(t.value(2));
        return ParseRest(t.mid(3));
    }
    virtual bool ParseRest(const QStringList&) { return true; }
};

// Asks for another iteration until `wanted` iterations of every step were done (K lines: K1 A B COUNT).
struct TestIterator : TwoNodeElement {
    explicit TestIterator(CSimulatorDoc* doc) : TwoNodeElement(doc) {}
    bool ParseRest(const QStringList& rest) override
    {
        wanted = rest.value(0).toInt();
        return true;
    }
    void Initialise() override { ++initialised; }
    bool NeedsIteration(int) override
    {
        ++asked;
        return wanted < 0 || m_pDoc->Iteration() < wanted;
    }
    void EndStep(int) override { iterationsOfLastStep = m_pDoc->Iteration(); }
    int wanted = 1;
    int iterationsOfLastStep = 0;
    int asked = 0;                     // in the whole run
    static inline int initialised = 0; // elements of every run so far
};

// The program's elements, with the test elements above for D and K lines.
inline CSimulatorDoc::ElementFactory testFactory()
{
    return [](ElementClass cls, CSimulatorDoc* doc) -> std::unique_ptr<CComponentSim> {
        if (cls == ElementClass::Diode) return std::make_unique<TestNonlinear>(doc);
        if (cls == ElementClass::Transformer) return std::make_unique<TestIterator>(doc);
        return CreateElement(cls, doc);
    };
}
