#include "PartsTestSupport.h"

#include "ComponentClasses.h"
#include "ComponentTypeId.h"
#include "DcRecorder.h"

#include <gtest/gtest.h>

CComponent& PartsHost::addObject(quint32 type, const QString& text, quint8 visible)
{
    auto object = std::make_unique<CComponent>();
    object->Init(type);
    object->Text = text;
    object->Visible = visible;
    return add(std::move(object));
}

CComponent& placePart(ComponentHost& doc, std::unique_ptr<CComponent> part, QPoint at)
{
    CComponent& ref = *part;
    doc.Components().push_back(std::move(part));
    ref.Position = at;
    ref.CreateAttachments(doc, at.x(), at.y());
    ref.State = 1;
    return ref;
}

std::vector<CComponent*> objectsAfter(ComponentHost& doc, const CComponent& part)
{
    std::vector<CComponent*> out;
    bool seen = false;
    for (const auto& object : doc.Components()) {
        if (seen) out.push_back(object.get());
        seen = seen || object.get() == &part;
    }
    return out;
}

void turnPart(ComponentHost& doc, CComponent& part, int orientation)
{
    part.Orientation = orientation;
    for (auto it = doc.Components().begin(); it != doc.Components().end(); ++it)
        if (it->get() == &part) part.PlaceAttachments(doc, it);
}

std::array<std::vector<QPoint>, 4> twoPins(int length)
{
    const int l = length;
    return {{{{0, 0}, {l, 0}}, {{0, 0}, {0, -l}}, {{0, 0}, {-l, 0}}, {{0, 0}, {0, l}}}};
}

std::array<Rect, 4> twoPinExtents(int length, int halfHeight)
{
    const int l = length;
    const int h = halfHeight;
    return {{{0, h, l, -h}, {-h, 0, h, -l}, {-l, h, 0, -h}, {-h, l, h, 0}}};
}

Rect moved(const Rect& r, QPoint by)
{
    return Rect{r.left + by.x(), r.top + by.y(), r.right + by.x(), r.bottom + by.y()};
}

namespace {

// Where a lead can end: the ends of lines and polylines.
bool atLeadEnd(const RecordingDc& dc, QPoint p)
{
    for (const DcEntry& e : dc.Entries())
        if ((e.kind == DcShape::Line || e.kind == DcShape::Polyline) && !e.points.empty() &&
            (e.points.front() == p || e.points.back() == p))
            return true;
    return false;
}

bool onOutline(const Rect& x, QPoint p)
{
    return p.x() == x.left || p.x() == x.right || p.y() == x.top || p.y() == x.bottom;
}

} // namespace

void checkPartRow(const PartRow& row)
{
    SCOPED_TRACE(row.className);
    const ComponentClass* cls = FindComponentClass(row.className);
    ASSERT_TRUE(cls && cls->make);
    std::unique_ptr<CComponent> made = cls->make(row.typeId);
    EXPECT_STREQ(made->RuntimeClass().name, row.className);
    EXPECT_EQ(std::tuple(made->TypeId, made->Text, made->State, made->Orientation, made->DialogTemplate()),
              std::tuple(row.typeId, QString(row.letter), 0, row.orientation, row.dialogTemplate));
    EXPECT_EQ(made->GetDefaultValue(), QString(row.value));

    PartsHost host;
    host.counters[char16_t(row.letter[0])] = 6;
    const QPoint at(1440, -2880);
    CComponent& part = placePart(host, std::move(made), at);
    const std::vector<CComponent*> after = objectsAfter(host, part);
    const QStringList pins = QString(row.pins).split(' ');
    // Name label, value label (unless the part has none), IC label (where it has one), then the pins.
    QStringList labels{QString(row.letter) + "7"};
    std::vector<int> visible{1};
    if (row.valueLabel >= 0) {
        labels << row.value;
        visible.push_back(row.valueLabel);
    }
    if (row.ic) {
        labels << row.ic;
        visible.push_back(0);
    }
    const size_t labelCount = size_t(labels.size());
    ASSERT_EQ(int(after.size()), part.GetAttachmentCount());
    ASSERT_EQ(after.size(), labelCount + size_t(pins.size()));
    EXPECT_EQ(part.Text, labels[0]);
    QStringList texts;
    for (size_t i = 0; i < after.size(); ++i) {
        const CComponent& a = *after[i];
        texts << a.Text;
        EXPECT_STREQ(a.RuntimeClass().name, "CDrawing");
        EXPECT_EQ(std::tuple(a.TypeId, a.State, int(a.Visible), a.Extent, a.GetAttachmentCount()),
                  std::tuple(i < labelCount ? TypeLabel : TypeTerminal, 1, i < labelCount ? visible[i] : 1,
                             Rect{}, 0))
            << i;
    }
    EXPECT_EQ(texts, labels + pins);

    for (int o = 1; o <= 4; ++o) {
        turnPart(host, part, o);
        std::vector<QPoint> got;
        for (size_t i = labelCount; i < after.size(); ++i)
            got.push_back(after[i]->Position - at);
        EXPECT_EQ(got, row.pinsAt[size_t(o - 1)]) << "orientation " << o;
        RecordingDc dc;
        part.Draw(dc);
        EXPECT_EQ(part.Extent, moved(row.extents[size_t(o - 1)], at)) << "orientation " << o;
        for (size_t i = labelCount; i < after.size(); ++i)
            EXPECT_TRUE(atLeadEnd(dc, after[i]->Position) && onOutline(part.Extent, after[i]->Position))
                << "orientation " << o << " pin " << i - labelCount + 1;
    }
    turnPart(host, part, row.orientation);
    for (size_t i = 0; i < labelCount; ++i)
        EXPECT_EQ(after[i]->Position - at, row.labels[i]) << i;
    // An orientation without a figure moves pin 1 alone.
    part.Position = QPoint(0, 0);
    turnPart(host, part, 5);
    EXPECT_EQ(after[labelCount]->Position, QPoint(0, 0));
    EXPECT_EQ(after[labelCount + 1]->Position, at + row.pinsAt[size_t(row.orientation - 1)][1]);

    // The figure of a part being placed: grey, solid, 15 twips wide; the pen and brush are put back.
    const std::unique_ptr<CComponent> fresh = cls->make(row.typeId);
    fresh->Orientation = 1;
    RecordingDc dc;
    const Pen pen = dc.GetCurrentPen();
    const Brush brush = dc.GetCurrentBrush();
    fresh->Draw(dc);
    EXPECT_EQ(dc.Describe(), QString(row.figure));
    ASSERT_FALSE(dc.Entries().empty());
    EXPECT_EQ(dc.Entries()[0].pen, (Pen(Pen::Solid, 15, QColor(128, 128, 128))));
    EXPECT_EQ(std::tuple(dc.GetCurrentPen(), dc.GetCurrentBrush()), std::tuple(pen, brush));
    // Placed dark green, light red when selected.
    for (const auto& [selected, colour] : {std::pair(0, QColor(0, 128, 0)), {1, QColor(255, 64, 64)}}) {
        fresh->State = 1;
        fresh->Selected = quint8(selected);
        dc.Clear();
        fresh->Draw(dc);
        for (const DcEntry& e : dc.OfKind(DcShape::Line))
            EXPECT_EQ(e.pen, Pen(Pen::Solid, 15, colour)) << selected;
    }
}

void checkFamily(std::span<const PartRow> rows)
{
    for (const PartRow& row : rows) {
        checkPartRow(row);
        const std::unique_ptr<CComponent> part = FindComponentClass(row.className)->make(row.typeId);
        part->Orientation = 5;
        RecordingDc dc;
        part->Draw(dc);
        EXPECT_TRUE(dc.Entries().empty()) << row.className;
    }
}
