#pragma once

#include <vector>

class Document;

// The documents open in the program, as the shell's document manager knows them.
class OpenDocuments {
public:
    enum class Kind { Schematic, Netlist, Plot, Other };
    struct Entry {
        Document* document;
        Kind kind;
    };

    // Untouched and closable: no file, not modified, not busy, not a plot, and not a netlist holding
    // the results of a run. Asked when a close is noted and again when it is carried out.
    static bool IsUntouched(const Entry& entry);

    virtual ~OpenDocuments() = default;
    virtual std::vector<Entry> Entries() const = 0;
    // Closes a document with its windows. Destruction must wait until control returns to the event
    // loop: the caller may be on the stack of a command of another document.
    virtual void CloseDocument(Document* document) = 0;
};
