#pragma once

#include <QPageLayout>
#include <QString>

// The program's own printer settings: what printing and print preview start from. Changing them
// never changes the system's printer settings.
struct PrintDefaults {
    static QPageLayout& PageLayout();
    // The printer to use; empty for the system's default.
    static QString& PrinterName();
};
