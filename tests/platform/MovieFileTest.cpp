#include "platform/MovieFile.h"

#include "support/TestFiles.h"
#include "support/TestMovie.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace testmovie;

TEST(MovieFile, NaturalSizeComesFromTheTrackHeaders)
{
    const QByteArray ftyp = box("ftyp", QByteArray("isom") + be32(0));
    struct Case {
        const char* what;
        QByteArray bytes;
        float width;
        float height;
    };
    const Case cases[] = {
        { "one track", movie(320, 240), 320, 240 },
        { "version 1 header", ftyp + box("moov", box("trak", trackHeader(640, 360, 1))), 640, 360 },
        { "fractional size", ftyp + box("moov", box("trak", trackHeader(100.5, 50.25))), 100.5f, 50.25f },
        { "turned a quarter", ftyp + box("moov", box("trak", trackHeader(320, 240, 0, { 0, 1, -1, 0 }))), 240, 320 },
        { "largest of two tracks",
          ftyp + box("moov", box("trak", trackHeader(0, 0)) + box("trak", trackHeader(176, 144))
                                 + box("trak", trackHeader(160, 200))),
          176, 200 },
        { "64-bit sizes", ftyp + largeBox("moov", largeBox("trak", trackHeader(48, 32))), 48, 32 },
        { "movie box to the end", ftyp + be32(0) + QByteArray("moov") + box("trak", trackHeader(8, 6)), 8, 6 },
    };
    for (const Case& c : cases) {
        const std::optional<lq::Size> size = lq::movieNaturalSize(c.bytes);
        ASSERT_TRUE(size.has_value()) << c.what;
        EXPECT_FLOAT_EQ(size->width, c.width) << c.what;
        EXPECT_FLOAT_EQ(size->height, c.height) << c.what;
    }
}

TEST(MovieFile, DamagedOrForeignBytesGiveNoSize)
{
    const QByteArray whole = movie(320, 240);
    const QByteArray ftyp = box("ftyp", QByteArray("isom") + be32(0));
    QByteArray oversized = ftyp + box("moov", box("trak", trackHeader(320, 240)));
    oversized.replace(ftyp.size(), 4, be32(0x7fffffff)); // the movie box claims more than there is
    QByteArray shortHeader = box("moov", box("trak", box("tkhd", QByteArray(40, '\0'))));
    const QByteArray cases[] = {
        QByteArray(),
        QByteArray("GIF89a this is no movie at all"),
        ftyp + box("mdat", QByteArray(16, '\0')), // no movie box
        whole.left(whole.size() - 10),            // cut inside the track header
        oversized,
        shortHeader,
        box("moov", box("trak", box("tkhd", QByteArray(3, '\0')))),
    };
    for (const QByteArray& bytes : cases)
        EXPECT_FALSE(lq::movieNaturalSize(bytes).has_value()) << bytes.toHex().left(80).toStdString();
}

TEST(MovieFile, OpensAFileByReferenceReadingOnlyItsMovieBox)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("clip.mov"));
    writeAll(path, movie(320, 240));
    const std::optional<lq::Movie> opened = lq::Movie::open(path);
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(opened->path, path);
    EXPECT_EQ(opened->naturalSize, lq::Size(320, 240));

    EXPECT_FALSE(lq::Movie::open(folder.filePath(QStringLiteral("missing.mov"))).has_value());
    writeAll(folder.filePath(QStringLiteral("text.mov")), QByteArray("plain text, no boxes"));
    EXPECT_FALSE(lq::Movie::open(folder.filePath(QStringLiteral("text.mov"))).has_value());
}
