#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text helpers that behave the same whatever the user's locale is.
namespace text {

// Upper-cases the ASCII letters a-z only; every other character stays as it is.
QString upperAscii(const QString& s);

// Upper-cases every character by its one-to-one capital (é becomes É, σ and ς become Σ), whatever the
// user's locale. A character whose capital takes another number of UTF-16 units, or that has no
// capital of its own (ß), stays as it is: the result is as long as `s`, position for position.
QString upper(const QString& s);

// Reads a decimal number the way the C run-time's wide-string conversion does: leading white space,
// an optional sign, digits with an optional decimal point, an optional exponent. Reading stops at the
// first character that cannot continue the number. `consumed` receives the number of characters
// read, 0 when no number was found (the value is then 0).
double parseDouble(const QString& s, int* consumed = nullptr);

// Converts between Unicode and the 8-bit Windows-1252 code page; characters that the code page
// lacks become '?'.
QByteArray toAnsi(const QString& s);
QString fromAnsi(const QByteArray& bytes);

// The text of a file whose bytes say how it is encoded: a byte-order mark of UTF-16LE, UTF-16BE or
// UTF-8 decides; without one, zero bytes in a quarter of the odd (even) places mark UTF-16LE (BE),
// as the mostly ASCII text of a netlist has them, and anything else is UTF-8. An odd last byte of
// UTF-16 is no character and is dropped. Every line ends in "\n": CR LF and a CR alone become one.
QString decode(QByteArrayView bytes);

// Formats like printf in the C locale.
QString format(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// What a message shows of a text the user wrote: at most `limit` characters, then "…" when it was
// longer. A message box lays out everything it is given, and a statement can be megabytes long.
QString echo(const QString& s, int limit = 200);

} // namespace text
