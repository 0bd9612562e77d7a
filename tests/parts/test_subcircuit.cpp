// The sub-circuit block, the file it names, and the free text.
#include "CSubcircuit.h"
#include "CText.h"
#include "CTorvex2Doc.h"
#include "ComponentTypeId.h"
#include "DcRecorder.h"
#include "DocTemplate.h"
#include "OpenDocuments.h"
#include "PartsTestSupport.h"
#include "Paths.h"
#include "SubcircuitFile.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

TEST(Subcircuit, NumbersStayInsideTheBoxAtEveryOrientation)
{
    for (int o = 1; o <= 4; ++o) {
        CSubcircuit block(TypeSubcircuitInterface);
        block.Orientation = o;
        RecordingDc dc;
        block.Draw(dc);
        const Rect box = turned(o, Rect{144, 144, 864, -432});
        ASSERT_EQ(dc.Count(DcShape::Rectangle), 1);
        const DcEntry frame = dc.OfKind(DcShape::Rectangle)[0];
        EXPECT_EQ(std::tuple(frame.Box(), frame.brush), std::tuple(box, Brush::WhiteBrush())) << o;
        // The numbers stay upright (a digit's cell is 85 by 170 here), in the block's colour.
        const std::vector<DcEntry> numbers = dc.OfKind(DcShape::Text);
        ASSERT_EQ(numbers.size(), 4u);
        for (const DcEntry& t : numbers) {
            const QPoint tl = t.points[0];
            EXPECT_TRUE(tl.x() >= box.left && tl.x() + 85 <= box.right && tl.y() <= box.top &&
                        tl.y() - 170 >= box.bottom)
                << o << " " << t.text.toStdString();
            EXPECT_EQ(std::tuple(t.textColor, t.font), std::tuple(QColor(128, 128, 128), Font(170)));
        }
    }
}

TEST(Subcircuit, RemovePath)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Circuits\\Pulser\\stage.cas", "stage.cas"},
        {"stage.cas", "stage.cas"},
        {"\\stage.cas", "\\stage.cas"},
        {"/home/me/stage.cas", "stage.cas"},
        {"lib/stage.cas", "stage.cas"},
        {"C:\\Circuits\\", ""},
        {"", ""},
    };
    for (const auto& [stored, cut] : cases)
        EXPECT_EQ(removeSubcircuitPath(stored), cut) << stored;
}

TEST(Subcircuit, FileResolution)
{
    QTemporaryDir tmp;
    const QString dir = QDir::cleanPath(tmp.path());
    for (const char* f : {"top/top.cas", "top/sub.cas", "top/Lib/Amp.CAS", "c-drive/Lib/Amp.CAS"}) {
        QDir().mkpath(QFileInfo(dir + "/" + f).path());
        QFile file(dir + "/" + f);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString ini = dir + "/drives.ini";
    QSettings(ini, QSettings::IniFormat).setValue("DriveMap/C", dir + "/c-drive");
    paths::setDriveMapFile(ini);
    const QString parent = dir + "/top/top.cas", sub = dir + "/top/sub.cas", amp = dir + "/top/Lib/Amp.CAS";
    // label, parent's file, the file found
    const std::tuple<QString, QString, QString> cases[] = {
        {"sub.cas", parent, sub},                                   // beside the parent
        {sub, "", sub},                                             // as it stands
        {"Lib\\Amp.CAS", parent, amp},                              // either separator
        {"Lib/Amp.CAS", parent, amp},                               //
        {"lib\\amp.cas", parent, amp},                              // case as another system wrote it
        {"D:\\Old\\Work\\SUB.CAS", parent, ""},                     // a folder of another machine
        {"C:\\Lib\\sub.cas", parent, ""},                           // not the file of that name beside
        {"Lib\\sub.cas", parent, ""},                               //   the parent
        {"C:\\Lib\\Amp.CAS", parent, dir + "/c-drive/Lib/Amp.CAS"}, // the name as stored comes first
        {"C:\\Lib\\Amp.CAS", "", dir + "/c-drive/Lib/Amp.CAS"},     // a drive through the drive map
        {"sub.cas", "", ""},                                        // no parent: only the current folder
        {"missing.cas", parent, ""},                                //
        {"Lib", parent, ""},                                        // a folder is no file
        {"", parent, ""},
    };
    for (const auto& [label, parentPath, found] : cases)
        EXPECT_EQ(resolveSubcircuitFile(label, parentPath), found) << label.toStdString();
    paths::setDriveMapFile({});
}

// The block's Open and Close over real schematic documents of one template, with the program's
// documents listed for the closing of untouched ones.
class SubcircuitDocuments : public ::testing::Test, public OpenDocuments {
protected:
    void SetUp() override
    {
        CTorvex2Doc::SetOpenDocuments(this);
        CTorvex2Doc saved;
        ASSERT_TRUE(saved.OnNewDocument());
        ASSERT_TRUE(saved.OnSaveDocument(tmp.filePath("sub.cas")));
    }
    void TearDown() override { CTorvex2Doc::SetOpenDocuments(nullptr); }

    std::vector<Entry> Entries() const override
    {
        std::vector<Entry> entries;
        for (Document* d : schematics.Documents())
            entries.push_back({d, Kind::Schematic});
        return entries;
    }
    void CloseDocument(Document* document) override { noted.push_back(document); }

    // Opens the block's dialog on `file` and presses its buttons.
    void press(CTorvex2Doc& parent, CSubcircuit& block, const QString& file,
               const std::function<void(CSubcircuit&)>& buttons)
    {
        ScriptedDialogs dialogs;
        dialogs.script = [&](CComponent&) {
            block.FileText = file;
            buttons(block);
            return true;
        };
        block.EditProperties(parent);
    }

    QTemporaryDir tmp;
    DocTemplate schematics{130, "Schematic\nSchematic\nSchematic\nTorvex Schematic (*.cas)\n.cas",
                           [] { return std::make_unique<CTorvex2Doc>(); }, nullptr};
    std::vector<Document*> noted;
};

TEST_F(SubcircuitDocuments, OpenKeepsTheParentAndCloseDiscards)
{
    auto* parent = static_cast<CTorvex2Doc*>(schematics.OpenDocumentFile({}, false));
    Document* other = schematics.OpenDocumentFile({}, false);
    ASSERT_TRUE(parent && other);
    // A block pasted into a new document: no file, nothing marked changed.
    auto& b =
        static_cast<CSubcircuit&>(placePart(*parent, std::make_unique<CSubcircuit>(TypeSubcircuitInterface)));
    ASSERT_FALSE(parent->IsModified());

    ScriptedUiServices ui;
    std::vector<DocumentHandle> opened;
    const auto open = [&](CSubcircuit& s) {
        s.OnOpen();
        opened.push_back(s.OpenedDocument);
    };
    press(*parent, b, tmp.filePath("sub.cas"), [&](CSubcircuit& s) {
        open(s);
        open(s); // the first one closes before the file opens again
    });
    EXPECT_TRUE(ui.messages.isEmpty());
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_FALSE(opened[0].IsOpen());
    ASSERT_TRUE(opened[1].IsOpen());
    EXPECT_EQ(opened[1].document->PathName(), QDir::cleanPath(tmp.filePath("sub.cas")));
    // The untouched other document goes as ever; the parent under the dialog does not.
    EXPECT_EQ(noted, (std::vector<Document*>{other, other}));
    EXPECT_EQ(schematics.Documents().size(), 3); // the opened file stays open after the dialog

    // Close discards the document opened in the same dialog; an earlier one is no longer its own.
    press(*parent, b, "sub.cas", [&](CSubcircuit& s) { s.OnClose(); });
    EXPECT_TRUE(opened[1].IsOpen());
    press(*parent, b, tmp.filePath("sub.cas"), [&](CSubcircuit& s) {
        open(s);
        s.OnClose();
    });
    EXPECT_FALSE(opened[2].IsOpen());

    // A bare name is found beside a parent with a file, not beside one without.
    press(*parent, b, "sub.cas", [&](CSubcircuit& s) { s.OnOpen(); });
    parent->SetPathName(tmp.filePath("top.cas"));
    press(*parent, b, "sub.cas", [&](CSubcircuit& s) { s.OnOpen(); });
    press(*parent, b, "", [&](CSubcircuit& s) { s.OnOpen(); });
    EXPECT_EQ(ui.messages,
              QStringList({CSubcircuit::OpenFailedMessage("sub.cas"), CSubcircuit::OpenFailedMessage("")}));
    EXPECT_EQ(schematics.Documents().size(), 4);
}

TEST(Text, ColoursExtentAndEditing)
{
    // (state, selected) -> text colour; the box is the text's, down from its top-left.
    const std::tuple<int, int, QColor> colours[] = {{0, 0, QColor(128, 128, 128)},
                                                    {1, 0, QColor(0, 0, 0)},
                                                    {1, 1, QColor(255, 64, 64)},
                                                    {0, 1, QColor(255, 64, 64)}};
    for (const auto& [state, selected, colour] : colours) {
        CText text(TypeTextSelectionTool);
        text.Text = "params: rl=50";
        text.Position = QPoint(1440, -1440);
        text.State = quint8(state);
        text.Selected = quint8(selected);
        RecordingDc dc;
        text.Draw(dc);
        EXPECT_EQ(dc.Describe(), "Text 1440,-1440 \"params: rl=50\"");
        const DcEntry& e = dc.Entries()[0];
        EXPECT_EQ(std::tuple(e.textColor, e.bkColor, e.font),
                  std::tuple(colour, QColor(Qt::white), Font(200)));
        EXPECT_EQ(text.Extent, (Rect{1440, -1440, 1440 + 1300, -1440 - 200}));
    }
    // typed text, OK or Cancel -> a change, the text afterwards
    const std::tuple<const char*, bool, bool, const char*> edits[] = {
        {"Enter Text.", true, false, "Enter Text."},
        {"PARAMS: RL=50", true, true, "PARAMS: RL=50"},
        {"PARAMS: RL=50", false, false, "Enter Text."},
    };
    for (const auto& [typed, ok, changed, after] : edits) {
        PartsHost host;
        CText& text = host.add(std::make_unique<CText>(TypeTextSelectionTool));
        text.Text = "Enter Text.";
        ScriptedDialogs dialogs;
        dialogs.script = [&](CComponent& o) {
            dynamic_cast<CText&>(o).TextBuffer = typed;
            return ok;
        };
        EXPECT_EQ(text.EditProperties(host), changed) << typed;
        EXPECT_EQ(text.Text, after);
    }
}
