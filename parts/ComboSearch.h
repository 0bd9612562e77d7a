#pragma once

#include <QString>
#include <QStringList>

// The drop-down lists' own prefix search, which the dialogs use to select the item a value text
// names: the first item, compared without regard to case, that begins with `prefix`, searching from
// the item after `startAfter` to the end and then from the top back to `startAfter` itself. A
// `startAfter` outside the list searches from the top. An empty prefix matches every item, so it
// selects the item after `startAfter` (with `startAfter` 0, the second item). -1 when no item
// matches.
int selectStringPrefix(const QStringList& items, int startAfter, const QString& prefix);
