#include "CommandRouter.h"
#include "CommandTarget.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
// A target whose map the test fills in.
struct Target : CommandTarget {
    explicit Target(QString name, QStringList* log = nullptr) : name(std::move(name)), log(log) {}
    void Handle(int id)
    {
        MapCommand(id, [this, id] {
            if (log) *log << name + QString::number(id);
        });
    }
    void HandleRange(int first, int last)
    {
        MapCommandRange(first, last, [this](int id) {
            if (log) *log << name + QString::number(id);
        });
    }
    using CommandTarget::MapCommand;
    using CommandTarget::MapUpdate;
    using CommandTarget::MapUpdateRange;
    QString name;
    QStringList* log;
};
} // namespace

TEST(CommandRouterTest, FirstTargetOnTheRouteThatHandlesTheCommandRunsIt)
{
    QStringList log;
    Target view(QStringLiteral("view"), &log), doc(QStringLiteral("doc"), &log),
        frame(QStringLiteral("frame"), &log), app(QStringLiteral("app"), &log);
    view.Handle(1);
    doc.Handle(1);
    doc.Handle(2);
    frame.HandleRange(2, 5);
    app.Handle(6);
    CommandRouter router([&] { return QList<CommandTarget*>{&view, &doc, nullptr, &frame, &app}; });

    for (int id : {1, 2, 3, 5, 6})
        EXPECT_TRUE(router.Execute(id)) << id;
    EXPECT_FALSE(router.Execute(7));
    EXPECT_EQ(log, (QStringList{"view1", "doc2", "frame3", "frame5", "app6"}));
}

TEST(CommandRouterTest, CommandStatesFollowHandlersAndUpdateHandlers)
{
    Target view(QStringLiteral("view")), doc(QStringLiteral("doc")), app(QStringLiteral("app"));
    view.Handle(10);                                       // handler only: enabled
    app.Handle(11);                                        // handler late on the route: enabled
    doc.MapUpdate(12, [](CmdUI& ui) { ui.Enable(true); }); // update handler without command handler
    app.Handle(13);
    view.MapUpdate(13, [](CmdUI& ui) { ui.Enable(false); }); // update handler overrides the handler
    app.Handle(14);
    doc.MapUpdate(14, [](CmdUI& ui) { ui.SetCheck(1); });    // checks only: enabling from the handler
    doc.MapUpdate(15, [](CmdUI& ui) { ui.SetRadio(true); }); // checks only, nobody handles: disabled
    app.MapUpdateRange(20, 29, [](CmdUI& ui) { ui.SetRadio(ui.ID() == 23); });
    app.Handle(23);
    CommandRouter router([&] { return QList<CommandTarget*>{&view, &doc, &app}; });

    struct Case {
        int id;
        bool enabled;
        int check;
    } cases[] = {{10, true, 0},  {11, true, 0},  {12, true, 0},  {13, false, 0}, {14, true, 1},
                 {15, false, 1}, {16, false, 0}, {22, false, 0}, {23, true, 1}};
    for (const Case& c : cases) {
        const CmdUI ui = router.Update(c.id);
        EXPECT_EQ(ui.IsEnabled(), c.enabled) << c.id;
        EXPECT_EQ(ui.Check(), c.check) << c.id;
    }
    EXPECT_TRUE(router.Update(23).IsRadio());
}

TEST(CommandRouterTest, AHandlerMayDestroyItsOwnTarget)
{
    auto doc = std::make_unique<Target>(QStringLiteral("doc"));
    Target* raw = doc.get();
    raw->MapCommand(1, [&doc] { doc.reset(); });
    CommandRouter router([&] { return QList<CommandTarget*>{doc.get()}; });
    EXPECT_TRUE(router.Execute(1));
    EXPECT_EQ(doc, nullptr);
    EXPECT_FALSE(router.Execute(1));
}
