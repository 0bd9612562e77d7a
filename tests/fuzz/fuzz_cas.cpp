// Feeds arbitrary bytes to the schematic file reader and, as clipboard data, to the schematic
// window's paste. Whatever the reader accepts must write back, read again and write the same bytes,
// and survive an undo round; whatever a paste adds must leave the list's groups intact, write and
// read back the same way, and go again with one undo.
#include "CComponent.h"
#include "CTorvex2Doc.h"
#include "ComponentListCheck.h"
#include "SchematicEditor.h"
#include "UiServices.h"
#include "ZoomViewModel.h"

#include <QBuffer>

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
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    doc.DeleteContents();
    return doc.Load(buffer);
}

QByteArray save(CTorvex2Doc& doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    doc.Save(buffer);
    return buffer.data();
}

void readFile(const QByteArray& data)
{
    CTorvex2Doc doc;
    if (!load(doc, data)) return;
    const QByteArray once = save(doc);
    CTorvex2Doc again;
    if (!load(again, once) || save(again) != once) __builtin_trap();
    doc.CheckPoint();
    doc.Components().clear();
    doc.CheckPoint();
    doc.Undo();
    if (save(doc) != once) __builtin_trap();
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
    const QByteArray once = save(doc);
    CTorvex2Doc again;
    if (!load(again, once) || save(again) != once) __builtin_trap();
    editor.OnEditUndo();
    if (!doc.Components().empty()) __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Quiet quiet;
    setUi(&quiet);
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    readFile(bytes);
    paste(bytes);
    return 0;
}
