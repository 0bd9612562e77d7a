#pragma once

#include "ComponentHost.h"

#include <QString>

#include <vector>

// Schematic files of the first generation of the program (file versions 0 to 2) hold the same
// object records as today's, but each object is told apart by an old type code of its own, and its
// parts carry fewer labels. They are converted into today's classes and types as they are read.

// Asked before a first-generation file is read; Cancel leaves it unopened.
QString FirstGenerationNotice();

// Today's objects for a first-generation object list, in the same order: each old object becomes an
// object of the class and type its code stands for, and the name and value labels that follow a part
// whose texts are rewritten become its labels. Objects of codes that have no counterpart are left
// out, and so are labels that are missing (the list check then reports the part). Every object is
// placed (State 1). The old codes of the objects left out go to `leftOut`, in file order.
ComponentList ConvertFirstGenerationObjects(const ComponentList& old,
                                            std::vector<quint32>* leftOut = nullptr);

// What the user is told of the objects left out (their old codes): how many and of which codes.
// `nothingLeft`: no object converted at all, so the file is refused.
QString LeftOutObjectsMessage(const std::vector<quint32>& leftOut, bool nothingLeft);

// Raises each designator counter to the largest number that a name of its letter ("R12") already has
// among `objects`, so that new parts are never given a name the schematic holds.
void RaiseDesignatorCounters(const ComponentList& objects, std::vector<int>& counters);
