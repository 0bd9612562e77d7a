#pragma once
// Readable Qt values in test failure messages (included into every test source by the build).
#include <QColor>
#include <QPoint>
#include <QString>
#include <QStringList>

#include "Rect.h"

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os)
{
    *os << '{';
    for (qsizetype i = 0; i < l.size(); ++i)
        *os << (i ? ", \"" : "\"") << l[i].toStdString() << '"';
    *os << '}';
}
inline void PrintTo(const QPoint& p, std::ostream* os)
{
    *os << '(' << p.x() << ", " << p.y() << ')';
}
inline void PrintTo(const QColor& c, std::ostream* os)
{
    *os << c.name().toStdString();
}
inline void PrintTo(const Rect& r, std::ostream* os)
{
    *os << '{' << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << '}';
}
