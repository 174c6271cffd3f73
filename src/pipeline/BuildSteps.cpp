#include "pipeline/BuildSteps.h"

namespace lq {

int stepInteger(const QString& value)
{
    bool ok = false;
    const int number = value.trimmed().toInt(&ok, 10);
    return ok ? number : 0;
}

} // namespace lq
