#pragma once

#include <QByteArray>

// Points the program's helper-tool lookup at the tools built beside the tests.
inline void useBuiltHelperTools()
{
    qputenv("LUMENQUILL_LIBEXEC", QByteArray(LQ_TEST_LIBEXEC));
}
