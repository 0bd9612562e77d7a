#pragma once

#include "CPlotComponent.h"
#include "CPlotTrace.h"
#include "CUndo.h"
#include "Document.h"
#include "PlotLayout.h"
#include "Rect.h"

#include <QString>

#include <array>
#include <list>
#include <memory>
#include <vector>

class Archive;
class ClassRegistry;
class Dc;

using PlotComponentList = std::list<std::unique_ptr<CPlotComponent>>;

// Registers the classes a plot stores, so that its archive can be read back by class name.
// Registering twice changes nothing.
void RegisterPlotClasses(ClassRegistry& registry);

// A plot: evaluated traces drawn against common axes on a landscape page, and the annotations on
// it. The trace-selection dialog fills the traces and asks the plot to scale itself; the plot view
// draws it and zooms its axes. Its archive serves saving and the undo snapshots.
class CPlotDoc : public Document, public CUndo {
public:
    // Pen colours, 0x00BBGGRR, given to the traces in turn.
    static constexpr std::array<quint32, 8> kPalette = {0xC80000, 0x00AA00, 0x0000C8, 0x808000,
                                                        0x008080, 0x800080, 0x000000, 0x808080};

    CPlotDoc();
    ~CPlotDoc() override;

    // ---- Document ----
    // An empty plot on the standard page, scaled to the defaults.
    bool OnNewDocument() override;
    // Deletes the annotations; the traces stay (a load replaces them).
    void DeleteContents() override;
    files::Kind FileKind() const override { return files::Kind::Plot; }
    bool Load(QIODevice& in) override;
    bool Save(QIODevice& out) override;

    // The plot's archive. Reading throws ArchiveError on a damaged archive and then leaves the plot
    // as it was; counts read beyond what they count are clamped.
    void Serialize(Archive& ar);

    // Fits the axes to the traces in use: the time range and its unit and tick step, an integer
    // vertical range that holds every trace's scaled values and [-1, 1], and the trace colours.
    // A time range without length is widened by one sample interval.
    void AutoScale();
    // Shows the part of the plot inside r (page twips, left < right, top > bottom). A rectangle
    // without area changes nothing.
    void ZoomToRect(Rect r);

    // Draws the plot on its page (twips, y upward): frame, ticks, grid, labels, the traces clipped
    // to the plot area, and the legend. The traces' points are computed for the context's columns
    // and kept for the next drawing while the axes stay.
    void DrawPlot(Dc& dc);

    // The value of the first sample at or after time t, 0 when there is none. Throws
    // std::out_of_range for an index outside the trace array.
    double GetTraceValueAt(int i, double t) const;
    QString GetTraceName(int i) const;

    // A new annotation at the tail of the list; marks the plot modified.
    CPlotComponent* AddComponent();
    PlotComponentList& Annotations() { return m_Annotations; }
    const PlotComponentList& Annotations() const { return m_Annotations; }

    // The trace count within the trace array.
    int TracesInUse() const;

    // ---- the plot's data ----
    qint32 ArchiveWord = 0; // 1 after a load
    qint32 TraceCount = 0;  // traces in use, from the first
    std::vector<CPlotTrace> Traces;
    std::array<QString, 3> Texts;
    PlotAxes Axes;
    Rect PageRect = plot::kPage;

protected:
    void SerializeForUndo(Archive& ar) override { Serialize(ar); }

private:
    const CPlotTrace& TraceAt(int i) const;

    PlotComponentList m_Annotations;
};
