#include "model/imaging/XmlCanvas.h"
#include "model/imaging/XmlImage.h"
#include "application/MyApplication.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPayPalCommon.h"
#include "model/site/XmlPayPalData.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlPhotoRep.h"
#include "model/site/XmlSite.h"
#include "model/site/XmlTrash.h"
#include "model/site/XmlWidgetPhoto.h"
#include "platform/Image.h"
#include "support/FakeDocument.h"
#include "support/PhotoText.h"
#include "support/Printers.h"
#include "support/SiteInDocument.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

template <class T = XmlPhoto>
std::shared_ptr<T> readElement(const QString& text)
{
    return std::dynamic_pointer_cast<T>(XmlBase::createWithXmlRootDir(text, QString()));
}

// The start tag of the element's text, up to its first ">".
QString startTag(XmlBase& element)
{
    const QString xml = element.createXml();
    return xml.left(xml.indexOf('>') + 1);
}

bool hasPicture(XmlPhoto& photo)
{
    return !photo.canvas()->image()->image().isNull();
}

// --- The element --------------------------------------------------------------------------------

TEST(XmlPhotoTest, NewPhotoWritesItsAttributesThenCaptionCanvasAndPayPal)
{
    const auto photo = XmlPhoto::create();
    photo->setName("never written");
    EXPECT_FALSE(photo->canEditName());
    EXPECT_FALSE(photo->canHaveChildren());
    EXPECT_EQ(photo->createXml(),
        phototext::photo("QZphoto", 0, " iseq=\"0\" s=\"0\" alt=\"\"", " linkType=\"1\" link=\"\" window=\"0\"", "", ""));
    for (XmlBase* part : { static_cast<XmlBase*>(photo->caption().get()), static_cast<XmlBase*>(photo->canvas().get()),
             static_cast<XmlBase*>(photo->paypal().get()) })
        EXPECT_EQ(part->parent(), photo.get()) << part->elementName().toStdString();
}

TEST(XmlPhotoTest, AttributesAndPartsAreReadBackInPlace)
{
    const QString text = phototext::photo("QZphoto", 0, " iseq=\"12\" s=\"1\" alt=\"A &quot;view&quot; &amp; more\"",
        " linkType=\"0\" link=\"4\" window=\"1\"", "<p>Lake <i>view</i></p>", " itemname=\"Lake\" price=\"9\"");
    const auto photo = readElement(text);
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(photo->imageSeqNumber(), 12);
    EXPECT_TRUE(photo->showObjects());
    EXPECT_EQ(photo->altText(), QString("A \"view\" & more"));
    EXPECT_EQ(photo->caption()->content(), QString("<p>Lake <i>view</i></p>"));
    EXPECT_EQ(photo->caption()->newWindow(), 1);
    EXPECT_EQ(photo->name(), QString("Lake view"));
    EXPECT_TRUE(photo->canBePurchased());
    // The parts are filled in place, never attached.
    EXPECT_EQ(photo->numberChildren(), 0);
    EXPECT_EQ(photo->caption()->parent(), photo.get());
    EXPECT_EQ(photo->createXml(), text);
}

TEST(XmlPhotoTest, CanvasPictureSettingsTravelWithThePhoto)
{
    const auto photo = XmlPhoto::create();
    photo->canvas()->image()->setCrop(lq::Rect(10, 20, 30, 40));
    photo->canvas()->image()->setBorderWidth(3);
    const auto copy = readElement(photo->createXml());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->canvas()->image()->crop(), lq::Rect(10, 20, 30, 40));
    EXPECT_EQ(copy->canvas()->image()->borderWidth(), 3);
    EXPECT_EQ(copy->canvas()->image()->parent(), copy->canvas().get());
    EXPECT_EQ(copy->canvas()->numberChildren(), 0);
    EXPECT_EQ(copy->createXml(), photo->createXml());
}

TEST(XmlPhotoTest, OldRectangleIsReadButNeverWritten)
{
    const auto photo = readElement("<QZphoto iseq=\"3\" t=\"10\" l=\"20\" w=\"300\" h=\"200\"/>");
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(photo->legacyRect(), lq::Rect(20, 10, 300, 200));
    EXPECT_EQ(startTag(*photo), QString("<QZphoto iseq=\"3\" s=\"0\" alt=\"\">"));
    EXPECT_EQ(XmlPhoto::create()->legacyRect(), lq::Rect());
}

TEST(XmlPhotoTest, NameIsTheShortCaptionCutAfterFifteenCharacters)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        { "<p>Fourteen chars</p>", "Fourteen chars" },
        { "<p>Exactly fifteen</p>", "Exactly fifteen" },
        { "<p>Sixteen letters!</p>", "Sixteen letters!..." },
        { "<p>Seventeen letters</p>", "Seventeen letter..." },
        { "<p>A much longer caption text</p>", "A much longer ca..." },
        { "", "" },
    };
    for (const auto& [content, name] : cases) {
        const auto photo = XmlPhoto::create();
        photo->caption()->setContent(content);
        EXPECT_EQ(photo->name(), QString(name)) << content;
    }
}

TEST(XmlPhotoTest, SettersMarkTheDocumentChanged)
{
    SiteInDocument fixture;
    const auto album = XmlAlbum::create();
    fixture.site->homepage()->addChild(album);
    const auto photo = XmlPhoto::create();
    album->addChild(photo);
    expectEachMarksTheDocumentOnce(fixture.document, {
        { "setImageSeqNumber", [&] { photo->setImageSeqNumber(4); } },
        { "setAltText", [&] { photo->setAltText("alt"); } },
        { "setShowObjects", [&] { photo->setShowObjects(true); } },
    });
}

TEST(XmlPhotoTest, InternalImageNames)
{
    struct Case {
        int number;
        const char* thumbnail;
        const char* fullSize;
        const char* icon;
    };
    const std::vector<Case> cases = {
        { 0, "temp/A0Z.jpg", "temp/ZE0.jpg", "temp/AW0.jpg" },
        { 1, "temp/B1Y.jpg", "temp/YF1.jpg", "temp/BV1.jpg" },
        { 42, "temp/Q2AW.jpg", "temp/JN2A.jpg", "temp/QW2A.jpg" },
        { 300, "temp/O12CY.jpg", "temp/LH12C.jpg", "temp/OQ12C.jpg" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(XmlPhoto::thumbnailName(c.number), QString(c.thumbnail)) << c.number;
        EXPECT_EQ(XmlPhoto::fullSizeName(c.number), QString(c.fullSize)) << c.number;
        EXPECT_EQ(XmlPhoto::iconName(c.number), QString(c.icon)) << c.number;
    }
}

TEST(XmlPhotoTest, FilesToCopy)
{
    const auto album = XmlAlbum::create();
    const auto photo = XmlPhoto::create();
    photo->setImageSeqNumber(42);
    album->addChild(photo);

    QStringList files;
    photo->listOfFilesToCopyAll(files, false);
    EXPECT_EQ(files, QStringList { "pictures/image42.jpg" });

    files.clear();
    photo->listOfFilesToCopyAll(files, true);
    EXPECT_EQ(files, (QStringList { "pictures/image42.jpg", "temp/Q2AW.jpg", "temp/JN2A.jpg", "temp/QW2A.jpg" }));

    // The walk over a page reaches its photos.
    files.clear();
    album->listOfFilesToCopyAll(files, false);
    EXPECT_EQ(files, QStringList { "pictures/image42.jpg" });
}

// --- Files --------------------------------------------------------------------------------------

// A site document in a temporary folder, with an album page for the photos
// and a "temp" folder for the pictures made from them.
class XmlPhotoFilesTest : public SiteInFolderTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(SiteInFolderTest::SetUp());
        root = folder.path();
        ASSERT_TRUE(QDir(root).mkpath("temp"));
    }

    QString root;
};


TEST_F(XmlPhotoFilesTest, PictureFromAFileIsHeldAtItsPixelSize)
{
    const auto photo = XmlPhoto::createFromFile(source("dense.jpg", jpegBytes(600, 300, Qt::red, 80, 300)));
    ASSERT_NE(photo, nullptr);
    const lq::GraphicsImage picture = photo->canvas()->image()->image();
    EXPECT_EQ(picture.size(), lq::Size(600, 300));
    EXPECT_EQ(photo->canvas()->image()->bodyRect(), lq::Rect(0, 0, 600, 300));
    EXPECT_EQ(photo->imageSeqNumber(), 0);
    EXPECT_EQ(photo->parent(), nullptr);
}

TEST_F(XmlPhotoFilesTest, LargePicturesAreLimitedProportionally)
{
    const PictureLimits limits(400, 300);
    struct Case {
        int width, height;
        lq::Size expected;
    };
    const std::vector<Case> cases = {
        { 800, 200, lq::Size(400, 100) },
        { 300, 600, lq::Size(150, 300) },
        { 200, 100, lq::Size(200, 100) }, // never enlarged
    };
    for (const Case& c : cases) {
        const auto photo = XmlPhoto::createFromFile(source("big.jpg", jpegBytes(c.width, c.height)));
        ASSERT_NE(photo, nullptr);
        EXPECT_EQ(photo->canvas()->image()->image().size(), c.expected) << c.width << "x" << c.height;
    }
}

TEST_F(XmlPhotoFilesTest, LimitsThatWereNeverSetCountAsTheSmallestAllowed)
{
    const PictureLimits limits(0, 0);
    const auto photo = XmlPhoto::createFromFile(source("wide.jpg", jpegBytes(2048, 512)));
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(photo->canvas()->image()->image().size(), lq::Size(1024, 256));
}

TEST_F(XmlPhotoFilesTest, PicturesDecodedSmallerForTheLimitLookLikeTheWholePictureLimited)
{
    const PictureLimits limits(400, 300);
    // Four quarters of different colours, so that a shifted or cropped decode shows.
    QImage quarters(1600, 1200, QImage::Format_RGB32);
    {
        QPainter painter(&quarters);
        painter.fillRect(0, 0, 800, 600, Qt::red);
        painter.fillRect(800, 0, 800, 600, Qt::green);
        painter.fillRect(0, 600, 800, 600, Qt::blue);
        painter.fillRect(800, 600, 800, 600, Qt::yellow);
    }
    const QString path = source("quarters.jpg", encoded(quarters, "jpeg"));
    const auto photo = XmlPhoto::createFromFile(path);
    ASSERT_NE(photo, nullptr);
    const QImage imported = photo->canvas()->image()->image().toQImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(imported.size(), QSize(400, 300));
    // The whole picture decoded, then limited.
    QImage whole;
    ASSERT_TRUE(whole.load(path));
    const QImage expected = XmlImage::resizeImageToLimitSize(lq::GraphicsImage(whole), lq::Size(400, 300))
                                .toQImage()
                                .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(expected.size(), imported.size());
    // Within the quarters the colours are the same; only along the edges
    // between them may the two differ a little.
    int inside = 0, alongEdges = 0;
    for (int y = 0; y < imported.height(); ++y)
        for (int x = 0; x < imported.width(); ++x) {
            const QRgb a = imported.pixel(x, y), b = expected.pixel(x, y);
            const int difference = std::max({ std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                              std::abs(qBlue(a) - qBlue(b)) });
            int& largest = std::abs(x - 200) < 8 || std::abs(y - 150) < 8 ? alongEdges : inside;
            largest = std::max(largest, difference);
        }
    EXPECT_LE(inside, 3);
    EXPECT_LE(alongEdges, 64);
}

TEST_F(XmlPhotoFilesTest, FilesThatAreNoPicturesMakeNoPhoto)
{
    const std::vector<std::pair<const char*, QString>> cases = {
        { "missing", sources.filePath("missing.jpg") },
        { "garbage", source("garbage.jpg", "this is no picture") },
        { "empty", source("empty.jpg", QByteArray()) },
        { "folder", sources.path() },
        { "no path", QString() },
    };
    for (const auto& [what, path] : cases) {
        EXPECT_EQ(XmlPhoto::createFromFile(path), nullptr) << what;
        EXPECT_EQ(XmlPhotoRep::createFromFile(path), nullptr) << what;
        EXPECT_EQ(XmlWidgetPhoto::createFromFile(path), nullptr) << what;
    }
}

TEST_F(XmlPhotoFilesTest, NumberingStoresAReencodedCopyAndDropsThePicture)
{
    const QByteArray original = jpegBytes(320, 240, Qt::blue, 40);
    const QString path = source("holiday.jpg", original);
    site->setImageSeqNumber(7);
    const auto photo = XmlPhoto::createFromFile(path);
    ASSERT_NE(photo, nullptr);
    album->addChild(photo);
    const int before = document.changes;
    photo->newDocument(path);

    EXPECT_EQ(photo->imageSeqNumber(), 7);
    EXPECT_EQ(site->imageSeqTest(), 8);
    EXPECT_EQ(photo->originalFilename(), stored(7));
    const QByteArray copy = readAll(stored(7));
    ASSERT_FALSE(copy.isEmpty());
    EXPECT_NE(copy, original);
    EXPECT_EQ(pictureSize(stored(7)), QSize(320, 240));
    EXPECT_FALSE(hasPicture(*photo));
    EXPECT_EQ(photo->backstoreCount(), 0);
    EXPECT_GT(document.changes, before);
}

TEST_F(XmlPhotoFilesTest, NumberingNeedsASiteDocument)
{
    const QString path = source("a.jpg", jpegBytes(40, 30));
    const auto loose = XmlPhoto::createFromFile(path);
    ASSERT_NE(loose, nullptr);
    loose->newDocument(path);
    EXPECT_EQ(loose->imageSeqNumber(), 0);
    EXPECT_TRUE(hasPicture(*loose));
    EXPECT_EQ(site->imageSeqTest(), 1);
}

TEST_F(XmlPhotoFilesTest, PictureNumbersAreNeverReused)
{
    const QString path = source("a.jpg", jpegBytes(40, 30));
    const auto first = album->importPhotoIndexCaption(path, -1, QString());
    ASSERT_NE(first, nullptr);
    const int firstNumber = first->imageSeqNumber();
    album->removeChild(first.get());
    const auto second = album->importPhotoIndexCaption(path, -1, QString());
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second->imageSeqNumber(), firstNumber);
}

TEST_F(XmlPhotoFilesTest, HeldPictureIsReadOnceAndDroppedByTheLastRelease)
{
    const auto photo = album->importPhotoIndexCaption(source("a.jpg", jpegBytes(64, 48)), -1, QString());
    ASSERT_NE(photo, nullptr);
    ASSERT_FALSE(hasPicture(*photo));

    struct Step {
        bool load;
        int count;
        bool held;
    };
    const std::vector<Step> steps = {
        { true, 1, true },
        { true, 2, true },
        { false, 1, true },
        { false, 0, false },
        { false, 0, false }, // one release too many leaves the count at 0
        { true, 1, true },
        { false, 0, false },
    };
    const int changes = document.changes;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (steps[i].load)
            photo->loadBackstore(nullptr);
        else
            photo->releaseBackstore(nullptr);
        EXPECT_EQ(photo->backstoreCount(), steps[i].count) << i;
        EXPECT_EQ(hasPicture(*photo), steps[i].held) << i;
    }
    // Reading the picture back is no edit.
    EXPECT_EQ(document.changes, changes);

    photo->loadBackstore(nullptr);
    EXPECT_EQ(photo->canvas()->image()->image().size(), lq::Size(64, 48));
    photo->releaseBackstore(nullptr);
}

TEST_F(XmlPhotoFilesTest, MissingStoredPictureLeavesTheCanvasWithoutImage)
{
    const auto photo = XmlPhoto::create();
    album->addChild(photo);
    photo->setImageSeqNumber(99);
    photo->loadBackstore(nullptr);
    EXPECT_EQ(photo->backstoreCount(), 1);
    EXPECT_FALSE(hasPicture(*photo));
    writeAll(stored(99), "broken");
    photo->loadBackstore(nullptr);
    EXPECT_FALSE(hasPicture(*photo));
}

TEST_F(XmlPhotoFilesTest, NewImageReplacesTheStoredPictureAndIsHeldOnce)
{
    const auto photo = album->importPhotoIndexCaption(source("a.jpg", jpegBytes(64, 48)), -1, QString());
    ASSERT_NE(photo, nullptr);
    const int n = photo->imageSeqNumber();
    for (const QString& file : { photo->thumbnailFilename(), photo->fullSizeFilename(), photo->iconFilename() })
        writeAll(file, "cache");

    QImage replacement(30, 20, QImage::Format_RGB32);
    replacement.fill(Qt::yellow);
    photo->setNewImage(lq::GraphicsImage(replacement));

    EXPECT_EQ(pictureSize(stored(n)), QSize(30, 20));
    for (const QString& file : { photo->thumbnailFilename(), photo->fullSizeFilename(), photo->iconFilename() })
        EXPECT_FALSE(QFile::exists(file)) << file.toStdString();
    EXPECT_EQ(photo->backstoreCount(), 1);
    EXPECT_EQ(photo->canvas()->image()->image().size(), lq::Size(30, 20));
    photo->releaseBackstore(nullptr);
    EXPECT_FALSE(hasPicture(*photo));
}

TEST_F(XmlPhotoFilesTest, NewCanvasBecomesTheStoredPicture)
{
    const auto photo = album->importPhotoIndexCaption(source("a.jpg", jpegBytes(64, 48)), -1, QString());
    ASSERT_NE(photo, nullptr);
    const auto old = photo->canvas();
    QImage edited(50, 40, QImage::Format_RGB32);
    edited.fill(Qt::green);
    const auto canvas = XmlCanvas::create();
    canvas->image()->setImage(lq::GraphicsImage(edited));

    photo->setCanvas(canvas);
    EXPECT_EQ(photo->canvas(), canvas);
    EXPECT_EQ(canvas->parent(), photo.get());
    EXPECT_EQ(old->parent(), nullptr);
    EXPECT_EQ(pictureSize(stored(photo->imageSeqNumber())), QSize(50, 40));

    // A canvas whose picture is not in memory leaves the stored picture alone.
    photo->setCanvas(XmlCanvas::create());
    EXPECT_EQ(pictureSize(stored(photo->imageSeqNumber())), QSize(50, 40));
    // No canvas is refused.
    const auto current = photo->canvas();
    photo->setCanvas(nullptr);
    EXPECT_EQ(photo->canvas(), current);

    // The photo's own canvas, edited in place, is stored all the same.
    QImage redrawn(70, 35, QImage::Format_RGB32);
    redrawn.fill(Qt::red);
    current->image()->setImage(lq::GraphicsImage(redrawn));
    photo->setCanvas(current);
    EXPECT_EQ(photo->canvas(), current);
    EXPECT_EQ(current->parent(), photo.get());
    EXPECT_EQ(pictureSize(stored(photo->imageSeqNumber())), QSize(70, 35));
}

TEST_F(XmlPhotoFilesTest, InternalImagesAreDeletedOnlyInASiteDocument)
{
    const auto photo = XmlPhoto::create();
    album->addChild(photo);
    photo->setImageSeqNumber(42);
    EXPECT_EQ(photo->thumbnailFilename(), root + "/temp/Q2AW.jpg");
    EXPECT_EQ(photo->fullSizeFilename(), root + "/temp/JN2A.jpg");
    EXPECT_EQ(photo->iconFilename(), root + "/temp/QW2A.jpg");
    const QStringList files = { photo->thumbnailFilename(), photo->fullSizeFilename(), photo->iconFilename(), stored(42) };
    for (const QString& file : files)
        writeAll(file, "x");

    site->setDocument(nullptr);
    photo->deleteFiles();
    for (const QString& file : files)
        EXPECT_TRUE(QFile::exists(file)) << file.toStdString();

    site->setDocument(&document);
    photo->deleteFiles();
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(QFile::exists(files[i])) << files[i].toStdString();
    EXPECT_TRUE(QFile::exists(stored(42)));
}

TEST_F(XmlPhotoFilesTest, MissingPicturesFolderIsMadeRatherThanLosingThePicture)
{
    ASSERT_TRUE(QDir(root + "/pictures").removeRecursively());
    const auto photo = album->importPhotoIndexCaption(source("a.jpg", jpegBytes(64, 48)), -1, QString());
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(pictureSize(photo->originalFilename()), QSize(64, 48));
}

// --- Representative pictures and widget photos ------------------------------------------------

TEST(XmlPhotoRepTest, PlaceholdersHoldTheirOwnNoImagePicture)
{
    const auto one = XmlPhotoRep::createNoImage();
    const auto two = XmlPhotoRep::createNoImage();
    const QImage noImage = lq::namedImage("noimage");
    ASSERT_FALSE(noImage.isNull());
    EXPECT_EQ(one->imageSeqNumber(), 0);
    EXPECT_EQ(one->elementName(), QString("QZphotoRep"));
    EXPECT_EQ(one->canvas()->image()->image().toQImage().size(), noImage.size());

    // Drawing into the first placeholder's picture leaves the second's alone.
    lq::GraphicsImage edited = one->canvas()->image()->image();
    {
        lq::GraphicsImage::Focus focus(edited);
        focus.context().setColor(lq::Colour::black());
        focus.context().fillRect(lq::Rect(0, 0, edited.size().width, edited.size().height));
    }
    one->canvas()->image()->setImage(edited);
    EXPECT_EQ(one->canvas()->image()->image().toQImage().pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(two->canvas()->image()->image().toQImage(), lq::GraphicsImage(noImage).toQImage());
}

TEST_F(XmlPhotoFilesTest, RepresentativePictureTakesANewPictureUnderItsOwnNumber)
{
    const auto rep = album->rep();
    EXPECT_EQ(rep, nullptr);
    auto& picture = *album->XmlWebItem::rep();
    picture.setImageSeqNumber(5);
    writeAll(stored(5), jpegBytes(20, 10));
    const QByteArray before = readAll(stored(5));
    const int counter = site->imageSeqTest();

    for (const QString& unreadable : { sources.filePath("missing.png"), source("bad.jpg", "no picture") }) {
        picture.setNewImageFromFile(unreadable);
        EXPECT_EQ(readAll(stored(5)), before) << unreadable.toStdString();
        EXPECT_EQ(picture.imageSeqNumber(), 5);
    }

    document.changes = 0;
    picture.setNewImageFromFile(source("chosen.jpg", jpegBytes(90, 60, Qt::magenta)));
    EXPECT_GT(document.changes, 0);
    const QImage icon = picture.iconImage();
    ASSERT_FALSE(icon.isNull());
    EXPECT_GT(icon.pixelColor(icon.width() / 2, icon.height() / 2).red(), 200) << "the icon shows the new picture";
    EXPECT_EQ(picture.imageSeqNumber(), 5);
    EXPECT_EQ(site->imageSeqTest(), counter);
    EXPECT_EQ(pictureSize(stored(5)), QSize(90, 60));
    EXPECT_FALSE(hasPicture(picture));
    EXPECT_EQ(picture.backstoreCount(), 0);
    EXPECT_EQ(album->rep().get(), &picture);
}

TEST_F(XmlPhotoFilesTest, RepresentativePictureWithoutANumberDrawsOneBeforeStoring)
{
    site->setImageSeqNumber(40);
    XmlPhotoRep& picture = *album->XmlWebItem::rep();
    ASSERT_EQ(picture.imageSeqNumber(), 0);
    picture.setNewImageFromFile(source("chosen.jpg", jpegBytes(90, 60)));
    EXPECT_EQ(picture.imageSeqNumber(), 40);
    EXPECT_EQ(pictureSize(stored(40)), QSize(90, 60));
    EXPECT_FALSE(QFile::exists(stored(0)));
    EXPECT_EQ(album->rep().get(), &picture);
    EXPECT_EQ(album->picturesInSite(), QStringList { "image40.jpg" });
}

TEST_F(XmlPhotoFilesTest, EachKindOfPhotoIsMadeFromAFileAsItsOwnClass)
{
    const QString path = source("a.jpg", jpegBytes(40, 30));
    const auto rep = XmlPhotoRep::createFromFile(path);
    const auto widget = XmlWidgetPhoto::createFromFile(path);
    const auto photo = XmlPhoto::createFromFile(path);
    ASSERT_NE(rep, nullptr);
    ASSERT_NE(widget, nullptr);
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(typeid(*rep), typeid(XmlPhotoRep));
    EXPECT_EQ(typeid(*widget), typeid(XmlWidgetPhoto));
    EXPECT_EQ(typeid(*photo), typeid(XmlPhoto));
    for (XmlPhoto* each : { static_cast<XmlPhoto*>(rep.get()), static_cast<XmlPhoto*>(widget.get()), photo.get() })
        EXPECT_EQ(each->canvas()->image()->image().size(), lq::Size(40, 30));
}

TEST(XmlWidgetPhotoTest, SettingsAreWrittenAfterThePhotosAttributes)
{
    const auto widget = XmlWidgetPhoto::create();
    EXPECT_EQ(startTag(*widget),
        QString("<QZwidgetphoto iseq=\"0\" s=\"0\" alt=\"\" resize=\"0\" click=\"0\" link=\"\" tooltip=\"\">"));
    EXPECT_EQ(XmlWidgetPhoto::cast(widget.get()), widget.get());
    EXPECT_EQ(XmlWidgetPhoto::cast(XmlPhoto::create().get()), nullptr);

    widget->setImageSeqNumber(8);
    widget->setDontResize(true);
    widget->setClickImage(true);
    widget->setLink("http://example.com/?a=1&b=2");
    widget->setToolTip("Say \"hi\"");
    widget->caption()->setContent("<p>Badge</p>");
    EXPECT_EQ(startTag(*widget),
        QString("<QZwidgetphoto iseq=\"8\" s=\"0\" alt=\"\" resize=\"1\" click=\"1\" "
                "link=\"http://example.com/?a=1&amp;b=2\" tooltip=\"Say &quot;hi&quot;\">"));

    const auto copy = readElement<XmlWidgetPhoto>(widget->createXml());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->imageSeqNumber(), 8);
    EXPECT_TRUE(copy->dontResize());
    EXPECT_TRUE(copy->clickImage());
    EXPECT_EQ(copy->link(), QString("http://example.com/?a=1&b=2"));
    EXPECT_EQ(copy->toolTip(), QString("Say \"hi\""));
    EXPECT_EQ(copy->caption()->content(), QString("<p>Badge</p>"));
    EXPECT_EQ(copy->createXml(), widget->createXml());
}

TEST(XmlWidgetPhotoTest, SettersMarkTheDocumentChanged)
{
    SiteInDocument fixture;
    const auto widget = XmlWidgetPhoto::create();
    fixture.site->trash()->addChild(widget);
    expectEachMarksTheDocumentOnce(fixture.document, {
        { "setDontResize", [&] { widget->setDontResize(true); } },
        { "setClickImage", [&] { widget->setClickImage(true); } },
        { "setLink", [&] { widget->setLink("x"); } },
        { "setToolTip", [&] { widget->setToolTip("y"); } },
    });
}

// --- A whole site ---------------------------------------------------------------------------------

// A site with photos (captions with page and address links, PayPal items, alt
// texts), a page with a representative picture, a page without one, PayPal
// settings, and a trash holding a photo, a widget photo and a page with a photo.
QString siteWithPhotos()
{
    using namespace phototext;
    const QString emptyText = "<!-- x --><![CDATA[]]><!-- x -->";
    auto pageParts = [&](int depth, const QString& content) {
        return indent(depth) + "<IWwatermark" + phototext::watermarkAttributes() + ">" + emptyText + indent(depth) + "</IWwatermark>\n" + indent(depth)
            + "<QZcontent><!-- x --><![CDATA[" + content + "]]><!-- x -->" + indent(depth) + "</QZcontent>\n";
    };
    auto homePart = [&](const QString& tag) { return "  <" + tag + ">" + emptyText + "  </" + tag + ">\n"; };
    return QString("<QZsite imageseq=\"30\" pageseq=\"4\" widgetseq=\"1\" disableImageWell=\"0\">"
                   " <QZhomepage lc=\"0\" passPhrase=\"Enter your Password below and click Submit\" "
                   "submitLabel=\"Submit\">"
                   "  <QZmasthead linkto=\"\">" + emptyText + "  </QZmasthead>\n")
        + homePart("QZfooter") + homePart("headHTML") + homePart("bodyHTML") + homePart("descriptionMETA")
        + homePart("searchMETA")
        + "  <QZpaypalcommon paypaladdress=\"shop@example.com\" currency=\"GBP\" weightunit=\"1\"/>\n"
          "  <QZalbum name=\"Lake\" pageuuid=\"0000000000000001\" showInNav=\"1\" link=\"page1.html\" isExternal=\"0\" "
          "filename=\"page1.html\" seq=\"1\" template=\"0\">" + emptyText
        + photo("QZphotoRep", 3, " iseq=\"21\" s=\"0\" alt=\"\"", " linkType=\"1\" link=\"\" window=\"0\"", "", "")
        + pageParts(3, "<p>At the lake</p>")
        + photo("QZphoto", 3, " iseq=\"20\" s=\"0\" alt=\"\"", " linkType=\"0\" link=\"2\" window=\"0\"",
            "<p>Sunset <b>over</b> the lake</p><p>Second line</p>",
            " itemid=\"L-1\" itemname=\"Sunset print\" price=\"12.50\" weight=\"0.2\" shipping=\"3\" salestax=\"8%\"")
        + photo("QZphoto", 3, " iseq=\"22\" s=\"1\" alt=\"Boat &amp; dock\"",
            " linkType=\"1\" link=\"http://example.com/?a=1&amp;b=2\" window=\"1\"", "<p>The boat</p>", "")
        + "  </QZalbum>\n"
          "  <QZalbum name=\"Other\" pageuuid=\"0000000000000002\" showInNav=\"1\" link=\"page2.html\" isExternal=\"0\" "
          "filename=\"page2.html\" seq=\"2\" template=\"0\">" + emptyText
        + emptyRep(3) + pageParts(3, "") + "  </QZalbum>\n"
        + " </QZhomepage>\n"
          " <QZtrash>"
        + photo("QZphoto", 2, " iseq=\"9\" s=\"0\" alt=\"\"", " linkType=\"1\" link=\"\" window=\"0\"", "<p>Gone</p>", "")
        + photo("QZwidgetphoto", 2, " iseq=\"12\" s=\"0\" alt=\"\" resize=\"1\" click=\"0\" link=\"w.html\" tooltip=\"Tip\"",
            " linkType=\"1\" link=\"\" window=\"0\"", "", "")
        + "  <QZalbum name=\"Old\" pageuuid=\"0000000000000003\" showInNav=\"1\" link=\"page3.html\" isExternal=\"0\" "
          "filename=\"page3.html\" seq=\"3\" template=\"0\">" + emptyText
        + emptyRep(3) + pageParts(3, "")
        + photo("QZphoto", 3, " iseq=\"11\" s=\"0\" alt=\"\"", " linkType=\"1\" link=\"\" window=\"0\"", "<p>Old one</p>", "")
        + "  </QZalbum>\n"
          " </QZtrash>\n"
          "</QZsite>\n";
}

TEST(XmlPhotoSiteTest, SiteWithPhotosIsReadAndWrittenBackIdentically)
{
    const QString text = siteWithPhotos();
    const auto site = readElement<XmlSite>(text);
    ASSERT_NE(site, nullptr);
    EXPECT_EQ(site->createXml(), text);
    EXPECT_EQ(site->copyWithZone()->createXml(), text);

    XmlHomePage* home = site->homepage();
    ASSERT_EQ(home->numberChildren(), 2);
    auto* lake = XmlAlbum::cast(home->firstChild().get());
    ASSERT_NE(lake, nullptr);
    // The representative picture is the page's own part, not one of its photos.
    EXPECT_EQ(lake->numberPhotos(), 2);
    ASSERT_NE(lake->rep(), nullptr);
    EXPECT_EQ(lake->rep()->imageSeqNumber(), 21);
    EXPECT_EQ(lake->rep()->parent(), lake);
    EXPECT_EQ(lake->photoCaptions(),
        (QStringList { "<p>Sunset <b>over</b> the lake</p><p>Second line</p>", "<p>The boat</p>" }));

    auto* sunset = XmlPhoto::cast(lake->childAtIndex(0).get());
    auto* boat = XmlPhoto::cast(lake->childAtIndex(1).get());
    ASSERT_NE(sunset, nullptr);
    ASSERT_NE(boat, nullptr);
    EXPECT_EQ(sunset->name(), QString("Sunset over the ..."));
    EXPECT_EQ(sunset->caption()->longCaption(), QString("Sunset over the lake Second line "));
    EXPECT_EQ(sunset->caption()->href(), QString("page2.html"));
    EXPECT_EQ(sunset->caption()->target(), QString("_self"));
    EXPECT_TRUE(sunset->canBePurchased());
    EXPECT_EQ(sunset->paypal()->salestax(), QString("8%"));
    EXPECT_EQ(boat->caption()->href(), QString("http://example.com/?a=1&b=2"));
    EXPECT_EQ(boat->caption()->target(), QString("_blank"));
    EXPECT_EQ(boat->altText(), QString("Boat & dock"));
    EXPECT_FALSE(boat->canBePurchased());
    EXPECT_EQ(home->paypal()->currencyTag(), 2);

    EXPECT_EQ(site->trash()->numberChildren(), 3);
    EXPECT_NE(XmlWidgetPhoto::cast(site->trash()->childAtIndex(1).get()), nullptr);
    // Every picture of the site counts as in use, those in the trash included.
    EXPECT_EQ(site->picturesInSite(),
        (QStringList { "image21.jpg", "image20.jpg", "image22.jpg", "image0.jpg", "image9.jpg", "image12.jpg",
            "image0.jpg", "image11.jpg" }));
    // The queries above changed nothing.
    EXPECT_EQ(site->createXml(), text);
}

} // namespace
