#pragma once

#include "Dc.h"

#include <QImage>

#include <memory>

class QPainter;
class PainterDevice;

// Flicker-free painting: the view draws on this context, in the target's logical units, and the
// drawing lands in an off-screen image of the target's clip area that is copied to the target in
// one step when this context goes out of scope. On a printer (or any target that is not painted
// with a QPainter, such as a recorder) the drawing goes straight to the target instead.
//
//     void CMyView::OnDraw(Dc& dc)
//     {
//         CMemDCA mem(dc);
//         DrawEverything(mem);
//     } // copied here
class CMemDCA : public Dc {
public:
    explicit CMemDCA(Dc& target);
    ~CMemDCA() override;

    // False when drawing goes straight to the target.
    bool IsMemory() const { return m_Memory; }
    // The off-screen image, in pixels of the target's screen (so twice the clip area on a screen
    // of device pixel ratio 2); null when drawing goes straight to the target.
    const QImage& Bitmap() const { return m_Bitmap; }

private:
    Dc& m_Target;
    bool m_Memory = false;
    // The clip area in the target's device pixels; the image's (0, 0) lies at its top-left.
    QRect m_Area;
    QPainter* m_TargetPainter = nullptr;
    QImage m_Bitmap;
    std::unique_ptr<QPainter> m_Painter;
    std::unique_ptr<PainterDevice> m_Output;
};
