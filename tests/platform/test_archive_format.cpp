#include "Archive.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
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
    EXPECT_EQ(out, hex("ab 34 12 30 d0 ff ff ef be ad de 00 00 00 00 00 00 f8 3f"));
    Archive ar(out);
    EXPECT_EQ(ar.ReadByte(), 0xAB);
    EXPECT_EQ(ar.ReadWord(), 0x1234);
    EXPECT_EQ(ar.ReadInt(), -12240);
    EXPECT_EQ(ar.ReadUInt(), 0xDEADBEEFu);
    EXPECT_EQ(ar.ReadDouble(), 1.5);
    EXPECT_EQ(ar.Remaining(), 0);
    EXPECT_EQ(loadError(out.left(1), [](Archive& a) { a.ReadWord(); }), ArchiveError::EndOfFile);
    // A negative size is refused, never taken as a huge copy.
    char sink[4] = {};
    for (qsizetype size : {qsizetype(-1), qsizetype(-4), std::numeric_limits<qsizetype>::min()})
        EXPECT_EQ(loadError(out, [&](Archive& a) { a.ReadRaw(sink, size); }), ArchiveError::EndOfFile)
            << size;
}

TEST(ArchiveFormat, CountsSwitchToTheLongFormAtFFFF)
{
    const std::pair<quint32, QByteArray> cases[] = {{0, hex("0000")},
                                                    {0xFFFE, hex("feff")},
                                                    {0xFFFF, hex("ffffffff0000")},
                                                    {0x10000, hex("ffff00000100")}};
    for (const auto& [n, encoded] : cases) {
        EXPECT_EQ(store([&](Archive& ar) { ar.WriteCount(n); }), encoded) << n;
        // The items a count announces must fit in what follows it.
        QByteArray data = encoded + QByteArray(qsizetype(n), '\0');
        EXPECT_EQ(Archive(data).ReadCount(1), n);
        if (n > 0) {
            data.chop(1);
            EXPECT_EQ(loadError(data, [](Archive& a) { a.ReadCount(1); }), ArchiveError::BadCount) << n;
        }
    }
    // A count too large for any file, in the 32-bit and the 64-bit form.
    EXPECT_EQ(loadError(hex("ff ff ff ff ff 7f"), [](Archive& a) { a.ReadCount(4); }),
              ArchiveError::BadCount);
    EXPECT_EQ(loadError(hex("ff ff ff ff ff ff 01 00 00 00 00 00 00 80"), [](Archive& a) { a.ReadCount(1); }),
              ArchiveError::BadCount);
}

TEST(ArchiveFormat, StringLengthsTakeTheirThreeForms)
{
    // clang-format off
    const std::pair<int, QByteArray> cases[] = {
        {0, hex("fffeff 00")},          {254, hex("fffeff fe")},          {255, hex("fffeff ff ff00")},
        {0xFFFD, hex("fffeff ff fdff")}, {0xFFFE, hex("fffeff ff ffff feff0000")},
        {0x10000, hex("fffeff ff ffff 00000100")}};
    // clang-format on
    for (const auto& [length, prefix] : cases) {
        const QString s(length, QChar(u'\x00e9'));
        const QByteArray out = store([&](Archive& ar) { ar.WriteString(s); });
        EXPECT_EQ(out.left(prefix.size()), prefix) << length;
        EXPECT_EQ(out.size(), prefix.size() + 2 * length) << length;
        Archive ar(out);
        EXPECT_EQ(ar.ReadString(), s) << length;
        EXPECT_EQ(ar.Remaining(), 0);
    }
    // Every code unit comes back, unpaired surrogates and NULs included.
    QString units = QStringLiteral("R1 \u00b5 ");
    units += QChar(0xD800);
    units += QChar(0);
    const QByteArray unitBytes = store([&](Archive& ar) { ar.WriteString(units); });
    EXPECT_EQ(Archive(unitBytes).ReadString(), units);
    // After the Unicode marker a word of 0xFFFE is a length, not a second marker.
    Archive odd(hex("ff fe ff ff fe ff") + QByteArray(2 * 0xFFFE, 'a'));
    EXPECT_EQ(odd.ReadString().size(), 0xFFFE);
    // An 8-bit string has no marker: its length byte comes first, or 0xFF and a word. Windows-1252.
    Archive ansi(hex("03 41 80 e9 ff 02 00 78 9f"));
    EXPECT_EQ(ansi.ReadString(), QString::fromUtf16(u"A\u20AC\u00E9"));
    EXPECT_EQ(ansi.ReadString(), QString::fromUtf16(u"x\u0178"));
}

TEST(ArchiveFormat, DamagedStringsAreRefused)
{
    const QByteArray cases[] = {
        hex(""),
        hex("05 61 62"),                      // 8-bit text cut short
        hex("ff fe ff 02 61 00"),             // Unicode text cut short
        hex("ff fe"),                         // marker cut short
        hex("ff fe ff ff ff ff ff ff ff 7f"), // 2^31 characters
        hex("ff fe ff ff ff ff ff ff ff ff 01 02 03 04 05 06 07 08"),
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
    const QByteArray expected = hex("ff ff 03 00 05 00") + "CBase" + hex("01 00 00 00") +
                                hex("ff ff 03 00 08 00") + "CDerived" + hex("02 00 00 00") +
                                hex("01 80 03 00 00 00") + hex("03 80 04 00 00 00");
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
    EXPECT_TRUE(out.endsWith(hex("ff7f 429c0080 419c0000")));
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
    const QByteArray base = hex("ff ff 03 00 05 00") + "CBase" + hex("01 00 00 00");
    const struct {
        const char* what;
        QByteArray data;
        ArchiveError::Cause cause;
    } cases[] = {
        {"null tag", hex("00 00"), ArchiveError::BadIndex},
        {"back reference", base + hex("02 00"), ArchiveError::BadIndex},
        {"big back reference", base + hex("ff 7f 02 00 00 00"), ArchiveError::BadIndex},
        {"class reference to an object", base + hex("02 80"), ArchiveError::BadIndex},
        {"class reference to nothing", hex("05 80"), ArchiveError::BadIndex},
        {"class reference 0", hex("00 80"), ArchiveError::BadIndex},
        {"big class reference to nothing", base + hex("ff 7f 09 00 00 80"), ArchiveError::BadIndex},
        {"unknown class", hex("ff ff 03 00 04 00") + "CFoo", ArchiveError::BadClass},
        {"case of the name", hex("ff ff 03 00 05 00") + "cbase", ArchiveError::BadClass},
        {"empty name", hex("ff ff 03 00 00 00"), ArchiveError::BadClass},
        {"long name", hex("ff ff 03 00 40 00") + QByteArray(64, 'C'), ArchiveError::BadClass},
        {"name cut short", hex("ff ff 03 00 08 00") + "CDer", ArchiveError::EndOfFile},
        {"unrelated class", hex("ff ff 01 00 09 00") + "CStranger", ArchiveError::BadClass},
        {"schema of a fixed class", hex("ff ff 02 00 08 00") + "CDerived" + hex("01 00 00 00"),
         ArchiveError::BadSchema},
        {"object cut short", hex("ff ff 03 00 05 00") + "CBase" + hex("01 00"), ArchiveError::EndOfFile},
    };
    const auto readObjects = [](Archive& a) {
        for (;;)
            a.ReadObject(Base::Class);
    };
    for (const auto& c : cases)
        EXPECT_EQ(loadError(c.data, readObjects), c.cause) << c.what;
    // A versionable class reads whatever schema it was stored with.
    Archive ar(hex("ff ff 07 00 05 00") + "CBase" + hex("09 00 00 00"), registry());
    EXPECT_EQ(static_cast<Base&>(*ar.ReadObject(Base::Class)).value, 9);
    EXPECT_EQ(ar.ObjectSchema(), 7);
}
