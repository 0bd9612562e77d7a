#include "Archive.h"

#include "Text.h"

#include <QtEndian>

#include <cstring>

namespace {
constexpr quint16 kNullTag = 0;
constexpr quint16 kNewClassTag = 0xFFFF;
constexpr quint16 kClassTag = 0x8000;
constexpr quint16 kBigObjectTag = 0x7FFF;
constexpr quint32 kBigClassTag = 0x80000000u;
// Beyond this the numbering would no longer fit the big tags.
constexpr quint32 kMaxMapCount = 0x3FFFFFFEu;
// Class names are stored in a fixed buffer of 64 characters, terminator included.
constexpr quint16 kMaxClassName = 63;

QString className(QByteArrayView name)
{
    return QString::fromLatin1(name.data(), name.size());
}
} // namespace

ArchiveError::ArchiveError(Cause cause, QString detail)
    : m_cause(cause), m_detail(std::move(detail)), m_what(m_detail.toUtf8())
{
}

Archive::Archive(QByteArray* out) : m_out(out) {}

Archive::Archive(const QByteArray& in, const ClassRegistry& registry) : m_in(in), m_registry(&registry)
{
    m_loaded.push_back({nullptr, 0});
}

// ---- storing ----

void Archive::Put(const void* data, qsizetype n)
{
    m_out->append(static_cast<const char*>(data), n);
}

void Archive::WriteByte(quint8 v)
{
    Put(&v, 1);
}

void Archive::WriteWord(quint16 v)
{
    const quint16 le = qToLittleEndian(v);
    Put(&le, 2);
}

void Archive::WriteInt(qint32 v)
{
    WriteUInt(quint32(v));
}

void Archive::WriteUInt(quint32 v)
{
    const quint32 le = qToLittleEndian(v);
    Put(&le, 4);
}

void Archive::WriteDouble(double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    bits = qToLittleEndian(bits);
    Put(&bits, 8);
}

void Archive::WriteRaw(const void* data, qsizetype size)
{
    Put(data, size);
}

void Archive::WritePoint(QPoint p)
{
    WriteInt(p.x());
    WriteInt(p.y());
}

void Archive::WriteRect(const Rect& r)
{
    for (qint32 v : {r.left, r.top, r.right, r.bottom})
        WriteInt(v);
}

void Archive::WriteCount(quint32 n)
{
    if (n < 0xFFFF) {
        WriteWord(quint16(n));
        return;
    }
    WriteWord(0xFFFF);
    WriteUInt(n);
    if (n == 0xFFFFFFFFu) { // the 64-bit form follows its own escape
        const quint64 le = qToLittleEndian(quint64(n));
        Put(&le, 8);
    }
}

void Archive::WriteString(const QString& s)
{
    const quint32 n = quint32(s.size());
    WriteByte(0xFF);
    WriteWord(0xFFFE);
    if (n < 0xFF) {
        WriteByte(quint8(n));
    } else if (n < 0xFFFE) {
        WriteByte(0xFF);
        WriteWord(quint16(n));
    } else {
        WriteByte(0xFF);
        WriteWord(0xFFFF);
        WriteUInt(n);
    }
    const qsizetype start = m_out->size();
    m_out->resize(start + qsizetype(n) * 2);
    uchar* p = reinterpret_cast<uchar*>(m_out->data()) + start;
    for (QChar c : s) {
        qToLittleEndian(c.unicode(), p);
        p += 2;
    }
}

void Archive::WriteClassReference(quint32 index)
{
    if (index < kBigObjectTag) {
        WriteWord(quint16(kClassTag | index));
    } else {
        WriteWord(kBigObjectTag);
        WriteUInt(kBigClassTag | index);
    }
}

void Archive::WriteObject(Persistent& object)
{
    const ClassInfo& cls = object.RuntimeClass();
    if (m_mapCount >= kMaxMapCount)
        throw ArchiveError(ArchiveError::BadIndex, QStringLiteral("Too many objects to store."));
    const auto known = m_storedClasses.constFind(&cls);
    if (known != m_storedClasses.cend()) {
        WriteClassReference(*known);
    } else {
        const quint16 length = quint16(std::strlen(cls.name));
        WriteWord(kNewClassTag);
        WriteWord(cls.schema);
        WriteWord(length);
        WriteRaw(cls.name, length);
        m_storedClasses.insert(&cls, m_mapCount++);
    }
    ++m_mapCount; // the object's own number, which nothing refers to
    object.Serialize(*this);
}

// ---- loading ----

const uchar* Archive::Take(qsizetype n)
{
    if (n < 0 || n > Remaining())
        throw ArchiveError(ArchiveError::EndOfFile,
                           QStringLiteral("The data ends in the middle of a value."));
    const uchar* p = reinterpret_cast<const uchar*>(m_in.data()) + m_pos;
    m_pos += n;
    return p;
}

quint8 Archive::ReadByte()
{
    return *Take(1);
}
quint16 Archive::ReadWord()
{
    return qFromLittleEndian<quint16>(Take(2));
}
qint32 Archive::ReadInt()
{
    return qint32(ReadUInt());
}
quint32 Archive::ReadUInt()
{
    return qFromLittleEndian<quint32>(Take(4));
}

double Archive::ReadDouble()
{
    const quint64 bits = qFromLittleEndian<quint64>(Take(8));
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

void Archive::ReadRaw(void* data, qsizetype size)
{
    std::memcpy(data, Take(size), size_t(size));
}

QPoint Archive::ReadPoint()
{
    const qint32 x = ReadInt();
    return QPoint(x, ReadInt());
}

Rect Archive::ReadRect()
{
    Rect r;
    r.left = ReadInt();
    r.top = ReadInt();
    r.right = ReadInt();
    r.bottom = ReadInt();
    return r;
}

quint32 Archive::ReadCount(qsizetype minItemBytes)
{
    quint64 n = ReadWord();
    if (n == 0xFFFF) {
        n = ReadUInt();
        if (n == 0xFFFFFFFFu) n = qFromLittleEndian<quint64>(Take(8));
    }
    const quint64 fits = quint64(Remaining()) / quint64(minItemBytes > 0 ? minItemBytes : 1);
    if (n > fits)
        throw ArchiveError(ArchiveError::BadCount,
                           QStringLiteral("A count of %1 items is larger than the rest of the data.").arg(n));
    return quint32(n);
}

QString Archive::ReadString()
{
    bool unicode = false;
    quint64 length = ReadByte();
    if (length == 0xFF) {
        quint16 w = ReadWord();
        if (w == 0xFFFE) {
            unicode = true;
            length = ReadByte();
            if (length == 0xFF) w = ReadWord();
        }
        if (length == 0xFF) {
            length = w;
            if (w == 0xFFFF) {
                length = ReadUInt();
                if (length == 0xFFFFFFFFu) length = qFromLittleEndian<quint64>(Take(8));
            }
        }
    }
    const quint64 bytes = unicode ? length * 2 : length;
    if (length > quint64(Remaining()) || bytes > quint64(Remaining()))
        throw ArchiveError(
            ArchiveError::BadCount,
            QStringLiteral("A text of %1 characters is longer than the rest of the data.").arg(length));
    const uchar* p = Take(qsizetype(bytes));
    if (!unicode) return text::fromAnsi(QByteArray(reinterpret_cast<const char*>(p), qsizetype(bytes)));
    QString s(qsizetype(length), Qt::Uninitialized);
    QChar* out = s.data();
    for (quint64 i = 0; i < length; ++i)
        out[i] = QChar(qFromLittleEndian<quint16>(p + 2 * i));
    return s;
}

std::unique_ptr<Persistent> Archive::ReadObject(const ClassInfo& requiredBase)
{
    const quint16 tag = ReadWord();
    quint32 objectTag;
    if (tag == kBigObjectTag)
        objectTag = ReadUInt();
    else
        objectTag = (quint32(tag & kClassTag) << 16) | (tag & ~kClassTag);

    if (!(objectTag & kBigClassTag)) {
        if (objectTag == kNullTag)
            throw ArchiveError(ArchiveError::BadIndex,
                               QStringLiteral("An empty entry stands where an object belongs."));
        throw ArchiveError(ArchiveError::BadIndex, QStringLiteral("An object is stored twice."));
    }

    const ClassInfo* cls = nullptr;
    quint16 schema = 0;
    if (tag == kNewClassTag) {
        schema = ReadWord();
        const quint16 length = ReadWord();
        if (length == 0 || length > kMaxClassName)
            throw ArchiveError(ArchiveError::BadClass,
                               QStringLiteral("A class name of %1 characters is not valid.").arg(length));
        const QByteArrayView name(reinterpret_cast<const char*>(Take(length)), length);
        cls = m_registry->find(name);
        if (!cls)
            throw ArchiveError(ArchiveError::BadClass,
                               QStringLiteral("Unknown class \"%1\".").arg(className(name)));
        if (schema != cls->schema && !cls->versionable)
            throw ArchiveError(ArchiveError::BadSchema,
                               QStringLiteral("Version %1 of class \"%2\" cannot be read.")
                                   .arg(schema)
                                   .arg(className(name)));
        if (m_mapCount >= kMaxMapCount)
            throw ArchiveError(ArchiveError::BadIndex, QStringLiteral("Too many objects."));
        m_loaded.push_back({cls, schema});
        ++m_mapCount;
    } else {
        const quint32 index = objectTag & ~kBigClassTag;
        if (index == 0 || index >= m_loaded.size() || !m_loaded[index].cls)
            throw ArchiveError(
                ArchiveError::BadIndex,
                QStringLiteral("A class reference (%1) refers to no class read before.").arg(index));
        cls = m_loaded[index].cls;
        schema = m_loaded[index].schema;
    }

    if (!cls->IsDerivedFrom(requiredBase) || !cls->create)
        throw ArchiveError(ArchiveError::BadClass,
                           QStringLiteral("Objects of class \"%1\" do not belong here.")
                               .arg(QString::fromLatin1(cls->name)));
    if (m_mapCount >= kMaxMapCount)
        throw ArchiveError(ArchiveError::BadIndex, QStringLiteral("Too many objects."));
    m_loaded.push_back({nullptr, 0});
    ++m_mapCount;

    std::unique_ptr<Persistent> object = cls->create();
    m_objectSchema = schema;
    object->Serialize(*this);
    return object;
}
