#include "TopLevelNetlist.h"

#include "CTorvex2Doc.h"

QString WriteTopLevelNetlist(CTorvex2Doc& doc)
{
    const QString file = doc.PathName().isEmpty() ? QStringLiteral("Unsaved File") : doc.PathName();
    return QStringLiteral("* TORVEX Generated Netlist of ") + file + QStringLiteral("\r\n");
}

bool NetlistWriterAvailable()
{
    return false;
}
