#include "PartsTestSupport.h"

#include "ComponentTypeId.h"

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

QPoint turned(int o, QPoint p)
{
    const QPoint kTurns[] = {p, {p.y(), -p.x()}, {-p.x(), p.y()}, {p.y(), p.x()}};
    return kTurns[o - 1];
}

Rect turned(int o, const Rect& r)
{
    const QPoint a = turned(o, QPoint(r.left, r.top)), b = turned(o, QPoint(r.right, r.bottom));
    return Rect{std::min(a.x(), b.x()), std::max(a.y(), b.y()), std::max(a.x(), b.x()),
                std::min(a.y(), b.y())};
}

Rect moved(const Rect& r, QPoint by)
{
    return Rect{r.left + by.x(), r.top + by.y(), r.right + by.x(), r.bottom + by.y()};
}
