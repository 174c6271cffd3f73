// The zip central directory reader and the member checks, over any bytes.
#include "FuzzSupport.h"

#include "platform/Zip.h"

#include <QBuffer>

void fuzzOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray archive = fuzz::bytes(data, size);
    QBuffer buffer(&archive);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<QList<lq::ZipMember>> members = lq::readZipDirectory(buffer);
    if (!members)
        return;
    // Every directory entry takes at least 46 bytes.
    if (members->size() > archive.size() / 46)
        fuzz::fail("more members than the bytes can hold");
    for (const lq::ZipMember& member : *members) {
        lq::unsafeZipMemberName(member.storedName);
        lq::unsafeZipMemberName(member.unicodeName);
        member.isDirectory();
        member.isSymbolicLink();
        member.isSpecialFile();
    }
}
