// The object-list check and its repair, one broken group at a time.
#include "CComponent.h"
#include "CTorvex2Doc.h"
#include "ComponentListCheck.h"
#include "ComponentTypeId.h"
#include "UiServices.h"

#include <gtest/gtest.h>

namespace {

// A list written as words: "R1" a resistor (4 attachments), "C1" a capacitor (5), "T1" a text (none),
// "W" a wire (2 pins), "l" a label, "p" a pin; each object's text is its word.
ComponentList makeList(const QString& words)
{
    ComponentList list;
    for (const QString& word : words.split(u' ', Qt::SkipEmptyParts)) {
        const quint32 type = word == u"l"      ? TypeLabel
                             : word == u"p"    ? TypeTerminal
                             : word == u"W"    ? TypeWire
                             : word[0] == u'R' ? TypeResistor
                             : word[0] == u'C' ? TypeCapacitor
                                               : TypeTextSelectionTool;
        list.push_back(CTorvex2Doc::CreateComponent(type));
        list.back()->Text = word;
        list.back()->State = 1;
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

} // namespace

TEST(ComponentList, RepairRemovesOnlyTheFirstBrokenGroupAtEachPress)
{
    // Each case: the list, then the list after each press until the check passes.
    const std::vector<QStringList> cases = {
        {""},
        {"R1 l l p p T1 C1 l l l p p W p p"},
        {"R1 l l C1 l l l p p", "C1 l l l p p"},       // a part among another's labels
        {"p p R1 l l p p", "R1 l l p p"},              // leading strays go alone
        {"R1 l l p p p C1 l l l p p", "C1 l l l p p"}, // a stray after a whole group
        {"C1 l l l p p R1 l l", "C1 l l l p p"},       // the list ends inside a run
        {"R1 l l p C1 l l l p p", "C1 l l l p p"},     // a part in the last attachment place
        {"T1 l l R1 l l p p", "T1 R1 l l p p"},        // strays after a text go alone
        {"R1 l l R2 l l p p p C1 l l l p p", "R2 l l p p p C1 l l l p p", "C1 l l l p p"},
    };
    for (const QStringList& c : cases) {
        ComponentList list = makeList(c[0]);
        EXPECT_EQ(CheckComponentList(list), c.size() == 1) << qPrintable(c[0]);
        for (qsizetype press = 1; press < c.size(); ++press) {
            ScriptedUiServices ui;
            ASSERT_TRUE(RemoveBadComponent(list)) << qPrintable(c[0]);
            EXPECT_EQ(words(list), c[press]);
        }
        ScriptedUiServices ui;
        EXPECT_FALSE(RemoveBadComponent(list)) << qPrintable(c[0]);
        EXPECT_EQ(ui.messages, QStringList{}); // a whole list: not a word
    }
}

TEST(ComponentList, RepairNamesWhatItRemovesAndWhatIsLeft)
{
    ScriptedUiServices ui;
    ComponentList list = makeList("R1 l l R2 l l p p p p");
    for (int press = 0; press < 3; ++press) {
        if (RemoveBadComponent(list)) ReportComponentListRepair(list);
    }
    ReportComponentListCheck(makeList("l"));
    EXPECT_EQ(ui.messages, (QStringList{"The bad component: R1 is being removed from document.",
                                        "Document still has a bad part.  Repair again.",
                                        "The bad component: R2 is being removed from document.",
                                        "The document has been repaired.",
                                        "Errors detected in the document component list."}));
    EXPECT_TRUE(list.empty());
    ui.messages.clear();
    list = makeList("p l");
    RemoveBadComponent(list);
    EXPECT_EQ(ui.messages, QStringList{"The bad component: Terminal p is being removed from document."});
}
