#include "NetlistDocuments.h"

#include "CSimulatorDoc.h"
#include "DocManager.h"
#include "DocTemplate.h"

namespace netlist_documents {

bool IsNetlist(const Document* document)
{
    return dynamic_cast<const CSimulatorDoc*>(document) != nullptr;
}

bool HoldsResults(const Document* document)
{
    const auto* netlist = dynamic_cast<const CSimulatorDoc*>(document);
    return netlist && netlist->ResultsValid();
}

bool AnyRunInProgress()
{
    return CSimulatorDoc::AnyRunInProgress();
}

Document* OpenNew(DocManager& manager, const QString& text, std::weak_ptr<RunSettingsReceiver> schematic)
{
    DocTemplate* netlists = manager.FindTemplate<CSimulatorDoc>();
    if (!netlists) return nullptr;
    auto* netlist = dynamic_cast<CSimulatorDoc*>(netlists->OpenDocumentFile(QString()));
    if (!netlist) return nullptr;
    netlist->SetLinkedSchematic(std::move(schematic));
    netlist->SetNetlistText(text);
    netlist->UpdateAllViews(nullptr);
    return netlist;
}

} // namespace netlist_documents
