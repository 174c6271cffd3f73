#include "ui/editors/photo/BorderBitmap.h"

#include <gtest/gtest.h>

#include <QImage>

TEST(BorderBitmap, DrawsTheBorderSampleFadedBelowTheRightOfItsBottomEdge)
{
    BorderBitmap view;
    view.resize(300, 100);
    const QImage picture(QStringLiteral(LQ_TEST_RESOURCES "/images/border.png"));
    ASSERT_FALSE(picture.isNull());
    // Its lower-left corner 133 right of and 16 below the view's lower-left corner.
    EXPECT_EQ(view.pictureOrigin(), QPoint(133, 100 + 16 - picture.height()));

    QImage shot(view.size(), QImage::Format_ARGB32);
    shot.fill(Qt::transparent);
    view.render(&shot, QPoint(), QRegion(), QWidget::RenderFlags());
    // The picture's opaque paper shows at 80 %.
    const QPoint paper = view.pictureOrigin() + QPoint(8, 8);
    ASSERT_EQ(qAlpha(picture.pixel(8, 8)), 255);
    EXPECT_NEAR(qAlpha(shot.pixel(paper)), 204, 2);
    EXPECT_EQ(qAlpha(shot.pixel(100, 50)), 0);
}
