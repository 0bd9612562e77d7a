#pragma once
// A schematic document in an editor over a window of 1400 by 1100 pixels at 125 %, where one
// pixel is 12 twips and the whole page shows; pointer actions are given in page twips.
#include "CTorvex2Doc.h"
#include "ComponentTypeId.h"
#include "DcRecorder.h"
#include "SchematicEditor.h"
#include "UiServices.h"
#include "ZoomViewModel.h"

#include <gtest/gtest.h>

#include <QPoint>

#include <deque>
#include <initializer_list>
#include <iterator>
#include <vector>

// The grid point i steps right and j steps down from the frame's top-left corner.
inline QPoint Grid(int i, int j)
{
    return QPoint(1080 + 144 * i, -1080 - 144 * j);
}

class EditorWindowModel : public ZoomViewModel, public EditorWindow {
public:
    EditorWindowModel()
    {
        AttachWindow(QSize(1400, 1100), QSize(16, 16), 96, 96);
        SetZoomSizes(Rect{0, 0, 15840, -12240});
        SetZoom(125);
    }
    void Repaint() override {}
    void RepaintPage(const Rect&) override {}
    void DocumentChanged() override { ++changes; }

    int changes = 0;
};

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.OnNewDocument();
        editor.SetDocument(&doc);
        editor.SetCoin([this] {
            if (coins.empty()) return true;
            const bool head = coins.front();
            coins.pop_front();
            return head;
        });
    }

    QPoint Client(QPoint page) const { return window.PageToClient(page); }
    void Move(QPoint page, unsigned flags = 0) { editor.OnMouseMove(flags, Client(page)); }
    void Down(QPoint page, unsigned flags = 0) { editor.OnLButtonDown(flags | MK_LBUTTON, Client(page)); }
    void Up(QPoint page, unsigned flags = 0) { editor.OnLButtonUp(flags, Client(page)); }
    void Click(QPoint page, unsigned flags = 0)
    {
        Move(page, flags);
        Down(page, flags);
        Up(page, flags);
    }
    // Drags with the left button from one point to another.
    void Drag(QPoint from, QPoint to, unsigned flags = 0)
    {
        Move(from, flags);
        Down(from, flags);
        Move(to, flags | MK_LBUTTON);
        Up(to, flags);
    }
    void Key(int key) { editor.OnKeyUp(key); }

    // Places an object of the tool at the point and ends the tool; the object placed.
    CComponent& Place(int tool, QPoint at)
    {
        editor.OnPartsTool(tool);
        const size_t before = doc.Components().size() - 1;
        Click(at);
        Key(Qt::Key_Escape);
        return At(before);
    }
    // A chain of wires through the points, ended with Esc.
    void Wire(std::initializer_list<QPoint> points, unsigned flags = 0)
    {
        editor.OnPartsTool(TypeWire);
        for (QPoint p : points)
            Click(p, flags);
        Key(Qt::Key_Escape);
    }
    // Draws everything once, as the window would: labels learn their extents.
    void Paint()
    {
        RecordingDc dc;
        window.OnPrepareDC(dc, false);
        editor.Draw(dc);
    }

    CComponent& At(size_t i) { return **std::next(doc.Components().begin(), qsizetype(i)); }
    std::vector<CComponent*> OfType(quint32 type)
    {
        std::vector<CComponent*> out;
        for (const auto& o : doc.Components())
            if (o->TypeId == type) out.push_back(o.get());
        return out;
    }
    std::vector<CComponent*> Selected()
    {
        std::vector<CComponent*> out;
        for (const auto& o : doc.Components())
            if (o->Selected) out.push_back(o.get());
        return out;
    }
    // The texts of the objects in list order.
    QStringList Texts()
    {
        QStringList out;
        for (const auto& o : doc.Components())
            out << o->Text;
        return out;
    }

    ScriptedUiServices ui;
    CTorvex2Doc doc;
    EditorWindowModel window;
    SchematicEditor editor{window, window};
    std::deque<bool> coins;
};
