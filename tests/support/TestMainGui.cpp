// Test entry for widget tests (run on the offscreen platform).
#include <QApplication>
#include <gtest/gtest.h>

#include "TestServer.h"
#include "foundation/Types.h"

int main(int argc, char** argv)
{
    PinLocalTimeZone();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (const int code = SkipWithoutServer()) return code;
    return RUN_ALL_TESTS();
}
