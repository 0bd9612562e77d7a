#include "Ribbon.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QToolButton>

namespace {

// A ribbon with one category of four panels, each with a command button.
struct FourPanels {
    FourPanels()
    {
        category = ribbon.AddCategory(QStringLiteral("Tab"));
        for (int i = 0; i < 4; ++i)
            category->AddPanel(QStringLiteral("Panel %1 & more").arg(i))
                ->AddButton(100 + i, QStringLiteral("A rather long command %1").arg(i));
        ribbon.resize(2000, 150);
        ribbon.show();
    }
    // The panels folded, in order.
    QList<int> Folded() const
    {
        QList<int> folded;
        for (int i = 0; i < category->Panels().size(); ++i) {
            EXPECT_NE(category->Panels()[i]->isVisibleTo(category),
                      category->FoldedButton(i)->isVisibleTo(category));
            if (category->FoldedButton(i)->isVisibleTo(category)) folded << i;
        }
        return folded;
    }

    Ribbon ribbon;
    RibbonCategory* category;
};

} // namespace

TEST(Ribbon, PanelsFoldFromTheRightAsFewAsTheWidthNeeds)
{
    FourPanels f;
    f.category->Fit(100000);
    const int full = f.category->minimumSizeHint().width();
    qsizetype previous = 5;
    for (int width = 0; width <= full + 10; width += 7) {
        f.category->Fit(width);
        const QList<int> folded = f.Folded();
        SCOPED_TRACE(width);
        EXPECT_LE(folded.size(), previous);
        for (qsizetype k = 0; k < folded.size(); ++k)
            EXPECT_EQ(folded[k], 4 - folded.size() + k);
        if (folded.size() < 4) {
            EXPECT_LE(f.category->minimumSizeHint().width(), width);
        }
        previous = folded.size();
    }
    f.category->Fit(full - 1);
    EXPECT_EQ(f.Folded(), QList<int>{3});

    // The window's width reaches the category by itself.
    for (const auto& [width, folded] : {std::pair{300, 4}, {2000, 0}}) {
        f.ribbon.resize(width, 150);
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(f.Folded().size(), folded) << width;
    }
}

TEST(Ribbon, AFoldedPanelOpensBelowItsButtonAndACommandChosenThereClosesIt)
{
    FourPanels f;
    f.category->Fit(0);
    QToolButton* fold = f.category->FoldedButton(2);
    EXPECT_EQ(fold->text(), QStringLiteral("Panel 2 && more"));
    fold->click();
    RibbonPanel* panel = f.category->Panels()[2];
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->window()->windowType(), Qt::Popup);

    QList<int> sent;
    QObject::connect(&f.ribbon, &Ribbon::commandTriggered, [&](int id) { sent << id; });
    f.ribbon.FindButton(102)->click();
    EXPECT_EQ(sent, QList<int>{102});
    EXPECT_EQ(panel->parentWidget(), f.category);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(f.Folded(), (QList<int>{0, 1, 2, 3}));

    // Widening the window puts the panel back in the row, also while it is open.
    fold->click();
    f.category->Fit(100000);
    EXPECT_EQ(panel->parentWidget(), f.category);
    EXPECT_TRUE(f.Folded().isEmpty());
    EXPECT_TRUE(panel->isVisible());
}
