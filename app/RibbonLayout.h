#pragma once

class Ribbon;

// The ribbon's contents: application menu, the "Home", "Simulate" and "Schematic" categories
// (in that order: views activate categories by position) and the menus at the right.
void BuildRibbon(Ribbon& ribbon);
