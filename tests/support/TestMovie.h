#pragma once

// Small movie files in the ISO base media layout, made by the tests: only
// the boxes that describe the tracks, with a few bytes of media data.
#include <QByteArray>
#include <QList>

#include <cstdint>

namespace testmovie {

inline QByteArray be32(quint32 value)
{
    QByteArray bytes(4, '\0');
    bytes[0] = char(value >> 24);
    bytes[1] = char(value >> 16);
    bytes[2] = char(value >> 8);
    bytes[3] = char(value);
    return bytes;
}

inline QByteArray box(const char* type, const QByteArray& body)
{
    return be32(quint32(8 + body.size())) + QByteArray(type, 4) + body;
}

// A box with a 64-bit size field.
inline QByteArray largeBox(const char* type, const QByteArray& body)
{
    return be32(1) + QByteArray(type, 4) + be32(0) + be32(quint32(16 + body.size())) + body;
}

// A 16.16 fixed-point number.
inline QByteArray fixed(double value)
{
    return be32(quint32(qint32(value * 65536.0)));
}

// A track header of the version, with the matrix's a, b, c, d.
inline QByteArray trackHeader(double width, double height, int version = 0, QList<double> abcd = { 1, 0, 0, 1 })
{
    QByteArray body = be32(quint32(version) << 24 | 0x7);
    body += QByteArray(version == 1 ? 32 : 20, '\x01');
    body += QByteArray(8 + 2 + 2 + 2 + 2, '\0');
    body += fixed(abcd[0]) + fixed(abcd[1]) + be32(0);
    body += fixed(abcd[2]) + fixed(abcd[3]) + be32(0);
    body += be32(0) + be32(0) + be32(0x40000000);
    body += fixed(width) + fixed(height);
    return box("tkhd", body);
}

// A movie of one picture track of the size.
inline QByteArray movie(double width, double height)
{
    const QByteArray moov = box("moov", box("mvhd", QByteArray(100, '\0')) + box("trak", trackHeader(width, height)));
    return box("ftyp", QByteArray("qt  ") + be32(0)) + box("mdat", QByteArray(64, '\x55')) + moov;
}

} // namespace testmovie
