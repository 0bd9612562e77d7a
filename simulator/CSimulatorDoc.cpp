#include "CSimulatorDoc.h"

#include "CComponentSim.h"
#include "ElementClass.h"
#include "MemoryBudget.h"
#include "NetlistValue.h"
#include "Text.h"
#include "UiServices.h"
#include "VectorState.h"

#include <QElapsedTimer>
#include <QIODevice>

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

namespace {
const CSimulatorDoc* g_runningDoc = nullptr;
// A run pumps once this many milliseconds have passed since the last pump. Its checks come at least
// every few milliseconds, and the window is served at least every 100 ms of work.
int g_pumpInterval = 50;
} // namespace

CSimulatorDoc::CSimulatorDoc()
{
    m_SincePump.start();
}

CSimulatorDoc::~CSimulatorDoc()
{
    if (m_Running) SetRunning(false);
    FreeResults();
}

// ---------------------------------------------------------------------------------------------
// Reader

double CSimulatorDoc::ParseValue(const QString& textIn) const
{
    const NetlistValue v = ReadNetlistValue(textIn);
    if (v.stray)
        ui().message(v.scaled ? QStringLiteral("Warning: Unrecognized Character in Netlist")
                              : QStringLiteral("Warning: Unrecognized Character in Netlist."));
    return v.value;
}

int CSimulatorDoc::GetNodeIndex(const QString& name)
{
    if (name == QLatin1String("0")) return 0;
    if (const auto found = m_NodeLookup.constFind(name); found != m_NodeLookup.constEnd())
        return found.value();
    ++m_N;
    m_NodeLookup.insert(name, m_N);
    while (m_NodeNames.size() <= m_N)
        m_NodeNames << QString();
    m_NodeNames[m_N] = name;
    return m_N;
}

int CSimulatorDoc::FindNodeIndex(const QString& name) const
{
    const auto found = m_NodeLookup.constFind(name);
    return found != m_NodeLookup.constEnd() && found.value() <= m_N ? found.value() : -1;
}

static bool isTrimSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool CSimulatorDoc::ReadRunSettings()
{
    m_SettingsRefused = false;
    if (auto link = m_LinkedSchematic.lock())
        link->ReceiveRunSettings(m_Settings, m_Settings.sourceMode == QLatin1String("Orlisk"));

    m_Settings.timeStep = text::upper(m_Settings.timeStep);
    m_Settings.timeSpan = text::upper(m_Settings.timeSpan);
    m_Settings.startTime = text::upper(m_Settings.startTime);
    // The run pumps the window's events, and the Simulate tab writes its controls into the settings
    // as they change: what the run reads later comes from its own copy.
    m_RunSettings = m_Settings;
    m_dt = ParseValue(m_Settings.timeStep);
    const double span = ParseValue(m_Settings.timeSpan);
    m_StartTime = ParseValue(m_Settings.startTime);
    m_N = 0;
    m_M = 0;

    // A run needs a positive, finite step, a span of at least 0 and a step count that an int holds.
    QString refusal;
    if (!std::isfinite(m_dt) || m_dt <= 0)
        refusal = QStringLiteral("Error.  The time step must be a positive number: ") + m_Settings.timeStep;
    else if (!std::isfinite(span) || span < 0)
        refusal =
            QStringLiteral("Error.  The time span must be zero or a positive number: ") + m_Settings.timeSpan;
    else if (!std::isfinite(m_StartTime))
        refusal = QStringLiteral("Error.  The start time must be a number: ") + m_Settings.startTime;
    else if (span / m_dt + 0.5 >= double(INT_MAX / 2))
        refusal = QStringLiteral("Error.  Too many time steps: ") + m_Settings.timeSpan +
                  QStringLiteral(" / ") + m_Settings.timeStep;
    if (!refusal.isEmpty()) {
        m_StepCount = 0;
        m_SettingsRefused = true;
        ui().message(refusal);
        return false;
    }
    m_StepCount = int(span / m_dt + 0.5);
    return true;
}

bool CSimulatorDoc::ReadNetlistLines()
{
    if (!ReadRunSettings()) return false;

    if (m_NetlistText.isEmpty()) {
        ui().message(QStringLiteral("Error.  Netlist is empty!"));
        return false;
    }
    const QString text = text::upper(m_NetlistText);
    const QChar* s = text.constData();
    const qsizetype n = text.size();
    m_Lines.clear();

    // One walk over the text. A line ends at the first CR or LF; the blanks and breaks after it go
    // with it, so blank lines and the leading blanks of every line but the first vanish. The last
    // line, and a text that begins with a break (which is then not split at all), are trimmed at
    // both ends. A line that begins with "+" joins the one before it (a comment too); a line that
    // begins with "*" is dropped once nothing can join it any more.
    QString statement;
    bool first = true;
    const auto finish = [&]() {
        if (!statement.startsWith(u'*')) m_Lines << statement;
    };
    const auto take = [&](qsizetype from, qsizetype to) {
        if (first) {
            first = false;
            statement = QString(s + from, to - from);
            if (statement.startsWith(u'*')) return true;
            ui().message(QStringLiteral("First line of Netlist must be a comment!"));
            return false;
        }
        if (s[from] == u'+') {
            statement.append(s + from + 1, to - from - 1);
        } else {
            finish();
            statement = QString(s + from, to - from);
        }
        return true;
    };
    qsizetype pos = 0;
    for (qsizetype count = 1;; ++count) {
        qsizetype brk = pos;
        while (brk < n && s[brk] != u'\r' && s[brk] != u'\n')
            ++brk;
        if (brk == n || brk == pos) {
            qsizetype end = n;
            while (pos < end && isTrimSpace(s[pos]))
                ++pos;
            while (end > pos && isTrimSpace(s[end - 1]))
                --end;
            if (end > pos && !take(pos, end)) return false;
            break;
        }
        if (!take(pos, brk)) return false;
        pos = brk + 1;
        while (pos < n && isTrimSpace(s[pos]))
            ++pos;
        if (count % 1024 == 0 && PumpWhenDue()) {
            m_Lines.clear();
            return false;
        }
    }
    if (first) return false; // not a line in the text
    finish();
    return !m_Lines.isEmpty();
}

static QStringList tokenize(const QString& line)
{
    QStringList tokens;
    tokens.reserve(8);
    int i = 0;
    const int n = int(line.size());
    while (i < n) {
        while (i < n && line[i] == u' ')
            ++i;
        const int start = i;
        while (i < n && line[i] != u' ')
            ++i;
        if (i > start) tokens << line.mid(start, i - start);
    }
    return tokens;
}

ElementClass ChooseElementClass(const QStringList& t)
{
    if (t.isEmpty() || t[0].isEmpty()) return ElementClass::Unrecognized;
    const auto is = [&](int i, const char* kw) { return t.size() > i && t[i] == QLatin1String(kw); };
    switch (t[0][0].unicode()) {
    case u'C':
        if (is(3, "TL")) return ElementClass::TLineC;
        if (is(3, "VARC") && is(4, "TL")) return ElementClass::VariableC;
        if (is(3, "VARC")) return ElementClass::VarC;
        return ElementClass::Capacitor;
    case u'D':
        if (is(3, "IDIODE")) return ElementClass::IdealDiode;
        if (is(3, "RPDIODE") || is(3, "PBDIODE")) return ElementClass::NoModel;
        return ElementClass::Diode;
    case u'I':
        return ElementClass::CurrentSource;
    case u'K':
        return ElementClass::Transformer;
    case u'L':
        if (is(3, "TL")) return ElementClass::TLineL;
        return ElementClass::Inductor;
    case u'R':
        if (is(3, "VARR")) return ElementClass::VariableR;
        return ElementClass::Resistor;
    case u'S':
        return ElementClass::Switch;
    case u'T':
        if (is(5, "LOSSYX")) return ElementClass::LossyDielTLX;
        if (is(5, "LOSSYZ")) return ElementClass::LossyDielTL;
        if (is(5, "LOSSYR")) return ElementClass::LossyTL;
        if (t.size() >= 10 && is(3, "RAILGUN1")) return ElementClass::NoModel;
        return ElementClass::TransmissionLine;
    case u'V':
        return ElementClass::VoltageSource;
    default:
        return ElementClass::Unrecognized;
    }
}

bool CSimulatorDoc::ParseNetlistStatements()
{
    m_NodeNames = QStringList{QStringLiteral("0")};
    m_NodeLookup.clear();
    // Most statements bring about one new node: growing the table step by step would rehash it
    // again and again on a large netlist.
    m_NodeNames.reserve(m_Lines.size() + 1);
    m_NodeLookup.reserve(m_Lines.size());
    m_N = 0;
    if (!m_Factory) {
        ui().message(QStringLiteral("Error.  This program was built without its simulation elements."));
        return false;
    }
    m_Elements.reserve(size_t(m_Lines.size()));
    for (const QString& line : std::as_const(m_Lines)) {
        const QStringList tokens = tokenize(line);
        std::unique_ptr<CComponentSim> element;
        const ElementClass cls = ChooseElementClass(tokens);
        if (cls != ElementClass::Unrecognized && cls != ElementClass::NoModel) element = m_Factory(cls, this);
        if (!element) {
            ui().message(QStringLiteral("Netlist Error:  Unrecognized Statement: ") + text::echo(line));
            return false;
        }
        if (!element->Parse(tokens)) return false;
        m_Elements.push_back(std::move(element));
        if (m_Elements.size() % 64 == 0 && PumpWhenDue()) return false;
    }
    return true;
}

void CSimulatorDoc::DeleteElements()
{
    m_Modes.ForgetElements();
    m_Elements.clear();
}

// ---------------------------------------------------------------------------------------------
// Run

static double g_memoryLimit = 0; // 0: what is available

double CSimulatorDoc::MemoryLimit()
{
    return g_memoryLimit > 0 ? g_memoryLimit : AvailableMemoryBytes();
}

void CSimulatorDoc::SetMemoryLimit(double bytes)
{
    g_memoryLimit = bytes;
}

bool CSimulatorDoc::AllocateResults()
{
    const int rows = m_N + m_M + 1;
    try {
        // The kernel writes the zeros of a large table at half a second to two and a half seconds per
        // gigabyte on a virtual machine, on a worker thread ahead of the steps: the run, and the window
        // it serves, need not wait for them.
        m_Results.Allocate(rows, m_h, m_StepCount, m_StartTime, m_dt);
    } catch (const std::bad_alloc&) {
        m_Results.Clear();
        ui().message(QStringLiteral("Error.  Not enough memory for the results of this run."));
        return false;
    }
    return true;
}

void CSimulatorDoc::FreeResults()
{
    m_Lines.clear();
    m_Results.Clear();
    m_Modes.ForgetElements();
    m_Elements.clear();
}

void CSimulatorDoc::OnCloseDocument()
{
    // The run on the stack still uses its elements and results: they go when it has ended.
    if (m_Running) {
        RequestStop();
        return;
    }
    if (ResultsValid()) FreeResults();
    Document::OnCloseDocument();
}

// ---------------------------------------------------------------------------------------------
// The .cir file

bool CSimulatorDoc::OnSaveDocument(const QString& path)
{
    if (!Document::OnSaveDocument(path)) return false;
    UpdateAllViews(nullptr, kSavedHint);
    return true;
}

bool CSimulatorDoc::Load(QIODevice& in)
{
    SetNetlistText(text::decode(in.readAll()));
    return true;
}

bool CSimulatorDoc::Save(QIODevice& out)
{
    QString text = m_ViewText;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        bytes[2 * i] = char(u & 0xFF);
        bytes[2 * i + 1] = char(u >> 8);
    }
    return out.write(bytes) == bytes.size();
}

void CSimulatorDoc::PumpWaitingMessages()
{
    ui().pump();
    ClearUpperVectorState();
    m_SincePump.start();
    m_LastClockRead = 0;
}

void CSimulatorDoc::SetPumpInterval(int milliseconds)
{
    g_pumpInterval = milliseconds;
}

bool CSimulatorDoc::IntervalPassed()
{
    m_LastClockRead = m_SincePump.nsecsElapsed();
    return m_LastClockRead >= qint64(g_pumpInterval) * 1000000;
}

bool CSimulatorDoc::ClockSaysDue()
{
    if (--m_ClockCountdown > 0) return false;
    // A short step asks several times and costs little more than as many reads of the clock. While the
    // reads come close together the calls between them double, up to 16: should the calls grow long at
    // once, 16 of them are still far from the limit, as long factorisations read the clock themselves.
    // A long gap starts again from every call.
    constexpr int kMaxStride = 16;
    const qint64 before = m_LastClockRead;
    const bool due = IntervalPassed();
    const qint64 gap = m_LastClockRead - before;
    const qint64 close = qint64(g_pumpInterval) * 1000000 / 64;
    if (gap < close)
        m_ClockStride = std::min(2 * m_ClockStride, kMaxStride);
    else
        m_ClockStride = 1;
    m_ClockCountdown = m_ClockStride;
    return due;
}

bool CSimulatorDoc::PumpWhenDue()
{
    if (ClockSaysDue()) PumpWaitingMessages();
    return m_AbortRequested;
}

bool CSimulatorDoc::KeepFactoring()
{
    // Its calls are far apart already: each reads the clock.
    if (IntervalPassed()) PumpWaitingMessages();
    if (!m_AbortRequested) return true;
    m_FactorStopped = true;
    return false;
}

bool CSimulatorDoc::AnyRunInProgress()
{
    return g_runningDoc != nullptr;
}

void CSimulatorDoc::SetRunning(bool running)
{
    m_Running = running;
    g_runningDoc = running ? this : nullptr;
}

QString CSimulatorDoc::ElapsedText(const QElapsedTimer& clock)
{
    const qint64 seconds = clock.elapsed() / 1000;
    return text::format("%02lld mins, %02lld secs", (long long)(seconds / 60 % 60),
                        (long long)(seconds % 60));
}

template <class Work> bool CSimulatorDoc::ForEachElement(Work work)
{
    size_t done = 0;
    for (auto& e : m_Elements) {
        work(*e);
        if (++done % 64 == 0 && PumpWhenDue()) return false;
    }
    return !PumpWhenDue();
}

bool CSimulatorDoc::SetUpRun()
{
    // A stop asked for while the run is being set up ends it quietly: nothing has been computed.
    if (!ReadNetlistLines()) {
        if (!m_SettingsRefused && !m_AbortRequested)
            ui().message(QStringLiteral("Initialization Failure (empty netlist?)"));
        return false;
    }
    if (!ParseNetlistStatements()) {
        if (!m_AbortRequested) ui().message(QStringLiteral("Error.  ProcessNetlist Failure."));
        DeleteElements();
        return false;
    }

    m_h = 1;
    if (!ForEachElement([](CComponentSim& e) { e.Prepare(); })) return false;
    m_NonlinearCount =
        int(std::count_if(m_Elements.begin(), m_Elements.end(), [](const auto& e) { return e->Nonlinear; }));
    // Every size is known once the systems are chosen: the budget is checked before any of them, or
    // the results, is allocated.
    m_Modes.Choose(m_RunSettings.matrixMode);
    if (PumpWhenDue() || !CheckMemoryBudget() || PumpWhenDue() || !AllocateResults() || PumpWhenDue())
        return false;
    if (!ForEachElement([](CComponentSim& e) { e.Initialise(); })) return false;
    m_Modes.SetUp(m_Results);
    return !PumpWhenDue();
}

CSimulatorDoc::StepEnd CSimulatorDoc::IterateStep(int k)
{
    for (;;) {
        ++m_Iteration;
        m_Modes.BeginStep(k);
        PumpWhenDue();
        m_Modes.PreSolve(k);
        PumpWhenDue();
        m_Modes.Assemble(k);
        PumpWhenDue();
        const bool solved = m_Modes.Solve(k);
        if (!solved && m_FactorStopped) return StepEnd::Stopped;
        if (!solved) {
            if (!m_Modes.QuietFailure())
                ui().message(QStringLiteral("Critical Error:  Matrax solve failure."));
            return StepEnd::Failed;
        }
        // The limit ends the run after this step, which keeps its last solution.
        if (m_Iteration > 10000) {
            ui().message(QStringLiteral("Failing to converge... Aborting."));
            m_AbortRequested = true;
            m_Unconverged = true;
            return StepEnd::Accepted;
        }
        if (!m_Modes.NeedsIteration(k, m_IterationRule == IterationRule::AskEvery)) return StepEnd::Accepted;
        PumpWhenDue();
    }
}

CSimulatorDoc::StepEnd CSimulatorDoc::RunSteps(RunProgress* progress)
{
    for (int k = m_h; k <= m_h + m_StepCount; ++k) {
        if (k % (m_StepCount / 100 + 10) == 0 && progress) progress->SetPos(k - m_h);
        // Whatever ran since the last step (reading the netlist, the window's events) may have left
        // the vector registers in the state that makes every exp of the step slow.
        ClearUpperVectorState();
        m_Results.Set(0, k, 0.0);
        m_Iteration = 0;
        m_t = (k - m_h) * m_dt + m_StartTime;
        const StepEnd end = IterateStep(k);
        if (end == StepEnd::Failed) return end;
        if (end == StepEnd::Stopped) {
            // The step whose factorisation was given up is not kept; without a step before it there
            // is nothing to keep at all.
            if (k == m_h) return end;
            m_StepCount = k - 1 - m_h;
            break;
        }
        m_Modes.AcceptStep(k);
        if (k % 100 == 0) {
            PumpWaitingMessages();
        } else if (ClockSaysDue()) {
            // Long steps move the bar at every pump, not only at the steps the divisor picks.
            if (progress) progress->SetPos(k - m_h);
            PumpWaitingMessages();
        }
        if (m_AbortRequested) m_StepCount = k - m_h;
    }

    return StepEnd::Accepted;
}

bool CSimulatorDoc::RunSimulation(RunProgress* progress)
{
    if (AnyRunInProgress()) {
        ui().message(QStringLiteral("Simulation already in progress!"));
        return false;
    }
    m_NetlistText = m_ViewText;
    SetRunning(true);
    m_AbortRequested = false;
    m_FactorStopped = false;
    m_Unconverged = false;
    m_Modes.ResetCounts();
    m_SincePump.start();
    m_LastClockRead = 0;
    m_ClockStride = m_ClockCountdown = 1;
    if (ResultsValid()) FreeResults();

    const auto fail = [this]() {
        m_Modes.Free();
        FreeResults();
        SetRunning(false);
        return false;
    };
    bool setUp = false;
    try {
        setUp = SetUpRun();
    } catch (const std::bad_alloc&) {
        // A netlist of millions of statements can exhaust memory anywhere on its way to the systems.
        ui().message(QStringLiteral("Error.  Not enough memory for this run."));
    }
    if (!setUp) return fail();

    if (progress) {
        progress->SetRange(0, m_StepCount);
        progress->SetPos(0);
    }
    QElapsedTimer clock;
    clock.start();

    const StepEnd end = RunSteps(progress);
    if (end == StepEnd::Stopped) {
        // Nothing to keep, but the run ends with its report, as a stopped run does, saying why there
        // is nothing to plot.
        ui().message(QStringLiteral("Simulation completed in ") + ElapsedText(clock) +
                     QStringLiteral(", stopped before its first time step: no results."));
    }
    if (end != StepEnd::Accepted) return fail();

    ui().message(QStringLiteral("Simulation completed in ") + ElapsedText(clock));
    m_Modes.Free();
    m_Results.Complete(m_StepCount + 1, m_NodeLookup, m_NodeNames, m_Elements);
    SetRunning(false);
    PumpWaitingMessages();
    return true;
}
