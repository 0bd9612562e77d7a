#pragma once

#include "CommandTarget.h"
#include "Templates.h"

#include <QString>
#include <QStringList>

#include <memory>

class CMainFrame;
class DocManager;
class DocTemplate;
class Document;
class QtUiServices;
class Settings;

// The application: its profile, document manager and templates, the main window and the
// application-wide commands (About, File New, File Open, Print Setup, recent files, Exit).
class CTorvex2App : public CommandTarget {
public:
    explicit CTorvex2App(TemplateMakers makers = TemplateMakers::Program());
    ~CTorvex2App() override;

    // The running application (theApp), or null.
    static CTorvex2App* Instance();

    // Start-up in its fixed order; false ends the program. arguments: the command line without the
    // program's name.
    bool InitInstance(const QStringList& arguments);
    // Shut-down: writes what is pending in the profile.
    int ExitInstance();

    void SetLandscapePrinterDefault();
    // Registers the pop-up edit menu with the context-menu manager.
    void PreLoadState();
    void OnAppAbout();

    // Integers of the "Workspace" section of the profile.
    int GetInt(const QString& entry, int defaultValue) const;
    void WriteInt(const QString& entry, int value);

    Settings& GetSettings() const { return *m_Settings; }
    DocManager& GetDocManager() const { return *m_DocManager; }
    CMainFrame* MainFrame() const { return m_MainFrame.get(); }
    // The templates made at start-up that have not joined the document manager yet.
    DocTemplate* PendingNetlistTemplate() const { return m_NetlistTemplate.get(); }
    DocTemplate* PendingPlotTemplate() const { return m_PlotTemplate.get(); }

    // Opens a file with the template that fits it (used by drops and the recent-file list).
    Document* OpenDocumentFile(const QString& path);

    // The current look (210-218).
    unsigned m_nAppLook = 0;

private:
    bool ProcessShellCommand(const QStringList& arguments);
    QString PromptFileName(bool open, const QString& suggested, const QStringList& filters) const;
    void OnFilePrintSetup();

    // What the schematic document asks of the shell, while the program runs.
    struct SchematicServices;
    // The trace-selection dialog that netlist windows open.
    struct PlotSelectService;

    TemplateMakers m_Makers;
    std::unique_ptr<Settings> m_Settings;
    std::unique_ptr<DocManager> m_DocManager;
    std::unique_ptr<DocTemplate> m_NetlistTemplate;
    std::unique_ptr<DocTemplate> m_PlotTemplate;
    std::unique_ptr<QtUiServices> m_Ui;
    std::unique_ptr<CMainFrame> m_MainFrame;
    std::unique_ptr<SchematicServices> m_Schematic;
    std::unique_ptr<PlotSelectService> m_PlotSelect;
};
