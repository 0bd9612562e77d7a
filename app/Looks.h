#pragma once

#include <QString>

class QPalette;

// The program's looks (ids 210-218) as Qt styles and palettes.
namespace looks {
struct Look {
    QString style; // Qt style key
    QString name;
};
// The look of an id; ids outside 210-218 keep the last Office 2007 colour scheme.
Look Describe(int id);
QPalette Palette(int id);
// Applies the look to the whole application.
void Apply(int id);
} // namespace looks
