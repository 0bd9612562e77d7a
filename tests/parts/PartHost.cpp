#include "PartHost.h"

#include "ComponentClasses.h"
#include "ComponentTypeId.h"
#include "DcRecorder.h"

#include <gtest/gtest.h>

void checkPartRow(const PartRow& row)
{
    SCOPED_TRACE(row.className);
    const ComponentClass* cls = FindComponentClass(row.className);
    ASSERT_TRUE(cls && cls->make);
    std::unique_ptr<CComponent> made = cls->make(row.typeId);
    EXPECT_STREQ(made->RuntimeClass().name, row.className);
    EXPECT_EQ(std::tuple(made->TypeId, made->Text, made->State, made->Orientation, made->DialogTemplate()),
              std::tuple(row.typeId, QString(row.letter), 0, 1, row.dialogTemplate));

    PartHost host;
    host.counters[QLatin1Char(row.letter[0])] = 6;
    const QPoint at(1440, -2880);
    CComponent& part = host.Place(std::move(made), at);
    const std::vector<CComponent*> after = host.After(part);
    const QStringList pins = QString(row.pins).split(' ');
    ASSERT_EQ(int(after.size()), part.GetAttachmentCount());
    ASSERT_EQ(after.size(), size_t(3 + pins.size()));
    const QString name = QString(row.letter) + "7";
    EXPECT_EQ(part.Text, name);
    QStringList texts;
    for (const CComponent* a : after) {
        texts << a->Text;
        EXPECT_EQ(std::tuple(a->State, a->Extent), std::tuple(1, Rect{}));
    }
    EXPECT_EQ(texts, QStringList({name, row.value, row.ic}) + pins);
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i]->TypeId, i < 3 ? TypeLabel : TypeTerminal) << i;
        EXPECT_EQ(after[i]->Visible, i == 2 ? 0 : 1) << i;
    }

    for (int o = 1; o <= 4; ++o) {
        host.Turn(part, o);
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
    host.Turn(part, 1);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(after[i]->Position - at, row.labels[i]) << i;
    // An orientation without a figure moves pin 1 alone and draws nothing.
    part.Position = QPoint(0, 0);
    host.Turn(part, 5);
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
