#include "platform/FileDescriptor.h"

#include <utility>

#include <unistd.h>

namespace lq {

FileDescriptor::~FileDescriptor()
{
    if (_descriptor >= 0)
        ::close(_descriptor);
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : _descriptor(std::exchange(other._descriptor, -1))
{
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other) {
        if (_descriptor >= 0)
            ::close(_descriptor);
        _descriptor = std::exchange(other._descriptor, -1);
    }
    return *this;
}

int FileDescriptor::release()
{
    return std::exchange(_descriptor, -1);
}

QString FileDescriptor::procPath() const
{
    return QStringLiteral("/proc/self/fd/") + QString::number(_descriptor);
}

} // namespace lq
