#pragma once

// Zip archives written byte by byte, with members no zip tool would make:
// links, control characters in names, Unicode path fields, damaged data.

#include <QByteArray>

#include <vector>

// The CRC-32 that zip archives keep of each member's data.
inline quint32 zipCrc32(const QByteArray& data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : data) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

struct ZipEntry {
    QByteArray name {};
    QByteArray data {};      // a link's data is its target
    bool link = false;
    quint8 host = 3;       // 3: Unix, with the mode in the external attributes; 0: MS-DOS, without
    QByteArray unicodeName {}; // the name of an Info-ZIP Unicode path field, when not empty
    bool badCrc = false;   // a checksum that the data does not match
    qint64 declaredSize = -1; // the unpacked size the headers claim, when not the data's own
};

// A stored (uncompressed) zip archive.
inline QByteArray zipBytes(const std::vector<ZipEntry>& entries)
{
    QByteArray out;
    QByteArray central;
    const auto u16 = [](QByteArray& to, quint32 v) { to.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    const auto u32 = [&](QByteArray& to, quint32 v) { u16(to, v & 0xFFFF); u16(to, v >> 16); };
    for (const ZipEntry& m : entries) {
        const quint32 offset = quint32(out.size());
        const quint32 crc = zipCrc32(m.data) ^ (m.badCrc ? 1u : 0u);
        const quint32 mode = m.host != 3 ? 0 : m.link ? 0120777 : 0100644;
        QByteArray extra;
        if (!m.unicodeName.isEmpty()) {
            u16(extra, 0x7075);
            u16(extra, quint32(5 + m.unicodeName.size()));
            extra.append(char(1));
            u32(extra, zipCrc32(m.name));
            extra.append(m.unicodeName);
        }
        u32(out, 0x04034b50);
        u16(out, 10);                   // version needed
        u16(out, 0);                    // flags
        u16(out, 0);                    // stored
        u16(out, 0);                    // time
        u16(out, 0x21);                 // date: 1 January 1980
        const quint32 declared = quint32(m.declaredSize >= 0 ? m.declaredSize : m.data.size());
        u32(out, crc);
        u32(out, quint32(m.data.size()));
        u32(out, declared);
        u16(out, quint32(m.name.size()));
        u16(out, quint32(extra.size()));
        out.append(m.name).append(extra).append(m.data);

        u32(central, 0x02014b50);
        u16(central, (quint32(m.host) << 8) | 20);
        u16(central, 10);
        u16(central, 0);
        u16(central, 0);
        u16(central, 0);
        u16(central, 0x21);
        u32(central, crc);
        u32(central, quint32(m.data.size()));
        u32(central, declared);
        u16(central, quint32(m.name.size()));
        u16(central, quint32(extra.size()));
        u16(central, 0);                // comment
        u16(central, 0);                // disk
        u16(central, 0);                // internal attributes
        u32(central, mode << 16);       // external attributes: the Unix mode
        u32(central, offset);
        central.append(m.name).append(extra);
    }
    const quint32 centralOffset = quint32(out.size());
    out.append(central);
    u32(out, 0x06054b50);
    u16(out, 0);
    u16(out, 0);
    u16(out, quint32(entries.size()));
    u16(out, quint32(entries.size()));
    u32(out, quint32(central.size()));
    u32(out, centralOffset);
    u16(out, 0);
    return out;
}

