#include "ComboSearch.h"

int selectStringPrefix(const QStringList& items, int startAfter, const QString& prefix)
{
    const int count = int(items.size());
    if (startAfter < 0 || startAfter >= count) startAfter = -1;
    for (int step = 1; step <= count; ++step) {
        const int i = (startAfter + step) % count;
        if (items[i].startsWith(prefix, Qt::CaseInsensitive)) return i;
    }
    return -1;
}
