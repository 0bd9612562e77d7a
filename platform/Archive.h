#pragma once

#include "ClassRegistry.h"
#include "Rect.h"

#include <QByteArray>
#include <QHash>
#include <QPoint>
#include <QString>

#include <exception>
#include <memory>
#include <vector>

// A stored archive that cannot be read: it ends early, or it holds something no writer of ours
// would write. Reading stops at the first such fault.
class ArchiveError : public std::exception {
public:
    enum Cause {
        EndOfFile, // the data ends in the middle of a value
        BadCount,  // a count or length larger than what remains
        BadClass,  // an unknown class, or one that does not belong where it stands
        BadSchema, // a stored class version this program does not read
        BadIndex,  // a tag that refers to nothing, or to an object already read
        BadValue,  // a value the reader refuses
    };

    ArchiveError(Cause cause, QString detail);
    Cause cause() const { return m_cause; }
    // One sentence for the user saying what is wrong.
    const QString& detail() const { return m_detail; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    Cause m_cause;
    QString m_detail;
    QByteArray m_what;
};

// The framework's archive format, which schematic files, undo snapshots and the clipboard share:
// little-endian primitives, counts, length-prefixed strings, and objects preceded by class tags.
// Classes and objects are numbered together, from 1, in the order they first appear; a class met
// again is written as a reference to its number.
//
// A loading archive treats its bytes as untrusted: every read checks what remains, every count is
// checked before anything is allocated for it, and any fault throws ArchiveError.
class Archive {
public:
    // A storing archive that appends to `*out`.
    explicit Archive(QByteArray* out);
    // A loading archive over `in` (shared, not copied); classes are looked up in `registry`.
    explicit Archive(const QByteArray& in, const ClassRegistry& registry = ClassRegistry::instance());
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool IsStoring() const { return m_out != nullptr; }
    bool IsLoading() const { return m_out == nullptr; }

    // ---- storing ----
    void WriteByte(quint8 v);
    void WriteWord(quint16 v);
    void WriteInt(qint32 v);
    void WriteUInt(quint32 v);
    void WriteDouble(double v);
    void WriteRaw(const void* data, qsizetype size);
    // x, then y; left, top, right, bottom.
    void WritePoint(QPoint p);
    void WriteRect(const Rect& r);
    // A count: a word below 0xFFFF, else 0xFFFF and a 32-bit count.
    void WriteCount(quint32 n);
    // The Unicode form: 0xFF, 0xFFFE, the length in code units, the UTF-16LE code units.
    void WriteString(const QString& s);
    // The class tag of the object's class, then the object's own data.
    void WriteObject(Persistent& object);

    // ---- loading ----
    quint8 ReadByte();
    quint16 ReadWord();
    qint32 ReadInt();
    quint32 ReadUInt();
    double ReadDouble();
    void ReadRaw(void* data, qsizetype size);
    QPoint ReadPoint();
    Rect ReadRect();
    // A count of items each at least `minItemBytes` long; refused when they cannot all fit in what
    // remains.
    quint32 ReadCount(qsizetype minItemBytes);
    // Either string form: Unicode, or 8-bit text in the Windows-1252 code page.
    QString ReadString();
    // An object whose class must be `requiredBase` or derived from it. Null and back-reference tags
    // are refused: every object read is new and owned by the caller.
    std::unique_ptr<Persistent> ReadObject(const ClassInfo& requiredBase);
    // A count and that many objects of the list's class or classes derived from it, each at least
    // `minObjectBytes` long; an object of another class is refused with `wrongClass`.
    template <class List> List ReadObjectList(qsizetype minObjectBytes, const QString& wrongClass)
    {
        using T = typename List::value_type::element_type;
        List list;
        const quint32 count = ReadCount(minObjectBytes);
        for (quint32 i = 0; i < count; ++i) {
            std::unique_ptr<Persistent> read = ReadObject(T::Class);
            auto* object = dynamic_cast<T*>(read.get());
            if (!object) throw ArchiveError(ArchiveError::BadClass, wrongClass);
            read.release();
            list.emplace_back(object);
        }
        return list;
    }
    // The schema stored with the class of the object being read (for versionable classes).
    quint16 ObjectSchema() const { return m_objectSchema; }

    qsizetype Remaining() const { return m_in.size() - m_pos; }

private:
    const uchar* Take(qsizetype n);
    void Put(const void* data, qsizetype n);
    void WriteClassReference(quint32 index);

    // storing
    QByteArray* m_out = nullptr;
    QHash<const ClassInfo*, quint32> m_storedClasses;
    // loading
    QByteArray m_in;
    qsizetype m_pos = 0;
    const ClassRegistry* m_registry = nullptr;
    struct LoadedEntry {
        const ClassInfo* cls; // null for an object
        quint16 schema;
    };
    std::vector<LoadedEntry> m_loaded; // entry 0 stands for the null tag
    quint16 m_objectSchema = 0;
    // both: the number the next class or object gets
    quint32 m_mapCount = 1;
};
