#include "PrintDefaults.h"

#include <QPageSize>

QPageLayout& PrintDefaults::PageLayout()
{
    static QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                              QPageLayout::Millimeter);
    return layout;
}

QString& PrintDefaults::PrinterName()
{
    static QString name;
    return name;
}
