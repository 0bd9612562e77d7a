#include "CTorvex2App.h"

#include "CAboutDlg.h"
#include "CComponentListDialog.h"
#include "CMainFrame.h"
#include "CPlotDoc.h"
#include "CPlotSelect.h"
#include "CSimulatorDoc.h"
#include "CTorvex2Doc.h"
#include "ClassRegistry.h"
#include "CommandIds.h"
#include "ComponentClasses.h"
#include "ContextMenuManager.h"
#include "DocManager.h"
#include "DocTemplate.h"
#include "Document.h"
#include "PlotTracesDialog.h"
#include "PrintDefaults.h"
#include "QtPropertyDialogs.h"
#include "QtUiServices.h"
#include "RecentFileList.h"
#include "Resource.h"
#include "Settings.h"
#include "ShellDocuments.h"
#include "ToolTipManager.h"
#include "UiServices.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

namespace {
CTorvex2App* g_theApp = nullptr;
const QString kWorkspace = QStringLiteral("Workspace");
constexpr int kRecentFiles = 10;
} // namespace

struct CTorvex2App::SchematicServices {
    SchematicServices(DocManager& manager, QWidget* parent)
        : documents(manager, typeid(CPlotDoc)), dialogs(parent), componentList(parent)
    {
        CTorvex2Doc::SetOpenDocuments(&documents);
        setPropertyDialogs(&dialogs);
        setComponentListWindow(&componentList);
    }
    ~SchematicServices()
    {
        CTorvex2Doc::SetOpenDocuments(nullptr);
        if (propertyDialogs() == &dialogs) setPropertyDialogs(nullptr);
        if (componentListWindow() == &componentList) setComponentListWindow(nullptr);
    }

    ShellDocuments documents;
    QtPropertyDialogs dialogs;
    QtComponentListWindow componentList;
};

struct CTorvex2App::PlotSelectService : PlotTracesDialog {
    // A dialog installed before start-up (a test's) stays.
    PlotSelectService() : installed(!plotTracesDialog())
    {
        if (installed) setPlotTracesDialog(this);
    }
    ~PlotSelectService() override
    {
        if (installed && plotTracesDialog() == this) setPlotTracesDialog(nullptr);
    }
    void Run(CSimulatorDoc& doc, const QString& archivePath, std::weak_ptr<RunSettingsReceiver> schematic,
             QWidget* owner) override
    {
        const SimulatorTraceSource source(doc.Results());
        CPlotSelect dialog(source, archivePath, std::move(schematic), owner);
        dialog.exec();
    }

    bool installed;
};

CTorvex2App::CTorvex2App(TemplateMakers makers) : m_Makers(std::move(makers))
{
    g_theApp = this;
    // Every class a document stores is known before any file is read.
    RegisterComponentClasses(ClassRegistry::instance());
    RegisterPlotClasses(ClassRegistry::instance());
    MapCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    MapCommand(ID_FILE_NEW, [this] { m_DocManager->OnFileNew(); });
    MapCommand(ID_FILE_OPEN, [this] { m_DocManager->OnFileOpen(); });
    MapCommand(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
    MapCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16,
                    [this](int id) { m_DocManager->OpenRecentFile(id - ID_FILE_MRU_FILE1); });
    MapUpdateRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, [this](CmdUI& cmdUI) {
        const RecentFileList* recent = m_DocManager ? m_DocManager->RecentFiles() : nullptr;
        cmdUI.Enable(recent && cmdUI.ID() - ID_FILE_MRU_FILE1 < recent->Files().size());
    });
    MapCommand(ID_APP_EXIT, [this] {
        if (m_MainFrame) m_MainFrame->close();
    });
}

CTorvex2App::~CTorvex2App()
{
    // Documents go first, while their frames and the main window still exist.
    if (m_DocManager) m_DocManager->CloseAllDocuments();
    m_Schematic.reset();
    m_PlotSelect.reset();
    m_NetlistTemplate.reset();
    m_PlotTemplate.reset();
    m_MainFrame.reset();
    m_DocManager.reset();
    if (g_theApp == this) g_theApp = nullptr;
}

CTorvex2App* CTorvex2App::Instance()
{
    return g_theApp;
}

bool CTorvex2App::InitInstance(const QStringList& arguments)
{
    SetLandscapePrinterDefault();

    QCoreApplication::setOrganizationName(QString::fromLatin1(Settings::Organisation));
    QCoreApplication::setApplicationName(QString::fromLatin1(Settings::Application));
    m_Settings = std::make_unique<Settings>();
    // Message boxes replace the error stream; services installed before start-up (scripted ones) stay.
    if (dynamic_cast<StderrUiServices*>(&ui()))
        m_Ui = std::make_unique<QtUiServices>(QString::fromLatin1(strings::AppTitle));

    m_DocManager = std::make_unique<DocManager>();
    m_DocManager->SetRecentFileList(std::make_unique<RecentFileList>(*m_Settings, kRecentFiles));
    m_DocManager->promptFileName = [this](bool open, const QString& suggested, const QStringList& filters) {
        return PromptFileName(open, suggested, filters);
    };
    m_DocManager->chooseNewType = [this](const QStringList& names) {
        bool ok = false;
        const QString name = QInputDialog::getItem(m_MainFrame.get(), QStringLiteral("New"),
                                                   QStringLiteral("&New"), names, 0, false, &ok);
        return ok ? int(names.indexOf(name)) : -1;
    };
    ToolTipManager::Init(ToolTipManager::kMaxDescriptionWidth);
    PreLoadState();

    if (m_Makers.schematic) m_DocManager->AddDocTemplate(m_Makers.schematic());
    if (m_Makers.netlist) m_NetlistTemplate = m_Makers.netlist();
    if (m_Makers.plot) m_PlotTemplate = m_Makers.plot();

    m_MainFrame = std::make_unique<CMainFrame>(*this);
    if (!m_MainFrame->LoadFrame()) {
        m_MainFrame.reset();
        return false;
    }
    m_MainFrame->setAcceptDrops(true);
    m_Schematic = std::make_unique<SchematicServices>(*m_DocManager, m_MainFrame.get());
    m_PlotSelect = std::make_unique<PlotSelectService>();

    if (!ProcessShellCommand(arguments)) return false;
    m_MainFrame->showMaximized();

    m_DocManager->AddDocTemplate(std::move(m_NetlistTemplate));
    m_DocManager->AddDocTemplate(std::move(m_PlotTemplate));
    return true;
}

int CTorvex2App::ExitInstance()
{
    if (m_Settings) m_Settings->Flush();
    return 0;
}

void CTorvex2App::SetLandscapePrinterDefault()
{
    // The program's own page settings start in landscape, whether or not a printer is installed
    // (printing to a file needs no printer); a default printer lends its paper size.
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    QPageLayout& layout = PrintDefaults::PageLayout();
    if (!printer.isNull()) {
        PrintDefaults::PrinterName() = printer.printerName();
        layout.setPageSize(printer.defaultPageSize());
    }
    layout.setOrientation(QPageLayout::Landscape);
}

void CTorvex2App::PreLoadState()
{
    ContextMenuManager::AddMenu(QString::fromLatin1(strings::EditMenuName),
                                {{ID_EDIT_CUT, QStringLiteral("Cu&t\tCtrl+X")},
                                 {ID_EDIT_COPY, QStringLiteral("&Copy\tCtrl+C")},
                                 {ID_EDIT_PASTE, QStringLiteral("&Paste\tCtrl+V")}});
}

void CTorvex2App::OnAppAbout()
{
    CAboutDlg dialog(m_MainFrame.get());
    dialog.exec();
}

int CTorvex2App::GetInt(const QString& entry, int defaultValue) const
{
    return m_Settings ? m_Settings->GetProfileInt(kWorkspace, entry, defaultValue) : defaultValue;
}

void CTorvex2App::WriteInt(const QString& entry, int value)
{
    if (!m_Settings) return;
    m_Settings->WriteProfileInt(kWorkspace, entry, value);
    m_Settings->Flush();
}

Document* CTorvex2App::OpenDocumentFile(const QString& path)
{
    // Until start-up has registered them, the netlist and plot templates still take their files.
    return m_DocManager->OpenDocumentFile(path, true, {m_NetlistTemplate.get(), m_PlotTemplate.get()});
}

bool CTorvex2App::ProcessShellCommand(const QStringList& arguments)
{
    QString file;
    for (const QString& a : arguments)
        if (!a.startsWith(QLatin1Char('-'))) {
            file = a;
            break;
        }
    if (!file.isEmpty() && OpenDocumentFile(file)) return true;
    // A plain start, or a file that could not be opened (its message has been shown): carry on with
    // a blank document.
    m_DocManager->OnFileNew();
    return true;
}

QString CTorvex2App::PromptFileName(bool open, const QString& suggested, const QStringList& filters) const
{
    QFileDialog dialog(m_MainFrame.get(), open ? QStringLiteral("Open") : QStringLiteral("Save As"));
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    if (!suggested.isEmpty()) dialog.selectFile(suggested);
    // A name typed without extension gets the document type's own.
    static const QRegularExpression extension(QStringLiteral("\\(\\*\\.(\\w+)\\)"));
    if (const QRegularExpressionMatch m = extension.match(filters.value(0)); !open && m.hasMatch())
        dialog.setDefaultSuffix(m.captured(1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

void CTorvex2App::OnFilePrintSetup()
{
    QPrinter printer;
    if (!PrintDefaults::PrinterName().isEmpty()) printer.setPrinterName(PrintDefaults::PrinterName());
    printer.setPageLayout(PrintDefaults::PageLayout());
    QPageSetupDialog dialog(&printer, m_MainFrame.get());
    if (dialog.exec() != QDialog::Accepted) return;
    PrintDefaults::PageLayout() = printer.pageLayout();
    PrintDefaults::PrinterName() = printer.printerName();
}
