#include "ZoomTool.h"

#include "CDrawing.h"
#include "CommandIds.h"
#include "EditorContext.h"
#include "ZoomViewModel.h"

#include <algorithm>

void ZoomTool::OnZoomCommand(int id)
{
    switch (id) {
    case ID_Zoom_Tool:
        // An object being placed or a box being drawn would otherwise stay behind.
        m_Context.CancelOperation();
        m_Context.editMode = EditorContext::Zooming;
        break;
    case ID_Zoom_Out:
        ZoomOut();
        break;
    case ID_Zoom_Fit:
        m_Context.zoom.ZoomToFit();
        break;
    case ID_Zoom_ActualSize:
        m_Context.zoom.SetZoom(100);
        break;
    }
}

bool ZoomTool::IsZoomCommandEnabled(int id) const
{
    switch (id) {
    case ID_Zoom_Tool:
        return m_Context.zoom.Zoom() < ZoomViewModel::kMaxZoom;
    case ID_Zoom_Out:
        return m_Context.zoom.Zoom() > ZoomViewModel::kMinZoom;
    }
    return true;
}

bool ZoomTool::IsZoomCommandChecked(int id) const
{
    return id == ID_Zoom_ActualSize && m_Context.zoom.Zoom() == 100;
}

void ZoomTool::ZoomOut()
{
    m_Context.zoom.SetZoom(kZoomStep * m_Context.zoom.Zoom() / 1000);
}

void ZoomTool::Press(QPoint page)
{
    m_Context.StartDragBox(page);
}

void ZoomTool::Release(QPoint client)
{
    EditorContext& c = m_Context;
    if (!c.dragBox) return;
    const QPoint start = c.zoom.PageToClient(c.dragBox->Position);
    if (start != client) {
        c.zoom.ZoomToRect(Rect{std::min(start.x(), client.x()), std::min(start.y(), client.y()),
                               std::max(start.x(), client.x()), std::max(start.y(), client.y())});
        c.editMode = EditorContext::Idle;
    } else {
        const QPoint page = c.ToPage(client);
        c.zoom.SetZoom(c.zoom.Zoom() * 1000 / kZoomStep);
        c.zoom.ScrollToAnchor(ZoomViewModel::AnchorCentre, page);
    }
    c.dragBox.reset();
    c.Repaint();
}
