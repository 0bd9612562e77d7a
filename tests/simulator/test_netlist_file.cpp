// The netlist document's file: UTF-16LE without a byte-order mark, CR LF line ends, a size limit,
// and closing with or without results.
#include "ChildRun.h"
#include "Files.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray utf16le(const QString& s)
{
    QByteArray b;
    for (QChar c : s)
        b += char(c.unicode() & 0xFF), b += char(c.unicode() >> 8);
    return b;
}

const QString kDivider = QStringLiteral("* divider \u00b5\nV1 NIN 0 DC 10\nR1 NIN NOUT 1K\nR2 NOUT 0 3K\n");

} // namespace

TEST(NetlistFileTest, RoundTripKeepsEveryByte)
{
    QTemporaryDir tmp;
    ScriptedUiServices ui;
    const QByteArray bytes = utf16le(QString(kDivider).replace("\n", "\r\n") + "* no line end");
    QFile in(tmp.filePath("in.cir"));
    ASSERT_TRUE(in.open(QIODevice::WriteOnly) && in.write(bytes) == bytes.size());
    in.close();

    CSimulatorDoc doc;
    doc.SetElementFactory(CreateElement);
    ASSERT_TRUE(doc.OnOpenDocument(in.fileName()));
    EXPECT_EQ(doc.NetlistText(), kDivider + "* no line end");
    ASSERT_TRUE(doc.OnSaveDocument(tmp.filePath("out.cir")));
    QFile out(tmp.filePath("out.cir"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), bytes);
    EXPECT_TRUE(doc.RunSimulation());
    EXPECT_EQ(ui.messages.size(), 1); // the completion message only

    // Whatever line ends the text holds, the file has CR LF; a lone CR stays.
    doc.SetNetlistText("* a\nR1 N1 0 1\r\nlone\rcr\n");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(doc.Save(buffer));
    EXPECT_EQ(buffer.data(), utf16le("* a\r\nR1 N1 0 1\r\nlone\rcr\r\n"));

    // A byte-order mark that another editor put in front is not part of the netlist.
    QBuffer marked;
    marked.setData("\xFF\xFE" + utf16le(kDivider));
    marked.open(QIODevice::ReadOnly);
    ASSERT_TRUE(doc.Load(marked));
    EXPECT_EQ(doc.NetlistText(), kDivider);
    EXPECT_TRUE(doc.RunSimulation());
}

TEST(NetlistFileTest, TooLargeFileIsRefusedUnread)
{
    QTemporaryDir tmp;
    ScriptedUiServices ui;
    QFile big(tmp.filePath("big.cir"));
    const qint64 limit = files::SizeLimit(files::Kind::Netlist);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(limit + 1)); // sparse
    big.close();
    CSimulatorDoc doc;
    doc.SetNetlistText("* before");
    EXPECT_FALSE(doc.OnOpenDocument(big.fileName()));
    EXPECT_EQ(ui.messages, QStringList{"Cannot open the file " + big.fileName() +
                                       ".\nThe file is too large to open (more than 64 MB, the limit for "
                                       "a netlist)."});
    EXPECT_EQ(doc.NetlistText(), "");
}

TEST(NetlistFileTest, SavingOntoAFullDiskKeepsTheOldFileAndSaysWhy)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath("full.cir");
    CSimulatorDoc doc;
    doc.SetNetlistText(kDivider + QString(400, u'*'));
    doc.SetModifiedFlag(true);
    const OverwriteOutcome full =
        OverwriteOnFullDisk(path, 500, [&] { return doc.OnSaveDocument(path) || !doc.IsModified(); });
    ASSERT_TRUE(full.finished);
    EXPECT_FALSE(full.succeeded);
    EXPECT_EQ(full.messages, QStringList{"Cannot save the file " + path + ".\nFile too large."});
    EXPECT_EQ(full.after, "old");
}

TEST(NetlistFileTest, ClosingFreesResultsButNotDuringARun)
{
    SimHarness h;
    bool busy = false;
    h.ui.onPump = [&]() {
        if (!h.doc.IsRunning() || busy) return;
        busy = h.doc.IsBusy();
        h.doc.OnCloseDocument(); // the run goes on with its results and stops after this step
    };
    ASSERT_TRUE(h.run(kDivider, "1ns", "1000ns"));
    EXPECT_TRUE(busy);
    EXPECT_EQ(h.doc.StepCount(), 99);
    EXPECT_TRUE(h.doc.ResultsValid());
    EXPECT_FALSE(h.doc.IsBusy());

    h.doc.OnCloseDocument();
    EXPECT_FALSE(h.doc.ResultsValid());
    EXPECT_EQ(h.doc.NetlistText(), "");
}
