#pragma once

// The check scripts of the source tree (tools/check-layers,
// tools/check-disk-changes), run by the tests that show what they catch on
// a tree of their own.
#include "platform/Process.h"

#include <QString>

// Runs tools/<name> of the source tree the tests were built from on the
// tree at the root, waiting for its end.
inline lq::ProcessResult runSourceTool(const QString& name, const QString& root)
{
    return lq::runProcess(QStringLiteral(LQ_SOURCE_DIR "/tools/") + name, { root });
}
