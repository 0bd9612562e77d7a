#pragma once

// The C library's mathematical functions (exp, log) run with AVX encoding where the processor has
// it, while the program itself is built for every x86-64 processor. Qt's string hashing leaves the
// upper halves of the vector registers dirty when it returns, and on some processors every change
// between the two encodings then costs a state transition: about a hundred nanoseconds, twenty times
// the exp itself. Clearing the upper halves after such calls keeps the transitions away.
//
// Clears them where the processor has them (checked once, at run time); elsewhere nothing. No value
// in the lower halves, which is all the program's own code uses, changes.
void ClearUpperVectorState();
