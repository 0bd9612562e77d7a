#include "CSimulatorDoc.h"

#include "CComponentSim.h"
#include "ElementClass.h"
#include "MemoryBudget.h"
#include "Text.h"
#include "UiServices.h"

#include <QElapsedTimer>
#include <QIODevice>

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

CSimulatorDoc::CSimulatorDoc() = default;

CSimulatorDoc::~CSimulatorDoc()
{
    if (m_Running) SetRunning(false);
    FreeResults();
}

// ---------------------------------------------------------------------------------------------
// Reader

double CSimulatorDoc::ParseValue(const QString& textIn) const
{
    static const QString kSuffixLetters = QStringLiteral("KMGTUNPFHVA");
    const QString& s = textIn;
    int p = -1;
    for (int i = 0; i < s.size(); ++i)
        if (kSuffixLetters.contains(s[i])) {
            p = i;
            break;
        }
    if (p < 0) {
        int used = 0;
        const double v = text::parseDouble(s, &used);
        if (used < s.size()) ui().message(QStringLiteral("Warning: Unrecognized Character in Netlist."));
        return v;
    }
    const QString mantissaText = s.left(p);
    int used = 0;
    const double mantissa = text::parseDouble(mantissaText, &used);
    if (used < mantissaText.size())
        ui().message(QStringLiteral("Warning: Unrecognized Character in Netlist"));

    const QStringView suffix = QStringView(s).mid(p);
    double mult = 1.0;
    switch (suffix[0].unicode()) {
    case u'T':
        mult = 1e12;
        break;
    case u'G':
        mult = 1e9;
        break;
    case u'K':
        mult = 1e3;
        break;
    case u'M':
        if (suffix.startsWith(u"MEG"))
            mult = 1e6;
        else if (suffix.startsWith(u"MIL"))
            mult = 25.4;
        else
            mult = 1e-3;
        break;
    case u'U':
        mult = 1e-6;
        break;
    case u'N':
        mult = 1e-9;
        break;
    case u'P':
        mult = 1e-12;
        break;
    case u'F':
        mult = 1e-15;
        break;
    default:
        mult = 1.0;
        break; // A, H, V
    }
    return mantissa * mult;
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

static QString trimLeft(const QString& s)
{
    int i = 0;
    while (i < s.size() && isTrimSpace(s[i]))
        ++i;
    return s.mid(i);
}

static QString trimBoth(const QString& s)
{
    int a = 0, b = int(s.size());
    while (a < b && isTrimSpace(s[a]))
        ++a;
    while (b > a && isTrimSpace(s[b - 1]))
        --b;
    return s.mid(a, b - a);
}

bool CSimulatorDoc::ReadRunSettings()
{
    m_SettingsRefused = false;
    if (auto link = m_LinkedSchematic.lock())
        link->ReceiveRunSettings(m_Settings, m_Settings.sourceMode == QLatin1String("Orlisk"));

    m_Settings.timeStep = text::upperAscii(m_Settings.timeStep);
    m_Settings.timeSpan = text::upperAscii(m_Settings.timeSpan);
    m_Settings.startTime = text::upperAscii(m_Settings.startTime);
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
    QString rest = text::upperAscii(m_NetlistText);
    m_Lines.clear();
    for (;;) {
        int brk = -1;
        for (int i = 0; i < rest.size(); ++i)
            if (rest[i] == u'\r' || rest[i] == u'\n') {
                brk = i;
                break;
            }
        if (brk <= 0) {
            const QString last = trimBoth(rest);
            if (!last.isEmpty()) m_Lines << last;
            break;
        }
        m_Lines << rest.left(brk);
        rest = trimLeft(rest.mid(brk + 1));
    }
    if (m_Lines.isEmpty()) return false;
    if (!m_Lines.first().startsWith(u'*')) {
        ui().message(QStringLiteral("First line of Netlist must be a comment!"));
        return false;
    }
    for (int i = int(m_Lines.size()) - 1; i >= 1; --i) {
        if (m_Lines[i].startsWith(u'+')) {
            m_Lines[i - 1] += m_Lines[i].mid(1);
            m_Lines.removeAt(i);
        }
    }
    for (int i = int(m_Lines.size()) - 1; i >= 0; --i)
        if (m_Lines[i].startsWith(u'*')) m_Lines.removeAt(i);
    return !m_Lines.isEmpty();
}

static QStringList tokenize(const QString& line)
{
    QStringList tokens;
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
    m_N = 0;
    if (!m_Factory) {
        ui().message(QStringLiteral("Error.  This program was built without its simulation elements."));
        return false;
    }
    for (const QString& line : std::as_const(m_Lines)) {
        const QStringList tokens = tokenize(line);
        std::unique_ptr<CComponentSim> element;
        const ElementClass cls = ChooseElementClass(tokens);
        if (cls != ElementClass::Unrecognized && cls != ElementClass::NoModel) element = m_Factory(cls, this);
        if (!element) {
            ui().message(QStringLiteral("Netlist Error:  Unrecognized Statement: ") + line);
            return false;
        }
        if (!element->Parse(tokens)) return false;
        m_Elements.push_back(std::move(element));
    }
    return true;
}

void CSimulatorDoc::DeleteElements()
{
    m_Elements.clear();
    m_PartElements.clear();
}

// ---------------------------------------------------------------------------------------------
// Run

void CSimulatorDoc::LinearSystem::allocate(int n, bool dense)
{
    A.reset(n);
    rhs.assign(size_t(n) + 1, 0.0);
    indx.assign(size_t(n) + 1, 0);
    lu.reset(n);
    lu.setDense(dense);
}

void CSimulatorDoc::LinearSystem::release()
{
    A.reset(0);
    rhs = {};
    indx = {};
    lu.reset(0);
}

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
    try {
        m_Results.Allocate(m_N + m_M + 1, m_h, m_StepCount, m_StartTime, m_dt);
    } catch (const std::bad_alloc&) {
        m_Results.Clear();
        ui().message(QStringLiteral("Error.  Not enough memory for the results of this run."));
        return false;
    }
    return true;
}

void CSimulatorDoc::FreeWorkArrays()
{
    m_Full.release();
    m_Reduced.release();
    m_Parts.clear();
    m_Touching = {};
    for (StepList* list :
         {&m_BeginList, &m_PreSolveList, &m_StampAllList, &m_StampRhsList, &m_IterateList, &m_EndList})
        *list = {};
}

void CSimulatorDoc::FreeResults()
{
    m_Lines.clear();
    m_Results.Clear();
    m_Elements.clear();
    m_PartElements.clear();
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

bool CSimulatorDoc::Load(QIODevice& in)
{
    // Refused from the size alone where it is known, so a huge file is never read.
    QByteArray bytes;
    bool tooLarge = false;
    if (!in.isSequential()) {
        tooLarge = in.size() - in.pos() > kMaxFileBytes;
        if (!tooLarge) bytes = in.readAll();
    } else {
        while (bytes.size() <= kMaxFileBytes) {
            const QByteArray chunk = in.read(qint64(1) << 16);
            if (chunk.isEmpty()) break;
            bytes += chunk;
        }
        tooLarge = bytes.size() > kMaxFileBytes;
    }
    if (tooLarge) {
        ui().message(QStringLiteral("The file is too large to open."));
        return false;
    }
    // The view holds lines ended by a line feed; an odd last byte is no character and is dropped.
    QString text(bytes.size() / 2, Qt::Uninitialized);
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(char16_t(b[2 * i] | b[2 * i + 1] << 8));
    // A byte-order mark (some editors write one) is not part of the netlist.
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    SetNetlistText(text);
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
}

namespace {
const CSimulatorDoc* g_runningDoc = nullptr;
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

bool CSimulatorDoc::SetUpRun()
{
    if (!ReadNetlistLines()) {
        if (!m_SettingsRefused) ui().message(QStringLiteral("Initialization Failure (empty netlist?)"));
        return false;
    }
    if (!ParseNetlistStatements()) {
        ui().message(QStringLiteral("Error.  ProcessNetlist Failure."));
        DeleteElements();
        return false;
    }

    m_h = 1;
    for (auto& e : m_Elements)
        e->Prepare();
    m_NonlinearCount =
        int(std::count_if(m_Elements.begin(), m_Elements.end(), [](const auto& e) { return e->Nonlinear; }));
    try {
        ChooseMatrixMode();
        if (!CheckMemoryBudget() || !AllocateResults()) return false;
        for (auto& e : m_Elements)
            e->Initialise();
        SetUpSystems();
        return true;
    } catch (const std::bad_alloc&) {
        ui().message(QStringLiteral("Error.  Not enough memory for this run."));
        return false;
    }
}

bool CSimulatorDoc::IterateStep(int k)
{
    for (;;) {
        ++m_Iteration;
        RunStepList(m_BeginList, CComponentSim::BeginStepOp, k);
        RunStepList(m_PreSolveList, CComponentSim::PreSolveOp, k);
        if (!m_Maximal) AssembleFull(k);
        if (m_Minimal) AssembleReduced(k);
        if (m_Maximal) AssemblePartitions(k);
        bool solved = true;
        if (!m_Maximal) solved = SolveFull(k);
        if (solved && m_Minimal) solved = SolveReduced(k);
        if (solved && m_Maximal) solved = SolvePartitions(k);
        if (!solved) {
            if (!m_QuietSolveFailure) ui().message(QStringLiteral("Critical Error:  Matrax solve failure."));
            return false;
        }
        // The limit ends the run after this step, which keeps its last solution.
        if (m_Iteration > 10000) {
            ui().message(QStringLiteral("Failing to converge... Aborting."));
            m_AbortRequested = true;
            return true;
        }
        if (!RunStepList(m_IterateList, CComponentSim::NeedsIterationOp, k)) return true;
    }
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
    m_FactorCount = 0;
    m_StructureReuseCount = 0;
    if (ResultsValid()) FreeResults();

    const auto fail = [this]() {
        FreeWorkArrays();
        FreeResults();
        SetRunning(false);
        return false;
    };
    if (!SetUpRun()) return fail();

    if (progress) {
        progress->SetRange(0, m_StepCount);
        progress->SetPos(0);
    }
    QElapsedTimer clock;
    clock.start();

    for (int k = m_h; k <= m_h + m_StepCount; ++k) {
        if (k % (m_StepCount / 100 + 10) == 0 && progress) progress->SetPos(k - m_h);
        m_Results.Set(0, k, 0.0);
        m_Iteration = 0;
        m_t = (k - m_h) * m_dt + m_StartTime;
        if (!IterateStep(k)) return fail();
        RunStepList(m_EndList, CComponentSim::EndStepOp, k);
        m_MatrixDirty = false;
        std::fill(m_PartitionDirty.begin(), m_PartitionDirty.end(), 0);
        if (k % 100 == 0) PumpWaitingMessages();
        if (m_AbortRequested) m_StepCount = k - m_h;
    }

    const qint64 seconds = clock.elapsed() / 1000;
    ui().message(QStringLiteral("Simulation completed in ") + text::format("%02lld mins, %02lld secs",
                                                                           (long long)(seconds / 60 % 60),
                                                                           (long long)(seconds % 60)));
    FreeWorkArrays();
    m_Results.Complete(m_StepCount + 1, m_NodeLookup, m_Elements);
    SetRunning(false);
    PumpWaitingMessages();
    return true;
}
