#include "ToolTipManager.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>

TEST(ToolTips, DescriptionsAreLaidOutInLinesNoWiderThanTheWidthAndLoseNothing)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    const QFontMetrics metrics(font);
    const struct {
        QString text;
        int lines;      // 0: more than one
        QString joiner; // what joins the lines back into the text: the blank broken at, or nothing
    } cases[] = {
        {QStringLiteral("Show the Grid"), 1, {}},
        {QString(), 1, {}},
        {QStringLiteral("Opens the waveform archive of the experiment and shot named on the Simulate tab, "
                        "where Save to Orlisk writes the traces of a run as files"),
         0, QStringLiteral(" ")},
        // a word wider than the width is broken inside it
        {QStringLiteral("/home/engineer/Experiments/Marx-generator/shot-0042/trigger-cable-and-spark-gap-of-"
                        "stage-seven.cas"),
         0,
         {}},
        // line breaks of its own stay, and each line is laid out alone
        {QStringLiteral("Zoom Out\nZoom to Fit in Window"), 2, QStringLiteral("\n")},
    };
    for (const auto& c : cases) {
        const QString wrapped = ToolTipManager::Wrapped(c.text, font, 200);
        const QStringList lines = wrapped.split(u'\n');
        if (c.lines > 0)
            EXPECT_EQ(lines.size(), c.lines) << qPrintable(wrapped);
        else
            EXPECT_GT(lines.size(), 1) << qPrintable(wrapped);
        for (const QString& line : lines)
            EXPECT_LE(metrics.horizontalAdvance(line), 200) << qPrintable(line);
        EXPECT_EQ(lines.join(c.joiner), c.text);
    }
}
