// The object-list check, its repair one broken group at a time, and the component list's lines.
#include "CComponent.h"
#include "CTorvex2Doc.h"
#include "ComponentListCheck.h"
#include "ComponentTypeId.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

// A list written as words: "R1" a resistor (4 attachments), "C1" a capacitor (5), "T1" a text (none),
// "W" a wire (2 pins), "l" a label, "p" a pin. Parts carry the word as their text.
ComponentList makeList(const char* words)
{
    ComponentList list;
    for (const QString& word : QString::fromLatin1(words).split(u' ', Qt::SkipEmptyParts)) {
        const quint32 type = word == u"l"      ? TypeLabel
                             : word == u"p"    ? TypeTerminal
                             : word == u"W"    ? TypeWire
                             : word[0] == u'R' ? TypeResistor
                             : word[0] == u'C' ? TypeCapacitor
                                               : TypeTextSelectionTool;
        std::unique_ptr<CComponent> object = CTorvex2Doc::CreateComponent(type);
        object->Text = word;
        object->State = 1;
        list.push_back(std::move(object));
    }
    return list;
}

QString words(const ComponentList& list)
{
    QStringList result;
    for (const auto& object : list)
        result << object->Text;
    return result.join(u' ');
}

const QString kRepaired = QStringLiteral("The document has been repaired.");
const QString kStillBad = QStringLiteral("Document still has a bad part.  Repair again.");
const QString kNoErrors = QStringLiteral("No errors detected.");

QString removing(const char* name)
{
    return QStringLiteral("The bad component: %1 is being removed from document.").arg(QLatin1String(name));
}

} // namespace

TEST(ComponentList, RepairRemovesOnlyTheFirstBrokenGroupAtEachPress)
{
    struct Case {
        const char* what;
        const char* list;
        std::vector<const char*> afterEachPress; // until the check passes
        QStringList messages;
    };
    const std::vector<Case> cases = {
        {"empty", "", {}, {}},
        {"whole groups", "R1 l l p p C1 l l l p p W p p", {}, {}},
        {"a text between parts", "R1 l l p p T1 C1 l l l p p", {}, {}},
        {"a part among the labels of another",
         "R1 l l C1 l l l p p",
         {"C1 l l l p p"},
         {removing("R1"), kRepaired}},
        {"leading stray pins", "p p R1 l l p p", {"R1 l l p p"}, {removing("Terminal p"), kRepaired}},
        {"a stray pin after a whole group",
         "R1 l l p p p C1 l l l p p",
         {"C1 l l l p p"},
         {removing("R1"), kRepaired}},
        {"the list ends inside a run", "C1 l l l p p R1 l l", {"C1 l l l p p"}, {removing("R1"), kRepaired}},
        {"a part in the last attachment place",
         "R1 l l p C1 l l l p p",
         {"C1 l l l p p"},
         {removing("R1"), kRepaired}},
        {"stray labels after a text go alone",
         "T1 l l R1 l l p p",
         {"T1 R1 l l p p"},
         {removing("Label l"), kRepaired}},
        {"two broken groups, one per press",
         "R1 l l R2 l l p p p C1 l l l p p",
         {"R2 l l p p p C1 l l l p p", "C1 l l l p p"},
         {removing("R1"), kStillBad, removing("R2"), kRepaired}},
    };
    for (const Case& c : cases) {
        ScriptedUiServices ui;
        ComponentList list = makeList(c.list);
        EXPECT_EQ(CheckComponentList(list), c.afterEachPress.empty()) << c.what;
        for (const char* expected : c.afterEachPress) {
            ASSERT_TRUE(RemoveBadComponent(list)) << c.what;
            EXPECT_EQ(words(list), QLatin1String(expected)) << c.what;
            ReportComponentListRepair(list);
        }
        EXPECT_TRUE(CheckComponentList(list)) << c.what;
        EXPECT_EQ(ui.messages, c.messages) << c.what;
        // A list with nothing to repair is left alone, and the user is told so.
        ui.messages.clear();
        EXPECT_FALSE(RemoveBadComponent(list)) << c.what;
        EXPECT_EQ(ui.messages, QStringList{kNoErrors}) << c.what;
    }
}

TEST(ComponentList, CheckReportsEitherOutcome)
{
    ScriptedUiServices ui;
    ReportComponentListCheck(makeList("R1 l l p p"));
    ReportComponentListCheck(makeList("l R1 l l p p"));
    EXPECT_EQ(ui.messages, (QStringList{kNoErrors, "Errors detected in the document component list."}));
}

TEST(ComponentList, LinesShowPlacedObjectsWithTheirAttachmentsBeneath)
{
    ComponentList list = makeList("R1 l l p p T1 C1 l l");
    list.front()->Text = QStringLiteral("R7");
    std::next(list.begin(), 5)->get()->State = 0; // being placed
    list.back()->TypeId = 999;                    // a type without a name
    const std::vector<ComponentTreeRow> expected = {
        {"Resistor R7", {"Label", "Label", "Terminal", "Terminal"}},
        // The list ends inside the capacitor's run.
        {"Capacitor C1", {"Label", "999"}},
    };
    EXPECT_EQ(ComponentTreeRows(list), expected);
    EXPECT_TRUE(ComponentTreeRows(ComponentList()).empty());
}
