#include "CComponent.h"
#include "CComponentListDialog.h"
#include "CTorvex2Doc.h"
#include "ComponentTypeId.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace {

// A resistor whose run holds a capacitor, then the capacitor with all of its attachments.
ComponentList brokenList()
{
    ComponentList list;
    const std::pair<quint32, const char*> objects[] = {
        {TypeResistor, "R1"}, {TypeLabel, "R1"},   {TypeCapacitor, "C1"},
        {TypeLabel, "C1"},    {TypeLabel, "1n"},   {TypeLabel, "IC=0"},
        {TypeTerminal, "1"},  {TypeTerminal, "2"}, {TypeTextSelectionTool, "X"}};
    for (const auto& [type, text] : objects) {
        list.push_back(CTorvex2Doc::CreateComponent(type));
        list.back()->Text = QString::fromLatin1(text);
        list.back()->State = 1;
    }
    list.back()->State = 0; // being placed: no line of its own
    return list;
}

QStringList lines(const QTreeWidget& tree)
{
    QStringList result;
    const QTreeWidgetItem* root = tree.topLevelItem(0);
    result << root->text(0);
    for (int i = 0; i < root->childCount(); ++i) {
        QStringList children;
        for (int j = 0; j < root->child(i)->childCount(); ++j)
            children << root->child(i)->child(j)->text(0);
        result << root->child(i)->text(0) + " [" + children.join(", ") + "]";
    }
    return result;
}

} // namespace

TEST(ComponentListDialog, ShowsTheTreeChecksAndRepairs)
{
    ScriptedUiServices ui;
    ComponentList list = brokenList();
    CComponentListDialog dialog(list);
    EXPECT_EQ(dialog.windowTitle(), "Component List");
    EXPECT_EQ(lines(*dialog.Tree()),
              (QStringList{"Components", "Resistor R1 [Label, Capacitor, Label, Label]", "Label IC=0 []",
                           "Terminal 1 []", "Terminal 2 []"}));
    EXPECT_TRUE(dialog.Tree()->topLevelItem(0)->isExpanded());

    dialog.Button(CComponentListDialog::IDC_CHECK)->click();
    dialog.Button(CComponentListDialog::IDC_REPAIR)->click();
    EXPECT_TRUE(dialog.Repaired());
    EXPECT_EQ(lines(*dialog.Tree()),
              (QStringList{"Components", "Capacitor C1 [Label, Label, Label, Terminal, Terminal]"}));
    dialog.Button(CComponentListDialog::IDC_REPAIR)->click();
    EXPECT_EQ(ui.messages, (QStringList{"Errors detected in the document component list.",
                                        "The bad component: R1 is being removed from document.",
                                        "The document has been repaired.", "No errors detected."}));
}

TEST(ComponentListDialog, TheProgramsWindowKeepsARepairThroughCancel)
{
    ScriptedUiServices ui;
    CTorvex2Doc doc;
    doc.Components() = brokenList();
    QtComponentListWindow window;
    setComponentListWindow(&window);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CComponentListDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->OnRepairErrors();
        dialog->reject();
    });
    EXPECT_TRUE(RunComponentListDialog(doc));
    setComponentListWindow(nullptr);
    EXPECT_EQ(doc.Components().size(), 7u);
    EXPECT_FALSE(RunComponentListDialog(doc)); // no window installed
}
