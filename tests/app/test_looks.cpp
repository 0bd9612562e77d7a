// Every look readable: text against its background in every state the looks colour, the documents'
// tabs coloured each its own, and the keys and prompts a newcomer reaches first.
#include "ShellFixture.h"

#include "Looks.h"
#include "Ribbon.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMap>
#include <QMdiArea>
#include <QTabBar>
#include <QTest>

namespace {

TEST(Looks, ContrastRatiosOfKnownColours)
{
    EXPECT_DOUBLE_EQ(looks::ContrastRatio(Qt::black, Qt::white), 21);
    EXPECT_DOUBLE_EQ(looks::ContrastRatio(Qt::white, Qt::black), 21);
    EXPECT_DOUBLE_EQ(looks::ContrastRatio(QColor(83, 83, 83), QColor(83, 83, 83)), 1);
    EXPECT_NEAR(looks::ContrastRatio(QColor(118, 118, 118), Qt::white), 4.54, 0.01);
    // The text of the Black look's fields as it was: white on light grey.
    EXPECT_NEAR(looks::ContrastRatio(Qt::white, QColor(235, 235, 235)), 1.2, 0.05);
}

TEST(Looks, EveryTextReadsOnItsBackgroundInEveryLookAndState)
{
    for (int id = ID_VIEW_APPLOOK_WIN_2000; id <= ID_VIEW_APPLOOK_OFF_2007_AQUA; ++id) {
        const QPalette palette = looks::Palette(id);
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            for (const looks::TextOnBackground& pair : looks::TextPairs()) {
                const QColor text = palette.color(group, pair.text),
                             back = palette.color(group, pair.background);
                EXPECT_GE(looks::ContrastRatio(text, back), looks::kMinContrast)
                    << looks::Describe(id).name.toStdString() << ", group " << group << ": " << pair.where
                    << " (" << text.name().toStdString() << " on " << back.name().toStdString() << ")";
            }
        // Disabled entries still look disabled.
        EXPECT_NE(palette.color(QPalette::Disabled, QPalette::Text),
                  palette.color(QPalette::Active, QPalette::Text));
    }
    for (int i = 0; i < 16; ++i)
        for (bool selected : {false, true})
            EXPECT_GE(looks::ContrastRatio(looks::kTabText, looks::TabColour(i, selected)),
                      looks::kMinContrast)
                << i;
}

// The colour most of the tab's own pixels have.
QColor tabFill(const QImage& bar, QRect tab)
{
    tab &= bar.rect();
    QMap<QRgb, int> counts;
    for (int y = tab.top() + 2; y < tab.bottom() - 1; ++y)
        for (int x = tab.left() + 2; x < tab.right() - 1; ++x)
            ++counts[bar.pixel(x, y)];
    QRgb most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(most)) most = it.key();
    return QColor::fromRgb(most);
}

TEST_F(ShellTest, TheDocumentsTabsTakeAColourEachInEveryLook)
{
    Start();
    newType = 1;
    for (int i = 0; i < 2; ++i)
        Frame().OnCommand(ID_FILE_NEW);
    Frame().resize(900, 500);
    QTabBar* tabs = Frame().TabBar();
    ASSERT_EQ(tabs->count(), 3);
    for (int look : {ID_VIEW_APPLOOK_WIN_2000, ID_VIEW_APPLOOK_VS_2005, ID_VIEW_APPLOOK_OFF_2007_BLACK}) {
        Frame().OnApplicationLook(look);
        QCoreApplication::processEvents();
        const QImage bar = tabs->grab().toImage();
        for (int i = 0; i < tabs->count(); ++i) {
            const QColor fill = tabFill(bar, tabs->tabRect(i));
            const QColor expected = looks::TabColour(i, i == tabs->currentIndex());
            EXPECT_LE(std::abs(fill.hue() - expected.hue()) % 360, 12)
                << look << " tab " << i << ": " << fill.name().toStdString() << " for "
                << expected.name().toStdString();
        }
    }
}

} // namespace
