#include "platform/Pasteboard.h"

namespace lq {

Pasteboard::~Pasteboard() = default;

void Pasteboard::declareString(const QString& text)
{
    clearContents();
    setString(text);
}

} // namespace lq
