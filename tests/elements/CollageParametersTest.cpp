#include "elements/CollageParameters.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

namespace {

void expectDefaults(const CollageParameters& p)
{
    EXPECT_EQ(p.numberPhotos(), 3);
    EXPECT_EQ(p.style(), 0);
    EXPECT_EQ(p.spaceBetween(), 2);
    EXPECT_EQ(p.width(), 600);
    EXPECT_EQ(p.height(), 200);
    EXPECT_FALSE(p.allowPhotos());
}

} // namespace

TEST(CollageParameters, WritesTheDefaultCollageString)
{
    const CollageParameters p;
    expectDefaults(p);
    EXPECT_EQ(p.collageString(), QString("3,600,200,0,2,0|{{0, 0}, {199, 200}}|{{201, 0}, {198, 200}}|{{401, 0}, {199, 200}}"));
}

TEST(CollageParameters, SettersKeepTheirLimits)
{
    struct Case {
        const char* what;
        void (CollageParameters::*set)(int);
        int (CollageParameters::*get)() const;
        int given;
        int kept;
    };
    const Case cases[] = {
        { "pictures 0", &CollageParameters::setNumberPhotos, &CollageParameters::numberPhotos, 0, 1 },
        { "pictures 9", &CollageParameters::setNumberPhotos, &CollageParameters::numberPhotos, 9, 8 },
        { "pictures 5", &CollageParameters::setNumberPhotos, &CollageParameters::numberPhotos, 5, 5 },
        { "style -1", &CollageParameters::setStyle, &CollageParameters::style, -1, 0 },
        { "style 3", &CollageParameters::setStyle, &CollageParameters::style, 3, 2 },
        { "width 5", &CollageParameters::setWidth, &CollageParameters::width, 5, 20 },
        { "width 9000", &CollageParameters::setWidth, &CollageParameters::width, 9000, 5000 },
        { "width 20", &CollageParameters::setWidth, &CollageParameters::width, 20, 20 },
        { "height 0", &CollageParameters::setHeight, &CollageParameters::height, 0, 10 },
        { "height 5001", &CollageParameters::setHeight, &CollageParameters::height, 5001, 5000 },
        { "space -7 is kept", &CollageParameters::setSpaceBetween, &CollageParameters::spaceBetween, -7, -7 },
        { "space 900 is kept", &CollageParameters::setSpaceBetween, &CollageParameters::spaceBetween, 900, 900 },
    };
    for (const Case& c : cases) {
        CollageParameters p;
        (p.*c.set)(c.given);
        EXPECT_EQ((p.*c.get)(), c.kept) << c.what;
    }
}

TEST(CollageParameters, WritesTheAlbumsOwnStringForEveryLayout)
{
    // What the album would write for the same settings, cell for cell, and
    // what the album reads back from it.
    for (int photos = 1; photos <= 8; ++photos) {
        for (int style = 0; style <= 2; ++style) {
            CollageParameters p;
            p.setNumberPhotos(photos);
            p.setStyle(style);
            p.setWidth(737);
            p.setHeight(311);
            p.setSpaceBetween(5);
            p.setAllowPhotos(style == 1);
            const QString collage = p.collageString();
            EXPECT_EQ(collage, CollageParameters::collageStringFor(photos, 737, 311, style, 5, style == 1 ? 1 : 0))
                << photos << " " << style;
            EXPECT_EQ(collage.count(QLatin1Char('|')), photos) << collage.toStdString();

            auto album = XmlWebPhotoAlbum::create();
            album->settings().setCollageString(collage);
            EXPECT_EQ(album->settings().collageNumberPhotos(), photos);
            EXPECT_EQ(album->settings().collageWidth(), 737);
            EXPECT_EQ(album->settings().collageHeight(), 311);
            EXPECT_EQ(album->settings().collageAllowPhotos(), style == 1 ? 1 : 0);
        }
    }
}

TEST(CollageParameters, WritesCellsOneSpaceApartAndFlushWithTheBlock)
{
    struct Case {
        int photos, width, height, style, space;
        bool allow;
        const char* expected;
    };
    const Case cases[] = {
        { 2, 600, 200, 2, 2, false, "2,600,200,2,2,0|{{0, 0}, {399, 200}}|{{401, 0}, {199, 200}}" },
        { 1, 600, 200, 0, 2, false, "1,600,200,0,2,0|{{0, 0}, {600, 200}}" },
        { 5, 800, 300, 1, 4, true,
          "5,800,300,1,4,1|{{0, 0}, {197, 300}}|{{201, 0}, {197, 300}}|{{402, 0}, {197, 300}}"
          "|{{603, 0}, {197, 148}}|{{603, 152}, {197, 148}}" },
    };
    for (const Case& c : cases) {
        CollageParameters p;
        p.setNumberPhotos(c.photos);
        p.setWidth(c.width);
        p.setHeight(c.height);
        p.setStyle(c.style);
        p.setSpaceBetween(c.space);
        p.setAllowPhotos(c.allow);
        EXPECT_EQ(p.collageString(), QString(c.expected));
    }
}

TEST(CollageParameters, ReadsTheHeaderAndRecomputesTheCells)
{
    CollageParameters p;
    // The stored rectangles are not read: the string written back has its cells afresh.
    p.setCollageString("5,800,300,1,4,1|{{1, 2}, {3, 4}}|garbage");
    EXPECT_EQ(p.numberPhotos(), 5);
    EXPECT_EQ(p.width(), 800);
    EXPECT_EQ(p.height(), 300);
    EXPECT_EQ(p.style(), 1);
    EXPECT_EQ(p.spaceBetween(), 4);
    EXPECT_TRUE(p.allowPhotos());
    EXPECT_EQ(p.collageString(),
              QString("5,800,300,1,4,1|{{0, 0}, {197, 300}}|{{201, 0}, {197, 300}}|{{402, 0}, {197, 300}}"
                      "|{{603, 0}, {197, 148}}|{{603, 152}, {197, 148}}"));

    // The album's own starting value has five fields: the flag reads as off.
    p.setCollageString("3,600,200,0,2|{{0, 0}, {199, 200}}|{{201, 0}, {198, 200}}|{{401, 0}, {199, 200}}");
    expectDefaults(p);
}

TEST(CollageParameters, ReadingStartsFromTheDefaults)
{
    struct Case {
        const char* collage;
        int photos, width, height, style, space;
        bool allow;
    };
    const Case cases[] = {
        // Four fields or fewer leave every default, whatever was set before.
        { "7,900,400,2", 3, 600, 200, 0, 2, false },
        { "", 3, 600, 200, 0, 2, false },
        { "8", 3, 600, 200, 0, 2, false },
        // The setters' limits apply to what is read.
        { "0,9000,1,3,-3,0", 1, 5000, 10, 2, -3, false },
        { "12,5,99999,-4,6,7", 8, 20, 5000, 0, 6, true },
        // Blanks before a number are skipped; what is no number reads as 0.
        { " 4, 700,x300,one,  9, 1", 4, 700, 10, 0, 9, true },
    };
    for (const Case& c : cases) {
        CollageParameters p;
        p.setNumberPhotos(6);
        p.setWidth(1234);
        p.setStyle(2);
        p.setAllowPhotos(true);
        p.setCollageString(QString::fromLatin1(c.collage));
        EXPECT_EQ(p.numberPhotos(), c.photos) << c.collage;
        EXPECT_EQ(p.width(), c.width) << c.collage;
        EXPECT_EQ(p.height(), c.height) << c.collage;
        EXPECT_EQ(p.style(), c.style) << c.collage;
        EXPECT_EQ(p.spaceBetween(), c.space) << c.collage;
        EXPECT_EQ(p.allowPhotos(), c.allow) << c.collage;
    }
    CollageParameters fromNothing;
    fromNothing.setNumberPhotos(6);
    fromNothing.setCollageString(QString());
    expectDefaults(fromNothing);
}

TEST(CollageParameters, MiniatureCellsFillTheBoxWithoutSpacing)
{
    struct Case {
        int photos, style;
        std::vector<lq::Rect> cells;
    };
    const Case cases[] = {
        { 1, 2, { lq::Rect(0, 0, 180, 90) } },
        { 3, 0, { lq::Rect(0, 0, 60, 90), lq::Rect(60, 0, 60, 90), lq::Rect(120, 0, 60, 90) } },
        { 3, 1, { lq::Rect(0, 0, 90, 90), lq::Rect(90, 0, 90, 45), lq::Rect(90, 45, 90, 45) } },
        { 8, 2,
          { lq::Rect(0, 0, 60, 30), lq::Rect(60, 0, 59, 30), lq::Rect(119, 0, 61, 30), lq::Rect(0, 30, 90, 30),
            lq::Rect(90, 30, 90, 30), lq::Rect(0, 60, 60, 30), lq::Rect(60, 60, 59, 30), lq::Rect(119, 60, 61, 30) } },
    };
    for (const Case& c : cases) {
        CollageParameters p;
        p.setNumberPhotos(c.photos);
        p.setStyle(c.style);
        // Size and space of the real collage do not change the miniature.
        p.setWidth(4000);
        p.setSpaceBetween(30);
        const QList<lq::Rect> cells = p.miniatureCells();
        EXPECT_EQ(std::vector<lq::Rect>(cells.begin(), cells.end()), c.cells) << c.photos << " " << c.style;
    }
}
