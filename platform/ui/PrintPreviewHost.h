#pragma once

#include <functional>

class QPageLayout;
class QPagedPaintDevice;
class QPrinter;
class QString;
class QWidget;

// A frame that shows the print preview of its view. While the preview is shown the frame, not the
// view, receives the print commands.
class PrintPreviewHost {
public:
    virtual ~PrintPreviewHost() = default;

    // Shows the preview; paint draws the pages on the printer it is given.
    virtual void ShowPrintPreview(std::function<void(QPrinter&)> paint) = 0;
    virtual bool InPrintPreview() const = 0;
    virtual void ClosePrintPreview() = 0;

    // The host that holds the widget (the widget itself or one of its parents), or null.
    static PrintPreviewHost* Of(QWidget* widget);
};

// The print commands a view offers for its own drawing, starting from the program's page layout.
// None of them reports success for pages that did not arrive: each failure is told in a message.
namespace viewprint {
// Draws the pages on the device it is given; false when the painter could not begin or end there.
using PagePainter = std::function<bool(QPagedPaintDevice&)>;
// Print (with the print dialog unless direct). A print to a file in the dialog is written as
// PrintToPdf writes; false when the dialog was cancelled or nothing was printed.
bool Print(QWidget* view, const PagePainter& paint, bool direct = false);
// Print preview in the view's frame (a preview of its own when the view has no frame). The preview's
// own Print button prints as Print does and says so when nothing was printed.
void Preview(QWidget* view, PagePainter paint);
// Prints to a PDF file without a dialog, on the program's page layout unless a layout is given. The
// file is written whole or not at all; false, after a message with the reason, when it was not.
bool PrintToPdf(const QString& path, const PagePainter& paint);
bool PrintToPdf(const QString& path, const PagePainter& paint, const QPageLayout& layout);
} // namespace viewprint
