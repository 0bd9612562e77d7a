#pragma once

#include <QChar>
#include <QString>

#include <list>
#include <memory>
#include <optional>

class CComponent;
class Document;

// The document's object list in drawing and netlist order; it owns its objects, and each part is
// followed by its attachments. Iterators stay valid while other objects come and go.
using ComponentList = std::list<std::unique_ptr<CComponent>>;

// A document that an object had opened in a window of its own; it may have been closed since.
struct DocumentHandle {
    Document* document = nullptr;
    std::weak_ptr<const void> alive;
    // The file was open already and its window was only brought forward: it is not the object's to
    // close.
    bool wasOpen = false;

    bool IsOpen() const { return document && !alive.expired(); }
};

// What a schematic object needs of the document that holds it.
class ComponentHost {
public:
    virtual ~ComponentHost() = default;

    virtual ComponentList& Components() = 0;
    // Raises the designator counter of `letter` and returns its new value; nothing when the letter
    // has no counter.
    virtual std::optional<int> NextDesignatorNumber(QChar letter) = 0;
    // An edit that an object completes by itself: takes an undo snapshot and marks the document
    // modified.
    virtual void RecordEdit() = 0;

    // ---- what a sub-circuit block's dialog asks of the document and the program ----
    // The document's file; empty when it has none.
    virtual QString DocumentPath() const { return {}; }
    // Opens a schematic file in a window of its own, as the document's own kind; a file that is open
    // already has its window brought forward instead. The document that asks stays open whatever it
    // holds. An empty handle when the file cannot be opened (after the open's own message), or when
    // there are no windows to open.
    virtual DocumentHandle OpenDocumentWindow(const QString& path) { return {}; }
    // Closes a document opened that way without asking to save it; nothing when it has gone or was
    // open before.
    virtual void CloseDocumentWindow(const DocumentHandle& document) {}
};
