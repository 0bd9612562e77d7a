#pragma once

#include <QByteArray>
#include <QString>

// Text helpers that behave the same whatever the user's locale is.
namespace text {

// Upper-cases the ASCII letters a-z only; every other character stays as it is.
QString upperAscii(const QString& s);

// Reads a decimal number the way the C run-time's wide-string conversion does: leading white space,
// an optional sign, digits with an optional decimal point, an optional exponent. Reading stops at the
// first character that cannot continue the number. `consumed` receives the number of characters
// read, 0 when no number was found (the value is then 0).
double parseDouble(const QString& s, int* consumed = nullptr);

// Converts between Unicode and the 8-bit Windows-1252 code page; characters that the code page
// lacks become '?'.
QByteArray toAnsi(const QString& s);
QString fromAnsi(const QByteArray& bytes);

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
