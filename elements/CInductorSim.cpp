#include "CInductorSim.h"

#include "CSimulatorDoc.h"

void CInductorSim::Initialise()
{
    // A zero inductance stands for a very small one, so the conductance ends at the clamp's ceiling.
    if (L == 0.0) L = 1e-13;
    Geq = ClampG(m_pDoc->TimeStep() / (2.0 * L));
    // Before the first step the inductor carries its initial current: the voltage that gives it
    // through Geq.
    StartRun(IC / Geq);
}

bool CInductorSim::Parse(const QStringList& tokens)
{
    return ParseValueAndInitial(tokens, L, IC);
}
