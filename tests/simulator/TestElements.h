#pragma once
// Small elements of the tests' own, for driving the run where the real families do not fit.
#include "CComponentSim.h"
#include "CResistorSim.h"
#include "CSimulatorDoc.h"
#include "ElementClass.h"

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

// Asks for another iteration until `wanted` iterations of every step were done (K lines: K1 A B COUNT).
struct TestIterator : CComponentSim {
    explicit TestIterator(CSimulatorDoc* doc) : CComponentSim(doc) {}
    bool Parse(const QStringList& t) override
    {
        Name = t.value(0);
        wanted = t.value(3).toInt();
        Nodes[0] = m_pDoc->GetNodeIndex(t.value(1));
        Nodes[1] = m_pDoc->GetNodeIndex(t.value(2));
        return true;
    }
    bool NeedsIteration(int) override { return wanted < 0 || m_pDoc->Iteration() < wanted; }
    void EndStep(int) override { iterationsOfLastStep = m_pDoc->Iteration(); }
    int wanted = 1;
    int iterationsOfLastStep = 0;
};

// Two decoupled ports, each a resistor of value R across its pair (T lines: T1 A1 B1 A2 B2 R).
struct TestPortPair : CComponentSim {
    explicit TestPortPair(CSimulatorDoc* doc) : CComponentSim(doc)
    {
        TerminalCount = 4;
        Decoupled = true;
    }
    bool Parse(const QStringList& t) override
    {
        Name = t.value(0);
        for (int i = 0; i < 4; ++i) Nodes[i] = m_pDoc->GetNodeIndex(t.value(1 + i));
        g = ClampConductance(m_pDoc->ParseValue(t.value(5)));
        return true;
    }
    void BindMatrix(double** A, double*) override
    {
        full[0].bind(A, Nodes[0], Nodes[1]);
        full[1].bind(A, Nodes[2], Nodes[3]);
    }
    void BindMatrixMapped(double** A, double*) override { bindMapped(A, m_pDoc->ReducedMap(), -1); }
    void BindMatrixPartition(double** A, double*, const IndexMap& map, int p) override { bindMapped(A, map, p); }
    void bindMapped(double** A, const IndexMap& map, int p)
    {
        for (int port = 0; port < 2; ++port) {
            const int a = map(Nodes[2 * port]), b = map(Nodes[2 * port + 1]);
            if (p >= 0 && a == 0 && b == 0) continue;
            if (p >= 0) portPartition[port] = p;
            mapped[port].bind(A, a, b);
        }
    }
    void Stamp(bool rhsOnly, int) override
    {
        if (!rhsOnly) full[0].add(g), full[1].add(g);
    }
    void StampMapped(bool rhsOnly, int) override
    {
        if (!rhsOnly) mapped[0].add(g), mapped[1].add(g);
    }
    void StampPartition(bool rhsOnly, int, int p) override
    {
        for (int port = 0; port < 2; ++port)
            if (!rhsOnly && portPartition[port] == p) mapped[port].add(g);
    }
    double g = 0;
    ConductanceEntries full[2], mapped[2];
    int portPartition[2] = {0, 0};
};

// The program's elements, with the test elements above for D, K and T lines.
inline CSimulatorDoc::ElementFactory testFactory()
{
    return [](ElementClass cls, CSimulatorDoc* doc) -> std::unique_ptr<CComponentSim> {
        switch (cls) {
        case ElementClass::Diode: return std::make_unique<TestNonlinear>(doc);
        case ElementClass::Transformer: return std::make_unique<TestIterator>(doc);
        case ElementClass::TransmissionLine: return std::make_unique<TestPortPair>(doc);
        default: return CreateElement(cls, doc);
        }
    };
}
