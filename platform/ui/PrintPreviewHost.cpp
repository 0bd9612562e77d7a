#include "PrintPreviewHost.h"

#include "Files.h"
#include "PrintDefaults.h"
#include "UiServices.h"

#include <QBuffer>
#include <QDir>
#include <QPaintEngine>
#include <QPdfWriter>
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
// What a high-resolution printer prints a PDF file at.
constexpr int kPdfResolution = 1200;

void prepare(QPrinter& printer)
{
    if (!PrintDefaults::PrinterName().isEmpty()) printer.setPrinterName(PrintDefaults::PrinterName());
    printer.setPageLayout(PrintDefaults::PageLayout());
}

// What the user is told when the printer did not take the pages.
QString printFailure(const QPrinter& printer)
{
    if (printer.printerName().isEmpty()) return QStringLiteral("Nothing was printed: there is no printer.");
    return QStringLiteral("Nothing was printed: the printer %1 did not take the page.")
        .arg(printer.printerName());
}

// The printer the user chose takes the pages; a PDF file is written as PrintToPdf writes it.
bool printOn(QPrinter& printer, const PagePainter& paint)
{
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return PrintToPdf(printer.outputFileName(), paint, printer.pageLayout());
    if (paint(printer)) return true;
    ui().message(printFailure(printer));
    return false;
}

// A preview draws its pages through a printer whose engine records pictures; the preview's own Print
// button then hands over the same printer, printing for real.
bool isPreviewing(QPrinter& printer)
{
    const QPaintEngine* engine = printer.paintEngine();
    return engine && engine->type() == QPaintEngine::Picture;
}
} // namespace

bool Print(QWidget* view, const PagePainter& paint, bool direct)
{
    QPrinter printer(QPrinter::HighResolution);
    prepare(printer);
    if (!direct) {
        QPrintDialog dialog(&printer, view);
        if (dialog.exec() != QDialog::Accepted) return false;
    }
    return printOn(printer, paint);
}

void Preview(QWidget* view, PagePainter paint)
{
    // What the preview's Print button prints is told as the Print command tells it.
    std::function<void(QPrinter&)> pages = [paint = std::move(paint)](QPrinter& printer) {
        if (isPreviewing(printer))
            paint(printer);
        else
            printOn(printer, paint);
    };
    if (PrintPreviewHost* host = PrintPreviewHost::Of(view)) {
        host->ShowPrintPreview(std::move(pages));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    prepare(printer);
    QPrintPreviewDialog dialog(&printer, view);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&pages](QPrinter* p) { pages(*p); });
    dialog.exec();
}

bool PrintToPdf(const QString& path, const PagePainter& paint)
{
    return PrintToPdf(path, paint, PrintDefaults::PageLayout());
}

bool PrintToPdf(const QString& path, const PagePainter& paint, const QPageLayout& layout)
{
    // Printed in memory, then written as every file is: a failed print leaves an older file as it
    // was, and a full disk is told as such.
    QByteArray pages;
    bool painted;
    {
        QBuffer buffer(&pages);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(layout);
        painted = paint(writer);
    }
    QString reason;
    if (!painted) reason = QStringLiteral("The page could not be drawn");
    if (painted && files::Write(path, pages, &reason)) return true;
    ui().message(files::WithReason(
        QStringLiteral("Cannot save the file %1.").arg(QDir::toNativeSeparators(path)), reason));
    return false;
}

} // namespace viewprint
