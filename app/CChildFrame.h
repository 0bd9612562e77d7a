#pragma once

#include "CommandTarget.h"
#include "PrintPreviewHost.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QPrintPreviewDialog>

#include <memory>

class QPrinter;
class View;

// The window of one view in the main window's tabs, shared by every document type. While it shows
// a print preview, Print prints from the preview and Print Preview closes it.
class CChildFrame : public QMdiSubWindow, public CommandTarget, public PrintPreviewHost {
    Q_OBJECT
public:
    explicit CChildFrame(View* view, QWidget* parent = nullptr);
    ~CChildFrame() override;

    View* GetView() const { return m_View; }
    // Set while the frame is being taken down with its document: no more questions.
    void SetClosing() { m_Closing = true; }
    bool IsClosing() const { return m_Closing; }

    void ShowPrintPreview(std::function<void(QPrinter&)> paint) override;
    bool InPrintPreview() const override;
    void ClosePrintPreview() override;
    QPrintPreviewDialog* PreviewDialog() const { return m_Preview; }

    void OnFilePrint();
    void OnFilePrintPreview();
    void OnUpdateFilePrintPreview(CmdUI& cmdUI);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    View* m_View;
    bool m_Closing = false;
    QPointer<QPrintPreviewDialog> m_Preview;
    std::unique_ptr<QPrinter> m_PreviewPrinter;
};
