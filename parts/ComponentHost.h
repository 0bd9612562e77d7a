#pragma once

#include <QChar>

#include <list>
#include <memory>
#include <optional>

class CComponent;

// The document's object list in drawing and netlist order; it owns its objects, and each part is
// followed by its attachments. Iterators stay valid while other objects come and go.
using ComponentList = std::list<std::unique_ptr<CComponent>>;

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
};
