// Every look readable: text against its background in every state the looks colour, the documents'
// tabs coloured each its own, and the keys and prompts a newcomer reaches first.
#include "ShellFixture.h"

#include "Looks.h"
#include "Ribbon.h"
#include "ToolTipManager.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QMap>
#include <QMdiArea>
#include <QTabBar>
#include <QTest>
#include <QToolTip>

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

// The tooltip Qt shows, or none.
QLabel* shownToolTip()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("qtooltip_label") && w->isVisible())
            return qobject_cast<QLabel*>(w);
    return nullptr;
}

TEST_F(ShellTest, ToolTipsKeepTheirDescriptionWithinTwoHundredPixelsInTheLooksColours)
{
    Start();
    QAbstractButton* button = Frame().GetRibbonBar()->FindButton(ID_Grid_SnapOn);
    ASSERT_NE(button, nullptr);
    const QString prompt = button->toolTip();
    const QString description = QStringLiteral(
        "Enable snap parts to grid: parts placed from now on land on the nearest point of the grid, "
        "whatever the grid's own spacing");
    const struct {
        int look;
        QString text;
        int lines; // 0: more than one
    } cases[] = {
        {ID_VIEW_APPLOOK_VS_2005, prompt, 1},
        {ID_VIEW_APPLOOK_VS_2005, description, 0},
        {ID_VIEW_APPLOOK_WIN_2000, description, 0},
        {ID_VIEW_APPLOOK_OFF_2007_BLACK, description, 0},
    };
    for (const auto& c : cases) {
        // Tooltips of a dark desktop theme, which the look replaces.
        QPalette desktop;
        desktop.setColor(QPalette::ToolTipBase, QColor(40, 40, 40));
        desktop.setColor(QPalette::ToolTipText, QColor(230, 230, 230));
        QToolTip::setPalette(desktop);
        Frame().OnApplicationLook(c.look);
        button->setToolTip(c.text);
        QHelpEvent help(QEvent::ToolTip, QPoint(4, 4), button->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(button, &help);
        QLabel* tip = shownToolTip();
        ASSERT_NE(tip, nullptr) << c.look;
        const QStringList lines = tip->text().split(u'\n');
        if (c.lines > 0)
            EXPECT_EQ(lines.size(), c.lines) << c.look;
        else
            EXPECT_GT(lines.size(), 1) << c.look;
        for (const QString& line : lines)
            EXPECT_LE(QFontMetrics(tip->font()).horizontalAdvance(line), ToolTipManager::kMaxDescriptionWidth)
                << qPrintable(line);
        EXPECT_EQ(lines.join(u' '), c.text);
        const QPalette look = looks::Palette(c.look);
        for (QPalette::ColorRole role : {QPalette::ToolTipBase, QPalette::ToolTipText})
            EXPECT_EQ(tip->palette().color(role), look.color(role)) << c.look;
        EXPECT_EQ(tip->style()->name(), QApplication::style()->name()) << c.look;
        QToolTip::hideText();
    }
    button->setToolTip(prompt);
}

} // namespace
