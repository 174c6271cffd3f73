#pragma once

#include "model/core/XmlBase.h"

#include <QString>

#include <optional>

namespace lq {

// Unpacks the archive into the folder (overwriting namesakes, through
// lq::unzipInto, which checks what it unpacks and logs every failure as
// "zip failed: <detail>") and answers the element trees of its ".xmlbase"
// members in listing order, skipping unreadable ones. Nothing when the
// archive is refused or the tool fails; then the folder is left as it was
// and the error tells why.
std::optional<XmlBaseList> unzipElementTrees(const QString& archive, const QString& folder, QString* error = nullptr);

} // namespace lq
