#pragma once

#include <functional>
#include <memory>

class DocTemplate;

// Makers of the three document templates, in the order they are registered: schematic, netlist,
// plot. The program runs without a document type whose maker is empty or returns null (tests leave
// some out).
struct TemplateMakers {
    using Maker = std::function<std::unique_ptr<DocTemplate>()>;
    Maker schematic;
    Maker netlist;
    Maker plot;

    // The program's own templates.
    static TemplateMakers Program();
};
