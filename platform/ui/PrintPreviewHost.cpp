#include "PrintPreviewHost.h"

#include "PrintDefaults.h"

#include <QFile>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QTemporaryDir>
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

bool PrintToPdf(const QString& path, const std::function<void(QPrinter&)>& paint)
{
    // Printed beside, then put in place whole: a failed print leaves an older file as it was.
    QTemporaryDir scratch;
    if (!scratch.isValid()) return false;
    const QString printed = scratch.filePath(QStringLiteral("page.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageLayout(PrintDefaults::PageLayout());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        paint(printer);
    }
    QFile in(printed);
    if (!in.open(QIODevice::ReadOnly) || in.size() == 0) return false;
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(in.readAll()) == in.size() && out.commit();
}

} // namespace viewprint
