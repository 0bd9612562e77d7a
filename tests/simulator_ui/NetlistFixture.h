#pragma once
// The program's main window with the real netlist template, a stand-in for the schematic template
// (so File New offers "Schematic" and "Netlist" as in the program), scripted messages, and a
// waveform archive in a temporary folder.
#include "ArchiveSandbox.h"
#include "CChildFrame.h"
#include "CMainFrame.h"
#include "CSimulatorDoc.h"
#include "CSimulatorView.h"
#include "CTorvex2App.h"
#include "CommandIds.h"
#include "DocManager.h"
#include "DocTemplate.h"
#include "IdleHook.h"
#include "ProgramFixture.h"
#include "Resource.h"
#include "Ribbon.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMdiArea>

#include <functional>
#include <memory>

class StandInDoc : public Document {
public:
    bool Load(QIODevice&) override { return true; }
    bool Save(QIODevice&) override { return true; }
};

class StandInView : public QWidget, public View {
public:
    QWidget* Widget() override { return this; }
};

// A resistive divider; 1000 steps of 1 ns pump ten times on the way.
inline const QString kDivider = QStringLiteral("* divider\nV1 NIN 0 DC 10\nR1 NIN NOUT 1K\nR2 NOUT 0 3K\n");

class NetlistTest : public ProgramFixture, public ArchiveSandbox {
protected:
    void SetUp() override
    {
        ProgramFixture::SetUp();
        // The program's pump: waiting events, then the idle update of the command states.
        ui.onPump = [this] {
            QCoreApplication::processEvents();
            IdleHook::RunAll();
            if (duringRun) duringRun();
        };
    }
    void Start()
    {
        TemplateMakers makers = TemplateMakers::Program();
        makers.schematic = [] {
            return std::make_unique<DocTemplate>(
                IDR_TORVEX2TYPE, QString::fromLatin1(strings::SchematicTemplate),
                [] { return std::make_unique<StandInDoc>(); },
                [] { return static_cast<View*>(new StandInView); });
        };
        ASSERT_TRUE(Launch(std::move(makers)));
    }

    // File New "Netlist", then the text typed into the window.
    CSimulatorView* NewNetlist(const QString& text = kDivider)
    {
        newType = 1;
        Frame().OnCommand(ID_FILE_NEW);
        CSimulatorView* view = ActiveNetlist();
        if (view) view->setPlainText(text);
        return view;
    }
    CSimulatorView* ActiveNetlist() { return dynamic_cast<CSimulatorView*>(Frame().ActiveView()); }
    CSimulatorDoc* Doc(CSimulatorView* view) { return view ? view->GetDocument() : nullptr; }

    Ribbon& Bar() { return *Frame().GetRibbonBar(); }
    QLineEdit* Edit(int id) { return Bar().FindEdit(id); }
    QComboBox* Combo(int id) { return Bar().FindComboBox(id); }
    // The control's state after the loop has gone idle.
    bool Enabled(int id)
    {
        Frame().OnIdleUpdate();
        return Bar().FindByID(id)->isEnabled();
    }
    // Picks the item of a ribbon list as the user does.
    void Choose(int id, const QString& text)
    {
        QComboBox* combo = Combo(id);
        const int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    QStringList Items(int id)
    {
        QStringList items;
        for (int i = 0; i < Combo(id)->count(); ++i)
            items << Combo(id)->itemText(i);
        return items;
    }
    QString Selected(int id) { return Combo(id)->currentIndex() >= 0 ? Combo(id)->currentText() : QString(); }
    void Simulate() { Frame().OnCommand(ID_Transient_Simulate); }

    std::function<void()> duringRun; // runs inside every pump of a run
};
