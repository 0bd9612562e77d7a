// The archive tests include the browser's dialogs, which need a widget application.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv)
{
    // Listing the tests at build time has no display either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
