#pragma once

#include <QString>

namespace lq {

// The path of one of the program's own helper tools ("xmldir", "qvtea", ...):
// "<application folder>/../libexec/lumenquill/<name>". The environment
// variable LUMENQUILL_LIBEXEC names another folder to look in instead (the
// build tree, tests). Answers "" when no executable file of that name is there.
QString auxiliaryTool(const QString& name);
// The folder the helper tools are looked up in.
QString auxiliaryToolFolder();

} // namespace lq
