#pragma once
// A temporary archive with recorded messages.
#include "ArchiveSandbox.h"
#include "OrliskCombo.h"
#include "UiServices.h"

#include <gtest/gtest.h>

inline void PrintTo(const QByteArray& b, std::ostream* os)
{
    *os << '"' << b.toStdString() << '"';
}

struct ArchiveFixture : ::testing::Test, ArchiveSandbox {
    ScriptedUiServices ui;
    const QString root = QStringLiteral("C:\\Experiments\\");
};

// A ribbon list in memory.
struct ListCombo : OrliskCombo {
    QStringList items;
    int current = -1;

    ListCombo(QStringList texts = {}, int selected = -1) : items(std::move(texts)), current(selected) {}
    void Clear() override { items.clear(), current = -1; }
    void Add(const QString& text) override { items << text; }
    QStringList Items() const override { return items; }
    int CurrentIndex() const override { return current; }
    void Select(int index) override { current = index; }
};
