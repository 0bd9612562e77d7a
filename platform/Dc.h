#pragma once

// The drawing context: everything that draws (parts, labels, the schematic sheet, plots) draws
// through a Dc, in logical units that the context maps to device pixels itself. The same drawing
// goes to a window, an off-screen image, a printer, a PDF file or, in tests, a recorder.
//
// A part draws in page twips (y grows upward) with the pens, brushes and font it selects, and puts
// back what it found:
//
//     const Pen oldPen = dc.SelectObject(Pen(Pen::Solid, 15, QColor(0, 128, 0)));
//     dc.MoveTo(x, y);                                   // a line
//     dc.LineTo(x + 144, y);
//     dc.Ellipse(x + 216, y + 72, x + 360, y - 72);      // a circle: filled with the selected brush,
//                                                         // white unless the part selects another
//     const Font oldFont = dc.SelectObject(Font(200));    // Arial, a 200-twip cell, weight 400
//     dc.SetTextColor(QColor(0, 0, 0));
//     dc.SetBkColor(QColor(255, 255, 255));
//     dc.TextOut(x, y, QStringLiteral("R1"));             // (x, y) is the top-left of the text
//     const QSize size = dc.GetTextExtent(QStringLiteral("R1")); // logical width and height
//     dc.SelectObject(oldFont);
//     dc.SelectObject(oldPen);
//
// A test draws into a RecordingDc (DcRecorder.h) and reads what was drawn, in logical units:
//
//     RecordingDc rec;                                    // twips at 96 dots per inch
//     part.Draw(rec);                                     // the part at x = y = 0
//     ASSERT_EQ(rec.Count(DcShape::Ellipse), 1);
//     const DcEntry circle = rec.OfKind(DcShape::Ellipse)[0];
//     EXPECT_EQ(circle.Box(), (Rect{216, 72, 360, -72}));
//     EXPECT_EQ(circle.pen.color, QColor(0, 128, 0));
//     EXPECT_EQ(rec.Describe(), "Line 0,0 144,0\nEllipse 216,72 360,-72\nText 0,0 \"R1\"");

#include "Rect.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <climits>

#include <array>
#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

// Mapping modes, with the numbers the stored views use.
enum MapMode : int {
    MM_TEXT = 1,        // one logical unit is one device pixel, y downward
    MM_TWIPS = 6,       // 1/1440 inch, y upward
    MM_ANISOTROPIC = 8, // the extents of the previous mode, free to be scaled
};

// The logical-to-device mapping: device = (logical − window origin) × viewport extent / window
// extent + viewport origin, per axis, rounded to the nearest device unit (halves away from zero).
// The extents are kept as exact ratios in 64 bits, so zooming by any percent maps exactly and no
// page coordinate overflows.
class DcMapping {
public:
    int Mode() const { return m_Mode; }
    // A fixed mode (text, twips) sets its extents for a device of the given resolution; the
    // anisotropic mode keeps the extents in force.
    void SetMode(int mode, int dpiX, int dpiY);
    // Multiplies the viewport extents by num/denom (the window extents by 100/zoom zooms out);
    // anisotropic mode only. False, and nothing changes, for a zero factor or another mode.
    bool ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom);
    bool ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom);
    // Anisotropic mode only; false for a zero extent or another mode.
    bool SetWindowExt(qint64 cx, qint64 cy);
    bool SetViewportExt(qint64 cx, qint64 cy);
    qint64 WindowExtX() const { return m_WindowExt[0]; }
    qint64 WindowExtY() const { return m_WindowExt[1]; }
    qint64 ViewportExtX() const { return m_ViewportExt[0]; }
    qint64 ViewportExtY() const { return m_ViewportExt[1]; }

    QPoint WindowOrg() const { return m_WindowOrg; }
    QPoint ViewportOrg() const { return m_ViewportOrg; }
    void SetWindowOrg(QPoint p) { m_WindowOrg = p; }
    void SetViewportOrg(QPoint p) { m_ViewportOrg = p; }

    qint64 DeviceX(qint64 x) const;
    qint64 DeviceY(qint64 y) const;
    qint64 LogicalX(qint64 x) const;
    qint64 LogicalY(qint64 y) const;
    // Device pixels per logical unit (negative for an axis that flips).
    double ScaleX() const { return double(m_ViewportExt[0]) / double(m_WindowExt[0]); }
    double ScaleY() const { return double(m_ViewportExt[1]) / double(m_WindowExt[1]); }

    friend bool operator==(const DcMapping&, const DcMapping&) = default;

private:
    int m_Mode = MM_TEXT;
    qint64 m_WindowExt[2] = {1, 1};
    qint64 m_ViewportExt[2] = {1, 1};
    QPoint m_WindowOrg;
    QPoint m_ViewportOrg;
};

// num / den rounded to the nearest integer, halves away from zero, as a context maps coordinates;
// den is not 0.
template <class T> constexpr T RoundDiv(T num, T den)
{
    T q = num / den;
    const T r = num % den;
    if (2 * (r < 0 ? -r : r) >= (den < 0 ? -den : den)) q += ((num < 0) != (den < 0)) ? -1 : 1;
    return q;
}

// a × b / c rounded to the nearest integer, halves away from zero, computed without overflow;
// −1 when c is 0 or the result does not fit, as the platform's MulDiv.
int MulDiv(int a, int b, int c);

// A coordinate computed in 64 bits, stopped at the ends of the int range.
inline int SaturateInt(qint64 v)
{
    return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : int(v);
}

// Colours as the stored files keep them: 0x00BBGGRR.
QColor FromColorRef(quint32 ref);
quint32 ToColorRef(const QColor& color);

struct Pen {
    enum Style { Solid, Dot, Null };
    Style style = Solid;
    int width = 0; // logical units; 0 draws one device pixel wide
    QColor color{0, 0, 0};

    Pen() = default;
    Pen(Style style, int width, QColor color) : style(style), width(width), color(color) {}
    static Pen NullPen() { return Pen(Null, 0, QColor(0, 0, 0)); }
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    enum Style { Solid, Pattern, Null };
    Style style = Solid;
    // The solid colour; for a pattern the colour of its set bits.
    QColor color{255, 255, 255};
    // 8 × 8 pattern, top row first, bit 7 the leftmost pixel; clear bits take `background`. The
    // pattern repeats in device pixels, whatever the zoom.
    std::array<quint8, 8> rows{};
    QColor background{255, 255, 255};

    Brush() = default;
    explicit Brush(QColor color) : color(color) {}
    static Brush WhiteBrush() { return Brush(QColor(255, 255, 255)); }
    static Brush BlackBrush() { return Brush(QColor(0, 0, 0)); }
    static Brush NullBrush();
    static Brush PatternBrush(const std::array<quint8, 8>& rows, QColor set, QColor clear);
    friend bool operator==(const Brush&, const Brush&) = default;
};

struct Font {
    QString face = QStringLiteral("Arial"); // Liberation Sans stands in where Arial is missing
    // Logical units. Positive: the height of the character cell (ascent + descent); negative: the
    // height of the characters themselves; 0: a cell of 16 device pixels.
    int height = 0;
    int weight = 400; // 400 regular, 700 bold
    bool italic = false;

    Font() = default;
    explicit Font(int height, int weight = 400, QString face = QStringLiteral("Arial"))
        : face(std::move(face)), height(height), weight(weight)
    {
    }
    friend bool operator==(const Font&, const Font&) = default;
};

enum class BkMode { Transparent = 1, Opaque = 2 };

enum class DcShape { Line, Polyline, Polygon, Rectangle, Ellipse, Arc, Text, Pixel, Fill };

// One drawing call on its way to the device, in logical units. Points: Line from, to; Polyline and
// Polygon the vertices; Rectangle, Ellipse and Fill two opposite corners as given; Arc the box's
// two corners, then the start and end points; Text the one point; Pixel every point set.
struct DcPrimitive {
    DcShape kind;
    std::span<const QPoint> points;
    QStringView text;
    QColor color; // Pixel and Fill
};

class Dc;

// Where a context's drawing goes. The context passes itself for its pens, brushes, font, colours,
// mapping and clip.
class DcDevice {
public:
    virtual ~DcDevice() = default;
    virtual void Output(const Dc& dc, const DcPrimitive& primitive) = 0;
    // The size of a text in the selected font, in logical units (both positive).
    virtual QSize TextExtent(const Dc& dc, QStringView text) = 0;
    virtual void ClipChanged(const Dc& dc) {}
};

class Dc {
public:
    Dc(const Dc&) = delete;
    Dc& operator=(const Dc&) = delete;
    virtual ~Dc();

    // ---- the device ----
    bool IsPrinting() const { return m_Printing; }
    // Device pixels per inch.
    int LogPixelsX() const { return m_DpiX; }
    int LogPixelsY() const { return m_DpiY; }
    DcDevice* Device() const { return m_Device; }

    // ---- mapping ----
    int SetMapMode(int mode); // returns the previous mode
    int GetMapMode() const { return m_State.mapping.Mode(); }
    bool ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom);
    bool ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom);
    bool SetWindowExt(qint64 cx, qint64 cy);
    bool SetViewportExt(qint64 cx, qint64 cy);
    QPoint SetWindowOrg(int x, int y); // returns the previous origin
    QPoint SetWindowOrg(QPoint p) { return SetWindowOrg(p.x(), p.y()); }
    QPoint SetViewportOrg(int x, int y);
    QPoint SetViewportOrg(QPoint p) { return SetViewportOrg(p.x(), p.y()); }
    QPoint GetWindowOrg() const { return m_State.mapping.WindowOrg(); }
    QPoint GetViewportOrg() const { return m_State.mapping.ViewportOrg(); }
    const DcMapping& Mapping() const { return m_State.mapping; }
    void SetMapping(const DcMapping& mapping) { m_State.mapping = mapping; }

    // Conversions round to the nearest unit; results beyond the int range are clamped to it.
    QPoint LPtoDP(QPoint p) const;
    QPoint DPtoLP(QPoint p) const;
    // Each corner converted; the rectangle is not reordered.
    Rect LPtoDP(const Rect& r) const;
    Rect DPtoLP(const Rect& r) const;

    // ---- drawing objects; each Select returns the object it replaced ----
    Pen SelectObject(const Pen& pen);
    Brush SelectObject(const Brush& brush);
    Font SelectObject(const Font& font);
    const Pen& GetCurrentPen() const { return m_State.pen; }
    const Brush& GetCurrentBrush() const { return m_State.brush; }
    const Font& GetCurrentFont() const { return m_State.font; }

    QColor SetTextColor(QColor color);
    QColor GetTextColor() const { return m_State.textColor; }
    QColor SetBkColor(QColor color);
    QColor GetBkColor() const { return m_State.bkColor; }
    BkMode SetBkMode(BkMode mode);
    BkMode GetBkMode() const { return m_State.bkMode; }

    // Saves objects, colours, mapping, position and clip; returns the saved level (from 1).
    int SaveDC();
    // A positive level restores that save, a negative one counts back from the last (−1 the
    // last); the saves above it are dropped. False when there is no such save.
    bool RestoreDC(int level);

    // ---- clipping ----
    // The clip area in logical units: its device corners converted (with y upward, top > bottom).
    Rect GetClipBox() const;
    // The clip area in device pixels.
    QRect DeviceClip() const { return m_State.clip; }
    void IntersectClipRect(const Rect& logical);
    void IntersectClipRect(int left, int top, int right, int bottom)
    {
        IntersectClipRect(Rect{left, top, right, bottom});
    }
    // Whether any of the rectangle, or the point, lies inside the clip area.
    bool RectVisible(const Rect& logical) const;
    bool PtVisible(QPoint logical) const;

    // ---- drawing ----
    QPoint MoveTo(int x, int y); // returns the previous position
    QPoint MoveTo(QPoint p) { return MoveTo(p.x(), p.y()); }
    QPoint GetCurrentPosition() const { return m_State.position; }
    // A line from the current position, which then moves to the end.
    void LineTo(int x, int y);
    void LineTo(QPoint p) { LineTo(p.x(), p.y()); }
    void Polyline(std::span<const QPoint> points);
    void Polyline(std::initializer_list<QPoint> points)
    {
        Polyline(std::span(points.begin(), points.size()));
    }
    // Closed and filled with the selected brush (alternate filling).
    void Polygon(std::span<const QPoint> points);
    void Polygon(std::initializer_list<QPoint> points) { Polygon(std::span(points.begin(), points.size())); }
    // Outlined with the pen and filled with the brush; the right and bottom device edges are not
    // covered.
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const Rect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    // The rectangle's four sides in the pen, each a line of its own from the top-left corner round, and
    // nothing filled: the frame of a selection band.
    void FrameOutline(const Rect& r);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const Rect& r) { Ellipse(r.left, r.top, r.right, r.bottom); }
    // Part of the ellipse in the box, from the ray towards `start` to the ray towards `end`,
    // counterclockwise as the device shows it whatever the mapping's axes (on a y-up page, an arc
    // from the right end of its box to the left end bulges upward); the same start and end give
    // the whole ellipse.
    void Arc(const Rect& box, QPoint start, QPoint end);
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
    {
        Arc(Rect{x1, y1, x2, y2}, QPoint(x3, y3), QPoint(x4, y4));
    }
    // The text's top-left at (x, y), upright whatever the mapping; with the opaque background
    // mode its cell is first filled with the background colour.
    void TextOut(int x, int y, const QString& text);
    QSize GetTextExtent(const QString& text) const;
    void SetPixel(int x, int y, QColor color);
    void SetPixel(QPoint p, QColor color) { SetPixel(p.x(), p.y(), color); }
    // Many pixels of one colour in one call, as a grid of dots is drawn.
    void SetPixels(std::span<const QPoint> points, QColor color);
    // Fills without an outline; the right and bottom device edges are not covered.
    void FillSolidRect(const Rect& r, QColor color);

protected:
    // A context without a device draws nothing until one is set.
    Dc(DcDevice* device, int dpiX, int dpiY, bool printing, QRect deviceClip);
    void SetDevice(DcDevice* device) { m_Device = device; }
    void SetDeviceClip(QRect clip);

private:
    struct State {
        DcMapping mapping;
        Pen pen;
        Brush brush;
        Font font;
        QColor textColor{0, 0, 0};
        QColor bkColor{255, 255, 255};
        BkMode bkMode = BkMode::Opaque;
        QPoint position;
        QRect clip;
    };
    void Emit(DcShape kind, std::span<const QPoint> points, QStringView text = {}, QColor color = {});

    DcDevice* m_Device;
    int m_DpiX;
    int m_DpiY;
    bool m_Printing;
    State m_State;
    std::vector<State> m_Saved;
};

// Saves the context's state and restores it when it goes out of scope.
class DcSaver {
public:
    explicit DcSaver(Dc& dc) : m_Dc(dc), m_Level(dc.SaveDC()) {}
    ~DcSaver() { m_Dc.RestoreDC(m_Level); }
    DcSaver(const DcSaver&) = delete;
    DcSaver& operator=(const DcSaver&) = delete;

private:
    Dc& m_Dc;
    int m_Level;
};

// A device rectangle (y downward, right and bottom exclusive) in any corner order, as a QRect.
QRect ToQRect(const Rect& device);
