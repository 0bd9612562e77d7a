#pragma once

#include <QString>

#include <memory>

class DocManager;
class Document;
class RunSettingsReceiver;

// What the shell and the schematic side do with netlist documents, without the machinery of the run.
namespace netlist_documents {

// The document is a netlist document.
bool IsNetlist(const Document* document);
// A netlist document that holds the results of a completed run.
bool HoldsResults(const Document* document);
// A run of any netlist document is in progress.
bool AnyRunInProgress();
// A new netlist document of the manager's netlist template showing `text`, linked to the schematic it
// was made from; null when there is no such template or the document could not be made.
Document* OpenNew(DocManager& manager, const QString& text, std::weak_ptr<RunSettingsReceiver> schematic);

} // namespace netlist_documents
