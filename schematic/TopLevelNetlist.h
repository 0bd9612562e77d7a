#pragma once

#include <QString>

class CTorvex2Doc;

// The netlist text of a schematic as Create Netlist writes it: the top level, with no prefix,
// parameters or ports. The writer's messages have been shown when it returns.
QString WriteTopLevelNetlist(CTorvex2Doc& doc);
// False while this build has no netlist writer: the text is then the header line alone.
bool NetlistWriterAvailable();
