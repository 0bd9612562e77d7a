// The desktop entry and the file type installed in place of run-time shell registration.
#include <gtest/gtest.h>

#include <QFile>
#include <QHash>

namespace {
QString resource(const char* name)
{
    QString root = QString::fromLocal8Bit(qgetenv("TORVEX_SOURCE_DIR"));
    if (root.isEmpty()) root = QStringLiteral(TORVEX_SOURCE_DIR_DEFAULT);
    return root + QStringLiteral("/resources/") + QString::fromLatin1(name);
}
} // namespace

TEST(DesktopIntegrationTest, TheDesktopEntryOpensSchematicFilesWithTheProgram)
{
    QFile desktop(resource("torvex2.desktop"));
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(desktop.readAll()).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.value(0), QStringLiteral("[Desktop Entry]"));
    QHash<QString, QString> entry;
    for (const QString& line : lines)
        if (const qsizetype eq = line.indexOf(QLatin1Char('=')); eq > 0)
            entry.insert(line.left(eq), line.mid(eq + 1));
    EXPECT_EQ(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
    EXPECT_EQ(entry.value(QStringLiteral("Exec")), QStringLiteral("torvex2 %f"));
    EXPECT_EQ(entry.value(QStringLiteral("MimeType")), QStringLiteral("application/x-torvex-schematic;"));

    QFile mime(resource("torvex2-mime.xml"));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    const QByteArray xml = mime.readAll();
    EXPECT_TRUE(xml.contains("<mime-type type=\"application/x-torvex-schematic\">"));
    EXPECT_TRUE(xml.contains("<glob pattern=\"*.cas\"/>"));
    EXPECT_TRUE(xml.contains("<comment>Torvex.Document</comment>"));
    EXPECT_FALSE(xml.contains("*.cir")); // netlists are not registered
}
