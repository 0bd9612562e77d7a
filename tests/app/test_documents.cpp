// The program's documents and their files: one window per file, whoever opens it, and a modified
// mark that follows undo and redo to and from the saved state.
#include "FileBytes.h"
#include "ShellFixture.h"

#include "CSubcircuit.h"
#include "CTorvex2Doc.h"
#include "RecentFileList.h"
#include "SchematicTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QByteArray emptySchematic()
{
    return fileHead(5).u16(0).add(defaultTail()).data;
}

} // namespace

class ProgramDocuments : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        Start({}, TemplateMakers::Program());
    }
    Document* Active() { return Frame().ActiveView() ? Frame().ActiveView()->GetDocument() : nullptr; }
    Document* OpenFromFileOpen(const QString& path)
    {
        nextFile = path;
        Frame().OnCommand(ID_FILE_OPEN);
        return Active();
    }
    int WindowsOf(const QString& name) { return int(Titles().count(name)); }
};

TEST_F(ProgramDocuments, AnOpenFileIsBroughtForwardWhoeverOpensItAgain)
{
    const QString a = File(QStringLiteral("a.cas"), emptySchematic());
    const QString b = File(QStringLiteral("b.cas"), emptySchematic());
    Document* docA = OpenFromFileOpen(a);
    auto* docB = dynamic_cast<CTorvex2Doc*>(OpenFromFileOpen(b));
    ASSERT_TRUE(docA && docB);

    EXPECT_EQ(OpenFromFileOpen(dir.path() + QStringLiteral("/sub/../a.cas")), docA);
    Docs().OpenRecentFile(int(Docs().RecentFiles()->Files().indexOf(b)));
    EXPECT_EQ(Active(), docB);

    // A block's Open brings the open file forward, its own file included, and its Close leaves
    // a window it did not open alone.
    for (Document* doc : {docA, static_cast<Document*>(docB)}) {
        CSubcircuit block;
        block.ParentDocument = docB;
        block.FileText = doc->PathName();
        block.OnOpen();
        EXPECT_EQ(Active(), doc);
        EXPECT_EQ(std::tuple(WindowsOf("a.cas"), WindowsOf("b.cas")), std::tuple(1, 1));
        block.OnClose();
        EXPECT_EQ(Docs().GetOpenDocuments().count(doc), 1);
    }
    EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.messages.join(u'\n'));
}

TEST_F(ProgramDocuments, SaveAsOntoTheFileOfAnotherOpenDocumentIsRefused)
{
    const QString a = File(QStringLiteral("a.cas"), emptySchematic());
    Document* docA = OpenFromFileOpen(a);
    newType = 0;
    Frame().OnCommand(ID_FILE_NEW);
    auto* other = dynamic_cast<CTorvex2Doc*>(Active());
    ASSERT_TRUE(other && other != docA);
    other->OnPageSize(ID_PageSizeB);

    nextFile = dir.path() + QStringLiteral("/./a.cas");
    EXPECT_TRUE(Frame().OnCommand(ID_FILE_SAVE_AS));
    EXPECT_EQ(ui.messages, QStringList{Document::OpenElsewhereMessage(nextFile)});
    EXPECT_EQ(fileBytes(a), emptySchematic());
    EXPECT_TRUE(other->PathName().isEmpty());
    EXPECT_TRUE(other->IsModified());
    EXPECT_EQ(WindowsOf("a.cas"), 1);

    // Its own file, by another spelling, it may save under.
    nextFile = dir.filePath(QStringLiteral("b.cas"));
    ASSERT_TRUE(Frame().OnCommand(ID_FILE_SAVE_AS));
    nextFile = dir.path() + QStringLiteral("/./b.cas");
    ui.messages.clear();
    EXPECT_TRUE(Frame().OnCommand(ID_FILE_SAVE_AS));
    EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.messages.join(u'\n'));
    EXPECT_EQ(other->PathName(), dir.filePath(QStringLiteral("b.cas")));
    EXPECT_EQ(Docs().RecentFiles()->Files(), (QStringList{other->PathName(), a}));
}

TEST_F(ProgramDocuments, UndoAwayFromTheSavedStateMarksTheDocumentModifiedAndRedoBackClearsIt)
{
    auto* doc = dynamic_cast<CTorvex2Doc*>(Active());
    ASSERT_NE(doc, nullptr);
    const auto edit = [&] {
        doc->Components().push_back(CTorvex2Doc::CreateComponent(TypeTextSelectionTool));
        doc->RecordEdit(); // as the window ends every edit
    };
    edit();
    nextFile = dir.filePath(QStringLiteral("saved.cas"));
    ASSERT_TRUE(Frame().OnCommand(ID_FILE_SAVE));
    const QByteArray saved = fileBytes(nextFile);
    EXPECT_FALSE(doc->IsModified());

    Frame().OnCommand(ID_EDIT_UNDO);
    EXPECT_TRUE(doc->Components().empty());
    EXPECT_TRUE(doc->IsModified());
    // Close asks, and Cancel keeps the window and the file.
    ui.answers = {UiServices::Answer::Cancel};
    Frame().OnCommand(ID_FILE_CLOSE);
    EXPECT_EQ(ui.messages,
              QStringList{QStringLiteral("Save changes to %1?").arg(QDir::toNativeSeparators(nextFile))});
    ASSERT_TRUE(Docs().GetOpenDocuments().contains(doc));
    EXPECT_EQ(fileBytes(nextFile), saved);

    Frame().OnCommand(ID_EDIT_REDO);
    EXPECT_FALSE(doc->IsModified());
    // Saved at the undone state, the mark follows the new saved state.
    Frame().OnCommand(ID_EDIT_UNDO);
    ASSERT_TRUE(Frame().OnCommand(ID_FILE_SAVE));
    Frame().OnCommand(ID_EDIT_REDO);
    EXPECT_TRUE(doc->IsModified());
    Frame().OnCommand(ID_EDIT_UNDO);
    EXPECT_FALSE(doc->IsModified());

    // A change that took no snapshot of its own is part of the saved state that undo comes back to.
    doc->OnPageSize(ID_PageSizeB);
    ASSERT_TRUE(Frame().OnCommand(ID_FILE_SAVE));
    edit();
    Frame().OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(std::tuple(doc->PageRect, doc->IsModified()), std::tuple(Rect{0, 0, 24480, -15840}, false));

    ui.messages.clear();
    Frame().OnCommand(ID_FILE_CLOSE);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(Docs().GetOpenDocuments().contains(doc));
}
