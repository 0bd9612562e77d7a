#pragma once
// Double-clicks the one item of a list that has this text, as the user does: a click first.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>

inline void DoubleClickItem(QListWidget* list, const QString& text)
{
    const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << text.toStdString();
    const QPoint at = list->visualItemRect(items[0]).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}
