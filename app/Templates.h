#pragma once

#include <functional>
#include <memory>

class DocTemplate;

// Makers of the three document templates, in the order they are registered: schematic, netlist,
// plot. A maker returns null while its document or view class is not part of the build; the
// program then runs without that document type.
struct TemplateMakers {
    using Maker = std::function<std::unique_ptr<DocTemplate>()>;
    Maker schematic;
    Maker netlist;
    Maker plot;

    // The program's own templates.
    static TemplateMakers Program();
};
