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

    virtual ~OpenDocuments() = default;
    virtual std::vector<Entry> Entries() const = 0;
    // Closes a document with its windows. Destruction must wait until control returns to the event
    // loop: the caller may be on the stack of a command of another document.
    virtual void CloseDocument(Document* document) = 0;
};
