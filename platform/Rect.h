#pragma once

#include <QtGlobal>

// A rectangle of page twips as the stored files hold it: left, top, right, bottom. Unlike QRect the
// right and bottom edges are plain coordinates (no "minus one"), and y grows upward, so on a page
// `top` is usually above `bottom`.
struct Rect {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;

    qint64 Width() const { return qint64(right) - left; }
    friend bool operator==(const Rect&, const Rect&) = default;
};
