// Feeds arbitrary bytes to the schematic file reader, as they are and as a first-generation file.
// Whatever it accepts must write back, read again and write the same bytes, survive an undo round,
// and draw, place its attachments and turn down editing (no dialogs) whatever its objects hold.
#include "CComponent.h"
#include "CTorvex2Doc.h"
#include "ComponentListCheck.h"
#include "DcRecorder.h"
#include "UiServices.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

namespace {
class Quiet : public UiServices {
public:
    void message(const QString&) override {}
    Answer question(const QString&, Buttons) override { return Answer::Ok; }
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
    const QByteArray once = save(doc);
    CTorvex2Doc again;
    if (!load(again, once) || save(again) != once) __builtin_trap();
    ComponentList& list = doc.Components();
    for (size_t presses = list.size(); !CheckComponentList(list); --presses) {
        if (presses == 0 || !RemoveBadComponent(list)) __builtin_trap();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Quiet quiet;
    setUi(&quiet);
    firstGeneration(data, size);
    CTorvex2Doc doc;
    if (!load(doc, QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)))) return 0;
    const QByteArray once = save(doc);
    CTorvex2Doc again;
    if (!load(again, once) || save(again) != once) __builtin_trap();
    doc.CheckPoint();
    doc.Components().clear();
    doc.CheckPoint();
    doc.Undo();
    if (save(doc) != once) __builtin_trap();

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
