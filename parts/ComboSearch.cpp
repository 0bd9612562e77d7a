#include "ComboSearch.h"

int selectStringPrefix(const QStringList& items, int startAfter, const QString& prefix)
{
    const int count = int(items.size());
    if (count == 0) return -1;
    if (startAfter < -1 || startAfter >= count) startAfter = -1;
    for (int n = 1; n <= count; ++n) {
        const int i = (startAfter + n) % count;
        if (items[i].startsWith(prefix, Qt::CaseInsensitive)) return i;
    }
    return -1;
}
