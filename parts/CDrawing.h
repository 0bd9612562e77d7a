#pragma once

#include "CComponent.h"
#include "Dc.h"

#include <QColor>
#include <QStringList>

#include <memory>
#include <vector>

// The schematic objects that are not parts: the pins and labels that parts attach to themselves,
// wires, the ground symbol, the voltage probe, the bubble connector and the view's selection
// rectangle. The type id decides the symbol, the attachments and whether there is a dialog.
class CDrawing : public CComponent {
public:
    static const ClassInfo Class;
    static constexpr int kDialogTemplate = 311; // "Edit Label"

    // As a file recreates it: every stored field comes from the record.
    CDrawing();
    // A new object of a type, with the orientation and prefix letter the type starts with.
    explicit CDrawing(quint32 typeId);
    // A drawing object from another object's stored fields (converted files).
    explicit CDrawing(const CComponent& source);

    const ClassInfo& RuntimeClass() const override { return Class; }

    void Draw(Dc& dc) override;
    int GetAttachmentCount() const override;
    const AttachmentLayout* AttachmentOrder() const override;
    void CreateAttachments(ComponentHost& doc, int x, int y) override;
    void PlaceAttachments(ComponentHost& doc, ComponentList::iterator self) override;
    // Probes and bubbles edit their name label; nothing else has a dialog.
    bool EditProperties(ComponentHost& doc) override;

    // ---- the view's hover highlight of a pin ----
    void HighlightPin();
    // Back to what the pin's end count says; the highlight never leaves the pin selected.
    void EndPinHighlight();

    // The direction of the first leg of a wire from `start` towards `pointer` (1 +x, 2 −y, 3 −x,
    // 4 +y): the dominant axis picks it when `orientation` is still 0, a pointer within 10 twips of
    // the start's vertical or horizontal line forces that line, and a direction pointing away from
    // the pointer turns round. Unchanged when the pointer is at the start.
    static int WireDirection(QPoint start, QPoint pointer, int orientation);
    // The direction a wire from `start` takes when it is dropped at `drop`: along the line the drop
    // shares with the start, else the direction it was drawn in (`orientation`), else the dominant
    // axis. Its end is the drop point moved onto the start's line in that direction (LegEnd).
    static int DropDirection(QPoint start, QPoint drop, int orientation);
    static QPoint LegEnd(QPoint start, QPoint drop, int orientation);

    // ---- what every schematic symbol draws with ----
    static QColor SelectedColor() { return QColor(255, 64, 64); }
    // Grey while placing, dark green once placed, the selection colour when selected.
    static QColor SymbolColor(const CComponent& object);
    static Pen SymbolPen(const CComponent& object) { return Pen(Pen::Solid, 15, SymbolColor(object)); }
    // Lines of text down from the object's position in the label font, black once placed, grey while
    // placing and in the selection colour when selected; the box they take.
    static Rect DrawTextLines(Dc& dc, const CComponent& object, const QStringList& lines);
    // The label font: Arial with a cell of `height` twips.
    static Font CreateArialFont(int height, int weight = 400) { return Font(height, weight); }
    // An offset given for orientation 1, turned to `orientation` (y grows upward): 2 maps (dx, dy)
    // to (dy, −dx), 3 to (−dx, dy), 4 to (dy, dx); any other orientation keeps it.
    static QPoint Turn(int orientation, QPoint offset);
    // `origin` moved by (dx, dy), held within the coordinates a page can have: a file may place an
    // object anywhere.
    static QPoint Shifted(QPoint origin, qint64 dx, qint64 dy);
    static QPoint Shifted(QPoint origin, QPoint offset) { return Shifted(origin, offset.x(), offset.y()); }
    // A box given by two corners for orientation 1, turned and normalised (left ≤ right, top ≥
    // bottom) around `origin`.
    static Rect TurnBox(int orientation, QPoint origin, QPoint corner1, QPoint corner2);

    // A new pin or label as a part appends it: placed, with an empty extent.
    static std::unique_ptr<CDrawing> NewAttachment(quint32 type, const QString& text, bool visible = true);

    // ---- dialog 311 ----
    QString LabelBuffer;       // "Name:"
    int LabelVisibleCheck = 0; // "Visible"

private:
    void DrawPin(Dc& dc);
    void DrawLabel(Dc& dc);
    void DrawWire(Dc& dc);
    void DrawDragBox(Dc& dc);
    void DrawSymbol(Dc& dc);
    void CreateWireAttachments(ComponentHost& doc, int x, int y);
};
