#pragma once
// The test entries' answer to a run on the server without one: skipped on a developer's machine,
// a failure under CI (where ./test always starts the private server).
#include <QtGlobal>
#include <cstdio>

// 0 to go on; otherwise the exit code.
inline int SkipWithoutServer()
{
    if (qEnvironmentVariable("QIHENG_SPC_TEST_ENGINE") != QLatin1String("postgres")) return 0;
    if (!qEnvironmentVariableIsEmpty("QIHENG_SPC_PG_URL")) return 0;
    if (qEnvironmentVariable("CI") == QLatin1String("true")) {
        std::fprintf(stderr, "QIHENG_SPC_PG_URL not set under CI: the PostgreSQL server did not start\n");
        return 1;
    }
    std::printf("PostgreSQL server not available: the server run is skipped\n");
    return 0;
}
