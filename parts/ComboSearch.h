#pragma once

#include <QString>
#include <QStringList>

// The drop-down lists' own search for an item by the start of its text, as a typed or stored word
// selects an item: case-insensitive, starting after item `startAfter` and wrapping round to it; −1
// searches the whole list from the top. An empty prefix matches every item, so it selects the item
// after `startAfter`. Returns the index found, or −1 when no item begins with the prefix (the list's
// selection then stays as it was).
int selectStringPrefix(const QStringList& items, int startAfter, const QString& prefix);
