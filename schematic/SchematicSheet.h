#pragma once

#include "ComponentHost.h"
#include "Rect.h"

#include <QRect>

#include <algorithm>
#include <optional>

class CComponent;
class CTorvex2Doc;
class Dc;
class DcMapping;

// The drawing sheet of a schematic and the geometry that drawing, hit testing and editing share.
namespace sheet {

// The frame lies this far inside the page edges; placing keeps objects inside it.
constexpr int kFrameInset = 1080;
// The zone border's bands around the frame.
constexpr int kZoneBand = 400;

Rect Frame(const Rect& page);

// A rectangle of device pixels (y downward), normalised; right and bottom are exclusive, as for
// a window's rectangles.
struct DeviceBox {
    qint64 left = 0, top = 0, right = 0, bottom = 0;

    DeviceBox Inflated(int pixels) const
    {
        return {left - pixels, top - pixels, right + pixels, bottom + pixels};
    }
    bool Contains(QPoint p) const { return left <= p.x() && p.x() < right && top <= p.y() && p.y() < bottom; }
    // Whether the two share any pixel.
    bool Meets(const DeviceBox& other) const
    {
        return std::max(left, other.left) < std::min(right, other.right) &&
               std::max(top, other.top) < std::min(bottom, other.bottom);
    }
};

DeviceBox ToDevice(const DcMapping& mapping, const Rect& page);
DeviceBox ToDevice(const QRect& device);

// The page box of every stroke of the object's drawing; none when it draws nothing.
std::optional<Rect> DrawnBox(CComponent& object);
// The square of a pin's dot: 3 pixels around its point, 4 while it is selected (or highlighted).
DeviceBox PinSquare(const DcMapping& mapping, const CComponent& pin);
// Where an object is hit, in device pixels: a pin's dot, a wire's line widened by `wireSlack`
// pixels, a label's or text's extent as its last drawing left it, and a symbol's extent together
// with every stroke its drawing makes (the stored extent of some symbols leaves strokes out), a
// pixel wider for the pen.
DeviceBox HitBox(const DcMapping& mapping, CComponent& object, int wireSlack);

// A label or pin that has no attachments of its own.
bool IsAttachment(const CComponent& object);
// The end of the group that starts at `head`: the object and the attachments (labels and pins)
// that follow it, as many as it reports and no further than the first object that is no
// attachment.
ComponentList::iterator GroupEnd(ComponentList& list, ComponentList::iterator head);
ComponentList::const_iterator GroupEnd(const ComponentList& list, ComponentList::const_iterator head);
// A group whose head reports exactly as many attachments as follow it, its labels before its pins.
bool GroupIntact(const ComponentList& list, ComponentList::const_iterator head);

// Paints the sheet and the document's objects in page twips: white ground, the frame, a black pixel
// at every grid point inside the frame (at any zoom: where the points lie closer than a pixel, the
// pixels they fall on), the zone border, then every object that meets the context's clip area.
void Draw(Dc& dc, CTorvex2Doc& doc);
// Draws the objects alone (as a picture of them).
void DrawObjects(Dc& dc, ComponentList& objects);

} // namespace sheet
