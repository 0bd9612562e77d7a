#include "DcRecorder.h"

#include <algorithm>
#include <cmath>

namespace {
const char* shapeName(DcShape kind)
{
    switch (kind) {
    case DcShape::Line:
        return "Line";
    case DcShape::Polyline:
        return "Polyline";
    case DcShape::Polygon:
        return "Polygon";
    case DcShape::Rectangle:
        return "Rectangle";
    case DcShape::Ellipse:
        return "Ellipse";
    case DcShape::Arc:
        return "Arc";
    case DcShape::Text:
        return "Text";
    case DcShape::Pixel:
        return "Pixel";
    case DcShape::Fill:
        return "Fill";
    }
    return "?";
}
} // namespace

Rect DcEntry::Box() const
{
    if (points.size() < 2) return {};
    return Rect{points[0].x(), points[0].y(), points[1].x(), points[1].y()};
}

QString DcEntry::Describe() const
{
    QString s = QLatin1String(shapeName(kind));
    for (const QPoint& p : points)
        s += QStringLiteral(" %1,%2").arg(p.x()).arg(p.y());
    if (kind == DcShape::Text) s += QStringLiteral(" \"%1\"").arg(text);
    if (kind == DcShape::Pixel || kind == DcShape::Fill) s += u' ' + color.name();
    return s;
}

class RecordingDc::Recorder : public DcDevice {
public:
    void Output(const Dc& dc, const DcPrimitive& p) override
    {
        DcEntry e;
        e.kind = p.kind;
        e.points.assign(p.points.begin(), p.points.end());
        e.text = p.text.toString();
        e.color = p.color;
        e.pen = dc.GetCurrentPen();
        e.brush = dc.GetCurrentBrush();
        e.font = dc.GetCurrentFont();
        e.textColor = dc.GetTextColor();
        e.bkColor = dc.GetBkColor();
        e.bkMode = dc.GetBkMode();
        entries.push_back(std::move(e));
    }

    QSize TextExtent(const Dc& dc, QStringView text) override
    {
        const int h = dc.GetCurrentFont().height;
        qint64 cell;
        if (h > 0)
            cell = h;
        else if (h < 0)
            cell = std::llround(-h * 1.15);
        else // 16 device pixels
            cell = std::abs(dc.Mapping().LogicalY(16) - dc.Mapping().LogicalY(0));
        return QSize(int((text.size() * cell + 1) / 2), int(cell));
    }

    std::vector<DcEntry> entries;
};

namespace {
constexpr int kEverywhere = 1 << 28;
}

RecordingDc::RecordingDc(int dpi, bool printing)
    : Dc(nullptr, dpi, dpi, printing,
         QRect(QPoint(-kEverywhere, -kEverywhere), QPoint(kEverywhere - 1, kEverywhere - 1))),
      m_Recorder(std::make_unique<Recorder>())
{
    SetDevice(m_Recorder.get());
    SetMapMode(MM_TWIPS);
}

RecordingDc::~RecordingDc() = default;

const std::vector<DcEntry>& RecordingDc::Entries() const
{
    return m_Recorder->entries;
}

std::vector<DcEntry> RecordingDc::OfKind(DcShape kind) const
{
    std::vector<DcEntry> out;
    std::copy_if(m_Recorder->entries.begin(), m_Recorder->entries.end(), std::back_inserter(out),
                 [kind](const DcEntry& e) { return e.kind == kind; });
    return out;
}

int RecordingDc::Count(DcShape kind) const
{
    return int(std::count_if(m_Recorder->entries.begin(), m_Recorder->entries.end(),
                             [kind](const DcEntry& e) { return e.kind == kind; }));
}

QString RecordingDc::Describe() const
{
    QStringList lines;
    for (const DcEntry& e : m_Recorder->entries)
        lines << e.Describe();
    return lines.join(u'\n');
}

void RecordingDc::Clear()
{
    m_Recorder->entries.clear();
}
