// The upper halves of the vector registers are clean whenever the run's elements compute, however
// dirty the calls before them left them, and the results are the same to the bit.
#include "SimHarness.h"
#include "TestElements.h"
#include "VectorState.h"

#include <gtest/gtest.h>

#include <bit>
#include <optional>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace {

#if defined(__x86_64__) || defined(__i386__)
// What the processor says of the upper halves (its XINUSE bits); nothing where it cannot say.
std::optional<bool> upperHalvesDirty()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__builtin_cpu_supports("avx") || !__get_cpuid_count(0xd, 1, &a, &b, &c, &d) || !(a & 4)) return {};
    unsigned lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(1));
    return (lo & 4) != 0;
}

// Leaves the upper half of one register non-zero, as a library routine that returns without clearing
// them does.
void dirtyUpperHalves()
{
    if (__builtin_cpu_supports("avx")) __asm__ volatile("vpcmpeqd %%ymm1, %%ymm1, %%ymm1" ::: "xmm1");
}
#else
std::optional<bool> upperHalvesDirty()
{
    return {};
}
void dirtyUpperHalves() {}
#endif

// Dirties the registers once the run is set up, and looks at them whenever the step's elements begin
// (K lines).
struct RegisterProbe : CComponentSim {
    explicit RegisterProbe(CSimulatorDoc* doc) : CComponentSim(doc) {}
    bool Parse(const QStringList& t) override
    {
        Name = t.value(0);
        return true;
    }
    void Initialise() override { dirtyUpperHalves(); }
    void BeginStep(int) override
    {
        ++looks;
        dirtyLooks += upperHalvesDirty().value_or(false);
    }
    int looks = 0, dirtyLooks = 0;
};

} // namespace

// Leaves the registers dirty whenever the run reports its progress (the ribbon's bar in the program).
struct DirtyingProgress : RunProgress {
    void SetRange(int, int) override { dirtyUpperHalves(); }
    void SetPos(int) override { dirtyUpperHalves(); }
};

TEST(VectorState, CleanWheneverElementsComputeAndResultsUnchanged)
{
    if (!upperHalvesDirty()) GTEST_SKIP() << "the processor does not report the state of its registers";
    dirtyUpperHalves();
    ASSERT_EQ(upperHalvesDirty(), true);
    ClearUpperVectorState();
    ASSERT_EQ(upperHalvesDirty(), false);

    const QString net = "* clamp\nV1 NIN 0 PULSE -5 5 0 2N 2N 5N 20N\nR1 NIN NA 100\nD1 NA 0 IS=1E-14\n"
                        "D2 0 NA IS=1E-12 RS=1\nK1 NA 0\n";
    const auto probing = [](ElementClass cls, CSimulatorDoc* doc) -> std::unique_ptr<CComponentSim> {
        if (cls == ElementClass::Transformer) return std::make_unique<RegisterProbe>(doc);
        return CreateElement(cls, doc);
    };
    const auto run = [&](SimHarness& h, RunProgress* progress) {
        h.doc.SetElementFactory(probing);
        h.doc.SetNetlistText(net);
        h.doc.Settings().timeStep = "0.5ns";
        h.doc.Settings().timeSpan = "40ns";
        setUi(&h.ui);
        EXPECT_TRUE(h.doc.RunSimulation(progress));
        setUi(nullptr);
        EXPECT_TRUE(h.problems().isEmpty()) << qPrintable(h.problems().join('|'));
    };
    SimHarness quiet;
    run(quiet, nullptr);
    for (const bool pumps : {true, false}) {
        // Every check pumps and every pump leaves the registers dirty; or the progress reports do.
        SimHarness dirtied;
        DirtyingProgress progress;
        CSimulatorDoc::SetPumpInterval(pumps ? 0 : 50);
        if (pumps) dirtied.ui.onPump = dirtyUpperHalves;
        run(dirtied, pumps ? nullptr : &progress);
        CSimulatorDoc::SetPumpInterval(50);

        const auto* probe = findElement<RegisterProbe>(dirtied.doc, "K1");
        ASSERT_NE(probe, nullptr);
        EXPECT_GT(probe->looks, 3 * 81);
        EXPECT_EQ(probe->dirtyLooks, 0) << (pumps ? "pumps" : "progress");
        for (int x = 1; x <= quiet.doc.NodeCount(); ++x)
            for (int k = 0; k < quiet.doc.ResultColumns(); ++k)
                ASSERT_EQ(std::bit_cast<std::uint64_t>(dirtied.doc.V(x, k)),
                          std::bit_cast<std::uint64_t>(quiet.doc.V(x, k)))
                    << "node " << x << " column " << k;
    }
}
