#include "Archive.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(char(b));
    return out;
}

QByteArray store(const std::function<void(Archive&)>& write)
{
    QByteArray out;
    Archive ar(&out);
    write(ar);
    return out;
}

// A small family of classes: Base is versionable, Derived is not, Stranger is unrelated.
class Base : public Persistent {
public:
    static const ClassInfo Class;
    const ClassInfo& RuntimeClass() const override { return Class; }
    void Serialize(Archive& ar) override
    {
        if (ar.IsStoring())
            ar.WriteInt(value);
        else
            value = ar.ReadInt();
    }
    qint32 value = 0;
};
const ClassInfo Base::Class = {"CBase", 3, true, nullptr, &CreatePersistent<Base>};

class Derived : public Base {
public:
    static const ClassInfo Class;
    const ClassInfo& RuntimeClass() const override { return Class; }
};
const ClassInfo Derived::Class = {"CDerived", 3, false, &Base::Class, &CreatePersistent<Derived>};

class Stranger : public Persistent {
public:
    static const ClassInfo Class;
    const ClassInfo& RuntimeClass() const override { return Class; }
    void Serialize(Archive&) override {}
};
const ClassInfo Stranger::Class = {"CStranger", 1, false, nullptr, &CreatePersistent<Stranger>};

ClassRegistry& registry()
{
    static ClassRegistry r;
    static bool once = (r.add(Base::Class), r.add(Derived::Class), r.add(Stranger::Class), true);
    (void)once;
    return r;
}

ArchiveError::Cause loadError(const QByteArray& data, const std::function<void(Archive&)>& read)
{
    Archive ar(data, registry());
    try {
        read(ar);
    } catch (const ArchiveError& e) {
        return e.cause();
    }
    ADD_FAILURE() << "no error for " << data.toHex().constData();
    return ArchiveError::BadValue;
}

} // namespace

TEST(ArchiveFormat, PrimitivesAreLittleEndian)
{
    const QByteArray out = store([](Archive& ar) {
        ar.WriteByte(0xAB);
        ar.WriteWord(0x1234);
        ar.WriteInt(-12240);
        ar.WriteUInt(0xDEADBEEF);
        ar.WriteDouble(1.5);
    });
    EXPECT_EQ(out, bytes({0xAB, 0x34, 0x12, 0x30, 0xD0, 0xFF, 0xFF, 0xEF, 0xBE, 0xAD, 0xDE, 0, 0, 0, 0, 0, 0,
                          0xF8, 0x3F}));
    Archive ar(out);
    EXPECT_EQ(ar.ReadByte(), 0xAB);
    EXPECT_EQ(ar.ReadWord(), 0x1234);
    EXPECT_EQ(ar.ReadInt(), -12240);
    EXPECT_EQ(ar.ReadUInt(), 0xDEADBEEFu);
    EXPECT_EQ(ar.ReadDouble(), 1.5);
    EXPECT_EQ(ar.Remaining(), 0);
    EXPECT_EQ(loadError(out.left(1), [](Archive& a) { a.ReadWord(); }), ArchiveError::EndOfFile);
}

TEST(ArchiveFormat, CountsSwitchToTheLongFormAtFFFF)
{
    const struct {
        quint32 n;
        QByteArray encoded;
    } cases[] = {
        {0, bytes({0, 0})},
        {0xFFFE, bytes({0xFE, 0xFF})},
        {0xFFFF, bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0})},
        {0x10000, bytes({0xFF, 0xFF, 0, 0, 1, 0})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(store([&](Archive& ar) { ar.WriteCount(c.n); }), c.encoded) << c.n;
        // The items a count announces must fit in what follows it.
        QByteArray data = c.encoded + QByteArray(qsizetype(c.n), '\0');
        Archive ar(data);
        EXPECT_EQ(ar.ReadCount(1), c.n);
        if (c.n > 0) {
            data.chop(1);
            EXPECT_EQ(loadError(data, [](Archive& a) { a.ReadCount(1); }), ArchiveError::BadCount) << c.n;
        }
    }
    // A count too large for any file, in the 32-bit and the 64-bit form.
    EXPECT_EQ(loadError(bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}), [](Archive& a) { a.ReadCount(4); }),
              ArchiveError::BadCount);
    EXPECT_EQ(loadError(bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 0, 0, 0, 0x80}),
                        [](Archive& a) { a.ReadCount(1); }),
              ArchiveError::BadCount);
}

TEST(ArchiveFormat, StringLengthsTakeTheirThreeForms)
{
    const struct {
        int length;
        QByteArray prefix;
    } cases[] = {
        {0, bytes({0xFF, 0xFE, 0xFF, 0})},
        {254, bytes({0xFF, 0xFE, 0xFF, 0xFE})},
        {255, bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0})},
        {0xFFFD, bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF})},
        {0xFFFE, bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0})},
        {0x10000, bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 1, 0})},
    };
    for (const auto& c : cases) {
        const QString s(c.length, QChar(u'\x00e9'));
        const QByteArray out = store([&](Archive& ar) { ar.WriteString(s); });
        EXPECT_EQ(out.left(c.prefix.size()), c.prefix) << c.length;
        EXPECT_EQ(out.size(), c.prefix.size() + 2 * c.length) << c.length;
        Archive ar(out);
        EXPECT_EQ(ar.ReadString(), s) << c.length;
        EXPECT_EQ(ar.Remaining(), 0);
    }
    // Every code unit comes back, unpaired surrogates and NULs included.
    QString units = QStringLiteral("R1 \u00b5 ");
    units += QChar(0xD800);
    units += QChar(0);
    const QByteArray unitBytes = store([&](Archive& ar) { ar.WriteString(units); });
    EXPECT_EQ(Archive(unitBytes).ReadString(), units);
    // After the Unicode marker a word of 0xFFFE is a length, not a second marker.
    Archive odd(bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF}) + QByteArray(2 * 0xFFFE, 'a'));
    EXPECT_EQ(odd.ReadString().size(), 0xFFFE);
    // An 8-bit string has no marker: its length byte comes first, or 0xFF and a word. Windows-1252.
    Archive ansi(bytes({3, 'A', 0x80, 0xE9, 0xFF, 0x02, 0x00, 'x', 0x9F}));
    EXPECT_EQ(ansi.ReadString(), QString::fromUtf16(u"A\u20AC\u00E9"));
    EXPECT_EQ(ansi.ReadString(), QString::fromUtf16(u"x\u0178"));
}

TEST(ArchiveFormat, DamagedStringsAreRefused)
{
    const QByteArray cases[] = {
        bytes({}),
        bytes({5, 'a', 'b'}),                                                // 8-bit text cut short
        bytes({0xFF, 0xFE, 0xFF, 2, 'a', 0}),                                // Unicode text cut short
        bytes({0xFF, 0xFE}),                                                 // marker cut short
        bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}), // 2^31 characters
        bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8}),
    };
    for (const QByteArray& data : cases) {
        const ArchiveError::Cause cause = loadError(data, [](Archive& a) { a.ReadString(); });
        EXPECT_TRUE(cause == ArchiveError::EndOfFile || cause == ArchiveError::BadCount)
            << data.toHex().constData();
    }
}

TEST(ArchiveFormat, ClassesAndObjectsShareOneNumbering)
{
    Base a, c;
    Derived b, d;
    a.value = 1, b.value = 2, c.value = 3, d.value = 4;
    const QByteArray out = store([&](Archive& ar) {
        for (Persistent* p : std::initializer_list<Persistent*>{&a, &b, &c, &d})
            ar.WriteObject(*p);
    });
    // CBase gets 1 and its object 2; CDerived 3 and its object 4; then references to 1 and 3.
    const QByteArray expected = bytes({0xFF, 0xFF, 3, 0, 5, 0}) + "CBase" + bytes({1, 0, 0, 0}) +
                                bytes({0xFF, 0xFF, 3, 0, 8, 0}) + "CDerived" + bytes({2, 0, 0, 0}) +
                                bytes({0x01, 0x80, 3, 0, 0, 0}) + bytes({0x03, 0x80, 4, 0, 0, 0});
    EXPECT_EQ(out.toHex(' '), expected.toHex(' '));

    Archive ar(out, registry());
    for (int i = 1; i <= 4; ++i) {
        std::unique_ptr<Persistent> p = ar.ReadObject(Base::Class);
        ASSERT_TRUE(p);
        EXPECT_EQ(&p->RuntimeClass(), i % 2 ? &Base::Class : &Derived::Class);
        EXPECT_EQ(static_cast<Base&>(*p).value, i);
    }
}

TEST(ArchiveFormat, BigTagsPastTheSmallNumbers)
{
    // 40000 objects push the numbering past 0x7FFF; a class first met after that is referred to in
    // the 32-bit form.
    std::vector<std::unique_ptr<Base>> objects;
    for (int i = 0; i < 40000; ++i)
        objects.push_back(std::make_unique<Base>());
    objects.push_back(std::make_unique<Derived>());
    objects.push_back(std::make_unique<Derived>());
    for (size_t i = 0; i < objects.size(); ++i)
        objects[i]->value = int(i);
    const QByteArray out = store([&](Archive& ar) {
        for (auto& o : objects)
            ar.WriteObject(*o);
    });
    // CBase is 1, its objects 2 to 40001, CDerived 40002 = 0x9C42: 0x7FFF, then 0x80009C42.
    EXPECT_TRUE(out.endsWith(bytes({0xFF, 0x7F, 0x42, 0x9C, 0x00, 0x80, 40001 & 0xFF, 40001 >> 8, 0, 0})));
    Archive ar(out, registry());
    for (size_t i = 0; i < objects.size(); ++i) {
        std::unique_ptr<Persistent> p = ar.ReadObject(Base::Class);
        ASSERT_EQ(static_cast<Base&>(*p).value, int(i));
        ASSERT_EQ(&p->RuntimeClass(), &objects[i]->RuntimeClass());
    }
    EXPECT_EQ(ar.Remaining(), 0);
}

TEST(ArchiveFormat, DamagedTagsAreRefused)
{
    const QByteArray base = bytes({0xFF, 0xFF, 3, 0, 5, 0}) + "CBase" + bytes({1, 0, 0, 0});
    const struct {
        const char* what;
        QByteArray data;
        ArchiveError::Cause cause;
    } cases[] = {
        {"null tag", bytes({0, 0}), ArchiveError::BadIndex},
        {"back reference", base + bytes({2, 0}), ArchiveError::BadIndex},
        {"big back reference", base + bytes({0xFF, 0x7F, 2, 0, 0, 0}), ArchiveError::BadIndex},
        {"class reference to an object", base + bytes({0x02, 0x80}), ArchiveError::BadIndex},
        {"class reference to nothing", bytes({0x05, 0x80}), ArchiveError::BadIndex},
        {"class reference 0", bytes({0x00, 0x80}), ArchiveError::BadIndex},
        {"big class reference to nothing", base + bytes({0xFF, 0x7F, 9, 0, 0, 0x80}), ArchiveError::BadIndex},
        {"unknown class", bytes({0xFF, 0xFF, 3, 0, 4, 0}) + "CFoo", ArchiveError::BadClass},
        {"case of the name", bytes({0xFF, 0xFF, 3, 0, 5, 0}) + "cbase", ArchiveError::BadClass},
        {"empty name", bytes({0xFF, 0xFF, 3, 0, 0, 0}), ArchiveError::BadClass},
        {"long name", bytes({0xFF, 0xFF, 3, 0, 64, 0}) + QByteArray(64, 'C'), ArchiveError::BadClass},
        {"name cut short", bytes({0xFF, 0xFF, 3, 0, 8, 0}) + "CDer", ArchiveError::EndOfFile},
        {"unrelated class", bytes({0xFF, 0xFF, 1, 0, 9, 0}) + "CStranger", ArchiveError::BadClass},
        {"schema of a fixed class", bytes({0xFF, 0xFF, 2, 0, 8, 0}) + "CDerived" + bytes({1, 0, 0, 0}),
         ArchiveError::BadSchema},
        {"object cut short", bytes({0xFF, 0xFF, 3, 0, 5, 0}) + "CBase" + bytes({1, 0}),
         ArchiveError::EndOfFile},
    };
    const auto readObjects = [](Archive& a) {
        for (;;)
            a.ReadObject(Base::Class);
    };
    for (const auto& c : cases)
        EXPECT_EQ(loadError(c.data, readObjects), c.cause) << c.what;
    // A versionable class reads whatever schema it was stored with.
    Archive ar(bytes({0xFF, 0xFF, 7, 0, 5, 0}) + "CBase" + bytes({9, 0, 0, 0}), registry());
    EXPECT_EQ(static_cast<Base&>(*ar.ReadObject(Base::Class)).value, 9);
    EXPECT_EQ(ar.ObjectSchema(), 7);
}
