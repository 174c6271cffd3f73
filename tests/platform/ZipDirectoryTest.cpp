// The zip layer's own reading of an archive's central directory: the names
// exactly as stored, the kinds of the members, and damaged archives.
#include "platform/Zip.h"
#include "support/ZipBytes.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

std::optional<QList<lq::ZipMember>> directoryOf(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return lq::readZipDirectory(buffer);
}

} // namespace

TEST(ZipDirectory, NamesAndKindsAsStored)
{
    const QByteArray archive = zipBytes({ { "o\x01ut/pwned.txt", "x" }, { "link", "/etc", true },
        { "dir/", "" }, { "safe.txt", "x", false, 3, "../evil.txt" }, { "dos.txt", "x", false, 0 } });
    // Data in front of the archive (a self-extracting stub) and an archive
    // comment after it leave the directory readable.
    QByteArray shifted = QByteArray(100, 'S') + archive;
    shifted.chop(2);
    shifted += QByteArray("\x07\x00", 2) + "comment";
    for (const QByteArray& bytes : { archive, shifted }) {
        const std::optional<QList<lq::ZipMember>> members = directoryOf(bytes);
        ASSERT_TRUE(members.has_value());
        ASSERT_EQ(members->size(), 5);
        EXPECT_EQ(members->at(0).storedName, QByteArray("o\x01ut/pwned.txt"));
        EXPECT_EQ(lq::unsafeZipMemberName(members->at(0).storedName), QStringLiteral("has control characters"));
        EXPECT_TRUE(members->at(1).isSymbolicLink());
        EXPECT_FALSE(members->at(1).isSpecialFile());
        EXPECT_EQ(members->at(2).unixMode() & 0170000, 0100000u); // a file mode on a name that ends in "/"
        EXPECT_EQ(members->at(3).unicodeName, QByteArray("../evil.txt"));
        EXPECT_EQ(lq::unsafeZipMemberName(members->at(3).unicodeName), QStringLiteral("leads out of the folder"));
        EXPECT_EQ(members->at(4).host, 0);
        EXPECT_TRUE(members->at(4).storedName.endsWith("dos.txt"));
    }
}

TEST(ZipDirectory, DamagedArchivesHaveNoDirectory)
{
    const QByteArray archive = zipBytes({ { "a.txt", "a" }, { "b.txt", "b" } });
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        { "empty", QByteArray() },
        { "no archive", QByteArray("just some text, long enough to hold an end record") },
        { "cut in the directory", archive.left(archive.size() - 30) + archive.right(22) },
        { "end record cut short", archive.left(archive.size() - 4) },
    };
    for (const auto& [what, bytes] : cases)
        EXPECT_FALSE(directoryOf(bytes).has_value()) << what;

    // An archive without members has an empty directory.
    const std::optional<QList<lq::ZipMember>> none = directoryOf(zipBytes({}));
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->isEmpty());
}

TEST(ZipDirectory, UnsafeNames)
{
    const std::vector<std::pair<QByteArray, QString>> cases = {
        { "theme.xmlbase", QString() },
        { "bitmaps2/b1.png", QString() },
        { "caf\xc3\xa9/\xe2\x80\xa2.txt", QString() },
        { "a..b/c", QString() },
        { "", QStringLiteral("has no name") },
        { "a\tb", QStringLiteral("has control characters") },
        { "a\x7f", QStringLiteral("has control characters") },
        { "a\xc2\x9b" "b", QStringLiteral("has control characters") },
        { "/etc/passwd", QStringLiteral("is an absolute path") },
        { "\\evil", QStringLiteral("is an absolute path") },
        { "C:evil", QStringLiteral("is an absolute path") },
        { "..", QStringLiteral("leads out of the folder") },
        { "a/../../b", QStringLiteral("leads out of the folder") },
        { "a\\..\\b", QStringLiteral("leads out of the folder") },
    };
    for (const auto& [name, reason] : cases)
        EXPECT_EQ(lq::unsafeZipMemberName(name), reason.isNull() ? QString() : reason) << name.toStdString();
}

TEST(ZipDirectory, DeclaredSizesAreReadAndBounded)
{
    const std::optional<QList<lq::ZipMember>> members = directoryOf(zipBytes({ { "a.txt", "12345" }, { "b.txt", "123", false, 3, {}, false, 7000000 } }));
    ASSERT_TRUE(members.has_value());
    ASSERT_EQ(members->size(), 2);
    EXPECT_EQ(members->at(0).compressedSize, 5u);
    EXPECT_EQ(members->at(0).uncompressedSize, 5u);
    EXPECT_EQ(members->at(1).compressedSize, 3u);
    EXPECT_EQ(members->at(1).uncompressedSize, 7000000u);

    // The default bounds: 512 MB a member, and 200 times its packed size
    // for members of a megabyte and more.
    constexpr quint64 megabyte = 1024 * 1024;
    struct Case {
        quint64 packed;
        quint64 unpacked;
        bool refused;
    };
    const Case cases[] {
        { 600 * megabyte, 600 * megabyte, true },
        { 512 * megabyte, 512 * megabyte, false },
        { megabyte, 500 * megabyte, true },
        { megabyte, 200 * megabyte, false },
        { 1, 1000 * 1024, false }, // small members compress as well as they like
        { 0, 2 * megabyte, true },
        { 0xFFFFFFFFull, 0xFFFFFFFFFFull, true },
    };
    for (const Case& c : cases) {
        lq::ZipMember member;
        member.compressedSize = c.packed;
        member.uncompressedSize = c.unpacked;
        EXPECT_EQ(!lq::unsafeZipMemberSize(member).isEmpty(), c.refused) << c.packed << " -> " << c.unpacked;
    }
}
