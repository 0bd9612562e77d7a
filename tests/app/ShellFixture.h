#pragma once

#include "CChildFrame.h"
#include "CMainFrame.h"
#include "CTorvex2App.h"
#include "CommandIds.h"
#include "DocManager.h"
#include "DocTemplate.h"
#include "Document.h"
#include "FileBytes.h"
#include "PrintPreviewHost.h"
#include "ProgramFixture.h"
#include "Resource.h"
#include "UiServices.h"
#include "View.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <memory>

// Commands of the test documents and views.
enum TestCommand : int {
    ID_TEST_VIEW_AND_DOC = 9001, // handled by both view and document
    ID_TEST_DOC = 9002,          // handled by the document only
    ID_TEST_DISABLED = 9003,     // handled by the document, disabled by the view's update handler
};

// A text document standing in for the program's documents.
class TextDoc : public Document {
public:
    TextDoc()
    {
        MapCommand(ID_TEST_VIEW_AND_DOC, [this] { log << QStringLiteral("doc"); });
        MapCommand(ID_TEST_DOC, [this] { log << QStringLiteral("doc"); });
        MapCommand(ID_TEST_DISABLED, [this] { log << QStringLiteral("doc"); });
    }
    bool Load(QIODevice& in) override
    {
        text = QString::fromUtf8(in.readAll());
        return !text.startsWith(QStringLiteral("bad"));
    }
    bool Save(QIODevice& out) override { return out.write(text.toUtf8()) >= 0; }
    bool IsBusy() const override { return busy; }

    QString text;
    bool busy = false;
    QStringList log;
};

class TextView : public QPlainTextEdit, public View {
public:
    TextView()
    {
        MapCommand(ID_TEST_VIEW_AND_DOC, [this] { log << QStringLiteral("view"); });
        MapUpdate(ID_TEST_DISABLED, [](CmdUI& ui) { ui.Enable(false); });
        MapCommand(ID_FILE_PRINT, [this] { ++printed; });
        // Stop Simulation: enabled while the document is busy.
        MapCommand(ID_Transient_Abort, [this] { log << QStringLiteral("stop"); });
        MapUpdate(ID_Transient_Abort, [this](CmdUI& ui) {
            auto* doc = dynamic_cast<TextDoc*>(GetDocument());
            ui.Enable(doc && doc->busy);
        });
        MapCommand(ID_FILE_PRINT_PREVIEW, [this] {
            if (auto* host = PrintPreviewHost::Of(this)) host->ShowPrintPreview([](QPrinter&) {});
        });
    }
    QWidget* Widget() override { return this; }
    void OnInitialUpdate() override
    {
        if (auto* doc = dynamic_cast<TextDoc*>(GetDocument())) setPlainText(doc->text);
    }

    QStringList log;
    int printed = 0;
};

inline TemplateMakers testMakers()
{
    auto make = [](int id, const char* strings) {
        return [id, strings] {
            return std::make_unique<DocTemplate>(
                id, QString::fromLatin1(strings), [] { return std::make_unique<TextDoc>(); },
                [] { return static_cast<View*>(new TextView); });
        };
    };
    TemplateMakers makers;
    makers.schematic = make(IDR_TORVEX2TYPE, strings::SchematicTemplate);
    makers.netlist = make(IDR_NETLIST, strings::NetlistTemplate);
    makers.plot = make(IDR_PLOT, strings::PlotTemplate);
    return makers;
}

// The program with the test templates, and a temporary folder for files.
class ShellTest : public ProgramFixture {
protected:
    CTorvex2App& Start(const QStringList& arguments = {}, TemplateMakers makers = testMakers())
    {
        EXPECT_TRUE(Launch(std::move(makers), arguments));
        return *app;
    }
    QString File(const QString& name, const QByteArray& content = "text")
    {
        return writeFile(dir.filePath(name), content);
    }
    // The resource ids of the templates of the open documents, in template order.
    QList<int> OpenKinds()
    {
        QList<int> kinds;
        for (Document* d : Docs().GetOpenDocuments())
            kinds << d->Template()->ResourceId();
        return kinds;
    }
    // The titles of the open documents.
    QStringList Titles()
    {
        QStringList titles;
        for (Document* d : Docs().GetOpenDocuments())
            titles << d->Title();
        return titles;
    }

    QTemporaryDir dir;
};
