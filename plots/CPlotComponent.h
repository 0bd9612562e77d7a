#pragma once

#include "ClassRegistry.h"
#include "Rect.h"

#include <QPoint>
#include <QString>

class Dc;

// An annotation on a plot page. The plot view makes its rubber bands of these: dotted frames
// anchored where the mouse went down and spanning to where it is.
class CPlotComponent : public Persistent {
public:
    static const ClassInfo Class;
    static constexpr qint32 kDottedFrame = 3; // the only kind that shows anything

    const ClassInfo& RuntimeClass() const override { return Class; }
    // The annotation record; a loaded annotation is visible.
    void Serialize(Archive& ar) override;
    // A dotted frame draws its outline; other kinds draw nothing. True when something was drawn.
    bool Draw(Dc& dc) const;

    QPoint Anchor; // page twips
    Rect Bounds;   // page twips
    quint8 Visible = 0;
    quint8 Highlighted = 0; // not stored
    qint32 Kind = 0;
    qint32 Reserved = 0;
    QString Text;
    bool Flag = false;
};
