#include "ui/editors/photo/BBContainer.h"
#include "ui/editors/photo/BorderBitmap.h"

#include <gtest/gtest.h>

#include <QImage>

TEST(BBContainer, KeepsTheSampleOverItsWholeAreaAndCutsItAtItsEdges)
{
    const QImage picture(QStringLiteral(LQ_TEST_RESOURCES "/images/border.png"));
    ASSERT_FALSE(picture.isNull());
    BBContainer container;
    container.show();
    // Its own size shows the part of the picture above its bottom edge.
    EXPECT_EQ(container.sizeHint(), QSize(133 + picture.width(), picture.height() - 16));

    for (const QSize size : {QSize(300, 100), QSize(200, 60), container.sizeHint()}) {
        container.resize(size);
        EXPECT_EQ(container.borderBitmap()->geometry(), QRect(QPoint(0, 0), size)) << size.width() << "x" << size.height();
    }

    QImage shot(container.size(), QImage::Format_ARGB32);
    shot.fill(Qt::transparent);
    container.render(&shot, QPoint(), QRegion(), QWidget::DrawChildren);
    // The sample shows at 80 % right of the container's left part; the
    // container paints nothing of its own there.
    const QPoint paper = container.borderBitmap()->pictureOrigin() + QPoint(8, 8);
    ASSERT_EQ(qAlpha(picture.pixel(8, 8)), 255);
    EXPECT_NEAR(qAlpha(shot.pixel(paper)), 204, 2);
    EXPECT_EQ(qAlpha(shot.pixel(60, container.height() / 2)), 0);
    // The picture's lowest 16 rows lie below the container and are not drawn.
    EXPECT_EQ(container.borderBitmap()->pictureOrigin().y() + picture.height(), container.height() + 16);
}
