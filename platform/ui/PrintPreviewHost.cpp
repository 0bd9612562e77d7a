#include "PrintPreviewHost.h"

#include "PrintDefaults.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWidget>

PrintPreviewHost* PrintPreviewHost::Of(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (auto* host = dynamic_cast<PrintPreviewHost*>(w)) return host;
    return nullptr;
}

namespace viewprint {

namespace {
void prepare(QPrinter& printer)
{
    if (!PrintDefaults::PrinterName().isEmpty()) printer.setPrinterName(PrintDefaults::PrinterName());
    printer.setPageLayout(PrintDefaults::PageLayout());
}
} // namespace

bool Print(QWidget* view, const std::function<void(QPrinter&)>& paint, bool direct)
{
    QPrinter printer(QPrinter::HighResolution);
    prepare(printer);
    if (!direct) {
        QPrintDialog dialog(&printer, view);
        if (dialog.exec() != QDialog::Accepted) return false;
    }
    paint(printer);
    return true;
}

void Preview(QWidget* view, std::function<void(QPrinter&)> paint)
{
    if (PrintPreviewHost* host = PrintPreviewHost::Of(view)) {
        host->ShowPrintPreview(std::move(paint));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    prepare(printer);
    QPrintPreviewDialog dialog(&printer, view);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&paint](QPrinter* p) { paint(*p); });
    dialog.exec();
}

} // namespace viewprint
