// Netlist files through the program's document manager: File New, File Open and saving.
#include "NetlistFixture.h"

#include <QtTest/QTest>

namespace {

QByteArray utf16le(const QString& text)
{
    QByteArray bytes;
    for (QChar c : text) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    return bytes;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

TEST_F(NetlistTest, FileNewNetlistGivesAnEmptyNetlistWindow)
{
    Start();
    EXPECT_EQ(Docs().FileNewNames(), QStringList({"Schematic", "Netlist"}));
    EXPECT_TRUE(Docs().OpenFilters().contains(QStringLiteral("Torvex Netlist (*.cir)")));
    newType = 1;
    Frame().OnCommand(ID_FILE_NEW);
    CSimulatorView* view = ActiveNetlist();
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->toPlainText().isEmpty());
    EXPECT_EQ(Doc(view)->Title(), QStringLiteral("Netlist1"));
    EXPECT_FALSE(Doc(view)->IsModified());

    // A netlist written by the program (Create Netlist) is shown without counting as an edit.
    Doc(view)->SetNetlistText(kDivider);
    Doc(view)->UpdateAllViews(nullptr);
    EXPECT_EQ(view->toPlainText(), kDivider);
    EXPECT_FALSE(Doc(view)->IsModified());
}

TEST_F(NetlistTest, ACirFileOpensShowsItsTextAndSavesByteForByte)
{
    // UTF-16LE lines ended by CR LF, with characters beyond ASCII and a non-breaking blank.
    const QString text =
        QStringLiteral("* \u00b5s\u00a0pulse \u03a9\nV1 NIN 0 DC 10\nR1 NIN NOUT 1K\n\nR2 NOUT 0 3K\n");
    QString onDisk = text;
    onDisk.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    const QByteArray bytes = utf16le(onDisk);
    nextFile = tmp.filePath(QStringLiteral("pulse.cir"));
    write(QStringLiteral("pulse.cir"), bytes);
    Start();
    Frame().OnCommand(ID_FILE_OPEN);
    CSimulatorView* view = ActiveNetlist();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->NetlistText(), text);
    EXPECT_EQ(Doc(view)->Title(), QStringLiteral("pulse.cir"));
    EXPECT_FALSE(Doc(view)->IsModified());

    nextFile = tmp.filePath(QStringLiteral("copy.cir"));
    Frame().OnCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(readAll(nextFile), bytes);

    // What is typed is what is saved, and what the run reads.
    view->moveCursor(QTextCursor::End);
    QTest::keyClicks(view, QStringLiteral("R3 NOUT 0 3K"));
    EXPECT_TRUE(Doc(view)->IsModified());
    Frame().OnCommand(ID_FILE_SAVE);
    EXPECT_FALSE(Doc(view)->IsModified());
    EXPECT_EQ(readAll(nextFile), bytes + utf16le(QStringLiteral("R3 NOUT 0 3K")));
    Simulate();
    ASSERT_TRUE(Doc(view)->ResultsValid());
    double out[1];
    ASSERT_TRUE(Doc(view)->GetTraceValues(QStringLiteral("V(NOUT)"), 1, out));
    EXPECT_NEAR(out[0], 6.0, 1e-9);

    // Opening the file again shows the open window.
    nextFile = tmp.filePath(QStringLiteral("copy.cir"));
    Frame().OnCommand(ID_FILE_OPEN);
    EXPECT_EQ(ActiveNetlist(), view);
}
