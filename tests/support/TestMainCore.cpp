// Test entry for headless tests: a core application so the SQL drivers load.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "TestServer.h"
#include "foundation/Types.h"

int main(int argc, char** argv)
{
    PinLocalTimeZone();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (const int code = SkipWithoutServer()) return code;
    return RUN_ALL_TESTS();
}
