// The sub-circuit block, the file it names, and the free text.
#include "CDrawing.h"
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
#include "ui/DrawingDialogs.h"
#include "ui/QtPropertyDialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>

TEST(Subcircuit, AttachmentsAtEveryOrientation)
{
    PartsHost host;
    host.counters['X'] = 2;
    auto& block = host.add(std::make_unique<CSubcircuit>(TypeSubcircuitInterface));
    block.CreateAttachments(host, 0, 0);
    ASSERT_EQ(host.list.size(), 8u);
    const char* texts[] = {"X3", "", "PARAMS:", "1", "2", "3", "4"};
    for (int i = 0; i < 7; ++i) {
        const CComponent& a = host.at(i + 1);
        EXPECT_EQ(
            std::tuple(a.TypeId, a.Text, a.State, a.Visible),
            std::tuple(quint32(i < 3 ? TypeLabel : TypeTerminal), QString(texts[i]), 1, i == 2 ? 0 : 1));
    }
    EXPECT_EQ(block.Text, "X3");
    // Offsets from pin 1 of the name, file and parameter labels, then pins 2 to 4. Orientation 5 is
    // none of the four and moves pin 1 only, so the others stay where orientation 4 put them.
    const QPoint offsets[5][6] = {
        {{290, 383}, {310, 583}, {310, 783}, {0, -288}, {1008, 0}, {1008, -288}},
        {{200, -200}, {200, -450}, {200, -700}, {-288, 0}, {0, -1008}, {-288, -1008}},
        {{-800, 383}, {-780, 583}, {-780, 783}, {0, -288}, {-1008, 0}, {-1008, -288}},
        {{200, 800}, {200, 550}, {200, 300}, {-288, 0}, {0, 1008}, {-288, 1008}},
        {{200, 800}, {200, 550}, {200, 300}, {-288, 0}, {0, 1008}, {-288, 1008}},
    };
    for (int o = 1; o <= 5; ++o) {
        const QPoint at(2880 + 144 * o, -2880);
        block.Position = at;
        block.Orientation = o;
        block.PlaceAttachments(host, host.list.begin());
        EXPECT_EQ(host.at(4).Position, at);
        for (int i = 0; i < 6; ++i) {
            const QPoint expected =
                o < 5 ? at + offsets[o - 1][i] : QPoint(2880 + 144 * 4, -2880) + offsets[3][i];
            EXPECT_EQ(host.at(i < 3 ? i + 1 : i + 2).Position, expected) << o << " " << i;
        }
    }
}

TEST(Subcircuit, SymbolAtEveryOrientation)
{
    const struct {
        Rect box, extent;
    } rows[] = {
        {{144, 144, 864, -432}, {0, 144, 1008, -442}},
        {{-432, -144, 144, -864}, {-442, 0, 144, -1008}},
        {{-864, 144, -144, -432}, {-1008, 144, 0, -442}},
        {{-432, 864, 144, 144}, {-442, 1008, 144, 0}},
    };
    for (int o = 1; o <= 4; ++o) {
        CSubcircuit block(TypeSubcircuitInterface);
        block.Orientation = o;
        block.State = 1;
        RecordingDc dc;
        block.Draw(dc);
        EXPECT_EQ(block.Extent, rows[o - 1].extent) << o;
        ASSERT_EQ(dc.Count(DcShape::Rectangle), 1);
        const Rect box = rows[o - 1].box;
        EXPECT_EQ(dc.OfKind(DcShape::Rectangle)[0].Box(), box) << o;
        // Each number stands inside the box (a digit's cell is 85 by 170 here).
        const std::vector<DcEntry> numbers = dc.OfKind(DcShape::Text);
        ASSERT_EQ(numbers.size(), 4u);
        for (const DcEntry& t : numbers) {
            const QPoint tl = t.points[0];
            EXPECT_TRUE(tl.x() >= box.left && tl.x() + 85 <= box.right && tl.y() <= box.top &&
                        tl.y() - 170 >= box.bottom)
                << o << " " << t.text.toStdString();
        }
        EXPECT_EQ(dc.Count(DcShape::Line), 4);
    }
    // Orientation 1 as drawn, and the colours.
    CSubcircuit block(TypeSubcircuitInterface);
    RecordingDc dc;
    block.Draw(dc);
    EXPECT_EQ(dc.Describe(),
              "Rectangle 144,144 864,-432\nLine 0,0 144,0\nText 200,90 \"1\"\nLine 0,-288 144,-288\n"
              "Text 200,-198 \"2\"\nLine 1008,0 864,0\nText 740,90 \"3\"\nLine 1008,-288 864,-288\n"
              "Text 740,-198 \"4\"");
    const DcEntry text = dc.OfKind(DcShape::Text)[0];
    EXPECT_EQ(std::tuple(text.pen.color, text.textColor, text.font, dc.Entries()[0].brush),
              std::tuple(QColor(128, 128, 128), QColor(128, 128, 128), Font(170), Brush::WhiteBrush()));
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
    const QString parent = dir + "/top/top.cas";
    const QString sub = dir + "/top/sub.cas";
    const QString amp = dir + "/top/Lib/Amp.CAS";
    // label, parent's file, the file found
    const std::tuple<QString, QString, QString> cases[] = {
        {"sub.cas", parent, sub},                               // beside the parent
        {sub, "", sub},                                         // as it stands
        {"Lib\\Amp.CAS", parent, amp},                          // either separator
        {"Lib/Amp.CAS", parent, amp},                           //
        {"lib\\amp.cas", parent, amp},                          // case as another system wrote it
        {"D:\\Old\\Work\\SUB.CAS", parent, sub},                // a folder of another machine
        {"C:\\Lib\\Amp.CAS", "", dir + "/c-drive/Lib/Amp.CAS"}, // a drive through the drive map
        {"sub.cas", "", ""},                                    // no parent: only the current folder
        {"missing.cas", parent, ""},                            //
        {"Lib", parent, ""},                                    // a folder is no file
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

    // Opens the block's dialog and presses its buttons.
    bool press(CTorvex2Doc& parent, CSubcircuit& block, const QString& file,
               const std::function<void(CSubcircuit&)>& buttons)
    {
        ScriptedDialogs dialogs;
        dialogs.script = [&](CComponent&) {
            block.FileText = file;
            buttons(block);
            return true;
        };
        return block.EditProperties(parent);
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
    auto block = std::make_unique<CSubcircuit>(TypeSubcircuitInterface);
    CSubcircuit& b = *block;
    parent->Components().push_back(std::move(block));
    b.CreateAttachments(*parent, 0, 0);
    ASSERT_FALSE(parent->IsModified());

    ScriptedUiServices ui;
    std::vector<DocumentHandle> opened;
    EXPECT_TRUE(press(*parent, b, tmp.filePath("sub.cas"), [&](CSubcircuit& s) {
        s.OnOpen();
        opened.push_back(s.OpenedDocument);
        s.OnOpen(); // the first one closes before the file opens again
        opened.push_back(s.OpenedDocument);
    }));
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
        s.OnOpen();
        opened.push_back(s.OpenedDocument);
        s.OnClose();
    });
    EXPECT_FALSE(opened[2].IsOpen());
    EXPECT_EQ(schematics.Documents().size(), 3);

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
            auto& t = dynamic_cast<CText&>(o);
            EXPECT_EQ(t.TextBuffer, "Enter Text.");
            t.TextBuffer = typed;
            return ok;
        };
        EXPECT_EQ(text.EditProperties(host), changed) << typed;
        EXPECT_EQ(text.Text, after);
    }
}

TEST(DrawingDialogs, ControlsExchangeTheObjectsFields)
{
    QtPropertyDialogs dialogs;
    CDrawing bubble(TypeBubbleConnector);
    bubble.LabelBuffer = "A1";
    bubble.LabelVisibleCheck = 1;
    auto label = dialogs.Create(bubble);
    auto* d311 = qobject_cast<EditLabelDialog*>(label.get());
    ASSERT_TRUE(d311);
    EXPECT_EQ(std::tuple(d311->Edit(1000)->text(), d311->Check(1003)->isChecked()),
              std::tuple(QString("A1"), true));
    d311->Edit(1000)->setText("SUB2");
    d311->Check(1003)->setChecked(false);
    d311->accept();
    EXPECT_EQ(std::tuple(bubble.LabelBuffer, bubble.LabelVisibleCheck), std::tuple(QString("SUB2"), 0));

    CText text(TypeTextSelectionTool);
    text.Text = "note";
    text.OnInitDialog();
    auto edit = dialogs.Create(text);
    auto* d352 = qobject_cast<EditTextDialog*>(edit.get());
    ASSERT_TRUE(d352);
    EXPECT_EQ(d352->Edit(1010)->text(), "note");
    d352->Edit(1010)->setText("PARAMS: A=1");
    d352->accept();
    EXPECT_EQ(text.Text, "PARAMS: A=1");

    CSubcircuit block(TypeSubcircuitInterface);
    block.NameBuffer = "X1";
    block.ValueBuffer = "C:\\Work\\stage.cas";
    block.ICVisibleCheck = 1;
    block.OnInitDialog();
    auto sub = dialogs.Create(block);
    auto* d351 = qobject_cast<SubcircuitEditDialog*>(sub.get());
    ASSERT_TRUE(d351);
    EXPECT_EQ(std::tuple(d351->Edit(1002)->text(), d351->Check(1005)->isChecked()),
              std::tuple(QString("C:\\Work\\stage.cas"), true));
    d351->Button(1019)->click();
    EXPECT_EQ(d351->Edit(1002)->text(), "stage.cas");
    const auto prompt = std::exchange(SubcircuitEditDialog::BrowsePrompt(),
                                      [](QWidget*) { return QString("/data/amp.cas"); });
    d351->Button(1016)->click();
    SubcircuitEditDialog::BrowsePrompt() = prompt;
    EXPECT_EQ(d351->Edit(1002)->text(), "/data/amp.cas");
    {
        ScriptedUiServices ui;
        d351->Button(1017)->click(); // no document to open from
        EXPECT_EQ(ui.messages, QStringList{CSubcircuit::OpenFailedMessage("/data/amp.cas")});
    }
    d351->Edit(1000)->setText("X9");
    d351->accept();
    EXPECT_EQ(std::tuple(block.NameBuffer, block.ValueBuffer, block.ICVisibleCheck),
              std::tuple(QString("X9"), QString("/data/amp.cas"), 1));
}
