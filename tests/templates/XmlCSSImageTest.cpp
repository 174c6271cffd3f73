#include "model/imaging/XmlImage.h"
#include "model/core/ElementFactory.h"
#include "platform/Codecs.h"
#include "platform/graphics/GraphicsImage.h"
#include "templates/XmlCSSBackground.h"
#include "templates/XmlCSSImage.h"
#include "support/FakeDocument.h"
#include "support/LogCapture.h"
#include "support/OutsideTree.h"
#include "support/Printers.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "support/ThemeInFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>

namespace {

// A background whose colour the test chooses.
class ColouredBackground : public XmlCSSBackground {
public:
    explicit ColouredBackground(Key key) : XmlCSSBackground(key) {}
    static std::shared_ptr<ColouredBackground> create() { return make<ColouredBackground>(); }
    void colour(const lq::Colour& colour) { _bkgndColor = colour; }
};

// A picture record owned by a background of a theme in a temporary document
// folder, with a recording document.
struct RecordInDocument {
    QTemporaryDir folder;
    FakeDocument document;
    std::shared_ptr<ThemeInFolder> theme;
    std::shared_ptr<ColouredBackground> background = ColouredBackground::create();
    std::shared_ptr<XmlCSSImage> record = XmlCSSImage::create();

    RecordInDocument()
    {
        theme = ThemeInFolder::create(folder.path());
        theme->setDocument(&document);
        theme->addChild(background);
        record->setParent(background.get()); // an owned part, as the background keeps it
        document.changes = 0;
        document.notices = 0;
    }
    ~RecordInDocument()
    {
        record->setParent(nullptr);
        theme->setDocument(nullptr);
    }

    QString path(const QString& relative) const { return folder.filePath(relative); }
};

// A one-pixel GIF (Qt reads GIF but cannot write it).
QByteArray gifBytes()
{
    static const unsigned char gif[] = { 0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00,
                                         0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04, 0x00, 0x00, 0x00, 0x00,
                                         0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02,
                                         0x44, 0x01, 0x00, 0x3B };
    return QByteArray(reinterpret_cast<const char*>(gif), sizeof gif);
}

// Close enough for colours that went through JPEG.
void expectNear(const QColor& actual, const QColor& expected, int tolerance = 12)
{
    EXPECT_NEAR(actual.red(), expected.red(), tolerance);
    EXPECT_NEAR(actual.green(), expected.green(), tolerance);
    EXPECT_NEAR(actual.blue(), expected.blue(), tolerance);
}

const QRegularExpression uuidPattern(QStringLiteral("^[0-9A-F]{16}$"));

} // namespace

TEST(XmlCSSImage, WritesItsAttributesAndPictureElementInOrder)
{
    auto record = XmlCSSImage::create();
    record->setName(QStringLiteral("never written"));
    record->setImageUUID(QStringLiteral("0123456789ABCDEF"));
    record->setIType(2);
    const QString xml = record->createXml();
    EXPECT_TRUE(xml.startsWith(QStringLiteral("<QZimage imageuuid=\"0123456789ABCDEF\" itype=\"2\" ow=\"0\" oh=\"0\">")))
        << xml.toStdString();
    EXPECT_TRUE(xml.contains(QStringLiteral("<IWimage"))) << xml.toStdString();
    EXPECT_FALSE(xml.contains(QStringLiteral("name="))) << xml.toStdString();
    EXPECT_TRUE(xml.endsWith(QStringLiteral("</QZimage>\n")));
    EXPECT_EQ(record->numberChildren(), 0);
    EXPECT_EQ(record->image()->parent(), record.get());
    // Made by the factory under its element name.
    EXPECT_NE(XmlCSSImage::cast(lq::factoryCreateChildFromTag(QStringLiteral("QZimage")).get()), nullptr);
}

TEST(XmlCSSImage, ReadsIntoItsOwnPictureAndDropsTheLegacyNumber)
{
    const QString text = QStringLiteral(
        "<QZimage iseq=\"7\" imageuuid=\"FEDCBA9876543210\" itype=\"1\" ow=\"40\" oh=\"30\">"
        "<IWimage borderwidth=\"3\"/></QZimage>");
    const XmlBasePtr read = XmlBase::createWithXmlRootDir(text, QString());
    auto* record = XmlCSSImage::cast(read.get());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->imageSeqNumber(), 7);
    EXPECT_EQ(record->imageUUID(), QStringLiteral("FEDCBA9876543210"));
    EXPECT_EQ(record->iType(), 1);
    EXPECT_EQ(record->size(), lq::Size(40, 30));
    // The picture element was read into the record's own part.
    EXPECT_EQ(record->numberChildren(), 0);
    EXPECT_EQ(record->image()->borderWidth(), 3);
    EXPECT_EQ(record->image()->parent(), record);

    const QString written = record->createXml();
    EXPECT_TRUE(written.startsWith(QStringLiteral("<QZimage imageuuid=\"FEDCBA9876543210\" itype=\"1\" ow=\"40\" oh=\"30\">")))
        << written.toStdString();
    EXPECT_FALSE(written.contains(QStringLiteral("iseq")));

    // A picture UUID with markup characters cannot break the written text.
    auto odd = XmlCSSImage::create();
    odd->setImageUUID(QStringLiteral("A\"B<C"));
    const XmlBasePtr again = XmlBase::createWithXmlRootDir(odd->createXml(), QString());
    ASSERT_NE(XmlCSSImage::cast(again.get()), nullptr);
    EXPECT_EQ(XmlCSSImage::cast(again.get())->imageUUID(), QStringLiteral("A\"B<C"));
}

TEST(XmlCSSImage, FileNameFollowsTheType)
{
    struct Case {
        int type;
        const char* name;
    };
    const std::vector<Case> cases { { 0, "U.jpg" }, { 1, "U.gif" }, { 2, "U.png" }, { 3, "U.gif" }, { -1, "U.gif" } };
    auto record = XmlCSSImage::create();
    record->setImageUUID(QStringLiteral("U"));
    for (const Case& c : cases) {
        record->setIType(c.type);
        EXPECT_EQ(record->imageFileName(), QLatin1String(c.name)) << c.type;
    }
}

TEST(XmlCSSImage, OnlyTheTypeSetterMarksTheDocumentChanged)
{
    struct Case {
        const char* what;
        std::function<void(XmlCSSImage&)> change;
        int changes;
    };
    const std::vector<Case> cases {
        { "setIType", [](XmlCSSImage& r) { r.setIType(2); }, 1 },
        { "setImageUUID", [](XmlCSSImage& r) { r.setImageUUID(QStringLiteral("X")); }, 0 },
        { "changeImageUUID", [](XmlCSSImage& r) { r.changeImageUUID({ { r.imageUUID(), QStringLiteral("Y") } }); }, 0 },
        { "loadBackstore", [](XmlCSSImage& r) { r.loadBackstore(nullptr); }, 0 },
        { "reading attributes", [](XmlCSSImage& r) { r.readAttributes(QStringLiteral(" itype=\"2\" imageuuid=\"Z\"")); }, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordInDocument fixture;
        fixture.record->setImageUUID(QStringLiteral("0000000000000001"));
        writeAll(fixture.path(QStringLiteral("bitmaps2/0000000000000001.jpg")), encoded(solid(4, 4, Qt::red), "JPG"));
        c.change(*fixture.record);
        EXPECT_EQ(fixture.document.changes, c.changes);
        EXPECT_EQ(fixture.document.suppressed, 0);
    }
}

TEST(XmlCSSImage, NewPictureFromFile)
{
    struct Case {
        const char* file;
        QByteArray bytes;
        int type;
        const char* extension;
        bool copied; // byte for byte; otherwise written anew as JPEG
        lq::Size size;
    };
    const QImage picture = solid(20, 10, QColor(30, 120, 200));
    const std::vector<Case> cases {
        { "drop.jpg", encoded(picture, "JPG"), 0, ".jpg", true, lq::Size(20, 10) },
        { "drop.png", encoded(picture, "PNG"), 2, ".png", true, lq::Size(20, 10) },
        { "drop.gif", gifBytes(), 1, ".gif", true, lq::Size(1, 1) },
        { "drop.JPG", encoded(picture, "PNG"), 0, ".jpg", false, lq::Size(20, 10) },
        { "drop.tiff", encoded(picture, "TIFF"), 0, ".jpg", false, lq::Size(20, 10) },
        { "drop.jpeg", encoded(picture, "JPG"), 0, ".jpg", false, lq::Size(20, 10) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        RecordInDocument fixture;
        const QString source = fixture.path(QStringLiteral("incoming/") + QLatin1String(c.file));
        writeAll(source, c.bytes);
        fixture.record->setImageUUID(QStringLiteral("OLD"));

        // No "bitmaps2" folder yet: it is made.
        fixture.record->setNewImageFromFile(source);

        const QString uuid = fixture.record->imageUUID();
        EXPECT_TRUE(uuidPattern.match(uuid).hasMatch()) << uuid.toStdString();
        EXPECT_EQ(fixture.record->iType(), c.type);
        EXPECT_EQ(fixture.record->imageFileName(), uuid + QLatin1String(c.extension));
        const QByteArray stored = readAll(fixture.path(QStringLiteral("bitmaps2/") + fixture.record->imageFileName()));
        ASSERT_FALSE(stored.isEmpty());
        if (c.copied) {
            EXPECT_EQ(stored, c.bytes);
        } else {
            EXPECT_NE(stored, c.bytes);
            EXPECT_TRUE(stored.startsWith("\xFF\xD8")); // JPEG
        }
        // The picture is in memory, held once, and measured at once.
        EXPECT_EQ(fixture.record->backstore(), 1);
        EXPECT_EQ(fixture.record->image()->image().size(), c.size);
        EXPECT_EQ(fixture.record->size(), c.size);
        EXPECT_GT(fixture.document.changes, 0);
    }
}

TEST(XmlCSSImage, NewPictureFromAMissingFileChangesNothing)
{
    RecordInDocument fixture;
    fixture.record->setImageUUID(QStringLiteral("OLD"));
    fixture.record->setNewImageFromFile(fixture.path(QStringLiteral("absent.png")));
    EXPECT_EQ(fixture.record->imageUUID(), QStringLiteral("OLD"));
    EXPECT_EQ(fixture.record->iType(), 0);
    EXPECT_TRUE(fixture.record->image()->image().isNull());
    EXPECT_EQ(fixture.document.changes, 0);
}

TEST(XmlCSSImage, APictureIsNeverWrittenThroughALinkOutOfTheDocument)
{
    RecordInDocument fixture;
    QTemporaryDir outside;
    ASSERT_TRUE(QFile::link(outside.path(), fixture.path(QStringLiteral("bitmaps2"))));
    const QString source = fixture.path(QStringLiteral("incoming/red.png"));
    writeAll(source, encoded(solid(20, 10, Qt::red), "PNG"));
    fixture.record->setImageUUID(QStringLiteral("OLD"));
    QString whyNot;
    EXPECT_FALSE(fixture.record->setNewImageFromFile(source, &whyNot));
    EXPECT_TRUE(whyNot.contains(QStringLiteral("is a link"))) << whyNot.toStdString();
    EXPECT_TRUE(QDir(outside.path()).isEmpty());
    EXPECT_EQ(fixture.record->imageUUID(), QStringLiteral("OLD"));
}

TEST(XmlCSSImage, AFileThatIsNoPictureIsRefusedWithItsReason)
{
    struct Case {
        const char* file;
        QByteArray bytes;
        const char* reason;
    };
    const QByteArray png = encoded(solid(20, 10, Qt::red), "PNG");
    const std::vector<Case> cases {
        { "notes.png", "These are my notes, not a picture.\n", "not a picture" },
        { "cut.jpg", encoded(solid(20, 10, Qt::red), "JPG").left(12), "not a picture" },
        { "cut.gif", gifBytes().left(6), "not a picture" },
        { "letter.txt", "Dear reader,\n", "not a picture" },
        { "empty.png", QByteArray(), "empty" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        RecordInDocument fixture;
        const QString source = fixture.path(QStringLiteral("incoming/") + QLatin1String(c.file));
        writeAll(source, c.bytes);
        fixture.record->setImageUUID(QStringLiteral("OLD"));
        LogCapture log;
        QString whyNot;

        EXPECT_FALSE(fixture.record->setNewImageFromFile(source, &whyNot));
        EXPECT_TRUE(whyNot.contains(QLatin1String(c.reason))) << whyNot.toStdString();
        ASSERT_EQ(log.lines.size(), 1);
        EXPECT_TRUE(log.lines.first().contains(source)) << log.lines.first().toStdString();
        EXPECT_TRUE(log.lines.first().contains(whyNot)) << log.lines.first().toStdString();
        // Nothing of the file was kept, and the record is as it was.
        EXPECT_TRUE(QDir(fixture.path(QStringLiteral("bitmaps2"))).entryList(QDir::Files).isEmpty());
        EXPECT_EQ(fixture.record->imageUUID(), QStringLiteral("OLD"));
        EXPECT_TRUE(fixture.record->image()->image().isNull());
        EXPECT_EQ(fixture.document.changes, 0);
    }
    // The same folder's picture is taken.
    RecordInDocument fixture;
    const QString picture = fixture.path(QStringLiteral("incoming/fine.png"));
    writeAll(picture, png);
    EXPECT_TRUE(fixture.record->setNewImageFromFile(picture));
}

TEST(XmlCSSImage, CountedLoadingMeasuresAndDropsThePicture)
{
    RecordInDocument fixture;
    fixture.record->readAttributes(QStringLiteral(" imageuuid=\"0000000000000002\" itype=\"2\" ow=\"99\" oh=\"99\""));
    writeAll(fixture.path(QStringLiteral("bitmaps2/0000000000000002.png")), encoded(solid(12, 8, Qt::green), "PNG"));
    XmlCSSImage& record = *fixture.record;

    // Without a picture in memory the stored measure stands.
    EXPECT_EQ(record.size(), lq::Size(99, 99));

    record.loadBackstore(nullptr);
    record.loadBackstore(nullptr);
    EXPECT_EQ(record.backstore(), 2);
    EXPECT_EQ(record.image()->image().size(), lq::Size(12, 8));
    EXPECT_EQ(record.size(), lq::Size(12, 8)); // measured anew at the load

    record.releaseBackstore(nullptr);
    EXPECT_FALSE(record.image()->image().isNull());
    record.releaseBackstore(nullptr);
    EXPECT_TRUE(record.image()->image().isNull());
    // More releases than loads leave the count at 0.
    record.releaseBackstore(nullptr);
    EXPECT_EQ(record.backstore(), 0);
    record.loadBackstore(nullptr);
    EXPECT_EQ(record.backstore(), 1);
    EXPECT_EQ(fixture.document.changes, 0);

    // A picture file that is gone leaves no picture and no measure.
    RecordInDocument missing;
    missing.record->readAttributes(QStringLiteral(" imageuuid=\"0000000000000003\" ow=\"5\" oh=\"5\""));
    missing.record->loadBackstore(nullptr);
    EXPECT_TRUE(missing.record->image()->image().isNull());
    EXPECT_EQ(missing.record->ow(), 0u);
    EXPECT_EQ(missing.record->oh(), 0u);
}

TEST(XmlCSSImage, WebCopyIsTheStoredFile)
{
    RecordInDocument fixture;
    fixture.record->setImageUUID(QStringLiteral("0000000000000004"));
    fixture.record->setIType(2);
    const QByteArray bytes = encoded(solid(6, 6, Qt::blue), "PNG");
    writeAll(fixture.path(QStringLiteral("bitmaps2/0000000000000004.png")), bytes);
    const QString target = fixture.path(QStringLiteral("homepage/bitmaps/0000000000000004.png"));
    writeAll(target, QByteArray("an older copy"));

    fixture.record->createWebImage();
    EXPECT_EQ(readAll(target), bytes);

    // Without its stored file the copy fails quietly and leaves nothing behind.
    QFile::remove(fixture.path(QStringLiteral("bitmaps2/0000000000000004.png")));
    fixture.record->createWebImage();
    EXPECT_FALSE(QFile::exists(target));
}

// The build's pictures stay inside the site: a bitmap folder of the
// generated site that is a link to an outside folder fails the step and
// receives nothing; a link in a web copy's place is replaced, never written
// through; a stored picture that is a link to an outside picture is neither
// copied into the generated site nor loaded.
TEST(XmlCSSImage, TheBuildsPicturesStayInsideTheSite)
{
    QTemporaryDir elsewhere;
    const QString outsidePath = elsewhere.filePath(QStringLiteral("outside"));
    QDir().mkpath(outsidePath);
    writeAll(outsidePath + QStringLiteral("/picture.png"), encoded(solid(7, 7, Qt::yellow), "PNG"));
    const OutsideTree outside(outsidePath);
    const QByteArray stored = encoded(solid(6, 6, Qt::blue), "PNG");
    struct Case {
        const char* what;
        QString linked; // the entry of the site made a link
        QString target; // what it points at, below the outside folder ("" for the folder)
        std::function<void(XmlCSSImage&)> step;
        bool fails;
    };
    const auto webCopy = [](XmlCSSImage& record) { record.createWebImage(); };
    const std::vector<Case> cases {
        { "the generated bitmaps a link: the web copy", QStringLiteral("homepage/bitmaps"), QString(), webCopy, true },
        { "the generated bitmaps a link: the slices", QStringLiteral("homepage/bitmaps"), QString(),
            [](XmlCSSImage& record) { record.createBitmapSlicesBottom(2, 2); }, true },
        { "the generated bitmaps a link: a bitmap for Internet Explorer", QStringLiteral("homepage/bitmaps"), QString(),
            [](XmlCSSImage& record) { record.createWinIEBitmapSizeTypeXY(QStringLiteral("image1.jpg"), lq::Size(4, 4), 0, 0, 0); }, true },
        { "a web copy's place a link", QStringLiteral("homepage/bitmaps/U.png"), QStringLiteral("image1.jpg"), webCopy, false },
        { "the stored picture a link", QStringLiteral("bitmaps2/U.png"), QStringLiteral("picture.png"), webCopy, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordInDocument fixture;
        fixture.record->setImageUUID(QStringLiteral("U"));
        fixture.record->setIType(2);
        writeAll(fixture.path(QStringLiteral("bitmaps2/U.png")), stored);
        const QString linked = fixture.path(c.linked);
        QDir().mkpath(QFileInfo(linked).path());
        QFile::remove(linked);
        ASSERT_TRUE(QFile::link(c.target.isEmpty() ? outside.path() : outside.filePath(c.target), linked));

        if (c.fails)
            EXPECT_ANY_THROW(c.step(*fixture.record));
        else
            c.step(*fixture.record);
        EXPECT_TRUE(outside.isUnchanged());
        const QString copy = fixture.path(QStringLiteral("homepage/bitmaps/U.png"));
        if (c.linked == u"homepage/bitmaps/U.png") {
            EXPECT_FALSE(QFileInfo(copy).isSymLink());
            EXPECT_EQ(readAll(copy), stored);
        }
        if (c.linked == u"bitmaps2/U.png") {
            EXPECT_FALSE(QFileInfo::exists(copy)) << "nothing outside is copied into the generated site";
            fixture.record->loadBackstore(nullptr);
            EXPECT_TRUE(fixture.record->image()->image().isNull()) << "nor loaded";
            fixture.record->releaseBackstore(nullptr);
        }
    }
}

TEST(XmlCSSImage, SlicesOfASlicedBackground)
{
    struct Case {
        const char* what;
        int top;
        int bottom;
        std::vector<std::pair<QString, int>> slices; // file name prefix digit + height in the name, height
    };
    // A 10 x 600 picture: 120 red rows, 400 green, 80 blue.
    const std::vector<Case> cases {
        { "three slices", 120, 80, { { "1U120", 120 }, { "2U400", 400 }, { "3U80", 80 } } },
        { "no top slice", 0, 80, { { "2U520", 520 }, { "3U80", 80 } } },
        { "no middle when top and bottom cover the picture", 400, 200, { { "1U400", 400 }, { "3U200", 200 } } },
        { "top clipped to the picture keeps its name", 700, 0, { { "1U700", 600 } } },
    };
    const QImage picture = bands(10, { { 120, Qt::red }, { 400, Qt::green }, { 80, Qt::blue } });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordInDocument fixture;
        fixture.record->setImageUUID(QStringLiteral("U"));
        fixture.record->setIType(2);
        writeAll(fixture.path(QStringLiteral("bitmaps2/U.png")), encoded(picture, "PNG"));

        fixture.record->createBitmapSlicesBottom(c.top, c.bottom);

        const QStringList made = QDir(fixture.path(QStringLiteral("homepage/bitmaps"))).entryList(QDir::Files, QDir::Name);
        QStringList expected;
        for (const auto& slice : c.slices)
            expected << slice.first + QStringLiteral(".jpg");
        expected.sort();
        EXPECT_EQ(made, expected);
        for (const auto& slice : c.slices) {
            const QImage image(fixture.path(QStringLiteral("homepage/bitmaps/") + slice.first + QStringLiteral(".jpg")));
            EXPECT_EQ(image.size(), QSize(10, slice.second)) << slice.first.toStdString();
        }
        // The picture was held for the work only.
        EXPECT_EQ(fixture.record->backstore(), 0);
        EXPECT_TRUE(fixture.record->image()->image().isNull());
    }

    // The slices take the right parts of the picture.
    RecordInDocument fixture;
    fixture.record->setImageUUID(QStringLiteral("U"));
    fixture.record->setIType(2);
    writeAll(fixture.path(QStringLiteral("bitmaps2/U.png")), encoded(picture, "PNG"));
    fixture.record->createBitmapSlicesBottom(120, 80);
    expectNear(QImage(fixture.path(QStringLiteral("homepage/bitmaps/1U120.jpg"))).pixelColor(5, 60), Qt::red);
    expectNear(QImage(fixture.path(QStringLiteral("homepage/bitmaps/2U400.jpg"))).pixelColor(5, 200), Qt::green);
    expectNear(QImage(fixture.path(QStringLiteral("homepage/bitmaps/3U80.jpg"))).pixelColor(5, 40), Qt::blue);
}

TEST(XmlCSSImage, SlicesLieOnTheBackgroundColour)
{
    // A transparent picture shows what lies under it: the background's
    // colour, or white for a record outside a background.
    const QImage clear = solid(8, 30, Qt::transparent);
    struct Case {
        const char* what;
        bool inBackground;
        QColor expected;
    };
    const std::vector<Case> cases { { "background colour", true, QColor(0, 0, 255) }, { "no background", false, Qt::white } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordInDocument fixture;
        fixture.background->colour(lq::Colour(0, 0, 1));
        auto loose = ThemeInFolder::create(fixture.folder.path());
        if (!c.inBackground)
            fixture.record->setParent(loose.get());
        fixture.record->setImageUUID(QStringLiteral("T"));
        fixture.record->setIType(2);
        writeAll(fixture.path(QStringLiteral("bitmaps2/T.png")), encoded(clear, "PNG"));
        fixture.record->createBitmapSlicesBottom(10, 10);
        expectNear(QImage(fixture.path(QStringLiteral("homepage/bitmaps/2T10.jpg"))).pixelColor(4, 5), c.expected);
    }
}

TEST(XmlCSSImage, WindowsIEBitmaps)
{
    // A 4 x 3 red picture with a blue top left pixel.
    QImage picture = solid(4, 3, Qt::red);
    picture.setPixelColor(0, 0, Qt::blue);

    struct Case {
        const char* what;
        lq::Size size;
        int type;
        int x;
        int y;
        std::vector<QPoint> blue; // every blue pixel of the result
    };
    const std::vector<Case> cases {
        { "tiled from the top left", lq::Size(9, 7), 0, 0, 0,
          { { 0, 0 }, { 4, 0 }, { 8, 0 }, { 0, 3 }, { 4, 3 }, { 8, 3 }, { 0, 6 }, { 4, 6 }, { 8, 6 } } },
        { "once at a percent position", lq::Size(20, 11), 1, 50, 100, { { 8, 8 } } },
        { "once, larger than the bitmap: at the top left", lq::Size(2, 2), 1, 100, 100, { { 0, 0 } } },
        { "other types draw nothing", lq::Size(5, 5), 2, 0, 0, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordInDocument fixture;
        fixture.record->setImageUUID(QStringLiteral("W"));
        fixture.record->setIType(2);
        writeAll(fixture.path(QStringLiteral("bitmaps2/W.png")), encoded(picture, "PNG"));

        fixture.record->createWinIEBitmapSizeTypeXY(QStringLiteral("Wx1p2.png"), c.size, c.type, c.x, c.y);

        const QImage made(fixture.path(QStringLiteral("homepage/bitmaps/Wx1p2.png")));
        ASSERT_FALSE(made.isNull());
        EXPECT_EQ(made.size(), QSize(static_cast<int>(c.size.width), static_cast<int>(c.size.height)));
        std::vector<QPoint> blue;
        int transparent = 0;
        for (int y = 0; y < made.height(); ++y) {
            for (int x = 0; x < made.width(); ++x) {
                const QColor pixel = made.pixelColor(x, y);
                if (pixel.alpha() == 0)
                    ++transparent;
                else if (pixel == QColor(Qt::blue))
                    blue.emplace_back(x, y);
            }
        }
        EXPECT_EQ(blue, c.blue);
        if (c.type == 0) {
            EXPECT_EQ(transparent, 0);
        }
        if (c.type == 2) {
            EXPECT_EQ(transparent, made.width() * made.height());
        }
        EXPECT_EQ(fixture.record->backstore(), 0);
    }
}

TEST(XmlCSSImage, WindowsIEBitmapRefusesNamesOutsideTheBitmapFolder)
{
    RecordInDocument fixture;
    fixture.record->setImageUUID(QStringLiteral("W"));
    fixture.record->setIType(2);
    writeAll(fixture.path(QStringLiteral("bitmaps2/W.png")), encoded(solid(2, 2, Qt::red), "PNG"));
    ASSERT_TRUE(QDir().mkpath(fixture.path(QStringLiteral("homepage/bitmaps/sub"))));

    for (const char* name : { "../../escape.png", "sub/inner.png", "", ".." }) {
        SCOPED_TRACE(name);
        LogCapture log;
        fixture.record->createWinIEBitmapSizeTypeXY(QLatin1String(name), lq::Size(4, 4), 0, 0, 0);
        EXPECT_EQ(log.lines.size(), 1);
    }
    EXPECT_FALSE(QFile::exists(fixture.path(QStringLiteral("escape.png"))));
    EXPECT_FALSE(QFile::exists(fixture.path(QStringLiteral("homepage/bitmaps/sub/inner.png"))));

    // A picture UUID read from a foreign file cannot lead out of the folders either.
    fixture.record->setImageUUID(QStringLiteral("../../victim"));
    writeAll(fixture.path(QStringLiteral("victim.png")), QByteArray("keep me"));
    fixture.record->createWebImage();
    fixture.record->createBitmapSlicesBottom(1, 1);
    EXPECT_EQ(readAll(fixture.path(QStringLiteral("victim.png"))), QByteArray("keep me"));
    EXPECT_TRUE(QDir(fixture.path(QStringLiteral("homepage/bitmaps"))).entryList(QDir::Files).isEmpty());
}

TEST(XmlCSSImage, FileListsForCleanUpAndExport)
{
    auto record = XmlCSSImage::create();
    record->setImageUUID(QStringLiteral("0000000000000005"));
    record->setIType(2);
    QStringList names;
    record->listOfBitmaps(names);
    EXPECT_EQ(names, QStringList { QStringLiteral("0000000000000005") });
    for (bool all : { true, false }) {
        QStringList files;
        record->listOfFilesToCopyAll(files, all);
        EXPECT_EQ(files, QStringList { QStringLiteral("bitmaps2/0000000000000005.png") });
    }
}

TEST(XmlCSSImage, PictureRenamesFromTheThemeMerge)
{
    auto record = XmlCSSImage::create();
    record->setImageUUID(QStringLiteral("A"));
    record->changeImageUUID({ { QStringLiteral("B"), QStringLiteral("C") } });
    EXPECT_EQ(record->imageUUID(), QStringLiteral("A"));
    record->changeImageUUID({ { QStringLiteral("A"), QStringLiteral("C") } });
    EXPECT_EQ(record->imageUUID(), QStringLiteral("C"));
}

TEST(XmlCSSImage, EmbeddedPicturesAreWrittenOut)
{
    struct Case {
        const char* what;
        int type;
        const char* extension;
    };
    // GIF cannot be written: such a picture is kept as PNG.
    const std::vector<Case> cases { { "JPEG", 0, ".jpg" }, { "PNG", 2, ".png" }, { "GIF", 1, ".png" } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir target;
        const QByteArray png = encoded(solid(5, 4, Qt::magenta), "PNG");
        const QString text = QStringLiteral("<QZimage imageuuid=\"OLD\" itype=\"%1\" ow=\"0\" oh=\"0\">"
                                            "<IWimage indata=\"1\"><!-- data -->%2<!-- data --></IWimage></QZimage>")
                                 .arg(c.type)
                                 .arg(lq::base64EncodeText(png));
        const XmlBasePtr read = XmlBase::createWithXmlRootDir(text, QString());
        auto* record = XmlCSSImage::cast(read.get());
        ASSERT_NE(record, nullptr);

        record->unpackToDirectory(target.path());

        EXPECT_TRUE(uuidPattern.match(record->imageUUID()).hasMatch());
        EXPECT_TRUE(record->imageFileName().endsWith(QLatin1String(c.extension)));
        const QImage written(target.filePath(QStringLiteral("bitmaps2/") + record->imageFileName()));
        EXPECT_EQ(written.size(), QSize(5, 4));
    }

    // A picture that is not embedded is left alone.
    QTemporaryDir target;
    auto plain = XmlCSSImage::create();
    plain->setImageUUID(QStringLiteral("KEEP"));
    plain->unpackToDirectory(target.path());
    EXPECT_EQ(plain->imageUUID(), QStringLiteral("KEEP"));
    EXPECT_FALSE(QDir(target.filePath(QStringLiteral("bitmaps2"))).exists());
}

TEST(XmlCSSImage, VersionOneBitmapsAreAdopted)
{
    RecordInDocument fixture;
    fixture.record->readAttributes(QStringLiteral(" iseq=\"3\" imageuuid=\"OLD\""));
    // Without a version-1 bitmap nothing happens.
    fixture.record->convert1_2Bitmaps();
    EXPECT_EQ(fixture.record->imageUUID(), QStringLiteral("OLD"));

    // ".png" is tried before ".jpg".
    writeAll(fixture.path(QStringLiteral("bitmaps/bitmap3.jpg")), encoded(solid(3, 3, Qt::red), "JPG"));
    const QByteArray png = encoded(solid(7, 2, Qt::red), "PNG");
    writeAll(fixture.path(QStringLiteral("bitmaps/bitmap3.png")), png);
    fixture.record->convert1_2Bitmaps();
    EXPECT_TRUE(uuidPattern.match(fixture.record->imageUUID()).hasMatch());
    EXPECT_EQ(fixture.record->iType(), 2);
    EXPECT_EQ(readAll(fixture.path(QStringLiteral("bitmaps2/") + fixture.record->imageFileName())), png);
}
