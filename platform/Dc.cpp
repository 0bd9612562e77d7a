#include "Dc.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <utility>

namespace {
using Wide = __int128;

qint64 saturate64(Wide v)
{
    constexpr qint64 lo = std::numeric_limits<qint64>::min(), hi = std::numeric_limits<qint64>::max();
    return v < lo ? lo : v > hi ? hi : qint64(v);
}

// (v − from) × num / den + to, rounded. Drawing maps millions of points: the common case of
// coordinates and extents within 31 bits stays in 64-bit arithmetic.
qint64 scale(qint64 v, qint64 from, qint64 num, qint64 den, qint64 to)
{
    constexpr Wide small = Wide(1) << 31;
    const Wide d = Wide(v) - from;
    if (d > -small && d < small && num > -small && num < small) return RoundDiv(qint64(d) * num, den) + to;
    return saturate64(RoundDiv<Wide>(d * num, den) + to);
}

// Keeps an extent ratio in lowest terms so that repeated scaling cannot overflow.
void reduce(qint64& viewport, qint64& window)
{
    const qint64 g = std::gcd(viewport, window);
    if (g > 1) {
        viewport /= g;
        window /= g;
    }
}

bool scaleExt(qint64& ext, qint64& other, int num, int denom)
{
    if (num == 0 || denom == 0) return false;
    qint64 e, o;
    if (__builtin_mul_overflow(ext, qint64(num), &e) || __builtin_mul_overflow(other, qint64(denom), &o))
        return false;
    ext = e;
    other = o;
    return true;
}
} // namespace

// ---- DcMapping ----

void DcMapping::SetMode(int mode, int dpiX, int dpiY)
{
    switch (mode) {
    case MM_TEXT:
        m_WindowExt[0] = m_WindowExt[1] = m_ViewportExt[0] = m_ViewportExt[1] = 1;
        break;
    case MM_TWIPS:
        m_WindowExt[0] = m_WindowExt[1] = 1440;
        m_ViewportExt[0] = std::max(dpiX, 1);
        m_ViewportExt[1] = -std::max(dpiY, 1);
        reduce(m_ViewportExt[0], m_WindowExt[0]);
        reduce(m_ViewportExt[1], m_WindowExt[1]);
        break;
    case MM_ANISOTROPIC:
        break;
    default:
        return;
    }
    m_Mode = mode;
}

bool DcMapping::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom)
{
    if (m_Mode != MM_ANISOTROPIC) return false;
    DcMapping next = *this;
    if (!scaleExt(next.m_ViewportExt[0], next.m_WindowExt[0], xNum, xDenom) ||
        !scaleExt(next.m_ViewportExt[1], next.m_WindowExt[1], yNum, yDenom))
        return false;
    reduce(next.m_ViewportExt[0], next.m_WindowExt[0]);
    reduce(next.m_ViewportExt[1], next.m_WindowExt[1]);
    *this = next;
    return true;
}

bool DcMapping::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom)
{
    // Only the ratio of the extents counts.
    return ScaleViewportExt(xDenom, xNum, yDenom, yNum);
}

bool DcMapping::SetWindowExt(qint64 cx, qint64 cy)
{
    if (m_Mode != MM_ANISOTROPIC || cx == 0 || cy == 0) return false;
    m_WindowExt[0] = cx;
    m_WindowExt[1] = cy;
    return true;
}

bool DcMapping::SetViewportExt(qint64 cx, qint64 cy)
{
    if (m_Mode != MM_ANISOTROPIC || cx == 0 || cy == 0) return false;
    m_ViewportExt[0] = cx;
    m_ViewportExt[1] = cy;
    return true;
}

qint64 DcMapping::DeviceX(qint64 x) const
{
    return scale(x, m_WindowOrg.x(), m_ViewportExt[0], m_WindowExt[0], m_ViewportOrg.x());
}

qint64 DcMapping::DeviceY(qint64 y) const
{
    return scale(y, m_WindowOrg.y(), m_ViewportExt[1], m_WindowExt[1], m_ViewportOrg.y());
}

qint64 DcMapping::LogicalX(qint64 x) const
{
    return scale(x, m_ViewportOrg.x(), m_WindowExt[0], m_ViewportExt[0], m_WindowOrg.x());
}

qint64 DcMapping::LogicalY(qint64 y) const
{
    return scale(y, m_ViewportOrg.y(), m_WindowExt[1], m_ViewportExt[1], m_WindowOrg.y());
}

// ---- helpers ----

int MulDiv(int a, int b, int c)
{
    if (c == 0) return -1;
    const Wide q = RoundDiv<Wide>(Wide(a) * b, c);
    if (q < std::numeric_limits<int>::min() || q > std::numeric_limits<int>::max()) return -1;
    return int(q);
}

QColor FromColorRef(quint32 ref)
{
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

quint32 ToColorRef(const QColor& color)
{
    const QColor c = color.toRgb();
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

Brush Brush::NullBrush()
{
    Brush b;
    b.style = Null;
    return b;
}

Brush Brush::PatternBrush(const std::array<quint8, 8>& rows, QColor set, QColor clear)
{
    Brush b(set);
    b.style = Pattern;
    b.rows = rows;
    b.background = clear;
    return b;
}

QRect ToQRect(const Rect& device)
{
    // Kept well inside the int range so that widths cannot overflow.
    constexpr int limit = 1 << 29;
    const int l = std::clamp(std::min(device.left, device.right), -limit, limit);
    const int r = std::clamp(std::max(device.left, device.right), -limit, limit);
    const int t = std::clamp(std::min(device.top, device.bottom), -limit, limit);
    const int b = std::clamp(std::max(device.top, device.bottom), -limit, limit);
    return QRect(l, t, r - l, b - t);
}

// ---- Dc ----

Dc::Dc(DcDevice* device, int dpiX, int dpiY, bool printing, QRect deviceClip)
    : m_Device(device), m_DpiX(std::max(dpiX, 1)), m_DpiY(std::max(dpiY, 1)), m_Printing(printing)
{
    m_State.clip = deviceClip;
}

Dc::~Dc() = default;

void Dc::SetDeviceClip(QRect clip)
{
    m_State.clip = clip;
    if (m_Device) m_Device->ClipChanged(*this);
}

int Dc::SetMapMode(int mode)
{
    const int old = m_State.mapping.Mode();
    m_State.mapping.SetMode(mode, m_DpiX, m_DpiY);
    return old;
}

bool Dc::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom)
{
    return m_State.mapping.ScaleViewportExt(xNum, xDenom, yNum, yDenom);
}

bool Dc::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom)
{
    return m_State.mapping.ScaleWindowExt(xNum, xDenom, yNum, yDenom);
}

bool Dc::SetWindowExt(qint64 cx, qint64 cy)
{
    return m_State.mapping.SetWindowExt(cx, cy);
}

bool Dc::SetViewportExt(qint64 cx, qint64 cy)
{
    return m_State.mapping.SetViewportExt(cx, cy);
}

QPoint Dc::SetWindowOrg(int x, int y)
{
    const QPoint old = m_State.mapping.WindowOrg();
    m_State.mapping.SetWindowOrg(QPoint(x, y));
    return old;
}

QPoint Dc::SetViewportOrg(int x, int y)
{
    const QPoint old = m_State.mapping.ViewportOrg();
    m_State.mapping.SetViewportOrg(QPoint(x, y));
    return old;
}

QPoint Dc::LPtoDP(QPoint p) const
{
    const DcMapping& m = m_State.mapping;
    return QPoint(SaturateInt(m.DeviceX(p.x())), SaturateInt(m.DeviceY(p.y())));
}

QPoint Dc::DPtoLP(QPoint p) const
{
    const DcMapping& m = m_State.mapping;
    return QPoint(SaturateInt(m.LogicalX(p.x())), SaturateInt(m.LogicalY(p.y())));
}

Rect Dc::LPtoDP(const Rect& r) const
{
    const QPoint a = LPtoDP(QPoint(r.left, r.top)), b = LPtoDP(QPoint(r.right, r.bottom));
    return Rect{a.x(), a.y(), b.x(), b.y()};
}

Rect Dc::DPtoLP(const Rect& r) const
{
    const QPoint a = DPtoLP(QPoint(r.left, r.top)), b = DPtoLP(QPoint(r.right, r.bottom));
    return Rect{a.x(), a.y(), b.x(), b.y()};
}

Pen Dc::SelectObject(const Pen& pen)
{
    return std::exchange(m_State.pen, pen);
}

Brush Dc::SelectObject(const Brush& brush)
{
    return std::exchange(m_State.brush, brush);
}

Font Dc::SelectObject(const Font& font)
{
    return std::exchange(m_State.font, font);
}

QColor Dc::SetTextColor(QColor color)
{
    return std::exchange(m_State.textColor, color);
}

QColor Dc::SetBkColor(QColor color)
{
    return std::exchange(m_State.bkColor, color);
}

BkMode Dc::SetBkMode(BkMode mode)
{
    return std::exchange(m_State.bkMode, mode);
}

int Dc::SaveDC()
{
    m_Saved.push_back(m_State);
    return int(m_Saved.size());
}

bool Dc::RestoreDC(int level)
{
    const int count = int(m_Saved.size());
    const int target = level > 0 ? level : count + 1 + level;
    if (level == 0 || target < 1 || target > count) return false;
    const QRect oldClip = m_State.clip;
    m_State = m_Saved[target - 1];
    m_Saved.resize(target - 1);
    if (m_Device && m_State.clip != oldClip) m_Device->ClipChanged(*this);
    return true;
}

Rect Dc::GetClipBox() const
{
    const QRect& c = m_State.clip;
    if (c.isEmpty()) return {};
    // The device edges, right and bottom exclusive, as their logical coordinates.
    return DPtoLP(Rect{c.left(), c.top(), c.left() + c.width(), c.top() + c.height()});
}

void Dc::IntersectClipRect(const Rect& logical)
{
    m_State.clip &= ToQRect(LPtoDP(logical));
    if (m_Device) m_Device->ClipChanged(*this);
}

bool Dc::RectVisible(const Rect& logical) const
{
    return ToQRect(LPtoDP(logical)).intersects(m_State.clip);
}

bool Dc::PtVisible(QPoint logical) const
{
    return m_State.clip.contains(LPtoDP(logical));
}

void Dc::Emit(DcShape kind, std::span<const QPoint> points, QStringView text, QColor color)
{
    if (m_Device) m_Device->Output(*this, DcPrimitive{kind, points, text, color});
}

QPoint Dc::MoveTo(int x, int y)
{
    return std::exchange(m_State.position, QPoint(x, y));
}

void Dc::LineTo(int x, int y)
{
    const QPoint points[2] = {m_State.position, QPoint(x, y)};
    m_State.position = points[1];
    Emit(DcShape::Line, points);
}

void Dc::FrameOutline(const Rect& r)
{
    MoveTo(r.left, r.top);
    LineTo(r.right, r.top);
    LineTo(r.right, r.bottom);
    LineTo(r.left, r.bottom);
    LineTo(r.left, r.top);
}

void Dc::Polyline(std::span<const QPoint> points)
{
    if (points.size() >= 2) Emit(DcShape::Polyline, points);
}

void Dc::Polygon(std::span<const QPoint> points)
{
    if (points.size() >= 2) Emit(DcShape::Polygon, points);
}

void Dc::Rectangle(int x1, int y1, int x2, int y2)
{
    const QPoint points[2] = {QPoint(x1, y1), QPoint(x2, y2)};
    Emit(DcShape::Rectangle, points);
}

void Dc::Ellipse(int x1, int y1, int x2, int y2)
{
    const QPoint points[2] = {QPoint(x1, y1), QPoint(x2, y2)};
    Emit(DcShape::Ellipse, points);
}

void Dc::Arc(const Rect& box, QPoint start, QPoint end)
{
    const QPoint points[4] = {QPoint(box.left, box.top), QPoint(box.right, box.bottom), start, end};
    Emit(DcShape::Arc, points);
}

void Dc::TextOut(int x, int y, const QString& text)
{
    const QPoint at(x, y);
    Emit(DcShape::Text, std::span(&at, 1), text);
}

QSize Dc::GetTextExtent(const QString& text) const
{
    return m_Device ? m_Device->TextExtent(*this, text) : QSize();
}

void Dc::SetPixel(int x, int y, QColor color)
{
    const QPoint at(x, y);
    Emit(DcShape::Pixel, std::span(&at, 1), {}, color);
}

void Dc::SetPixels(std::span<const QPoint> points, QColor color)
{
    if (!points.empty()) Emit(DcShape::Pixel, points, {}, color);
}

void Dc::FillSolidRect(const Rect& r, QColor color)
{
    const QPoint points[2] = {QPoint(r.left, r.top), QPoint(r.right, r.bottom)};
    Emit(DcShape::Fill, points, {}, color);
}
