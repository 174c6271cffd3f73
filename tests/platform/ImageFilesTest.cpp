#include "model/core/XmlBase.h"
#include "platform/Image.h"
#include "platform/ImageFiles.h"
#include "platform/Resources.h"
#include "support/LogCapture.h"
#include "support/Printers.h"
#include "support/TestFiles.h"
#include "model/core/ModelSettings.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <map>
#include <optional>
#include <vector>

#include <sys/stat.h>

namespace {

// A picture with colour in every corner, so that every format has something to encode.
QImage testPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x + y) % 256));
    return image;
}

// Encodes with Qt directly, keeping whatever colour space and resolution the image has.
QByteArray qtEncode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return bytes;
}

// The format the content of the bytes is recognised as.
QByteArray sniffedFormat(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).format();
}

// --- JPEG quantisation tables ---------------------------------------------------

// The example tables of the JPEG standard (Annex K), in natural (row) order.
constexpr std::array<int, 64> standardLuminance {
    16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26, 58, 60, 55,
    14, 13, 16, 24, 40, 57, 69, 56, 14, 17, 22, 29, 51, 87, 80, 62,
    18, 22, 37, 56, 68, 109, 103, 77, 24, 35, 55, 64, 81, 104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99
};
constexpr std::array<int, 64> standardChrominance {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99
};
// Position in natural order of the k-th coefficient in zig-zag order, the
// order in which a DQT segment lists them.
constexpr std::array<int, 64> zigzagToNatural {
    0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5,
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6, 7, 14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63
};

// The table in zig-zag order that the IJG quality scaling makes of a standard
// table for a quality of 1 to 100 (baseline: entries kept within 1..255).
std::vector<int> scaledTable(const std::array<int, 64>& natural, int quality)
{
    const int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
    std::vector<int> table(64);
    for (int k = 0; k < 64; ++k)
        table[k] = std::clamp((natural[zigzagToNatural[k]] * scale + 50) / 100, 1, 255);
    return table;
}

// The quantisation tables of a JPEG file by table number, in zig-zag order.
std::map<int, std::vector<int>> quantisationTables(const QByteArray& jpeg)
{
    std::map<int, std::vector<int>> tables;
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(jpeg.at(i)); };
    if (jpeg.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8)
        return tables;
    qsizetype pos = 2;
    while (pos + 4 <= jpeg.size() && byte(pos) == 0xFF) {
        const int marker = byte(pos + 1);
        const qsizetype length = (byte(pos + 2) << 8) | byte(pos + 3);
        if (marker == 0xDA) // the scan: no more tables before the image data
            break;
        if (marker == 0xDB) {
            qsizetype p = pos + 4;
            const qsizetype end = pos + 2 + length;
            while (p < end) {
                const int precision = byte(p) >> 4;
                const int id = byte(p) & 0x0F;
                ++p;
                std::vector<int> values(64);
                for (int k = 0; k < 64; ++k) {
                    values[k] = precision ? (byte(p) << 8) | byte(p + 1) : byte(p);
                    p += precision ? 2 : 1;
                }
                tables[id] = values;
            }
        }
        pos += 2 + length;
    }
    return tables;
}

// --- Colour profiles in the three formats -----------------------------------------

bool pngHasProfile(const QByteArray& png)
{
    qsizetype pos = 8; // signature
    while (pos + 8 <= png.size()) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + pos);
        if (png.mid(pos + 4, 4) == "iCCP")
            return true;
        pos += 12 + length;
    }
    return false;
}

bool jpegHasProfile(const QByteArray& jpeg)
{
    // An embedded profile travels in APP2 segments named "ICC_PROFILE".
    return jpeg.contains(QByteArray("ICC_PROFILE\0", 12));
}

bool tiffHasProfile(const QByteArray& tiff)
{
    if (tiff.size() < 8)
        return false;
    const bool little = tiff.startsWith("II");
    const auto u16 = [&](qsizetype at) -> quint32 {
        return little ? qFromLittleEndian<quint16>(tiff.constData() + at) : qFromBigEndian<quint16>(tiff.constData() + at);
    };
    const auto u32 = [&](qsizetype at) -> quint32 {
        return little ? qFromLittleEndian<quint32>(tiff.constData() + at) : qFromBigEndian<quint32>(tiff.constData() + at);
    };
    quint32 ifd = u32(4);
    while (ifd != 0 && ifd + 2 <= quint32(tiff.size())) {
        const quint32 count = u16(ifd);
        for (quint32 i = 0; i < count; ++i) {
            const qsizetype entry = ifd + 2 + i * 12;
            if (entry + 12 > tiff.size())
                return false;
            if (u16(entry) == 34675) // ICC profile tag
                return true;
        }
        const qsizetype next = ifd + 2 + count * 12;
        ifd = next + 4 <= tiff.size() ? u32(next) : 0;
    }
    return false;
}

// --- Hand-made files the platform cannot write ------------------------------------

// A GIF of one colour. Its LZW data uses 8-bit codes with a clear code before
// every 100 pixels, so that the code width never grows and each code is one byte.
QByteArray gifBytes(int width, int height)
{
    QByteArray gif("GIF89a");
    const auto u16 = [&](int v) { gif.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    u16(width);
    u16(height);
    gif.append(char(0x80)).append('\0').append('\0');        // global table of 2 colours
    gif.append("\xC0\x30\x30\xFF\xFF\xFF", 6);                 // red-ish, white
    gif.append(',');
    u16(0);
    u16(0);
    u16(width);
    u16(height);
    gif.append('\0');
    const int minimumCodeSize = 7;
    const char clear = char(1 << minimumCodeSize);
    const char end = char((1 << minimumCodeSize) + 1);
    QByteArray codes;
    for (int i = 0; i < width * height; ++i) {
        if (i % 100 == 0)
            codes.append(clear);
        codes.append('\0');
    }
    codes.append(end);
    gif.append(char(minimumCodeSize));
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        gif.append(char(block.size())).append(block);
    }
    gif.append('\0').append(';');
    return gif;
}

// An uncompressed grey TIFF with one page of each size.
QByteArray multiPageTiff(const std::vector<QSize>& pages)
{
    QByteArray tiff("II*\0", 4);
    const auto u16 = [&](quint32 v) { tiff.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    const auto u32 = [&](quint32 v) { u16(v & 0xFFFF); u16(v >> 16); };
    u32(8);
    for (std::size_t page = 0; page < pages.size(); ++page) {
        const QSize size = pages[page];
        const quint32 entries = 9;
        const quint32 ifdStart = quint32(tiff.size());
        const quint32 dataStart = ifdStart + 2 + entries * 12 + 4;
        const quint32 dataSize = quint32(size.width() * size.height());
        const quint32 next = page + 1 < pages.size() ? dataStart + dataSize : 0;
        const auto tag = [&](quint32 id, quint32 type, quint32 value) {
            u16(id);
            u16(type);
            u32(1);
            if (type == 3) {
                u16(value);
                u16(0);
            } else {
                u32(value);
            }
        };
        u16(entries);
        tag(256, 4, size.width());   // width
        tag(257, 4, size.height());  // height
        tag(258, 3, 8);              // bits per sample
        tag(259, 3, 1);              // no compression
        tag(262, 3, 1);              // black is zero
        tag(273, 4, dataStart);      // strip offset
        tag(277, 3, 1);              // samples per pixel
        tag(278, 4, size.height());  // rows per strip
        tag(279, 4, dataSize);       // strip byte count
        u32(next);
        tiff.append(QByteArray(int(dataSize), char(0x80)));
    }
    return tiff;
}

class ImageFiles : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

} // namespace

// --- Writing ---------------------------------------------------------------------

TEST_F(ImageFiles, JpegQualityFollowsTheCompressionFactor)
{
    struct Case {
        float compression;
        int quality;
    };
    // 0.0 stands for the application's factor, 0.95.
    const std::vector<Case> cases { { 0.0f, 95 }, { 0.98f, 98 }, { 0.9f, 90 }, { 0.5f, 50 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.compression);
        const QString file = path(QStringLiteral("a.jpg"));
        ASSERT_TRUE(lq::saveImageFile(testPicture(64, 48), file, ModelSettings::shared().jpegFactor(c.compression)));
        const QByteArray bytes = readAll(file);
        EXPECT_EQ(sniffedFormat(bytes), QByteArray("jpeg"));
        EXPECT_EQ(bytes, lq::imageFileData(testPicture(64, 48), file, ModelSettings::shared().jpegFactor(c.compression)));
        const std::map<int, std::vector<int>> tables = quantisationTables(bytes);
        ASSERT_EQ(tables.count(0), 1u);
        ASSERT_EQ(tables.count(1), 1u);
        EXPECT_EQ(tables.at(0), scaledTable(standardLuminance, c.quality));
        EXPECT_EQ(tables.at(1), scaledTable(standardChrominance, c.quality));
    }
}

TEST_F(ImageFiles, ExtensionChoosesTheFormatExactly)
{
    struct Case {
        const char* name;
        QByteArray format; // empty: no format, nothing written
    };
    const std::vector<Case> cases {
        { "a.tiff", "tiff" }, { "a.png", "png" }, { "a.jpg", "jpeg" },
        { "a.jpeg", "" }, { "a.JPG", "" }, { "a.gif", "" }, { "a.PNG", "" }, { "a.tif", "" }, { "a", "" },
    };
    const QImage picture = testPicture(40, 30);
    for (const Case& c : cases) {
        const QString file = path(QString::fromLatin1(c.name));
        SCOPED_TRACE(c.name);
        const QByteArray data = lq::imageFileData(picture, file, ModelSettings::shared().jpgCompressionFactor());
        const bool written = lq::saveImageFile(picture, file, ModelSettings::shared().jpgCompressionFactor());
        if (c.format.isEmpty()) {
            EXPECT_TRUE(data.isEmpty());
            EXPECT_FALSE(written);
            EXPECT_FALSE(QFile::exists(file));
            continue;
        }
        EXPECT_TRUE(written);
        const QByteArray bytes = readAll(file);
        EXPECT_EQ(bytes, data);
        EXPECT_EQ(sniffedFormat(bytes), c.format);
        EXPECT_EQ(QImage::fromData(bytes).size(), QSize(40, 30));
    }
}

TEST_F(ImageFiles, LosslessFormatsKeepThePixels)
{
    const QImage picture = testPicture(33, 17);
    for (const char* name : { "p.png", "p.tiff" }) {
        SCOPED_TRACE(name);
        const QString file = path(QString::fromLatin1(name));
        ASSERT_TRUE(lq::saveImageFile(picture, file, ModelSettings::shared().jpgCompressionFactor()));
        EXPECT_EQ(QImage(file).convertToFormat(QImage::Format_RGB32), picture);
    }
}

TEST_F(ImageFiles, NoImageOrNoPathGivesNothing)
{
    EXPECT_TRUE(lq::imageFileData(QImage(), path(QStringLiteral("a.png")), ModelSettings::shared().jpgCompressionFactor()).isEmpty());
    EXPECT_FALSE(lq::saveImageFile(QImage(), path(QStringLiteral("a.png")), ModelSettings::shared().jpgCompressionFactor()));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("a.png"))));
    EXPECT_TRUE(lq::imageFileData(testPicture(4, 4), QString(), ModelSettings::shared().jpgCompressionFactor()).isEmpty());
    EXPECT_FALSE(lq::saveImageFile(testPicture(4, 4), path(QStringLiteral("no/such/folder/a.png")), ModelSettings::shared().jpgCompressionFactor()));
}

TEST_F(ImageFiles, SavingReplacesAnEarlierFile)
{
    const QString file = path(QStringLiteral("r.png"));
    writeAll(file, "old contents");
    ASSERT_TRUE(lq::saveImageFile(testPicture(8, 8), file, ModelSettings::shared().jpgCompressionFactor()));
    EXPECT_EQ(QImage(file).size(), QSize(8, 8));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList { QStringLiteral("r.png") });
}

TEST_F(ImageFiles, WrittenFilesCarryNoColourProfile)
{
    QImage picture = testPicture(32, 32);
    picture.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
    ASSERT_TRUE(picture.colorSpace().isValid());

    struct Case {
        const char* name;
        const char* qtFormat;
        bool (*hasProfile)(const QByteArray&);
    };
    const std::vector<Case> cases {
        { "c.png", "png", &pngHasProfile },
        { "c.tiff", "tiff", &tiffHasProfile },
        { "c.jpg", "jpeg", &jpegHasProfile },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The check sees a profile where the platform embeds one...
        ASSERT_TRUE(c.hasProfile(qtEncode(picture, c.qtFormat)));
        // ...and the writer leaves it out.
        const QString file = path(QString::fromLatin1(c.name));
        ASSERT_TRUE(lq::saveImageFile(picture, file, ModelSettings::shared().jpgCompressionFactor()));
        EXPECT_FALSE(c.hasProfile(readAll(file)));
    }
}

// --- Reading ---------------------------------------------------------------------

TEST_F(ImageFiles, PathWithoutExtensionProbesInOrder)
{
    // Each stored format has its own size, so the size tells which file was read.
    const std::map<QString, QSize> sizes {
        { QStringLiteral("tiff"), QSize(11, 7) },
        { QStringLiteral("png"), QSize(12, 7) },
        { QStringLiteral("jpg"), QSize(13, 7) },
        { QStringLiteral("gif"), QSize(14, 7) },
    };
    struct Case {
        QStringList present;
        QString expected; // the extension read; empty: nothing answered
    };
    const std::vector<Case> cases {
        { { QStringLiteral("png"), QStringLiteral("gif") }, QStringLiteral("png") },
        { { QStringLiteral("gif"), QStringLiteral("jpg"), QStringLiteral("tiff") }, QStringLiteral("tiff") },
        { { QStringLiteral("gif"), QStringLiteral("jpg") }, QStringLiteral("jpg") },
        { { QStringLiteral("gif") }, QStringLiteral("gif") },
        { {}, QString() },
    };
    int round = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.present.join(QLatin1Char(',')).toStdString());
        const QString folder = path(QString::number(++round));
        ASSERT_TRUE(QDir().mkpath(folder));
        for (const QString& extension : c.present) {
            const QString file = folder + QStringLiteral("/picture.") + extension;
            const QSize size = sizes.at(extension);
            if (extension == QLatin1String("gif"))
                writeAll(file, gifBytes(size.width(), size.height()));
            else
                ASSERT_TRUE(lq::saveImageFile(testPicture(size.width(), size.height()), file, ModelSettings::shared().jpgCompressionFactor()));
        }
        const QImage loaded = lq::loadImageFile(folder + QStringLiteral("/picture"));
        if (c.expected.isEmpty())
            EXPECT_TRUE(loaded.isNull());
        else
            EXPECT_EQ(loaded.size(), sizes.at(c.expected));
    }
}

TEST_F(ImageFiles, ContentDecidesTheFormatNotTheExtension)
{
    struct Case {
        const char* name;
        const char* storedAs;
    };
    const std::vector<Case> cases { { "x.png", "jpeg" }, { "y.jpg", "png" }, { "z.gif", "tiff" }, { "w.tiff", "gif" } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(QString::fromLatin1(c.name));
        if (QByteArray(c.storedAs) == "gif")
            writeAll(file, gifBytes(20, 10));
        else
            writeAll(file, qtEncode(testPicture(20, 10), c.storedAs));
        LogCapture log;
        const QImage loaded = lq::loadImageFile(file);
        EXPECT_EQ(loaded.size(), QSize(20, 10));
        EXPECT_TRUE(log.lines.isEmpty()) << log.lines.join(QLatin1Char('\n')).toStdString();
    }
}

TEST_F(ImageFiles, SizeIsInPixelsWhateverTheResolution)
{
    QImage picture = testPicture(600, 300);
    const int dotsPerMeterAt300Dpi = 11811;
    picture.setDotsPerMeterX(dotsPerMeterAt300Dpi);
    picture.setDotsPerMeterY(dotsPerMeterAt300Dpi);
    for (const char* format : { "png", "jpeg", "tiff" }) {
        SCOPED_TRACE(format);
        const QByteArray bytes = qtEncode(picture, format);
        // The file does declare 300 dpi.
        ASSERT_EQ(QImage::fromData(bytes).dotsPerMeterX(), dotsPerMeterAt300Dpi);
        const QString file = path(QStringLiteral("hires.") + QString::fromLatin1(format));
        writeAll(file, bytes);
        const QImage loaded = lq::loadImageFile(file);
        EXPECT_EQ(loaded.size(), QSize(600, 300));
        EXPECT_EQ(loaded.deviceIndependentSize(), QSizeF(600, 300));
        // One point per pixel: 72 dots per inch.
        EXPECT_NEAR(loaded.dotsPerMeterX() * 0.0254, 72.0, 0.1);
        EXPECT_NEAR(loaded.dotsPerMeterY() * 0.0254, 72.0, 0.1);
    }
}

TEST_F(ImageFiles, LoadedImageHasNoColourProfile)
{
    QImage picture = testPicture(16, 16);
    picture.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    const QString file = path(QStringLiteral("profiled.png"));
    writeAll(file, qtEncode(picture, "png"));
    ASSERT_TRUE(QImage(file).colorSpace().isValid());
    const QImage loaded = lq::loadImageFile(file);
    ASSERT_FALSE(loaded.isNull());
    EXPECT_FALSE(loaded.colorSpace().isValid());
}

TEST_F(ImageFiles, UndecodableFileGivesTheStandInPicture)
{
    const QString file = path(QStringLiteral("broken.png"));
    writeAll(file, "this is not a picture at all");
    LogCapture log;
    const QImage loaded = lq::loadImageFile(file);
    EXPECT_EQ(log.lines, QStringList { QStringLiteral("Could not load: ") + file });
    const QImage standIn(lq::resourcePath(QStringLiteral("images/noimage.png")));
    ASSERT_FALSE(standIn.isNull());
    EXPECT_EQ(loaded.size(), standIn.size());
    EXPECT_EQ(loaded.convertToFormat(QImage::Format_ARGB32), standIn.convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(lq::namedImage(QStringLiteral("noimage")).size(), standIn.size());
}

TEST_F(ImageFiles, NothingToReadGivesNothing)
{
    writeAll(path(QStringLiteral("empty.png")), QByteArray());
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("folder.png"))));
    const std::vector<QString> paths {
        QString(),
        path(QStringLiteral("missing.png")),
        path(QStringLiteral("missing")),
        path(QStringLiteral("empty.png")),
        path(QStringLiteral("folder.png")),
    };
    for (const QString& p : paths) {
        SCOPED_TRACE(p.toStdString());
        LogCapture log;
        EXPECT_TRUE(lq::loadImageFile(p).isNull());
        EXPECT_TRUE(log.lines.isEmpty());
    }
}

TEST_F(ImageFiles, SeveralImagesInOneFileGiveTheFirst)
{
    const QString file = path(QStringLiteral("pages.tiff"));
    writeAll(file, multiPageTiff({ QSize(8, 6), QSize(4, 4) }));
    ASSERT_EQ(lq::decodeImageRepresentations(readAll(file)).size(), 2);
    LogCapture log;
    const QImage loaded = lq::loadImageFile(file);
    EXPECT_EQ(loaded.size(), QSize(8, 6));
    EXPECT_EQ(log.lines, QStringList { QStringLiteral("multiple image reps") });
}

TEST_F(ImageFiles, NamedImagesComeFromTheResourceFolder)
{
    EXPECT_FALSE(lq::namedImage(QStringLiteral("noimage")).isNull());
    EXPECT_TRUE(lq::namedImage(QStringLiteral("no-such-picture")).isNull());
    EXPECT_TRUE(lq::namedImage(QStringLiteral("../templates/ticon1")).isNull());
    for (int i = 1; i <= 7; ++i) {
        const QImage icon(lq::resourcePath(QStringLiteral("templates/ticon%1.png").arg(i)));
        EXPECT_FALSE(icon.isNull()) << i;
    }
}

// --- Pictures decoded for a smaller use -------------------------------------------

namespace {

// The mean difference per channel (0..255) of two images of one size.
double meanDifference(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int column = 0; column < x.width(); ++column)
            sum += std::abs(qRed(p[column]) - qRed(q[column])) + std::abs(qGreen(p[column]) - qGreen(q[column]))
                + std::abs(qBlue(p[column]) - qBlue(q[column]));
    }
    return sum / (3.0 * x.width() * x.height());
}

} // namespace

TEST_F(ImageFiles, PicturesForASmallerUseAreDecodedAtTheSmallestExactFractionThatKeepsEnough)
{
    struct Case {
        const char* name;
        QSize picture;
        const char* format;
        QSize least;
        QSize decoded;
    };
    const std::vector<Case> cases = {
        { "an eighth", { 1600, 1200 }, "jpeg", { 200, 150 }, { 200, 150 } },
        { "a quarter", { 1600, 1200 }, "jpeg", { 201, 150 }, { 400, 300 } },
        { "one pixel more each way needs a half", { 1600, 1200 }, "jpeg", { 400, 301 }, { 800, 600 } },
        { "all of it", { 1600, 1200 }, "jpeg", { 1600, 1200 }, { 1600, 1200 } },
        { "more than there is", { 1600, 1200 }, "jpeg", { 3000, 3000 }, { 1600, 1200 } },
        { "only halves divide exactly", { 1602, 1202 }, "jpeg", { 100, 100 }, { 801, 601 } },
        { "no fraction divides exactly", { 1601, 1200 }, "jpeg", { 100, 100 }, { 1601, 1200 } },
        { "lossless pictures are decoded whole", { 1600, 1200 }, "png", { 200, 150 }, { 1600, 1200 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage original = testPicture(c.picture.width(), c.picture.height());
        const QByteArray bytes = qtEncode(original, c.format);
        QSize asked;
        const QImage decoded = lq::decodeImageAtLeast(bytes, [&](const QSize& full) {
            asked = full;
            return c.least;
        });
        // Only a JPEG can be decoded smaller, so only for one is the size asked.
        EXPECT_EQ(asked, QByteArray(c.format) == "jpeg" ? c.picture : QSize());
        ASSERT_EQ(decoded.size(), c.decoded);
        // The same picture, only smaller: close to the whole picture scaled down.
        const QImage expected = original.scaled(c.decoded, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LT(meanDifference(decoded, expected), 4.0);
    }
}

TEST_F(ImageFiles, PicturesForASmallerUseAreDecodedWholeWithoutATarget)
{
    const QByteArray bytes = qtEncode(testPicture(320, 240), "jpeg");
    EXPECT_EQ(lq::decodeImageAtLeast(bytes, {}).size(), QSize(320, 240));
    for (const QByteArray& hostile : { QByteArray(), QByteArray("no picture at all"), bytes.left(20) })
        EXPECT_TRUE(lq::decodeImageAtLeast(hostile, [](const QSize&) { return QSize(1, 1); }).isNull()) << hostile.size();
}

// --- Files the user gives as pictures ----------------------------------------------

namespace {

// A JPEG with an Exif segment right after its start that holds a whole small
// JPEG of its own (a camera's thumbnail), end-of-image marker and all.
QByteArray withThumbnail(const QByteArray& jpeg, const QByteArray& thumbnail)
{
    const QByteArray payload = QByteArray("Exif\0\0", 6) + thumbnail;
    const int length = static_cast<int>(payload.size()) + 2;
    QByteArray segment("\xFF\xE1");
    segment.append(static_cast<char>(length >> 8));
    segment.append(static_cast<char>(length & 0xFF));
    return jpeg.left(2) + segment + payload + jpeg.mid(2);
}

QByteArray progressiveJpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return bytes;
}

} // namespace

// A picture cut short decodes in part, the rest left grey: only its end
// tells it. Whatever is not a whole picture is refused with a reason, and a
// pipe is never opened (it would wait for a writer for ever).
TEST_F(ImageFiles, FilesGivenAsPicturesAreTakenOnlyWholeElseToldWhy)
{
    const QImage picture = testPicture(400, 300);
    const QByteArray jpeg = qtEncode(picture, "jpeg");
    const QByteArray png = qtEncode(picture, "png");
    const QByteArray thumbnailed = withThumbnail(jpeg, qtEncode(testPicture(40, 30), "jpeg"));
    ASSERT_FALSE(lq::decodeImageRepresentations(jpeg.left(jpeg.size() * 6 / 10)).isEmpty())
        << "the decoder alone takes a JPEG cut short";

    ASSERT_EQ(::mkfifo(QFile::encodeName(path(QStringLiteral("pipe.jpg"))).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.jpg")));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("gone.jpg")), path(QStringLiteral("link.jpg"))));

    struct Case {
        const char* name;
        std::optional<QByteArray> bytes;   // written to the file; none: the file is made above
        lq::PictureFault fault;
        const char* reason;
    };
    const std::vector<Case> cases {
        { "whole.jpg", jpeg, lq::PictureFault::None, "" },
        { "progressive.jpg", progressiveJpeg(picture), lq::PictureFault::None, "" },
        { "trailing.jpg", jpeg + QByteArray(300, 'x'), lq::PictureFault::None, "" },
        { "thumbnailed.jpg", thumbnailed, lq::PictureFault::None, "" },
        { "whole.png", png, lq::PictureFault::None, "" },
        { "cut.jpg", jpeg.left(jpeg.size() * 6 / 10), lq::PictureFault::Damaged, "ends before the picture does" },
        { "cut-before-the-end-marker.jpg", jpeg.chopped(2), lq::PictureFault::Damaged, "ends before the picture does" },
        { "cut-in-its-header.jpg", jpeg.left(120), lq::PictureFault::Damaged, "ends before the picture does" },
        { "cut-after-its-thumbnail.jpg", thumbnailed.left(thumbnailed.size() * 8 / 10), lq::PictureFault::Damaged, "ends before" },
        { "cut.png", png.left(png.size() / 2), lq::PictureFault::Damaged, "ends before the picture does" },
        { "notes.jpg", QByteArray("Dear diary,\nno picture here.\n"), lq::PictureFault::NotAPicture, "no picture format" },
        { "empty.jpg", QByteArray(), lq::PictureFault::NotAPicture, "the file is empty" },
        { "pipe.jpg", std::nullopt, lq::PictureFault::Unreadable, "not a file that can be read" },
        { "folder.jpg", std::nullopt, lq::PictureFault::Unreadable, "it is a folder" },
        { "link.jpg", std::nullopt, lq::PictureFault::Unreadable, "no longer there" },
        { "never-there.jpg", std::nullopt, lq::PictureFault::Unreadable, "no longer there" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(QString::fromLatin1(c.name));
        if (c.bytes)
            writeAll(file, *c.bytes);
        const lq::PictureFileBytes read = lq::readPictureFileBytes(file);
        EXPECT_EQ(read.refusal.fault, c.fault);
        EXPECT_TRUE(read.refusal.reason.contains(QString::fromLatin1(c.reason))) << read.refusal.reason.toStdString();
        EXPECT_EQ(read.bytes, c.fault == lq::PictureFault::None ? c.bytes.value_or(QByteArray()) : QByteArray());
    }
}
