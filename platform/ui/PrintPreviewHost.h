#pragma once

#include <functional>

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
namespace viewprint {
// Print (with the print dialog unless direct); paint draws the pages.
bool Print(QWidget* view, const std::function<void(QPrinter&)>& paint, bool direct = false);
// Print preview in the view's frame (a preview of its own when the view has no frame).
void Preview(QWidget* view, std::function<void(QPrinter&)> paint);
// Prints to a PDF file on the program's page layout, without a dialog; false when the file could
// not be written.
bool PrintToPdf(const QString& path, const std::function<void(QPrinter&)>& paint);
} // namespace viewprint
