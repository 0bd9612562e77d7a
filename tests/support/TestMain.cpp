// The main of every test program. A program whose tests open windows or dialogs is built with
// TORVEX_TEST_WIDGETS and runs under a widget application.
#include <gtest/gtest.h>

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <clocale>

#ifdef TORVEX_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv)
{
    // Listing the tests at build time happens outside CTest's environment, and needs no screen either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    // As the program does: numbers in the C locale, whatever the application took from the user's.
    std::setlocale(LC_NUMERIC, "C");
    // The profile lives in a temporary folder, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir profile;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, profile.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, profile.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
