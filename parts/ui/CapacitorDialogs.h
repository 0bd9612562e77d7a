#pragma once

class QtPropertyDialogs;

// The dialogs of the capacitor family and the diode: 345 (variable capacitor) and 347 (diode).
void RegisterCapacitorDialogs(QtPropertyDialogs& dialogs);
