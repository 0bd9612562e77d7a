#include "CPlotDoc.h"

#include "Archive.h"
#include "Dc.h"
#include "UiServices.h"

#include <QIODevice>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <new>
#include <span>
#include <stdexcept>

namespace {

// The smallest stored trace: the fixed part of its record, two empty 8-bit texts and an empty
// sample count.
constexpr qsizetype kMinTraceBytes = 4 + 4 + 1 + 1 + 4 + 7 * 8 + 4 + 4 + 16 + 2;
// The smallest stored annotation: a class reference, the fixed part of its record, an empty 8-bit
// text and the flag.
constexpr qsizetype kMinAnnotationBytes = 2 + 8 + 16 + 4 + 4 + 1 + 1;

// An integer bound of the vertical range from a trace's extremes; stored values the arithmetic
// cannot bound give none.
double rangeBound(double v)
{
    return std::clamp(v, -plot::kCoordinateLimit, plot::kCoordinateLimit);
}

} // namespace

void RegisterPlotClasses(ClassRegistry& registry)
{
    registry.add(CPlotComponent::Class);
    registry.add(CPlotTrace::Class);
}

CPlotDoc::CPlotDoc()
{
    // Any plot must be able to read its own snapshots, whoever created it.
    RegisterPlotClasses(ClassRegistry::instance());
}

CPlotDoc::~CPlotDoc() = default;

bool CPlotDoc::OnNewDocument()
{
    if (!Document::OnNewDocument()) return false;
    PageRect = plot::kPage;
    AutoScale();
    return true;
}

void CPlotDoc::DeleteContents()
{
    m_Annotations.clear();
    Document::DeleteContents();
}

int CPlotDoc::TracesInUse() const
{
    return int(std::clamp<qint64>(TraceCount, 0, qint64(Traces.size())));
}

// ---- scaling ----

void CPlotDoc::AutoScale()
{
    const int count = TracesInUse();
    if (count < 1) {
        Axes.TimeUnit = 1;
        Axes.XTickStep = 1;
        Axes.YTickStep = 1;
        Axes.XMin = 0;
        Axes.XMax = 10;
        Axes.YMin = 0;
        Axes.YMax = 10;
        return;
    }
    for (CPlotTrace& t : Traces)
        t.PointsCached = false;

    // A run that stopped at its first step leaves a single sample, and a damaged file anything:
    // such a range is widened by a sample interval, so that the axis has a length to divide.
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    double interval = 0;
    for (int i = 0; i < count; ++i) {
        const CPlotTrace& t = Traces[size_t(i)];
        if (std::isfinite(t.T0)) lo = std::min(lo, t.T0);
        if (std::isfinite(t.TEnd)) hi = std::max(hi, t.TEnd);
        if (std::isfinite(t.Dt) && t.Dt > 0) interval = std::max(interval, t.Dt);
    }
    if (!(hi > lo) || !std::isfinite(hi - lo)) {
        const double widen = interval > 0 ? interval : 1;
        if (!std::isfinite(lo)) lo = std::isfinite(hi) ? hi : 0;
        hi = lo + widen;
        if (!(hi > lo)) hi = lo + std::abs(lo) * 1e-9;
        if (!(hi > lo) || !std::isfinite(hi)) {
            lo = 0;
            hi = widen;
        }
    }
    plot::ScaleTime(Axes, lo, hi);

    double yMin = 10;
    double yMax = -10;
    for (int i = 0; i < count; ++i) {
        const CPlotTrace& t = Traces[size_t(i)];
        const double below = std::trunc(std::floor(t.YMin / t.Scale)) - 1;
        const double above = std::trunc(std::ceil(t.YMax / t.Scale)) + 1;
        if (!std::isnan(below)) yMin = std::min(yMin, rangeBound(below));
        if (!std::isnan(above)) yMax = std::max(yMax, rangeBound(above));
    }
    yMin = std::min(yMin, -1.0);
    yMax = std::max(yMax, 1.0);
    Axes.YTickStep = plot::ValueTickStep(yMax - yMin);
    if (Axes.YTickStep == 2) {
        yMin = 2 * std::floor(yMin / 2);
        yMax = 2 * std::ceil(yMax / 2);
    }
    Axes.YMin = yMin;
    Axes.YMax = yMax;

    for (int i = 0; i < count; ++i) {
        CPlotTrace& t = Traces[size_t(i)];
        t.PenColor = kPalette[size_t(i) % kPalette.size()];
        t.ReservedWords[1] = qint32(t.PenColor);
    }
}

void CPlotDoc::ZoomToRect(Rect r)
{
    if (!plot::ZoomAxes(Axes, r)) return;
    for (CPlotTrace& t : Traces)
        t.PointsCached = false;
}

// ---- drawing ----

void CPlotDoc::DrawPlot(Dc& dc)
{
    using namespace plot;
    const Pen black(Pen::Solid, 20, QColor(0, 0, 0));
    const Pen grey(Pen::Solid, 20, QColor(0xC0, 0xC0, 0xC0));
    const Pen oldPen = dc.SelectObject(black);
    const Font oldFont = dc.SelectObject(Font(200));
    const auto line = [&dc](qint32 x1, qint32 y1, qint32 x2, qint32 y2) {
        dc.MoveTo(x1, y1);
        dc.LineTo(x2, y2);
    };
    const auto gridLine = [&](qint32 x1, qint32 y1, qint32 x2, qint32 y2) {
        dc.SelectObject(grey);
        line(x1, y1, x2, y2);
        dc.SelectObject(black);
    };

    dc.MoveTo(kArea.left, kArea.top);
    dc.LineTo(kArea.right, kArea.top);
    dc.LineTo(kArea.right, kArea.bottom);
    dc.LineTo(kArea.left, kArea.bottom);
    dc.LineTo(kArea.left, kArea.top);

    for (const Tick& t : XTicks(Axes)) {
        line(t.Pos, kArea.bottom, t.Pos, kArea.bottom - kTickLength);
        dc.TextOut(t.Pos - dc.GetTextExtent(t.Label).width() / 2, kXLabelTop, t.Label);
        if (t.Grid) gridLine(t.Pos, kArea.bottom, t.Pos, kArea.top);
    }
    const QString timeLabel = TimeAxisLabel(Axes.TimeUnit);
    dc.TextOut(kTimeLabelTopCentre.x() - dc.GetTextExtent(timeLabel).width() / 2, kTimeLabelTopCentre.y(),
               timeLabel);
    for (const Tick& t : YTicks(Axes)) {
        line(kArea.left, t.Pos, kArea.left - kTickLength, t.Pos);
        const QSize size = dc.GetTextExtent(t.Label);
        dc.TextOut(kYLabelRight - size.width(), t.Pos + size.height() / 2, t.Label);
        if (t.Grid) gridLine(kArea.left, t.Pos, kArea.right, t.Pos);
    }

    const int count = TracesInUse();
    const auto tracePen = [](const CPlotTrace& t) {
        // A damaged file may hold any width; wider than an inch is no line any more.
        return Pen(Pen::Solid, std::clamp(t.PenWidth, 0, 1440), FromColorRef(t.PenColor));
    };
    {
        DcSaver saved(dc);
        dc.IntersectClipRect(kArea);
        const ColumnMapping columns(dc.Mapping());
        for (int i = 0; i < count; ++i) {
            CPlotTrace& t = Traces[size_t(i)];
            dc.SelectObject(tracePen(t));
            const TracePolylines& p = t.ScreenPoints(Axes, columns);
            const std::span<const QPoint> points(p.Points);
            qsizetype start = 0;
            for (qsizetype end : p.RunEnds) {
                // A lone sample between gaps makes no line.
                if (end - start > 1) dc.Polyline(points.subspan(size_t(start), size_t(end - start)));
                start = end;
            }
        }
    }

    for (int i = 0; i < count; ++i) {
        const CPlotTrace& t = Traces[size_t(i)];
        const qint32 h = dc.GetTextExtent(t.Name).height();
        const LegendRow row = LegendLayout(i, h);
        dc.SelectObject(tracePen(t));
        line(row.LineFrom.x(), row.LineFrom.y(), row.LineTo.x(), row.LineTo.y());
        dc.TextOut(row.NameTopLeft.x(), row.NameTopLeft.y(), t.Name);
        dc.TextOut(row.ScaleTopLeft.x(), row.ScaleTopLeft.y(), ScaleLabel(t.Scale));
    }

    dc.SelectObject(oldPen);
    dc.SelectObject(oldFont);
}

// ---- traces and annotations ----

const CPlotTrace& CPlotDoc::TraceAt(int i) const
{
    if (i < 0 || size_t(i) >= Traces.size()) throw std::out_of_range("plot trace index out of range");
    return Traces[size_t(i)];
}

double CPlotDoc::GetTraceValueAt(int i, double t) const
{
    const CPlotTrace& trace = TraceAt(i);
    const qsizetype n = trace.SampleCount();
    qsizetype k = 0;
    if (trace.Dt > 0) {
        // Sample times only grow, so the first one at or after t is found by bisection.
        qsizetype lo = 0, hi = n;
        while (lo < hi) {
            const qsizetype mid = lo + (hi - lo) / 2;
            if (trace.TimeOf(mid) >= t)
                hi = mid;
            else
                lo = mid + 1;
        }
        k = lo;
    } else {
        while (k < n && !(trace.TimeOf(k) >= t))
            ++k;
    }
    return k < n ? trace.Values[size_t(k)] : 0.0;
}

QString CPlotDoc::GetTraceName(int i) const
{
    return TraceAt(i).Name;
}

CPlotComponent* CPlotDoc::AddComponent()
{
    m_Annotations.push_back(std::make_unique<CPlotComponent>());
    SetModifiedFlag(true);
    return m_Annotations.back().get();
}

// ---- the archive ----

bool CPlotDoc::Load(QIODevice& in)
{
    try {
        const QByteArray data = in.readAll();
        Archive ar(data);
        Serialize(ar);
        return true;
    } catch (const ArchiveError& e) {
        ui().message(QStringLiteral("Unexpected file format.\n") + e.detail());
    } catch (const std::bad_alloc&) {
        ui().message(QStringLiteral("Failed to open document."));
    }
    return false;
}

bool CPlotDoc::Save(QIODevice& out)
{
    QByteArray bytes;
    Archive ar(&bytes);
    Serialize(ar);
    return out.write(bytes) == bytes.size();
}

void CPlotDoc::Serialize(Archive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteInt(ArchiveWord);
        for (qint32 v : {PageRect.left, PageRect.top, PageRect.right, PageRect.bottom})
            ar.WriteInt(v);
        for (const QString& s : Texts)
            ar.WriteString(s);
        ar.WriteInt(TraceCount);
        ar.WriteDouble(Axes.TimeUnit);
        ar.WriteInt(Axes.XTickStep);
        for (double v : {Axes.XMin, Axes.XMax, Axes.FirstXTick})
            ar.WriteDouble(v);
        ar.WriteInt(Axes.YTickStep);
        for (double v : {Axes.YMin, Axes.YMax, Axes.Reserved})
            ar.WriteDouble(v);
        ar.WriteCount(quint32(Traces.size()));
        for (CPlotTrace& t : Traces)
            t.Serialize(ar);
        ar.WriteCount(quint32(m_Annotations.size()));
        for (const auto& a : m_Annotations)
            ar.WriteObject(*a);
        return;
    }

    // Everything is read aside first, so that a damaged archive leaves the plot as it was.
    ar.ReadInt(); // the archive word of the writer
    const Rect page = ar.ReadRect();
    // The view zooms over the page and divides by its size.
    const qint64 width = page.Width();
    const qint64 height = qint64(page.top) - page.bottom;
    if (width <= 0 || height <= 0 || width > INT_MAX || height > INT_MAX)
        throw ArchiveError(ArchiveError::BadValue, QStringLiteral("The page size is not valid."));
    std::array<QString, 3> texts;
    for (QString& s : texts)
        s = ar.ReadString();
    const qint32 traceCount = ar.ReadInt();
    PlotAxes axes;
    axes.TimeUnit = ar.ReadDouble();
    axes.XTickStep = ar.ReadInt();
    axes.XMin = ar.ReadDouble();
    axes.XMax = ar.ReadDouble();
    axes.FirstXTick = ar.ReadDouble();
    axes.YTickStep = ar.ReadInt();
    axes.YMin = ar.ReadDouble();
    axes.YMax = ar.ReadDouble();
    axes.Reserved = ar.ReadDouble();

    std::vector<CPlotTrace> traces;
    const quint32 stored = ar.ReadCount(kMinTraceBytes);
    for (quint32 i = 0; i < stored; ++i) {
        traces.emplace_back();
        traces.back().Serialize(ar);
    }
    PlotComponentList annotations = ar.ReadObjectList<PlotComponentList>(
        kMinAnnotationBytes, QStringLiteral("An object is not a plot annotation."));

    PageRect = page;
    Texts = std::move(texts);
    Traces = std::move(traces);
    TraceCount = traceCount;
    TraceCount = TracesInUse();
    Axes = axes;
    m_Annotations = std::move(annotations);
    ArchiveWord = 1;
}
