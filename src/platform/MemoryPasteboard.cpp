#include "platform/MemoryPasteboard.h"

namespace lq {

void MemoryPasteboard::clearContents()
{
    _string.reset();
    _filenames.reset();
}

void MemoryPasteboard::setString(const QString& text)
{
    _string = text;
}

void MemoryPasteboard::setFilenames(const QStringList& paths)
{
    _filenames = paths;
}

std::optional<QString> MemoryPasteboard::string() const
{
    return _string;
}

std::optional<QStringList> MemoryPasteboard::filenames() const
{
    return _filenames;
}

} // namespace lq
