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

// A resistor whose run holds a capacitor, the capacitor with its attachments, a text being placed and
// a capacitor whose run the list's end cuts short.
ComponentList brokenList()
{
    const std::pair<quint32, const char*> objects[] = {
        {TypeResistor, "R1"},  {TypeLabel, "R1"},   {TypeCapacitor, "C1"},
        {TypeLabel, "C1"},     {TypeLabel, "1n"},   {TypeLabel, "IC"},
        {TypeTerminal, "1"},   {TypeTerminal, "2"}, {TypeTextSelectionTool, "X"},
        {TypeCapacitor, "C2"}, {999, "?"}};
    ComponentList list;
    for (const auto& [type, text] : objects) {
        list.push_back(CTorvex2Doc::CreateComponent(type));
        list.back()->Text = QString::fromLatin1(text);
        list.back()->State = 1;
    }
    std::next(list.begin(), 8)->get()->State = 0;
    return list;
}

QStringList lines(const QTreeWidget& tree)
{
    QStringList result;
    for (QTreeWidgetItemIterator it(tree.topLevelItem(0)); *it; ++it)
        result << QString((*it)->parent() && (*it)->parent()->parent() ? "  " : "") + (*it)->text(0);
    return result;
}

} // namespace

TEST(ComponentListDialog, ShowsPlacedObjectsWithTheirAttachmentsAndRepairs)
{
    ScriptedUiServices ui;
    ComponentList list = brokenList();
    CComponentListDialog dialog(list);
    EXPECT_EQ(lines(*dialog.Tree()),
              (QStringList{"Components", "Resistor R1", "  Label", "  Capacitor", "  Label", "  Label",
                           "Label IC", "Terminal 1", "Terminal 2", "Capacitor C2", "  999"}));
    dialog.Button(CComponentListDialog::IDC_CHECK)->click();
    dialog.Button(CComponentListDialog::IDC_REPAIR)->click();
    EXPECT_TRUE(dialog.Repaired());
    EXPECT_EQ(lines(*dialog.Tree()).mid(1, 2), (QStringList{"Capacitor C1", "  Label"}));
    EXPECT_EQ(ui.messages.value(0), "Errors detected in the document component list.");
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
        dialog->Button(CComponentListDialog::IDC_REPAIR)->click();
        dialog->reject();
    });
    EXPECT_TRUE(RunComponentListDialog(doc));
    setComponentListWindow(nullptr);
    EXPECT_EQ(doc.Components().size(), 9u);
    EXPECT_FALSE(RunComponentListDialog(doc)); // no window installed
}

TEST(ComponentListDialog, RepairOnAWholeListSaysNothingAndChangesNothing)
{
    ScriptedUiServices ui;
    ComponentList list = brokenList();
    list.resize(9); // the resistor, the whole capacitor and the text
    list.erase(list.begin(), std::next(list.begin(), 2));
    CComponentListDialog dialog(list);
    const QStringList shown = lines(*dialog.Tree());
    dialog.Button(CComponentListDialog::IDC_REPAIR)->click();
    EXPECT_FALSE(dialog.Repaired());
    EXPECT_EQ(ui.messages, QStringList{});
    EXPECT_EQ(list.size(), 7u);
    EXPECT_EQ(lines(*dialog.Tree()), shown);
    dialog.Button(CComponentListDialog::IDC_CHECK)->click();
    EXPECT_EQ(ui.messages, QStringList{"No errors detected."});
}
