#pragma once

class QtPropertyDialogs;

// The dialogs of the resistor family: 331 (name and value), 338 (switch), 370 (variable resistor)
// and 349 (planar diode).
void RegisterResistorDialogs(QtPropertyDialogs& dialogs);
