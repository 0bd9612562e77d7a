#include "SimHarness.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include <cmath>

bool SimHarness::run(const QString& netlist, const QString& step, const QString& span, const QString& mode,
                     const QString& start)
{
    doc.SetNetlistText(netlist);
    RunSettings& s = doc.Settings();
    s.timeStep = step;
    s.timeSpan = span;
    s.startTime = start;
    s.matrixMode = mode;
    // Messages of this run go to this harness, whichever other harness was made last.
    UiServices* const previous = &::ui();
    setUi(&ui);
    const bool ok = doc.RunSimulation();
    setUi(previous);
    return ok;
}

bool SimHarness::runClean(const QString& netlist, const QString& step, const QString& span,
                          const QString& mode, const QString& start)
{
    const bool ok = run(netlist, step, span, mode, start);
    EXPECT_TRUE(ok && problems().isEmpty()) << qPrintable(ui.messages.join('|'));
    return ok;
}

std::vector<double> SimHarness::trace(const QString& expression)
{
    std::vector<double> out(size_t(doc.Results().PointCount()));
    if (!doc.GetTraceValues(expression, int(out.size()), out.data())) return {};
    return out;
}

double SimHarness::at(const QString& expression, double t)
{
    const std::vector<double> v = trace(expression);
    const double pos = (t - doc.StartTime()) / doc.TimeStep();
    const long j = std::lround(pos);
    EXPECT_NEAR(pos, double(j), 1e-6) << "time " << t << " is not on the grid";
    EXPECT_FALSE(v.empty()) << qPrintable(expression);
    if (v.empty() || j < 0 || size_t(j) >= v.size()) {
        ADD_FAILURE() << "time " << t << " outside the run";
        return NAN;
    }
    return v[size_t(j)];
}

QStringList SimHarness::problems() const
{
    QStringList out;
    for (const QString& m : ui.messages)
        if (!m.startsWith(QLatin1String("Simulation completed in "))) out << m;
    return out;
}

// Seconds from a time such as "2n" or "100.6n".
static double referenceTime(QString t)
{
    static const std::pair<const char*, double> units[] = {
        {"ms", 1e-3}, {"u", 1e-6}, {"n", 1e-9}, {"p", 1e-12}};
    for (const auto& [suffix, scale] : units)
        if (t.endsWith(QLatin1String(suffix))) return t.chopped(int(qstrlen(suffix))).toDouble() * scale;
    return t.toDouble();
}

static QString referenceDir()
{
    return qEnvironmentVariable("TORVEX_REFERENCE_DIR", QStringLiteral(TORVEX_REFERENCE_DIR_DEFAULT));
}

QString loadReferenceNetlist(const QString& name)
{
    QFile cir(referenceDir() + "/" + name + ".cir");
    if (!cir.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "reference circuit " << qPrintable(name) << " missing in "
                      << qPrintable(referenceDir());
        return {};
    }
    return QString::fromUtf8(cir.readAll());
}

ReferenceCase loadReference(const QString& name)
{
    ReferenceCase rc;
    const QString dir = referenceDir();
    QFile cir(dir + "/" + name + ".cir");
    QFile exp(dir + "/" + name + ".expect");
    if (!cir.open(QIODevice::ReadOnly) || !exp.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "reference case " << qPrintable(name) << " missing in " << qPrintable(dir);
        return rc;
    }
    rc.netlist = QString::fromUtf8(cir.readAll());
    const QStringList lines = QString::fromUtf8(exp.readAll()).split('\n');
    static const QRegularExpression settings(R"(step=(\S+)\s+start=(\S+)\s+span=(\S+)\s+mode=(\S+))");
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty()) continue;
        if (line.startsWith('#')) {
            const auto m = settings.match(line);
            if (m.hasMatch()) {
                rc.step = m.captured(1);
                rc.start = m.captured(2);
                rc.span = m.captured(3);
                rc.mode = m.captured(4);
            }
            continue;
        }
        const QStringList f = line.split(' ', Qt::SkipEmptyParts);
        if (f.size() < 4) continue;
        rc.points.push_back({f[0], referenceTime(f[1].toLower()), f[2].toDouble(), f[3].toDouble()});
    }
    return rc;
}

void runReference(SimHarness& h, const ReferenceCase& rc, const QString& mode)
{
    ASSERT_FALSE(rc.points.empty());
    ASSERT_TRUE(h.run(rc.netlist, rc.step, rc.span, mode, rc.start)) << qPrintable(h.problems().join('|'));
    EXPECT_TRUE(h.problems().isEmpty()) << qPrintable(h.problems().join('|'));
    for (const auto& p : rc.points)
        EXPECT_NEAR(h.at(p.trace, p.time), p.value, p.tolerance)
            << qPrintable(mode) << " " << qPrintable(p.trace) << " at " << p.time;
}

void expectSameTraces(SimHarness& got, SimHarness& want, std::initializer_list<const char*> traces,
                      double abs, double rel)
{
    for (const char* t : traces) {
        const auto a = got.trace(t), b = want.trace(t);
        ASSERT_FALSE(b.empty()) << t;
        ASSERT_EQ(a.size(), b.size()) << t;
        for (size_t j = 0; j < a.size(); ++j)
            ASSERT_NEAR(a[j], b[j], abs + rel * std::fabs(b[j]))
                << qPrintable(got.doc.Settings().matrixMode) << " " << t << " step " << j;
    }
}

void runAgreeingWithNone(SimHarness& h, const QString& netlist, const QString& step, const QString& span,
                         std::initializer_list<const char*> traces, double abs, double rel)
{
    SimHarness none;
    ASSERT_TRUE(h.runClean(netlist, step, span));
    ASSERT_TRUE(none.runClean(netlist, step, span, "None"));
    expectSameTraces(h, none, traces, abs, rel);
}

void expectModesAgree(const QString& netlist, std::initializer_list<const char*> traces, const QString& step,
                      const QString& span, std::initializer_list<const char*> modes, double abs, double rel)
{
    SimHarness none;
    ASSERT_TRUE(none.runClean(netlist, step, span, "None"));
    for (const char* mode : modes) {
        SimHarness h;
        ASSERT_TRUE(h.runClean(netlist, step, span, mode)) << mode;
        expectSameTraces(h, none, traces, abs, rel);
    }
}

void expectRefused(const QString& netlist, const QString& message)
{
    SimHarness h;
    EXPECT_FALSE(h.run(netlist)) << qPrintable(netlist);
    EXPECT_EQ(h.problems(), QStringList({message, "Error.  ProcessNetlist Failure."})) << qPrintable(netlist);
    EXPECT_TRUE(h.doc.Elements().empty()) << qPrintable(netlist);
}

QString separateLadder(int count)
{
    QString s = "VB NB0 0 PULSE 0 2 0 5N 5N 20N 60N\n";
    for (int i = 1; i < count; ++i)
        s += QString("RB%1 NB%2 NB%1 50\nRG%1 NB%1 0 1K\n").arg(i).arg(i - 1);
    return s;
}
