#include "TraceSelection.h"

#include "COrliskWave.h"
#include "CPlotDoc.h"
#include "DocManager.h"
#include "DocTemplate.h"
#include "Files.h"
#include "OrliskArchive.h"
#include "Paths.h"
#include "ResultsTable.h"
#include "RunSettings.h"
#include "Text.h"
#include "UiServices.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// The run of a netlist document

void SimulatorTraceSource::AddOutputNames(const QString& group, QStringList& list) const
{
    m_Run.AddOutputNames(group, list);
}

QStringList SimulatorTraceSource::NodeNames() const
{
    return m_Run.NodeNames();
}

int SimulatorTraceSource::PointCount() const
{
    return m_Run.PointCount();
}

double SimulatorTraceSource::TimeStep() const
{
    return m_Run.TimeStep();
}

double SimulatorTraceSource::StartTime() const
{
    return m_Run.StartTime();
}

bool SimulatorTraceSource::GetTraceValues(const QString& name, int n, double* out) const
{
    return m_Run.GetTraceValues(name, n, out);
}

// ---------------------------------------------------------------------------------------------
// Lists and the selection line

namespace {
const QString kWriteError = QStringLiteral("Error:  Orlisk waveform write error, file=");
} // namespace

TraceSelection::TraceSelection(const TraceSource& source, QString archivePath,
                               std::weak_ptr<RunSettingsReceiver> schematic)
    : m_Source(source), m_ArchivePath(std::move(archivePath)), m_Schematic(std::move(schematic))
{
}

const QStringList& TraceSelection::TraceTypes()
{
    static const QStringList types = {
        QStringLiteral("Part Voltages"),    QStringLiteral("Part Currents"),
        QStringLiteral("Part Impedances"),  QStringLiteral("Source Voltages"),
        QStringLiteral("Source Currents"),  QStringLiteral("TLine Voltages"),
        QStringLiteral("TLine Currents"),   QStringLiteral("TLine Waves"),
        QStringLiteral("TLine Impedances"), QStringLiteral("Node Voltages"),
        QStringLiteral("Orlisk Traces"),    QStringLiteral("Special"),
    };
    return types;
}

void TraceSelection::SortForList(QStringList& names)
{
    std::stable_sort(names.begin(), names.end(), orlisk::NameLess);
}

QStringList TraceSelection::TraceNames(int type) const
{
    QStringList names;
    if (type < 0 || type >= TraceTypes().size()) return names;
    m_Source.AddOutputNames(TraceTypes()[type], names);
    if (type == kPartVoltages)
        for (const QString& node : m_Source.NodeNames())
            if (node.startsWith(u'N') || node.startsWith(u'P')) names << QStringLiteral("V(") + node + u')';
    SortForList(names);
    return names;
}

QString TraceSelection::AppendTrace(const QString& line, const QString& trace)
{
    return line.isEmpty() ? trace : line + u' ' + trace;
}

QStringList TraceSelection::SplitLine(const QString& line)
{
    // Only the blank separates names; a tab belongs to the name it stands in.
    return line.split(u' ', Qt::SkipEmptyParts);
}

// ---------------------------------------------------------------------------------------------
// History

QStringList TraceSelection::HistoryLines() const
{
    const std::shared_ptr<RunSettingsReceiver> schematic = m_Schematic.lock();
    const QStringList* history = schematic ? schematic->TraceSelectionHistory() : nullptr;
    if (!history) return {};
    QStringList lines = *history;
    SortForList(lines);
    return lines;
}

void TraceSelection::RememberLine(const QString& line)
{
    const std::shared_ptr<RunSettingsReceiver> schematic = m_Schematic.lock();
    QStringList* history = schematic ? schematic->TraceSelectionHistory() : nullptr;
    if (!history) return;
    // Stored as compared: a line typed with extra blanks is the same line and is kept once.
    const QString normalised = NormalisedLine(line);
    if (normalised.isEmpty() || history->contains(normalised)) return;
    while (history->size() > kHistoryLength - 1)
        history->removeLast();
    history->prepend(normalised);
    schematic->SetModified();
}

// ---------------------------------------------------------------------------------------------
// Plot

bool TraceSelection::Plot(const QString& line)
{
    const QStringList names = SplitLine(line);
    if (names.isEmpty()) return false;
    DocManager* manager = DocManager::Instance();
    if (!manager) return false;
    DocTemplate* plots = manager->FindTemplate<CPlotDoc>();
    if (!plots) return false;
    auto* plot = dynamic_cast<CPlotDoc*>(plots->OpenDocumentFile(QString(), true));
    if (!plot) return false;
    RememberLine(line);
    FillPlot(*plot, names);
    plot->UpdateAllViews(nullptr);
    return true;
}

void TraceSelection::FillPlot(CPlotDoc& plot, const QStringList& names) const
{
    const int n = m_Source.PointCount();
    plot.TraceCount = qint32(names.size());
    plot.Traces.clear();
    plot.Traces.resize(size_t(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i) {
        CPlotTrace& trace = plot.Traces[size_t(i)];
        trace.ReservedB = 1;
        trace.PointCount = n;
        trace.Values.assign(size_t(n), 0.0);
        trace.Dt = m_Source.TimeStep();
        trace.T0 = m_Source.StartTime();
        trace.Name = names[i];
        if (!m_Source.GetTraceValues(trace.Name, n, trace.Values.data())) {
            // The traces before it stay; the plot opens with them.
            plot.TraceCount = qint32(i);
            break;
        }
        trace.ComputeStats();
    }
    plot.AutoScale();
}

// ---------------------------------------------------------------------------------------------
// Exports

bool TraceSelection::EvaluateForExport(const QString& name, std::vector<double>& values) const
{
    values.assign(size_t(m_Source.PointCount()), 0.0);
    if (m_Source.GetTraceValues(name, int(values.size()), values.data())) return true;
    ui().message(QStringLiteral("Can't evaluate ") + name + QStringLiteral(", aborting..."));
    return false;
}

bool TraceSelection::IsSafeFileName(const QString& name)
{
    return orlisk::IsValidFolderName(name) && !name.contains(QLatin1String(".."));
}

void TraceSelection::SaveToOrlisk(const QString& line)
{
    const QStringList names = SplitLine(line);
    if (names.isEmpty()) return;
    RememberLine(line);

    std::vector<double> values;
    bool allWritten = true;
    for (const QString& name : names) {
        if (!EvaluateForExport(name, values)) return;
        const QString path = m_ArchivePath + name + QStringLiteral(".wvf");
        if (!IsSafeFileName(name)) {
            // The name would leave the folder or is no file name at all.
            ui().message(kWriteError + paths::toNative(m_ArchivePath) + name + QStringLiteral(".wvf"));
            allWritten = false;
            continue;
        }
        COrliskWave wave;
        wave.Version = 3;
        wave.Name = name;
        wave.SampleInterval = float(m_Source.TimeStep());
        wave.FirstSampleTime = float(m_Source.StartTime());
        std::vector<float> samples(values.size());
        std::transform(values.begin(), values.end(), samples.begin(), [](double v) { return float(v); });
        wave.SetSamples(samples);
        wave.DeriveHeaderValues();
        // Write reports its own failure.
        if (!wave.Write(paths::toNative(path))) allWritten = false;
    }
    if (allWritten) ui().message(QStringLiteral("Save to Orlisk complete"));
}

bool TraceSelection::TextTable(const QStringList& names, QByteArray& out) const
{
    const int n = m_Source.PointCount();
    QStringList lines(n + 1);
    lines[0] = QStringLiteral("Time     ");
    for (int i = 1; i <= n; ++i)
        lines[i] = text::format("% #.4e", double(i - 1) * m_Source.TimeStep() + m_Source.StartTime());
    std::vector<double> values;
    for (const QString& name : names) {
        lines[0] += QStringLiteral(", ") + name;
        if (!EvaluateForExport(name, values)) return false;
        for (int i = 1; i <= n; ++i)
            lines[i] += text::format(", % #.4e", values[size_t(i - 1)]);
    }
    out.clear();
    for (const QString& l : std::as_const(lines))
        out += text::toAnsi(l) + "\r\n";
    return true;
}

void TraceSelection::SaveToTextFile(const QString& line)
{
    const QString path = ui().saveFileName(QStringLiteral("Text Files (*.txt)"), QStringLiteral("txt"));
    if (path.isEmpty()) return;
    const QStringList names = SplitLine(line);
    if (names.isEmpty()) return;
    QByteArray table;
    if (!TextTable(names, table)) return;
    // All or nothing: a file that cannot be written completely is not left behind half written.
    QString reason;
    if (!files::Write(path, table, &reason)) {
        ui().message(files::WithReason(QStringLiteral("Can't create file: ") + path, reason));
        return;
    }
    ui().message(QStringLiteral("Save to Text File Complete."));
}
