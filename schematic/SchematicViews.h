#pragma once

// What the schematic document asks of its views.
class SchematicViews {
public:
    virtual ~SchematicViews() = default;
    // The first view ends its current edit operation (an object being placed is dropped).
    virtual void CancelOperation() = 0;
    // Every view takes up the document's new state (a new page size).
    virtual void UpdateAllViews() = 0;
};
