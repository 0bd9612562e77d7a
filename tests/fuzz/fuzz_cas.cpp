// Feeds arbitrary bytes to the schematic file reader. Whatever it accepts must write back, read
// again and write the same bytes, and survive an undo round.
#include "CComponent.h"
#include "CTorvex2Doc.h"
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
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Quiet quiet;
    setUi(&quiet);
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
    return 0;
}
