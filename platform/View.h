#pragma once

#include "CommandTarget.h"

class Document;
class QWidget;

// One window onto a document. A concrete view is also the widget that shows it; the child frame
// owns the widget, and the view leaves its document when it is destroyed.
class View : public CommandTarget {
public:
    View() = default;
    ~View() override;

    Document* GetDocument() const { return m_Document; }
    // The widget that shows this view.
    virtual QWidget* Widget() = 0;

    // Called once, after the document has been created or opened and the frame shown.
    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0); }
    // The document changed; sender is the view that made the change (none for the document itself).
    virtual void OnUpdate(View* sender, int hint) {}
    // The view's frame became (or stopped being) the active one.
    virtual void OnActivateView(bool activate) {}

private:
    friend class Document;
    Document* m_Document = nullptr;
};
