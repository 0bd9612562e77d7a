#include "CChildFrame.h"

#include "CommandIds.h"
#include "DocManager.h"
#include "DocTemplate.h"
#include "Document.h"
#include "PrintDefaults.h"
#include "View.h"

#include <QCloseEvent>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>
#include <QWidget>

CChildFrame::CChildFrame(View* view, QWidget* parent) : QMdiSubWindow(parent), m_View(view)
{
    setAttribute(Qt::WA_DeleteOnClose);
    if (view && view->Widget()) setWidget(view->Widget());
    MapCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
    MapCommand(ID_FILE_PRINT_DIRECT, [this] { OnFilePrint(); });
    MapCommand(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
    MapUpdate(ID_FILE_PRINT_PREVIEW, [this](CmdUI& cmdUI) { OnUpdateFilePrintPreview(cmdUI); });
}

CChildFrame::~CChildFrame()
{
    if (m_Preview) delete m_Preview.data();
}

void CChildFrame::ShowPrintPreview(std::function<void(QPrinter&)> paint)
{
    if (InPrintPreview()) {
        m_Preview->raise();
        return;
    }
    m_PreviewPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!PrintDefaults::PrinterName().isEmpty())
        m_PreviewPrinter->setPrinterName(PrintDefaults::PrinterName());
    m_PreviewPrinter->setPageLayout(PrintDefaults::PageLayout());
    auto* dialog = new QPrintPreviewDialog(m_PreviewPrinter.get(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::NonModal);
    connect(dialog, &QPrintPreviewDialog::paintRequested, this,
            [paint = std::move(paint)](QPrinter* p) { paint(*p); });
    m_Preview = dialog;
    // The preview takes the program's window, as it would take the frame, rather than a corner.
    dialog->resize(window()->size());
    dialog->show();
}

bool CChildFrame::InPrintPreview() const
{
    return m_Preview && m_Preview->isVisible();
}

void CChildFrame::ClosePrintPreview()
{
    if (m_Preview) m_Preview->close();
}

// In the preview the commands come to the frame instead of the view; like the preview's own
// buttons they act after the current command has finished.
void CChildFrame::OnFilePrint()
{
    if (!InPrintPreview()) return;
    QTimer::singleShot(0, this, [this] {
        ClosePrintPreview();
        if (m_View) m_View->OnCmdMsg(ID_FILE_PRINT);
    });
}

void CChildFrame::OnFilePrintPreview()
{
    if (!InPrintPreview()) return;
    QTimer::singleShot(0, this, [this] { ClosePrintPreview(); });
}

void CChildFrame::OnUpdateFilePrintPreview(CmdUI& cmdUI)
{
    cmdUI.SetCheck(InPrintPreview());
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    Document* doc = m_View ? m_View->GetDocument() : nullptr;
    if (!m_Closing && doc) {
        if (doc->Views().size() > 1) {
            doc->RemoveView(m_View);
        } else {
            if (!doc->CanCloseFrame()) {
                event->ignore();
                return;
            }
            m_Closing = true;
            if (DocManager* manager = DocManager::Instance())
                manager->CloseDocument(doc);
            else if (doc->Template())
                doc->Template()->CloseDocument(doc);
        }
    }
    m_Closing = true;
    ClosePrintPreview();
    QMdiSubWindow::closeEvent(event);
}
