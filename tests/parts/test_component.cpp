#include "Archive.h"
#include "CComponent.h"
#include "ComponentTypeId.h"
#include "PartsTestSupport.h"
#include "UiServices.h"

#include <gtest/gtest.h>

namespace {

// A part with a name, a value and (optionally) an IC label, edited by the shared rules.
class TwoLabelPart : public CComponent {
public:
    explicit TwoLabelPart(bool withIc) : m_withIc(withIc) { Init(TypeCapacitor); }
    int GetAttachmentCount() const override { return m_withIc ? 3 : 2; }
    bool EditProperties(ComponentHost& doc) override { return EditCommonProperties(doc, m_withIc); }

private:
    bool m_withIc;
};

} // namespace

TEST(Component, RecordLayout)
{
    CComponent c;
    c.Position = QPoint(1440, -2880);
    c.Extent = Rect{1, -2, 3, -4};
    c.TypeId = TypeLabel;
    c.Orientation = 2;
    c.Text = QStringLiteral("R1");
    c.Visible = 1;
    QByteArray written;
    Archive out(&written);
    c.Serialize(out);
    const QByteArray expected = QByteArray::fromHex("a0050000 c0f4ffff 01000000 feffffff 03000000 fcffffff"
                                                    "92010000 02000000 fffeff02 52003100 01");
    EXPECT_EQ(written.toHex(), expected.toHex());
    // Loading: only a stored 1 is visible, and a loaded object is placed and not selected.
    for (const auto& [stored, visible] : {std::pair{1, 1}, {2, 0}, {0, 0}, {255, 0}}) {
        QByteArray data = expected;
        data[data.size() - 1] = char(stored);
        CComponent loaded;
        loaded.Selected = 1;
        Archive ar(data);
        loaded.Serialize(ar);
        EXPECT_EQ(std::tuple(loaded.Visible, loaded.State, loaded.Selected, loaded.Orientation),
                  std::tuple(visible, 1, 0, 2))
            << stored;
        EXPECT_EQ(std::tuple(loaded.Position, loaded.Extent, loaded.TypeId, loaded.Text),
                  std::tuple(c.Position, c.Extent, c.TypeId, c.Text));
    }
}

TEST(Component, InitCopyAndName)
{
    CComponent c;
    c.Selected = 1;
    c.Init(TypeResistor);
    EXPECT_EQ(std::tuple(c.Extent, c.TypeId, c.State, c.Selected, c.Orientation, c.Visible),
              std::tuple(Rect{0, 0, 576, -144}, quint32(TypeResistor), 0, 0, 1, 1));
    c.Text = QStringLiteral("C3");
    EXPECT_EQ(c.MakeName(10), QStringLiteral("C10"));
    c.State = c.Selected = 1;
    c.NameBuffer = QStringLiteral("buffer");
    CComponent copy(c, 311);
    EXPECT_EQ(
        std::tuple(copy.DialogTemplate(), copy.Text, copy.TypeId, copy.State, copy.Selected, copy.NameBuffer),
        std::tuple(311, c.Text, quint32(TypeResistor), 1, 0, QString()));
}

TEST(Component, CommonEditingRules)
{
    // The labels start as R1 (visible), 1k (visible), IC=0 (hidden); the dialog returns the buffers. A
    // new first letter is refused with a notice, the value still taken; without an IC label no IC text.
    struct Case {
        const char* what;
        bool withIc, accept;
        const char *name, *value, *ic;
        int nameVisible, icVisible;
        bool changed;
        const char* texts[3];
        int visible[3];
        int notices;
    };
    // clang-format off
    const Case cases[] = {
        {"unchanged",   true,  true,  "R1", "1k", "IC=0", 1, 0, false, {"R1", "1k", "IC=0"}, {1, 1, 0}, 0},
        {"cancelled",   true,  false, "R9", "2k", "IC=1", 0, 1, false, {"R1", "1k", "IC=0"}, {1, 1, 0}, 0},
        {"new letter",  false, true,  "X5", "1k", "",     1, 0, false, {"R1", "1k", "IC=0"}, {1, 1, 0}, 1},
        {"same letter", false, true,  "R7", "1k", "",     1, 0, true,  {"R7", "1k", "IC=0"}, {1, 1, 0}, 0},
        {"value only",  false, true,  "C2", "2k", "",     1, 0, true,  {"R1", "2k", "IC=0"}, {1, 1, 0}, 1},
        {"IC, flags",   true,  true,  "R1", "1k", "IC=5", 0, 1, true,  {"R1", "1k", "IC=5"}, {0, 1, 1}, 0},
        {"no IC label", false, true,  "R1", "1k", "IC=5", 1, 1, false, {"R1", "1k", "IC=0"}, {1, 1, 0}, 0}};
    // clang-format on
    for (const auto& c : cases) {
        PartsHost host;
        auto& part = host.add(std::make_unique<TwoLabelPart>(c.withIc));
        CComponent* labels[] = {&host.addObject(TypeLabel, "R1", 1), &host.addObject(TypeLabel, "1k", 1),
                                &host.addObject(TypeLabel, "IC=0", 0)};
        ScriptedUiServices ui;
        ScriptedDialogs dialogs;
        dialogs.script = [&](CComponent& object) {
            EXPECT_EQ(
                std::tuple(object.NameBuffer, object.ValueBuffer, object.ICBuffer, object.NameVisibleCheck),
                std::tuple(QString("R1"), QString("1k"), QString(c.withIc ? "IC=0" : ""), 1));
            object.NameBuffer = c.name;
            object.ValueBuffer = c.value;
            object.ICBuffer = c.ic;
            object.NameVisibleCheck = c.nameVisible;
            object.ICVisibleCheck = c.icVisible;
            return c.accept;
        };
        EXPECT_EQ(part.EditProperties(host), c.changed) << c.what;
        EXPECT_EQ(dialogs.runs, 1) << c.what;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(std::tuple(labels[i]->Text, int(labels[i]->Visible)),
                      std::tuple(QString::fromLatin1(c.texts[i]), c.visible[i]))
                << c.what;
        EXPECT_EQ(ui.messages, QStringList(c.notices, CComponent::FirstLetterNotice())) << c.what;
    }
}

TEST(Component, EditingABrokenGroupChangesNothing)
{
    // A part whose labels are missing or replaced by a pin, or that is not in the list at all: no
    // dialog, no change.
    for (int variant = 0; variant < 3; ++variant) {
        PartsHost host;
        ScriptedDialogs dialogs;
        dialogs.script = [](CComponent& c) {
            c.NameBuffer = "R2";
            return true;
        };
        auto& part = host.add(std::make_unique<TwoLabelPart>(false));
        if (variant >= 1) host.addObject(TypeLabel, "R1", 1);
        if (variant == 2) host.addObject(TypeTerminal, "1");
        TwoLabelPart stray(false);
        EXPECT_FALSE(part.EditProperties(host) || stray.EditProperties(host)) << variant;
        EXPECT_EQ(dialogs.runs, 0) << variant;
    }
    // Without installed dialogs every dialog counts as cancelled.
    PartsHost host;
    auto& part = host.add(std::make_unique<TwoLabelPart>(false));
    host.addObject(TypeLabel, "R1", 1);
    host.addObject(TypeLabel, "1k", 1);
    EXPECT_FALSE(part.EditProperties(host));
}
