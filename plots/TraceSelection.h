#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CPlotDoc;
class ResultsTable;
class RunSettingsReceiver;

// What the trace selection reads of a completed run: the trace names its elements offer, its node
// names, its time axis and the values of a trace.
class TraceSource {
public:
    virtual ~TraceSource() = default;
    // Adds the names that every element offers in `group`, element by element.
    virtual void AddOutputNames(const QString& group, QStringList& list) const = 0;
    // The names of nodes 1..N (ground left out).
    virtual QStringList NodeNames() const = 0;
    // Time points of the run: step count + 1.
    virtual int PointCount() const = 0;
    virtual double TimeStep() const = 0;
    virtual double StartTime() const = 0;
    // Fills out[0..n-1]; false, after its own message, when the name cannot be evaluated.
    virtual bool GetTraceValues(const QString& name, int n, double* out) const = 0;
};

// The last run of a netlist document, as its results table holds it.
class SimulatorTraceSource : public TraceSource {
public:
    explicit SimulatorTraceSource(const ResultsTable& run) : m_Run(run) {}
    void AddOutputNames(const QString& group, QStringList& list) const override;
    QStringList NodeNames() const override;
    int PointCount() const override;
    double TimeStep() const override;
    double StartTime() const override;
    bool GetTraceValues(const QString& name, int n, double* out) const override;

private:
    const ResultsTable& m_Run;
};

// The work of the trace-selection dialog, without its window: the trace lists by type, the selection
// line and its history in the schematic, and the three ways out (a plot, .wvf files, a text table).
// Every message goes through UiServices.
class TraceSelection {
public:
    // The trace types in list order; their texts are what the elements are asked with.
    static const QStringList& TraceTypes();
    static constexpr int kPartVoltages = 0;
    static constexpr int kHistoryLength = 10;

    // archivePath: the run's input folder as the user gave it (a Windows path ending in "\"), where
    // the .wvf files go. schematic: the schematic the netlist was made from, whose history the line
    // joins; an expired link means no history.
    TraceSelection(const TraceSource& source, QString archivePath,
                   std::weak_ptr<RunSettingsReceiver> schematic);

    const QString& ArchivePath() const { return m_ArchivePath; }

    // The names of a trace type in list order (the type list's index): what the elements offer and,
    // for part voltages, V(node) of every node whose name begins with N or P.
    QStringList TraceNames(int type) const;
    // The selection line after a double click on `trace` in the trace list.
    static QString AppendTrace(const QString& line, const QString& trace);
    // The names of a selection line: the blank separates them, runs of blanks give no empty names.
    static QStringList SplitLine(const QString& line);
    // The names joined by single blanks.
    static QString NormalisedLine(const QString& line) { return SplitLine(line).join(u' '); }
    // The order of the dialog's lists: alphabetical whatever the case, as the archive's lists.
    static void SortForList(QStringList& names);

    // The saved lines in the order the history box shows them; none without a schematic.
    QStringList HistoryLines() const;
    // Saves the line (normalised) at the head of the schematic's history unless it is there or empty,
    // keeping at most kHistoryLength lines, and marks the schematic modified.
    void RememberLine(const QString& line);

    // A new plot of the line's traces through the plot template; true when the plot was made (the
    // dialog then closes). A name that cannot be evaluated ends the traces before it.
    bool Plot(const QString& line);
    // Fills the plot's traces from the names and scales it.
    void FillPlot(CPlotDoc& plot, const QStringList& names) const;
    // One .wvf file per name in the archive folder; "Save to Orlisk complete" only when every file
    // was written.
    void SaveToOrlisk(const QString& line);
    // The traces as a text table in a file the user names.
    void SaveToTextFile(const QString& line);
    // The table's bytes: a header line and one line per time point, columns "% #.4e" in the C
    // locale, lines ended by CR LF. False after the message when a name cannot be evaluated.
    bool TextTable(const QStringList& names, QByteArray& out) const;
    // May the name become a file name in the archive folder? Refused: path separators, "..",
    // characters that Windows does not allow in names, control characters, a trailing dot.
    static bool IsSafeFileName(const QString& name);

private:
    // The trace's values at every time point; false after "Can't evaluate ..." (the exports' message).
    bool EvaluateForExport(const QString& name, std::vector<double>& values) const;

    const TraceSource& m_Source;
    QString m_ArchivePath;
    std::weak_ptr<RunSettingsReceiver> m_Schematic;
};
