// The icon grid: its geometry follows the superview's width, every click
// selects what lies under it (even past the last item), a double click sends
// the action, and the drawing shows icons, frames and captions.
#include "ui/editors/QZArraySelectView.h"
#include "model/site/XmlGroup.h"
#include "support/ui/GridPictures.h"
#include "support/ui/SiteWindow.h"

#include <QScrollArea>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(QZArraySelectViewGeometry, ColumnsFollowTheSuperviewsWidth)
{
    struct Case {
        int width;
        int columns;
        QRectF item1;
        QRectF caption1;
    };
    const std::vector<Case> cases {
        { 250, 1, QRectF(10, 140, 120, 90), QRectF(10, 240, 120, 20) },
        { 300, 2, QRectF(150, 10, 120, 90), QRectF(150, 110, 120, 20) },
        { 100, 1, QRectF(10, 140, 120, 90), QRectF(10, 240, 120, 20) },
    };
    for (const Case& c : cases) {
        QWidget superview;
        superview.resize(c.width, 400);
        auto* grid = new QZArraySelectView(&superview);
        grid->setItemSize(QSizeF(120, 90));
        EXPECT_EQ(grid->numColumns(), c.columns) << c.width;
        EXPECT_EQ(grid->rectOfObjectAtIndex(1), c.item1) << c.width;
        EXPECT_EQ(grid->captionRectOfObjectAtIndex(1), c.caption1) << c.width;
        EXPECT_EQ(grid->cellSize(), QSizeF(140, 130));
    }

    // In its scroll area the grid follows the visible width as it changes.
    auto* grid = new QZArraySelectView;
    EXPECT_EQ(grid->itemSize(), QSizeF(180, 135));
    grid->setItemSize(QSizeF(120, 90));
    const std::unique_ptr<QScrollArea> area(grid->makeScrollView());
    area->resize(300, 400);
    area->show();
    EXPECT_EQ(grid->numColumns(), 2);
    EXPECT_GE(grid->width(), area->viewport()->width());
    area->resize(250, 400);
    EXPECT_EQ(grid->numColumns(), 1);
    EXPECT_EQ(grid->rectOfObjectAtIndex(1).topLeft(), QPointF(10, 140));
}

// An album page with three photos of different colours, shown in an icon
// grid two columns wide.
class QZArraySelectViewTest : public SiteWindowTest {
protected:
    void SetUp() override
    {
        SiteWindowTest::SetUp();
        photos = { addPhoto(*album, QStringLiteral("red"), Qt::red), addPhoto(*album, QStringLiteral("green"), Qt::green),
            addPhoto(*album, QStringLiteral("blue"), Qt::blue) };
        superview.resize(300, 400);
        grid = new QZArraySelectView(&superview);
        grid->setItemSize(QSizeF(120, 90));
        grid->setAlbum(album.get());
        grid->setTargetAction([this](QZArraySelectView* sender) { actions.append(sender->selectedIndex()); });
        superview.show();
        grid->fitMe();
    }
    QPoint centreOf(int position) const { return grid->rectOfObjectAtIndex(position).center().toPoint(); }

    QWidget superview;
    QZArraySelectView* grid = nullptr;
    QList<std::shared_ptr<XmlPhoto>> photos;
    QList<int> actions;
};

TEST_F(QZArraySelectViewTest, EveryClickSelectsAndADoubleClickActs)
{
    EXPECT_EQ(grid->selectedIndex(), 0) << "the first item shows selected until a click";
    struct Case {
        const char* what;
        QPoint at;
        int selected;
    };
    const std::vector<Case> cases {
        { "an item", centreOf(1), 1 },
        { "the empty cell of the last row: the last item", centreOf(3), 2 },
        { "below the last row: the last row", QPoint(20, 380), 2 },
        { "right of the grid: the last column", QPoint(295, 20), 1 },
    };
    for (const Case& c : cases) {
        QTest::mouseClick(grid, Qt::LeftButton, {}, c.at);
        EXPECT_EQ(grid->selectedIndex(), c.selected) << c.what;
    }
    EXPECT_TRUE(actions.isEmpty());
    QTest::mouseDClick(grid, Qt::LeftButton, {}, centreOf(2));
    EXPECT_EQ(actions, QList<int> { 2 });

    // A click that selects past the end keeps its place for another album.
    QTest::mouseClick(grid, Qt::LeftButton, {}, centreOf(3));
    auto bigger = XmlAlbum::create();
    document.site()->homepage()->addChild(bigger);
    for (int i = 0; i < 5; ++i)
        addPhoto(*bigger, QStringLiteral("more") + QString::number(i), Qt::gray);
    grid->setAlbum(bigger.get());
    EXPECT_EQ(grid->selectedIndex(), 3);
}

TEST_F(QZArraySelectViewTest, AnEmptyGridSelectsNothing)
{
    auto empty = XmlAlbum::create();
    document.site()->homepage()->addChild(empty);
    grid->setAlbum(empty.get());
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_LT(grid->selectedIndex(), 0);
    const QImage shot = gridPicture(*grid);
    EXPECT_EQ(countPixels(shot, shot.rect(), [](QColor c) { return c != QColor(Qt::white); }), 0) << "the view is white";
}

TEST_F(QZArraySelectViewTest, ShowsTheCurrentObjectWithoutAnAlbum)
{
    QZArraySelectView current(&superview);
    current.setDocument(window.get());
    window->setCurrentObject(album.get());
    EXPECT_EQ(current.xmlobject(), album);
    EXPECT_EQ(current.numObjects(), 3);
    current.setAlbum(document.site()->homepage());
    EXPECT_EQ(current.numObjects(), 1);
}

TEST_F(QZArraySelectViewTest, DrawsIconsFramesAndCaptions)
{
    QTest::mouseClick(grid, Qt::LeftButton, {}, centreOf(1));
    const QImage shot = gridPicture(*grid, QStringLiteral("icon-grid.png"));
    for (int i = 0; i < 3; ++i) {
        const QColor colour = QList<QColor> { Qt::red, Qt::green, Qt::blue }[i];
        const QRect item = grid->rectOfObjectAtIndex(i).toRect();
        // The photo, at its own size (120 x 90 fills the item), in its colour.
        EXPECT_TRUE(near(QColor(shot.pixel(item.center())), colour, 40)) << i;
        // The frame 4 outside the item: blue for the selected one, grey for others.
        const QColor frame(shot.pixel(item.center().x(), item.top() - 4));
        EXPECT_TRUE(near(frame, i == 1 ? QColor(Qt::blue) : QColor(Qt::gray), 30)) << i;
        // The caption: dark text centred in the band under the item.
        const QRect band = grid->captionRectOfObjectAtIndex(i).toRect();
        EXPECT_GT(countPixels(shot, band, isDark), 10) << i;
        EXPECT_EQ(countPixels(shot, QRect(band.left(), band.top(), 30, band.height()), isDark), 0) << "centred, not at the left";
    }
}

TEST_F(QZArraySelectViewTest, PagesShowTheirPictureOrThePlaceholder)
{
    // A group's pages: one with photos (its picture is its first photo's),
    // one without any.
    auto group = XmlGroup::create();
    document.site()->homepage()->addChild(group);
    auto withPhotos = XmlAlbum::create();
    withPhotos->setName(QStringLiteral("With photos"));
    group->addChild(withPhotos);
    addPhoto(*withPhotos, QStringLiteral("magenta"), Qt::magenta);
    auto empty = XmlAlbum::create();
    empty->setName(QStringLiteral("A name far too long for one line of the caption band"));
    group->addChild(empty);
    grid->setAlbum(group.get());
    const QImage shot = gridPicture(*grid, QStringLiteral("icon-grid-pages.png"));
    const QRect first = grid->rectOfObjectAtIndex(0).toRect();
    const QRect second = grid->rectOfObjectAtIndex(1).toRect();
    EXPECT_TRUE(near(QColor(shot.pixel(first.center())), Qt::magenta, 40));
    EXPECT_GT(countPixels(shot, second, [](QColor c) { return c != QColor(Qt::white); }), 100) << "the placeholder";
    // A long caption wraps at the item's width; the lines that start inside
    // the 20-pixel band are drawn (the second reaches below it), the third
    // is not.
    const QRect band = grid->captionRectOfObjectAtIndex(1).toRect();
    EXPECT_GT(countPixels(shot, QRect(band.left(), band.top(), band.width(), 14), isDark), 10);
    EXPECT_GT(countPixels(shot, QRect(band.left(), band.top() + 16, band.width(), 12), isDark), 10);
    EXPECT_EQ(countPixels(shot, QRect(band.left(), band.top() + 32, band.width(), 14), isDark), 0);
    EXPECT_EQ(countPixels(shot, QRect(band.left() - 10, band.top(), 8, 40), isDark), 0) << "wrapped at the item's width";
}

TEST_F(QZArraySelectViewTest, APictureLargerThanTheItemIsCutNotScaled)
{
    // A 160 x 120 icon holds the top half white, the bottom half black; in a
    // 60 x 40 item its lower part shows, cut to the item.
    auto tall = XmlAlbum::create();
    document.site()->homepage()->addChild(tall);
    QImage picture(160, 120, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter(&picture).fillRect(0, 60, 160, 60, Qt::black);
    const QString path = sources.filePath(QStringLiteral("halves.png"));
    ASSERT_TRUE(picture.save(path));
    ASSERT_NE(tall->importPhotoIndexCaption(path, -1, QString()), nullptr);
    grid->setAlbum(tall.get());
    grid->setItemSize(QSizeF(60, 40));
    const QImage shot = gridPicture(*grid);
    const QRect item = grid->rectOfObjectAtIndex(0).toRect();
    EXPECT_EQ(countPixels(shot, item.adjusted(2, 2, -2, -2), isDark), (item.width() - 4) * (item.height() - 4));
    EXPECT_EQ(countPixels(shot, QRect(item.right() + 8, item.top(), 20, item.height()), isDark), 0);
}

} // namespace
