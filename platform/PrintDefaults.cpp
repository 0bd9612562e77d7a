#include "PrintDefaults.h"

#include <QPageSize>

QPageLayout& PrintDefaults::PageLayout()
{
    // No margins of our own: the pages keep their frames well inside the paper's edge, and a printer
    // keeps the margins it needs, so a whole 11 by 8.5 inch sheet fits landscape A4 as it fits Letter.
    static QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                              QPageLayout::Millimeter);
    return layout;
}

QString& PrintDefaults::PrinterName()
{
    static QString name;
    return name;
}
