#include "platform/MovieFile.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace lq {

namespace {

// Boxes nest a few levels deep in practice; deeper nesting is damage.
constexpr int maxDepth = 16;

// A movie box larger than this is not read (it describes the tracks only).
constexpr qint64 maxMovieBox = 64 * 1024 * 1024;

quint32 be32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | quint32(b[3]);
}

quint64 be64(const char* p)
{
    return (quint64(be32(p)) << 32) | be32(p + 4);
}

// A 16.16 fixed-point number.
double fixed16(const char* p)
{
    return double(qint32(be32(p))) / 65536.0;
}

struct Box {
    QByteArray type;
    qsizetype body = 0; // offset of the body in the bytes
    qsizetype end = 0;  // offset just past the box
};

// The boxes between begin and end, in order; stops at the first box whose
// header or size does not fit.
QList<Box> boxesIn(const QByteArray& bytes, qsizetype begin, qsizetype end)
{
    QList<Box> boxes;
    qsizetype at = begin;
    while (end - at >= 8) {
        const char* p = bytes.constData() + at;
        quint64 size = be32(p);
        qsizetype header = 8;
        if (size == 1) {
            if (end - at < 16)
                break;
            size = be64(p + 8);
            header = 16;
        } else if (size == 0) {
            size = quint64(end - at);
        }
        if (size < quint64(header) || size > quint64(end - at))
            break;
        boxes.append({ QByteArray(p + 4, 4), at + header, at + qsizetype(size) });
        at += qsizetype(size);
    }
    return boxes;
}

// The picture size of a track header's body, placed by its matrix.
std::optional<Size> trackSize(const QByteArray& bytes, const Box& tkhd)
{
    const qsizetype length = tkhd.end - tkhd.body;
    if (length < 4)
        return std::nullopt;
    const char* p = bytes.constData() + tkhd.body;
    const int version = static_cast<unsigned char>(p[0]);
    // Times, track number and duration: 20 bytes in version 0, 32 in version 1.
    const qsizetype matrixAt = 4 + (version == 1 ? 32 : 20) + 8 + 2 + 2 + 2 + 2;
    if (length < matrixAt + 36 + 8)
        return std::nullopt;
    const double a = fixed16(p + matrixAt);
    const double b = fixed16(p + matrixAt + 4);
    const double c = fixed16(p + matrixAt + 12);
    const double d = fixed16(p + matrixAt + 16);
    const double width = fixed16(p + matrixAt + 36);
    const double height = fixed16(p + matrixAt + 40);
    const double placedWidth = std::abs(a) * width + std::abs(c) * height;
    const double placedHeight = std::abs(b) * width + std::abs(d) * height;
    return Size(float(placedWidth), float(placedHeight));
}

void collectTracks(const QByteArray& bytes, qsizetype begin, qsizetype end, int depth, std::optional<Size>& size)
{
    if (depth > maxDepth)
        return;
    for (const Box& box : boxesIn(bytes, begin, end)) {
        if (box.type == "trak" || box.type == "moov") {
            collectTracks(bytes, box.body, box.end, depth + 1, size);
        } else if (box.type == "tkhd") {
            if (const std::optional<Size> track = trackSize(bytes, box)) {
                const Size known = size.value_or(Size());
                size = Size(std::max(known.width, track->width), std::max(known.height, track->height));
            }
        }
    }
}

} // namespace

std::optional<Size> movieNaturalSize(const QByteArray& bytes)
{
    std::optional<Size> size;
    for (const Box& box : boxesIn(bytes, 0, bytes.size())) {
        if (box.type == "moov")
            collectTracks(bytes, box.body, box.end, 1, size);
    }
    return size;
}

std::optional<Movie> Movie::open(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Only the movie box is read: the media data beside it may be large.
    const qint64 total = file.size();
    qint64 at = 0;
    while (total - at >= 8) {
        if (!file.seek(at))
            return std::nullopt;
        const QByteArray header = file.read(16);
        if (header.size() < 8)
            return std::nullopt;
        quint64 size = be32(header.constData());
        if (size == 1) {
            if (header.size() < 16)
                return std::nullopt;
            size = be64(header.constData() + 8);
        } else if (size == 0) {
            size = quint64(total - at);
        }
        if (size < 8 || size > quint64(total - at))
            return std::nullopt;
        if (header.mid(4, 4) == "moov") {
            if (size > quint64(maxMovieBox))
                return std::nullopt;
            file.seek(at);
            const std::optional<Size> natural = movieNaturalSize(file.read(qint64(size)));
            if (!natural)
                return std::nullopt;
            return Movie { path, *natural };
        }
        at += qint64(size);
    }
    return std::nullopt;
}

} // namespace lq
