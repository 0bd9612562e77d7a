#pragma once

#include "ComponentHost.h"
#include "EditorContext.h"

#include <QHash>
#include <QPoint>

#include <functional>
#include <optional>
#include <vector>

// Selecting: a click takes the object under the pointer, a box everything it meets, each with its
// labels and pins and with the wires joined through plain bends; a double click edits an object's
// properties. What is selected can be turned and deleted.
class SelectTool : public EditorTool {
public:
    explicit SelectTool(EditorContext& context);

    // The coin of the click selection: true starts the search at the head of the list.
    void SetCoin(std::function<bool()> headFirst) { m_HeadFirst = std::move(headFirst); }

    // Whether a client point lies on a selected object.
    bool HitsSelection(QPoint client) const;
    // The button went down on no selected object: a box starts there.
    void StartBox(unsigned flags, QPoint page);
    // The button came up where it went down (a click) or elsewhere (a box).
    void ClickSelect(unsigned flags, QPoint client);
    void BoxSelect(unsigned flags, QPoint client);
    // A double click: the object under the point (a label's part) is selected and edited.
    void EditAt(QPoint client);

    // The wires of the list by the points where they end.
    using WireEnds = QHash<QPoint, std::vector<ComponentList::iterator>>;
    WireEnds IndexWireEnds() const;
    // Sets `flag` on the attachments that follow `object` (the caller sets the object's own) and,
    // for a wire, on the wires joined to it through plain bends. A caller that selects many objects
    // of an unchanged list hands in one index of the wire ends for all of them (made when missing).
    void SelectWithAttachments(ComponentList::iterator object, bool flag,
                               std::optional<WireEnds>* wireEnds = nullptr);
    void SelectConnectedWires(ComponentList::iterator wire, bool flag, const WireEnds& wiresAt);

    // Turns the object being placed, or else every selected part.
    void RotateSelection();
    // Removes every selected part with its attachments.
    void DeleteSelection();

private:
    std::function<bool()> m_HeadFirst;
};
