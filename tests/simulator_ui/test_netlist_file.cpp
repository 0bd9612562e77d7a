// Netlist files through the program's document manager: File New, File Open and saving.
#include "NetlistFixture.h"

#include <QTextBlock>
#include <QtTest/QTest>

#include <cmath>

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
    // Undo away from the saved text marks the netlist modified, Redo back clears the mark.
    Frame().OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(std::tuple(view->NetlistText(), Doc(view)->IsModified()), std::tuple(text, true));
    Frame().OnCommand(ID_EDIT_REDO);
    EXPECT_EQ(std::tuple(view->NetlistText(), Doc(view)->IsModified()),
              std::tuple(text + QStringLiteral("R3 NOUT 0 3K"), false));
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

namespace {

// A netlist file opened with File Open in the program.
class NetlistOpenTest : public NetlistTest {
protected:
    CSimulatorView* Open(const QString& name, const QByteArray& bytes)
    {
        write(name, bytes);
        nextFile = tmp.filePath(name);
        Frame().OnCommand(ID_FILE_OPEN);
        return ActiveNetlist();
    }
    // The divider's output after a run, NaN when there is none.
    double RunDivider(CSimulatorView* view)
    {
        Simulate();
        double out[1];
        return Doc(view)->GetTraceValues(QStringLiteral("V(NOUT)"), 1, out) ? out[0] : std::nan("");
    }
};

} // namespace

// The bytes of the file decide how it is read: what another editor saved opens and runs as well.
TEST_F(NetlistOpenTest, ANetlistInAnyEncodingOpensAndRuns)
{
    QString crlf = kDivider;
    crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    QByteArray bigEndian("\xFE\xFF");
    for (QChar c : crlf)
        bigEndian += char(c.unicode() >> 8), bigEndian += char(c.unicode() & 0xFF);
    const std::pair<const char*, QByteArray> files[] = {
        {"utf8.cir", kDivider.toUtf8()},
        {"utf8-mark.cir", "\xEF\xBB\xBF" + crlf.toUtf8()},
        {"utf16be.cir", bigEndian},
    };
    Start();
    for (const auto& [name, bytes] : files) {
        CSimulatorView* view = Open(QString::fromLatin1(name), bytes);
        ASSERT_TRUE(view) << name;
        EXPECT_EQ(view->NetlistText(), kDivider) << name;
        EXPECT_NEAR(RunDivider(view), 7.5, 1e-9) << name;
    }
}

// A large netlist comes in a step at a time: the window answers meanwhile, shows the document's text
// to every command, takes no typing and counts nothing as an edit.
TEST_F(NetlistOpenTest, ALargeNetlistComesIntoTheWindowAStepAtATime)
{
    QString text = kDivider;
    for (int i = 0; text.size() < 3 * CSimulatorView::kFillAtOnce; ++i)
        text += QStringLiteral("* line %1 of a long comment\n").arg(i);
    Start();
    CSimulatorView* view = Open(QStringLiteral("large.cir"), text.toUtf8());
    ASSERT_TRUE(view);
    ASSERT_TRUE(view->IsFilling());
    EXPECT_TRUE(view->isReadOnly());
    EXPECT_LT(view->toPlainText().size(), text.size());
    EXPECT_EQ(view->NetlistText(), text);
    QTRY_VERIFY_WITH_TIMEOUT(!view->IsFilling(), 20000);
    EXPECT_EQ(view->toPlainText(), text);
    EXPECT_EQ(view->NetlistText(), text);
    EXPECT_FALSE(view->isReadOnly());
    EXPECT_FALSE(view->document()->isUndoAvailable());
    EXPECT_EQ(view->textCursor().position(), 0);
    EXPECT_FALSE(Doc(view)->IsModified());
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join(" | ").toStdString();
}

// A line whose layout alone would hold the window for seconds at every change is shown in pieces;
// the netlist itself stays as it is, and runs.
TEST_F(NetlistOpenTest, ALineTooLongToLayOutIsShownInPiecesAndRunsAsItIs)
{
    const QString longLine =
        QStringLiteral("R2 NOUT 0 3K") + QString(2 * CSimulatorView::kLongestShownLine, u' ');
    const QString text = QStringLiteral("* divider\nV1 NIN 0 DC 10\nR1 NIN NOUT 1K\n") + longLine + u'\n';
    Start();
    CSimulatorView* view = Open(QStringLiteral("long.cir"), text.toUtf8());
    ASSERT_TRUE(view);
    QTRY_VERIFY_WITH_TIMEOUT(!view->IsFilling(), 20000);
    EXPECT_EQ(ui.messages,
              QStringList{"This netlist has lines longer than 10000 characters. The window shows them "
                          "in pieces and cannot change the netlist."});
    EXPECT_TRUE(view->isReadOnly());
    // The long line of 20,012 characters in pieces of 1,000, after three lines and before an empty one.
    EXPECT_EQ(view->document()->blockCount(), 3 + 21 + 1);
    EXPECT_EQ(view->document()->findBlockByNumber(3).text(), longLine.left(CSimulatorView::kShownPiece));
    EXPECT_EQ(view->NetlistText(), text);
    EXPECT_NEAR(RunDivider(view), 7.5, 1e-9);
    EXPECT_FALSE(Doc(view)->IsModified());
}
