#include "CMemDCA.h"

#include "DcPainter.h"

#include <QPaintDevice>
#include <QPainter>

CMemDCA::CMemDCA(Dc& target)
    : Dc(nullptr, target.LogPixelsX(), target.LogPixelsY(), target.IsPrinting(), target.DeviceClip()),
      m_Target(target)
{
    SetMapping(target.Mapping());
    auto* painted = dynamic_cast<PainterDevice*>(target.Device());
    m_Area = target.DeviceClip();
    m_Memory = painted && !target.IsPrinting() && !m_Area.isEmpty();
    if (!m_Memory) {
        // Straight through: the target's device draws with this context's objects.
        SetDevice(target.Device());
        FillSolidRect(GetClipBox(), target.GetBkColor());
        return;
    }
    m_TargetPainter = &painted->Painter();
    const qreal ratio = m_TargetPainter->device()->devicePixelRatioF();
    m_Bitmap = QImage((QSizeF(m_Area.size()) * ratio).toSize(), QImage::Format_RGB32);
    m_Bitmap.setDevicePixelRatio(ratio);
    m_Bitmap.fill(target.GetBkColor());
    m_Painter = std::make_unique<QPainter>(&m_Bitmap);
    m_Output = std::make_unique<PainterDevice>(*m_Painter);
    SetDevice(m_Output.get());
    // The same mapping, moved so that the clip area's corner is the image's (0, 0): every point
    // lands on the very pixel it would have on the target.
    SetViewportOrg(GetViewportOrg() - m_Area.topLeft());
    SetDeviceClip(QRect(QPoint(0, 0), m_Area.size()));
}

CMemDCA::~CMemDCA()
{
    if (m_Memory) {
        m_Output.reset();
        m_Painter->end();
        m_TargetPainter->drawImage(m_Area.topLeft(), m_Bitmap);
    } else if (Device()) {
        // The target's device may have taken this context's clip.
        Device()->ClipChanged(m_Target);
    }
}
