#pragma once

// Bounds on what the program takes from outside: theme archives and
// snapshots are shared between users, and document files may come from
// anywhere. Each bound is checked before memory or the disk grows, and a
// refusal says which bound was passed. The values are settings (see
// UserPreferences); the defaults leave room for any real site.

#include <QString>
#include <QtGlobal>

namespace lq {

struct InputLimits {
    static constexpr qint64 megabyte = 1024 * 1024;

    // The largest size one member of an archive may unpack to.
    qint64 archiveMemberBytes = 512 * megabyte;
    // The largest expansion of a member over its packed size, for members
    // large enough to matter (archiveRatioFloorBytes and more).
    qint64 archiveRatio = 200;
    qint64 archiveRatioFloorBytes = 1 * megabyte;
    // The largest document file (element XML) that is read.
    qint64 documentTextBytes = 256 * megabyte;
    // The largest property list (the photo library's files) that is read,
    // and the most characters its entities may add to it, every use of every
    // entity together.
    qint64 propertyListBytes = 512 * megabyte;
    qint64 propertyListExpansion = 1 * megabyte;
};

// The bounds in force.
const InputLimits& inputLimits();
void setInputLimits(const InputLimits& limits);

// A size for messages: "1024 MB", "1.5 MB", or "300 KB" below a megabyte.
QString describeSize(qint64 bytes);

} // namespace lq
