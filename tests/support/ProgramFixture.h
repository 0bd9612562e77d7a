#pragma once
// The program started by a test: a fresh profile before and after, scripted messages, and file
// prompts and File New choices answered from `nextFile` and `newType` instead of dialogs.
#include "CMainFrame.h"
#include "CTorvex2App.h"
#include "DocManager.h"
#include "PlotTracesDialog.h"
#include "Settings.h"
#include "Templates.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QSettings>

#include <functional>
#include <memory>
#include <vector>

// Stands in for the trace-selection dialog: records every request and hands it to `onRun`.
class ScriptedPlotTraces : public PlotTracesDialog {
public:
    ScriptedPlotTraces() { setPlotTracesDialog(this); }
    ~ScriptedPlotTraces() override
    {
        if (plotTracesDialog() == this) setPlotTracesDialog(nullptr);
    }
    void Run(CSimulatorDoc& doc, const QString& archivePath, std::weak_ptr<RunSettingsReceiver> schematic,
             QWidget* owner) override
    {
        requests.push_back({&doc, archivePath, schematic});
        if (onRun) onRun(doc, archivePath, std::move(schematic), owner);
    }

    struct Request {
        CSimulatorDoc* doc;
        QString archivePath;
        std::weak_ptr<RunSettingsReceiver> schematic;
    };
    std::vector<Request> requests;
    std::function<void(CSimulatorDoc&, const QString&, std::weak_ptr<RunSettingsReceiver>, QWidget*)> onRun;
};

class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override { ClearProfile(); }
    void TearDown() override
    {
        app.reset();
        ClearProfile();
    }
    static void ClearProfile()
    {
        QSettings(QSettings::IniFormat, QSettings::UserScope, Settings::Organisation, Settings::Application)
            .clear();
    }
    // Starts the program afresh with these templates; false when start-up failed.
    bool Launch(TemplateMakers makers, const QStringList& arguments = {})
    {
        app.reset();
        app = std::make_unique<CTorvex2App>(std::move(makers));
        const bool started = app->InitInstance(arguments);
        app->GetDocManager().promptFileName = [this](bool, const QString&, const QStringList&) {
            return nextFile;
        };
        app->GetDocManager().chooseNewType = [this](const QStringList&) { return newType; };
        return started;
    }
    CMainFrame& Frame() { return *app->MainFrame(); }
    DocManager& Docs() { return app->GetDocManager(); }

    QString nextFile;              // the file the next file prompt answers
    int newType = -1;              // the File New choice
    ScriptedUiServices ui;         // before the application, which then keeps it
    ScriptedPlotTraces plotTraces; // the same
    std::unique_ptr<CTorvex2App> app;
};
