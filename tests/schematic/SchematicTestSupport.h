#pragma once
// Byte-level builders for schematic files and the object classes the tests store.
#include "CComponent.h"
#include "CTorvex2Doc.h"
#include "ClassRegistry.h"
#include "ComponentTypeId.h"
#include "FileBytes.h"

#include <QByteArray>
#include <QString>

#include <initializer_list>
#include <utility>
#include <vector>

// Builds archive bytes by hand, independently of the program's writer.
struct Bytes {
    QByteArray data;

    Bytes& add(const QByteArray& b)
    {
        data.append(b);
        return *this;
    }
    Bytes& u8s(std::initializer_list<int> list)
    {
        for (int v : list)
            data.append(char(v));
        return *this;
    }
    Bytes& u16(int v) { return u8s({v & 0xFF, (v >> 8) & 0xFF}); }
    Bytes& i32(qint64 v) { return u16(int(v & 0xFFFF)).u16(int((v >> 16) & 0xFFFF)); }
    Bytes& ascii(const char* s) { return add(QByteArray(s)); }
    Bytes& zeros(int n) { return add(QByteArray(n, '\0')); }
    // A new class: its tag, schema and name.
    Bytes& tag(int schema, const char* name)
    {
        return u8s({0xFF, 0xFF, schema, 0, int(qstrlen(name)), 0}).ascii(name);
    }
    // The Unicode string form for texts shorter than 255 characters.
    Bytes& str(const QString& s)
    {
        u8s({0xFF, 0xFE, 0xFF, int(s.size())});
        for (QChar c : s)
            u16(c.unicode());
        return *this;
    }
    // One object record.
    Bytes& record(int x, int y, std::initializer_list<int> extent, quint32 type, int orientation,
                  const QString& text, int visible)
    {
        i32(x).i32(y);
        for (int e : extent)
            i32(e);
        return i32(type).i32(orientation).str(text).u8s({visible});
    }
};

// The fields of a file after its object list, in the version-5 layout of a new document.
inline QByteArray defaultTail(int version = 5)
{
    Bytes b;
    b.u8s({1, 1});
    for (const char* s : {"1ns", "0ns", "100ns", "C:\\Experiments\\", "", ""})
        b.str(QString::fromLatin1(s));
    if (version >= 4) b.str("").str("Orlisk");
    if (version >= 5) b.zeros(8);
    return b.data;
}

// A file head: version, page, grid and `counters` zero counters.
inline Bytes fileHead(int version, int counters = 128, int grid = 144)
{
    Bytes b;
    b.i32(version).i32(0).i32(0).i32(15840).i32(-12240).i32(grid).u16(counters).zeros(4 * counters);
    return b;
}

// A schematic read as opening its file reads it: into an emptied document.
inline bool loadBytes(CTorvex2Doc& doc, const QByteArray& bytes)
{
    doc.DeleteContents();
    return loadBytes(static_cast<Document&>(doc), bytes);
}

// A first generation file's objects: old type codes and texts.
using Old = std::vector<std::pair<quint32, QString>>;

// A part of an old code with the text "OLD", followed by its name and value labels.
inline Old oldPart(quint32 code, const QString& name = "X5", const QString& value = "MODEL= 1n  2 3")
{
    return {{code, "OLD"}, {2, name}, {2, value}};
}

// A first-generation file as its writer made it: 8-bit texts, the objects stored as the base class
// with its schema of then, and the run settings only from version 2 on.
inline QByteArray oldFile(int version, const Old& objects)
{
    Bytes b;
    b.i32(version).i32(0).i32(0).i32(24480).i32(-15840).i32(288).u16(3).i32(40).i32(41).i32(42);
    b.u16(int(objects.size()));
    int x = 1440;
    for (const auto& [code, text] : objects) {
        (x == 1440 ? b.tag(1, "CComponent") : b.u16(0x8001)).i32(x).i32(-1440).zeros(16).i32(code).i32(2);
        b.u8s({int(text.size())}).add(text.toLatin1()).u8s({1});
        x += 144;
    }
    b.u8s({1, 0});
    if (version == 2) b.str("2ns").str("5ns").str("300ns").str("D:\\Shots\\").str("Exp").str("12");
    return b.data;
}

// An object placed as its tool places it, with the labels and pins that follow it.
struct Placed {
    CComponent* object = nullptr;
    std::vector<CComponent*> labels, pins;
};

inline Placed place(CTorvex2Doc& doc, quint32 type, QPoint at, int orientation = 0)
{
    Placed placed;
    std::unique_ptr<CComponent> made = CTorvex2Doc::CreateComponent(type);
    if (!made) return placed;
    made->Position = at;
    if (orientation) made->Orientation = orientation;
    ComponentList& list = doc.Components();
    const auto self = list.insert(list.end(), std::move(made));
    (*self)->CreateAttachments(doc, at.x(), at.y());
    placed.object = self->get();
    for (auto it = std::next(self); it != list.end(); ++it)
        ((*it)->TypeId == TypeTerminal ? placed.pins : placed.labels).push_back(it->get());
    return placed;
}

// A part that names itself and appends a name label, as the part classes do.
class TestPart : public CComponent {
public:
    static const ClassInfo Class;
    TestPart() = default;
    explicit TestPart(quint32 typeId, const QString& letter)
    {
        Init(typeId);
        Text = letter;
    }
    const ClassInfo& RuntimeClass() const override { return Class; }
    int GetAttachmentCount() const override { return 1; }
    void CreateAttachments(ComponentHost& doc, int, int) override
    {
        const QString name = TakeNextName(doc);
        auto label = std::make_unique<CComponent>();
        label->Init(TypeLabel);
        label->Text = name;
        label->State = 1;
        doc.Components().push_back(std::move(label));
    }
};

// Stand-ins for the resistor and drawing classes: same names, same record.
class StandInResistor : public CComponent {
public:
    static const ClassInfo Class;
    const ClassInfo& RuntimeClass() const override { return Class; }
};
class StandInDrawing : public CComponent {
public:
    static const ClassInfo Class;
    const ClassInfo& RuntimeClass() const override { return Class; }
    StandInDrawing() : CComponent(311) {}
};
// A class of another family, registered as the plot classes are.
class StandInPlotTrace : public Persistent {
public:
    static const ClassInfo Class;
    const ClassInfo& RuntimeClass() const override { return Class; }
    void Serialize(Archive&) override {}
};

// Registers the test classes in the program's registry after the program's own classes; a name
// that a real class already holds keeps the real class.
void RegisterTestClasses();
