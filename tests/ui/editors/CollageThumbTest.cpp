#include "ui/editors/CollageThumb.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

// The miniature drawn on white into a picture larger than its box.
QImage miniature(CollageThumb& thumb)
{
    thumb.resize(220, 120);
    QImage shot(thumb.size(), QImage::Format_ARGB32);
    shot.fill(Qt::white);
    thumb.render(&shot, QPoint(), QRegion(), QWidget::RenderFlags());
    return shot;
}

bool black(const QImage& shot, int x, int y)
{
    return QColor(shot.pixel(x, y)) == QColor(Qt::black);
}

} // namespace

TEST(CollageThumb, DrawsTheLayoutAsCellFramesInA180By90Box)
{
    CollageThumb thumb;
    EXPECT_EQ(thumb.sizeHint(), QSize(180, 90));
    // Three side by side: cells at x 0, 60 and 120, each framed on its own.
    const QImage three = miniature(thumb);
    for (const int x : { 0, 59, 60, 119, 120, 179 })
        EXPECT_TRUE(black(three, x, 45)) << x;
    for (const int x : { 1, 30, 58, 61, 90, 150, 178 }) {
        EXPECT_TRUE(black(three, x, 0)) << x;
        EXPECT_TRUE(black(three, x, 89)) << x;
        EXPECT_FALSE(black(three, x, 45)) << x;
    }
    // Nothing outside the box, whatever the view's size.
    for (const QPoint& outside : { QPoint(180, 45), QPoint(200, 10), QPoint(90, 90), QPoint(30, 110) })
        EXPECT_FALSE(black(three, outside.x(), outside.y())) << outside.x() << "," << outside.y();

    // One large cell on the left and two stacked on the right.
    thumb.setStyle(1);
    const QImage stacked = miniature(thumb);
    EXPECT_TRUE(black(stacked, 89, 20));
    EXPECT_TRUE(black(stacked, 90, 20));
    EXPECT_TRUE(black(stacked, 130, 44));
    EXPECT_TRUE(black(stacked, 130, 45));
    EXPECT_FALSE(black(stacked, 40, 45)); // the left cell is whole
    EXPECT_FALSE(black(stacked, 60, 20));

    thumb.setNumberPhotos(1);
    const QImage one = miniature(thumb);
    EXPECT_TRUE(black(one, 0, 45));
    EXPECT_TRUE(black(one, 179, 45));
    EXPECT_FALSE(black(one, 89, 45));
    EXPECT_FALSE(black(one, 90, 45));
}

TEST(CollageThumb, ReadsAndWritesTheAlbumsCollageString)
{
    CollageThumb thumb;
    EXPECT_EQ(thumb.collageString(), QString("3,600,200,0,2,0|{{0, 0}, {199, 200}}|{{201, 0}, {198, 200}}|{{401, 0}, {199, 200}}"));
    thumb.setCollageString("2,640,120,1,0,1|{{0, 0}, {1, 1}}");
    EXPECT_EQ(thumb.numberPhotos(), 2);
    EXPECT_EQ(thumb.style(), 1);
    EXPECT_EQ(thumb.collageString(), QString("2,640,120,1,0,1|{{0, 0}, {640, 60}}|{{0, 60}, {640, 60}}"));

    // A sheet changes the settings that do not show on a copy.
    CollageParameters settings = thumb.parameters();
    settings.setWidth(9000);
    settings.setSpaceBetween(10);
    thumb.setParameters(settings);
    EXPECT_EQ(thumb.parameters().width(), 5000);
    EXPECT_EQ(thumb.collageString(), QString("2,5000,120,1,10,1|{{0, 0}, {5000, 55}}|{{0, 65}, {5000, 55}}"));

    thumb.setNumberPhotos(9);
    EXPECT_EQ(thumb.numberPhotos(), 8);
    thumb.setStyle(-2);
    EXPECT_EQ(thumb.style(), 0);
}
