// Every test program of this folder keeps the profile in a temporary folder, never the user's.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include <memory>

namespace {
class SettingsSandbox : public ::testing::Environment {
public:
    void SetUp() override
    {
        m_Dir = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_Dir->path());
    }
    void TearDown() override { m_Dir.reset(); }

private:
    std::unique_ptr<QTemporaryDir> m_Dir;
};

[[maybe_unused]] ::testing::Environment* const g_sandbox =
    ::testing::AddGlobalTestEnvironment(new SettingsSandbox);
} // namespace
