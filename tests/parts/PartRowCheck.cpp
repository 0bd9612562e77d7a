#include "PartRowCheck.h"

#include "ComponentClasses.h"
#include "ComponentTypeId.h"
#include "DcRecorder.h"

#include <gtest/gtest.h>

CComponent& placePart(PartsHost& host, std::unique_ptr<CComponent> part, QPoint at)
{
    CComponent& ref = host.add(std::move(part));
    ref.Position = at;
    ref.CreateAttachments(host, at.x(), at.y());
    return ref;
}

std::vector<CComponent*> objectsAfter(PartsHost& host, const CComponent& part)
{
    std::vector<CComponent*> out;
    bool seen = false;
    for (const auto& object : host.list) {
        if (seen) out.push_back(object.get());
        seen = seen || object.get() == &part;
    }
    return out;
}

void turnPart(PartsHost& host, CComponent& part, int orientation)
{
    part.Orientation = orientation;
    for (auto it = host.list.begin(); it != host.list.end(); ++it)
        if (it->get() == &part) part.PlaceAttachments(host, it);
}

void checkPartRow(const PartRow& row)
{
    SCOPED_TRACE(row.className);
    const ComponentClass* cls = FindComponentClass(row.className);
    ASSERT_TRUE(cls && cls->make);
    std::unique_ptr<CComponent> made = cls->make(row.typeId);
    EXPECT_STREQ(made->RuntimeClass().name, row.className);
    EXPECT_EQ(std::tuple(made->TypeId, made->Text, made->State, made->Orientation, made->DialogTemplate()),
              std::tuple(row.typeId, QString(row.letter), 0, 1, row.dialogTemplate));

    PartsHost host;
    host.counters[char16_t(row.letter[0])] = 6;
    const QPoint at(1440, -2880);
    CComponent& part = placePart(host, std::move(made), at);
    const std::vector<CComponent*> after = objectsAfter(host, part);
    const QStringList pins = QString(row.pins).split(' ');
    ASSERT_EQ(int(after.size()), part.GetAttachmentCount());
    ASSERT_EQ(after.size(), size_t(3 + pins.size()));
    const QString name = QString(row.letter) + "7";
    EXPECT_EQ(part.Text, name);
    QStringList texts;
    for (size_t i = 0; i < after.size(); ++i) {
        const CComponent& a = *after[i];
        texts << a.Text;
        EXPECT_STREQ(a.RuntimeClass().name, "CDrawing");
        EXPECT_EQ(std::tuple(a.TypeId, a.State, a.Visible, a.Extent),
                  std::tuple(i < 3 ? TypeLabel : TypeTerminal, 1, i == 2 ? 0 : 1, Rect{}))
            << i;
    }
    EXPECT_EQ(texts, QStringList({name, row.value, row.ic}) + pins);

    for (int o = 1; o <= 4; ++o) {
        turnPart(host, part, o);
        std::vector<QPoint> got;
        for (size_t i = 3; i < after.size(); ++i)
            got.push_back(after[i]->Position - at);
        EXPECT_EQ(got, row.pinsAt[size_t(o - 1)]) << "orientation " << o;
        RecordingDc dc;
        part.Draw(dc);
        const Rect& e = row.extents[size_t(o - 1)];
        EXPECT_EQ(part.Extent, (Rect{at.x() + e.left, at.y() + e.top, at.x() + e.right, at.y() + e.bottom}))
            << "orientation " << o;
    }
    turnPart(host, part, 1);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(after[i]->Position - at, row.labels[i]) << i;
    // An orientation without a figure moves pin 1 alone and draws nothing.
    part.Position = QPoint(0, 0);
    turnPart(host, part, 5);
    EXPECT_EQ(after[3]->Position, QPoint(0, 0));
    EXPECT_EQ(after[4]->Position, at + row.pinsAt[0][1]);
    RecordingDc none;
    part.Draw(none);
    EXPECT_TRUE(none.Entries().empty());

    // The figure of a part being placed: grey, solid, 15 twips wide.
    const std::unique_ptr<CComponent> fresh = cls->make(row.typeId);
    RecordingDc dc;
    fresh->Draw(dc);
    EXPECT_EQ(dc.Describe(), QString(row.figure));
    ASSERT_FALSE(dc.Entries().empty());
    EXPECT_EQ(dc.Entries()[0].pen, (Pen(Pen::Solid, 15, QColor(128, 128, 128))));
    EXPECT_EQ(dc.GetCurrentPen(), Pen()) << "the old pen is put back";
}
