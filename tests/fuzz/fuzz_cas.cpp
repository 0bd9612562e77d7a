// Feeds arbitrary bytes to the schematic file reader, as they are and as a first-generation file, and
// as clipboard data to the schematic window's paste. Whatever the reader accepts must write back,
// read again and write the same bytes, survive an undo round, and draw, place its attachments and
// turn down editing (no dialogs) whatever its objects hold; whatever a paste adds must leave the
// list's groups intact, write and read back the same way, and go again with one undo.
#include "CComponent.h"
#include "CTorvex2Doc.h"
#include "ComponentListCheck.h"
#include "DcRecorder.h"
#include "FileBytes.h"
#include "SchematicEditor.h"
#include "UiServices.h"
#include "ZoomViewModel.h"

#include <cstddef>
#include <cstdint>

namespace {
class Quiet : public UiServices {
public:
    void message(const QString&) override {}
    Answer question(const QString&, Buttons) override { return Answer::Ok; }
};

// A window of the program's usual size that shows nothing.
class NoWindow : public ZoomViewModel, public EditorWindow {
public:
    NoWindow()
    {
        AttachWindow(QSize(1200, 800), QSize(16, 16), 96, 96);
        SetZoomSizes(Rect{0, 0, 15840, -12240});
        ZoomToFit();
    }
    void Repaint() override {}
    void RepaintPage(const Rect&) override {}
};

bool load(CTorvex2Doc& doc, const QByteArray& bytes)
{
    doc.DeleteContents();
    return loadBytes(doc, bytes);
}

// The same bytes after a first-generation version number (0 to 2, from the first byte): what converts
// must save in today's layout and read back to the same bytes, and its list must come whole by
// repairs that each remove something.
void firstGeneration(const uint8_t* data, size_t size)
{
    if (size == 0) return;
    QByteArray bytes(4, '\0');
    bytes[0] = char(data[0] % 3);
    bytes.append(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    CTorvex2Doc doc;
    if (!load(doc, bytes)) return;
    const QByteArray once = saveBytes(doc);
    CTorvex2Doc again;
    if (!load(again, once) || saveBytes(again) != once) __builtin_trap();
    ComponentList& list = doc.Components();
    for (size_t presses = list.size(); !CheckComponentList(list); --presses) {
        if (presses == 0 || !RemoveBadComponent(list)) __builtin_trap();
    }
}

void paste(const QByteArray& data)
{
    CTorvex2Doc doc;
    doc.OnNewDocument();
    NoWindow window;
    SchematicEditor editor(window, window);
    editor.SetDocument(&doc);
    if (!editor.Paste(data)) {
        if (!doc.Components().empty()) __builtin_trap();
        return;
    }
    if (!CheckComponentList(doc.Components())) __builtin_trap();
    const QByteArray once = saveBytes(doc);
    CTorvex2Doc again;
    if (!load(again, once) || saveBytes(again) != once) __builtin_trap();
    editor.OnEditUndo();
    if (!doc.Components().empty()) __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Quiet quiet;
    setUi(&quiet);
    firstGeneration(data, size);
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    paste(bytes);
    CTorvex2Doc doc;
    if (!load(doc, bytes)) return 0;
    const QByteArray once = saveBytes(doc);
    CTorvex2Doc again;
    if (!load(again, once) || saveBytes(again) != once) __builtin_trap();
    doc.CheckPoint();
    doc.Components().clear();
    doc.CheckPoint();
    doc.Undo();
    if (saveBytes(doc) != once) __builtin_trap();

    RecordingDc dc;
    ComponentList& list = doc.Components();
    for (auto it = list.begin(); it != list.end(); ++it) {
        CComponent& object = **it;
        object.Draw(dc);
        object.PlaceAttachments(doc, it);
        object.EditProperties(doc);
    }
    return 0;
}
