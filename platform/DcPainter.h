#pragma once

#include "Dc.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPen>
#include <QStaticText>

#include <memory>
#include <optional>
#include <span>
#include <vector>

class QPainter;

// The font that draws a context's font on a device with `scale` device pixels per logical unit.
QFont DeviceFontOf(const Font& font, double scale);

// Draws a context's calls with a QPainter whose coordinates are the context's device pixels (the
// painter's own transform is left as it is, so a device pixel ratio still gives sharp output).
// Calls whose device bounds miss the clip area cost no painting.
class PainterDevice : public DcDevice {
public:
    explicit PainterDevice(QPainter& painter);

    void Output(const Dc& dc, const DcPrimitive& primitive) override;
    QSize TextExtent(const Dc& dc, QStringView text) override;
    void ClipChanged(const Dc& dc) override;

    QPainter& Painter() const { return *m_Painter; }

private:
    // A text laid out once in one font, for every later drawing of it.
    struct LaidText {
        QStaticText text;
        double width;
    };
    // Fonts and laid-out texts outlive a paint: the next paint draws the same labels again.
    struct DeviceFont {
        Font font;
        double scale;
        int dpi;
        QFont qfont;
        QFontMetricsF metrics{QFont()};
        QHash<QString, LaidText> texts;
    };
    // Each kind of call; `penMargin`: how far the pen reaches beyond the call's points, in pixels.
    void OutputLine(const Dc& dc, const DcPrimitive& p, double penMargin);
    void OutputPoly(const Dc& dc, const DcPrimitive& p, double penMargin);
    void OutputShape(const Dc& dc, const DcPrimitive& p, double penMargin);
    void OutputArc(const Dc& dc, const DcPrimitive& p, double penMargin);
    void OutputText(const Dc& dc, const DcPrimitive& p);
    void OutputPixels(const Dc& dc, const DcPrimitive& p);
    void ApplyPen(const Dc& dc);
    // Draws a polyline of device points in the context's wide solid pen straight into the pixels of
    // the image painted on, when the painter would draw exactly those pixels there (see
    // FillRoundPolyline); false, and nothing drawn, when the painter must draw it.
    bool FillWideLine(const Dc& dc, std::span<const QPointF> points);
    void ApplyBrush(const Dc& dc);
    DeviceFont& FontFor(const Dc& dc);
    const LaidText& Laid(DeviceFont& font, const QString& text);

    QPainter* m_Painter;
    bool m_OwnClipping;
    QRegion m_OwnClip;
    // What the painter holds, so that runs of calls with the same objects set nothing.
    std::optional<Pen> m_Pen;
    double m_PenScale = 0;
    std::optional<Brush> m_Brush;
    std::shared_ptr<DeviceFont> m_CurrentFont;
    // The font and pen colour the painter holds for texts; invalid when its pen is another one.
    std::shared_ptr<DeviceFont> m_TextFont;
    QColor m_TextColor;
};

// A context that paints with a QPainter: on a widget, a QImage, a QPrinter or a QPdfWriter.
class PainterDc : public Dc {
public:
    // deviceClip: the area to paint, in the painter's pixels; dpi: the device's dots per inch.
    PainterDc(QPainter& painter, QRect deviceClip, int dpiX, int dpiY, bool printing = false);
    // The whole device at its own resolution.
    explicit PainterDc(QPainter& painter, bool printing = false);
    ~PainterDc() override;

    QPainter& Painter() const { return m_Output.Painter(); }

private:
    PainterDevice m_Output;
};
