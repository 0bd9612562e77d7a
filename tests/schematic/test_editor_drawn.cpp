// What the window shows is what the editor works on: a click on any stroke of a part selects it, and
// a wire dropped on a pin joins that pin, wherever the wire started.
#include "CDrawing.h"
#include "ComponentListCheck.h"
#include "EditorFixture.h"
#include "SchematicSheet.h"

#include <cmath>
#include <numbers>

namespace {

// Points on every stroke of a drawing, in page twips: the ends and middle of each line, the
// corners of polygons, the middle of each side of rectangles and ellipses, and the middle of each
// arc as it runs (counterclockwise on the y-up page).
std::vector<QPoint> strokePoints(const RecordingDc& rec)
{
    std::vector<QPoint> out;
    for (const DcEntry& e : rec.Entries()) {
        const auto& p = e.points;
        switch (e.kind) {
        case DcShape::Line:
            out.insert(out.end(), {p[0], p[1], (p[0] + p[1]) / 2});
            break;
        case DcShape::Polyline:
        case DcShape::Polygon:
            out.insert(out.end(), p.begin(), p.end());
            break;
        case DcShape::Rectangle:
        case DcShape::Ellipse: {
            const Rect b = e.Box();
            const int mx = (b.left + b.right) / 2, my = (b.top + b.bottom) / 2;
            out.insert(out.end(), {{mx, b.top}, {mx, b.bottom}, {b.left, my}, {b.right, my}});
            break;
        }
        case DcShape::Arc: {
            const Rect b = e.Box();
            const double cx = (b.left + b.right) / 2.0, cy = (b.top + b.bottom) / 2.0;
            const double rx = std::abs(b.right - b.left) / 2.0, ry = std::abs(b.top - b.bottom) / 2.0;
            const auto angle = [&](QPoint q) { return std::atan2((q.y() - cy) / ry, (q.x() - cx) / rx); };
            const double from = angle(p[2]);
            double to = angle(p[3]);
            if (to <= from) to += 2 * std::numbers::pi;
            const double mid = (from + to) / 2;
            out.emplace_back(int(std::lround(cx + rx * std::cos(mid))),
                             int(std::lround(cy + ry * std::sin(mid))));
            break;
        }
        default:
            break;
        }
    }
    return out;
}

} // namespace

TEST_F(EditorTest, AClickOnAnyStrokeOfAnyPartAtAnyOrientationSelectsIt)
{
    const QPoint at = Grid(40, 30);
    int checked = 0;
    for (const ComponentType& type : ComponentTypes()) {
        const std::unique_ptr<CComponent> sample = CTorvex2Doc::CreateComponent(type.id);
        if (!sample || sample->GetAttachmentCount() <= 0 || type.id == TypeWire) continue;
        for (int orientation = 1; orientation <= 4; ++orientation) {
            SCOPED_TRACE(testing::Message() << type.name << " at orientation " << orientation);
            doc.Components().clear();
            editor.OnPartsTool(type.id);
            for (int turns = 0; turns < 4 && editor.PlacedObject()->Orientation != orientation; ++turns)
                Key(Qt::Key_R);
            Click(at);
            Key(Qt::Key_Escape);
            CComponent& part = At(0);
            ASSERT_EQ(part.Orientation, orientation);
            Paint();
            RecordingDc rec;
            part.Draw(rec);
            for (QPoint p : strokePoints(rec)) {
                editor.DeselectAll();
                Click(p);
                EXPECT_TRUE(part.Selected) << "a click at " << (p - at).x() << ", " << (p - at).y();
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 1000);
}

TEST_F(EditorTest, AWireDroppedOnAPinJoinsItWhereverItStarted)
{
    // R1's pin 1 stands at `pin`; the pointer comes up two pixels inside its dot. 30 twips is off the
    // grid by less than a step.
    const QPoint pin = Grid(10, 5), nearPin = pin + QPoint(24, -24), off(0, -30);
    const struct {
        const char* what;
        std::vector<QPoint> clicks;
        size_t wires;
        bool snapParts = true;
    } cases[] = {
        {"from a free point off the grid straight across: the start moves onto the pin's line",
         {Grid(4, 5) + off, nearPin},
         1},
        {"from a bend off the grid: the bend slides along the leg before it",
         {Grid(4, 9), Grid(4, 5) + off, nearPin},
         2},
        {"from the grid one row beside the pin's line: a corner onto the pin", {Grid(4, 6), nearPin}, 2},
        {"from off the grid more than a step beside it: a corner", {Grid(4, 7) + off, nearPin}, 2},
        {"from another part's pin off the grid, which must not move: a corner",
         {Grid(8, 5) + off, nearPin},
         2,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        doc.Components().clear();
        Place(TypeResistor, pin);
        doc.SnapToGrid = c.snapParts;
        if (!c.snapParts) Place(TypeResistor, Grid(4, 5) + off); // its pin 2 is the wire's start
        doc.SnapToGrid = 1;
        editor.OnPartsTool(TypeWire);
        for (QPoint p : c.clicks)
            Click(p);
        Key(Qt::Key_Escape);
        const std::vector<CComponent*> wires = OfType(TypeWire);
        ASSERT_EQ(wires.size(), c.wires);
        for (const CComponent* w : wires)
            EXPECT_TRUE(w->Extent.left == w->Extent.right || w->Extent.top == w->Extent.bottom);
        // Two ends meet at R1's pin 1: the pin and the last leg's end.
        EXPECT_EQ(At(3).Position, pin);
        EXPECT_EQ(At(3).Orientation, 2);
        EXPECT_TRUE(CheckComponentList(doc.Components()));
    }
}
