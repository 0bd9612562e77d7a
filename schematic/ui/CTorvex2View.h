#pragma once

#include "CZoomView.h"
#include "SchematicEditor.h"
#include "SchematicViews.h"

#include <memory>

class CTorvex2Doc;

// The editing window of a schematic: it paints the drawing sheet and the objects, and turns the
// mouse, the keys and the Schematic tab's commands into the editing rules of SchematicEditor. It
// also owns the clipboard commands and Create Netlist, which writes the netlist and opens it in a
// new netlist window.
class CTorvex2View : public CZoomView, public SchematicViews, private EditorWindow {
    Q_OBJECT
public:
    CTorvex2View();
    ~CTorvex2View() override;

    CTorvex2Doc* GetDocument() const;
    SchematicEditor& Editor() { return m_Editor; }

    void OnInitialUpdate() override;
    void OnUpdate(View* sender, int hint) override;
    void OnActivateView(bool activate) override;
    void OnDraw(Dc& dc) override;

    // SchematicViews
    void CancelOperation() override;
    void UpdateAllViews() override;

    // ---- commands ----
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void CopySelectionToClipboard(bool keepSelection);
    void OnCreateNetlist();
    void OnListComponents();

    // Sets the text of the ribbon edit with the id; nothing without a ribbon.
    static void SetRibbonEditText(int id, const QString& text);

    static QString NetlistRepairOffer()
    {
        return QStringLiteral("Errors detected in schematic.  Show repair window?");
    }
    static QString NetlistRefused()
    {
        return QStringLiteral("Errors detected in schematic.  No netlist was created.");
    }

protected:
    void OnLButtonDown(unsigned flags, QPoint point) override;
    void OnLButtonUp(unsigned flags, QPoint point) override;
    void OnLButtonDblClk(unsigned flags, QPoint point) override;
    void OnMouseMove(unsigned flags, QPoint point) override;
    void OnContextMenu(QPoint point) override;
    void OnKeyUp(int key, Qt::KeyboardModifiers modifiers) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // EditorWindow
    void Repaint() override;
    void RepaintPage(const Rect& page) override;
    void DocumentChanged() override;

    void UpdateCursor();
    // Runs the component list's repair window; a repair is an edit like any other.
    void RunRepair(CTorvex2Doc& doc);
    // Whether the objects can be written as a netlist, after the repair the user may choose.
    bool ListReadyForNetlist(CTorvex2Doc& doc);
    void CopyRunSettingsToRibbon(const CTorvex2Doc& doc);

    // The document's views learn about each other through the one this view installs.
    void InstallInDocument();
    void LeaveDocument();

    SchematicEditor m_Editor;
    Rect m_Page;
    // The page fits the window, whatever size the frame settles at, until the user zooms or clicks
    // in it.
    bool m_FitPending = false;
    CTorvex2Doc* m_Installed = nullptr;
    // Expires with the installed document.
    std::weak_ptr<const void> m_InstalledAlive;
};
