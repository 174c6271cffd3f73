#include "ui/widgets/CustomCursors.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QImage>
#include <QPixmap>

TEST(CustomCursors, AreDrawnFromTheProgramsPicturesWithTheirHotSpots)
{
    struct Case {
        const char* what;
        const QCursor& cursor;
        QPoint hotSpot;
    };
    const Case cases[] = {
        { "cross", lq::crossCursor(), QPoint(8, 8) },
        { "box", lq::boxCursor(), QPoint(8, 8) },
        { "hand", lq::handCursor(), QPoint(8, 0) },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.cursor.shape(), Qt::BitmapCursor) << c.what;
        EXPECT_FALSE(c.cursor.pixmap().isNull()) << c.what;
        EXPECT_EQ(c.cursor.hotSpot(), c.hotSpot) << c.what;
        // The hot spot is on the picture's ink or right beside it.
        const QImage picture = c.cursor.pixmap().toImage();
        int inked = 0;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint p = c.hotSpot + QPoint(dx, dy);
                if (picture.rect().contains(p) && qAlpha(picture.pixel(p)) > 0)
                    ++inked;
            }
        }
        EXPECT_GT(inked, 0) << c.what;
    }
    // Made once.
    EXPECT_EQ(&lq::crossCursor(), &lq::crossCursor());
}
