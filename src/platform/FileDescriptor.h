#pragma once

#include <QString>

namespace lq {

// An open file descriptor, closed when the object goes.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int descriptor)
        : _descriptor(descriptor)
    {
    }
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool isValid() const { return _descriptor >= 0; }
    int get() const { return _descriptor; }
    // Gives the descriptor up without closing it.
    int release();
    // The name under which a tool started by this program opens the very
    // file this descriptor holds ("/proc/self/fd/<n>"), whatever happens
    // to its name meanwhile. The tool must inherit the descriptor (see
    // ProcessOptions::inheritedDescriptors).
    QString procPath() const;

private:
    int _descriptor = -1;
};

} // namespace lq
