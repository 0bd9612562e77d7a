#pragma once

#include <QString>

// A number in the netlist's syntax: a decimal number ("42", "-4.2E-8") followed by an optional
// scale suffix whose first letter decides the multiplier ("42N", "42NS", "10MEG", "3MIL"). The text
// is read as the netlist gives it, in upper case.
struct NetlistValue {
    double value = 0;
    bool digits = false; // the number before the suffix has at least one digit
    bool stray = false;  // characters that are no part of the number stand before the suffix or the end
    bool scaled = false; // a scale suffix follows the number
};
NetlistValue ReadNetlistValue(const QString& upperText);
