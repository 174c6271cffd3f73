#pragma once

#include "platform/Geometry.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace lq {

// A movie file opened by reference: nothing of it is decoded, only its
// boxes are read. The natural size of a QuickTime or MPEG-4 movie comes
// from the track headers ("moov" / "trak" / "tkhd"): the width and height
// of every track's picture, placed by the track's matrix, the largest of
// them. An audio-only movie has the size (0, 0).
struct Movie {
    QString path;
    Size naturalSize;

    // The movie of the file; nothing when it cannot be read or holds no
    // movie box with a track header.
    static std::optional<Movie> open(const QString& path);
};

// The natural size read from the bytes of a movie file (its boxes); nothing
// when they hold no movie box with a track header. Sizes, offsets and
// nesting are checked against the bytes: a damaged file gives nothing or
// the tracks read before the damage, never a read outside the bytes.
std::optional<Size> movieNaturalSize(const QByteArray& bytes);

} // namespace lq
