#pragma once

class CComponent;
class Dc;

// The diode symbol that the semiconductor diode and the ideal diode share: a lead, the triangle
// pointing from pin 1 (the anode) to the bar at pin 2 (the cathode), a lead. Sets the part's Extent.
void DrawDiodeSymbol(Dc& dc, CComponent& part);
