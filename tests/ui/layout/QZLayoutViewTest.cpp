// The layout canvas in a window of its own: where it places the page, its
// frame and rulers, the aids it draws over the page, the notice for a page
// that is an external link, and what it does with the pointer in test mode.
#include "ui/layout/MyScrollView.h"
#include "ui/widgets/RulerView.h"
#include "ui/widgets/RulerUnit.h"
#include "support/EventLoop.h"
#include "support/FixedBox.h"
#include "support/ui/LayoutWindow.h"
#include "support/ui/MouseSpyElement.h"

#include <QCheckBox>
#include <QFontMetricsF>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QColor green(0, 160, 0);

bool isGreen(QRgb pixel)
{
    return QColor(pixel) == green;
}

// The canvas of a window, moved into a scroll view of the test's own, over a
// template of one 800 × 300 green box at the page's origin.
class LayoutCanvasTest : public LayoutWindowTest {
protected:
    void SetUp() override
    {
        LayoutWindowTest::SetUp();
        sheet = XmlStyleSheet::create();
        sheet->setName(QStringLiteral("Plain"));
        document.theme()->addTemplate(sheet);
        box = FixedBox::create(0, 0, 800, 300);
        box->setName(QStringLiteral("Box"));
        box->setBkgnd(1);
        box->setBkgndColor(lq::Colour::fromQColor(green));
        sheet->addChild(box);
        home = page(QStringLiteral("Home"));
        layout->setPageWithTemplate(home->UUID(), sheet->UUID());
        scroll.enableRulers();
        scroll.setSubview(&canvas());
        scroll.show();
    }
    void TearDown() override
    {
        // The canvas goes back to its window, which deletes it.
        layout->canvasController().scrollBrowserView()->setSubview(&canvas());
        LayoutWindowTest::TearDown();
    }

    // The visible area (the clip view) at the size.
    void setVisibleSize(int width, int height)
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            scroll.resize(scroll.width() + width - scroll.viewport()->width(), scroll.height() + height - scroll.viewport()->height());
            QCoreApplication::processEvents();
        }
        ASSERT_EQ(scroll.viewport()->size(), QSize(width, height));
    }

    QImage drawn()
    {
        canvas().fitMe();
        return canvas().grab().toImage();
    }

    // A press and a release, or a move, at a page point.
    void send(QEvent::Type type, const lq::Point& at, Qt::MouseButtons buttons = Qt::NoButton,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF local(at.x + canvas().pageOffset().x(), at.y + canvas().pageOffset().y());
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, canvas().mapToGlobal(local), button, buttons, modifiers);
        QCoreApplication::sendEvent(&canvas(), &event);
    }

    std::shared_ptr<XmlStyleSheet> sheet;
    std::shared_ptr<FixedBox> box;
    std::shared_ptr<XmlAlbum> home;
    MyScrollView scroll;
};

TEST_F(LayoutCanvasTest, ACentredPageSitsInTheMiddleAndTheRulersReadZeroAtItsOrigin)
{
    sheet->setCenterHorz(true);
    layout->relayoutSheet();
    ASSERT_EQ(sheet->pageWidth(), 800);
    ASSERT_EQ(sheet->objectRect().width(), 800);

    setVisibleSize(1000, 1100);
    QImage shot = drawn();
    EXPECT_EQ(canvas().width(), 1000);
    EXPECT_EQ(canvas().pageOffset(), QPoint(100, 0));
    EXPECT_EQ(scroll.horizontalRulerView()->originOffset(), 100);
    EXPECT_EQ(scroll.verticalRulerView()->originOffset(), 0);
    EXPECT_FALSE(isGreen(shot.pixel(99, 10)));
    EXPECT_TRUE(isGreen(shot.pixel(100, 10)));
    EXPECT_TRUE(isGreen(shot.pixel(899, 299)));
    EXPECT_FALSE(isGreen(shot.pixel(900, 10)));

    // Narrower than the page: the canvas takes the page's width, the offset is 0, never negative.
    setVisibleSize(600, 1100);
    shot = drawn();
    EXPECT_EQ(canvas().width(), 800);
    EXPECT_EQ(canvas().pageOffset(), QPoint(0, 0));
    EXPECT_EQ(scroll.horizontalRulerView()->originOffset(), 0);
    EXPECT_TRUE(isGreen(shot.pixel(0, 10)));

    // Not centred: the template's own offsets place the page.
    sheet->setCenterHorz(false);
    sheet->setPageLeftOffset(30);
    sheet->setPageTopOffset(12);
    setVisibleSize(1000, 1100);
    shot = drawn();
    EXPECT_EQ(canvas().pageOffset(), QPoint(30, 12));
    EXPECT_EQ(scroll.verticalRulerView()->originOffset(), 12);
    EXPECT_TRUE(isGreen(shot.pixel(30, 12)));
    EXPECT_FALSE(isGreen(shot.pixel(29, 12)));
}

TEST_F(LayoutCanvasTest, TheFrameIsNeverSmallerThanTheVisibleArea)
{
    box->setWidth(200);
    box->setHeight(100);
    layout->relayoutSheet();
    setVisibleSize(700, 1300);
    drawn();
    // The template's extent is a whole number of thousands high.
    EXPECT_EQ(sheet->objectRect().height(), 1000);
    EXPECT_EQ(canvas().size(), QSize(700, 1300));
    setVisibleSize(500, 400);
    drawn();
    EXPECT_EQ(canvas().size(), QSize(500, 1000));
}

TEST_F(LayoutCanvasTest, RulersMeasureInGrummetsAndMarkARectangle)
{
    RulerUnit::registerUnit(RulerUnit {QStringLiteral("Grummets"), QStringLiteral("gt"), 100.0, {2.0}, {0.5, 0.2}});
    MyScrollView measured;
    measured.enableRulers();
    EXPECT_EQ(measured.horizontalRulerView()->unit().name, QStringLiteral("Grummets"));
    EXPECT_EQ(measured.verticalRulerView()->unit().name, QStringLiteral("Grummets"));

    sheet->setCenterHorz(true);
    layout->relayoutSheet();
    setVisibleSize(1000, 1100);
    drawn();
    canvas().doRulerLines(lq::Rect(10, 20, 30, 40).toString());
    EXPECT_EQ(scroll.horizontalRulerView()->rulerlineLocations(), (QList<double> {110, 140}));
    EXPECT_EQ(scroll.verticalRulerView()->rulerlineLocations(), (QList<double> {20, 60}));
    canvas().doRulerLines(lq::Rect(0, 0, 5, 5).toString());
    EXPECT_EQ(scroll.horizontalRulerView()->rulerlineLocations(), (QList<double> {100, 105}));
    canvas().doRulerLines(lq::Rect().toString());
    EXPECT_TRUE(scroll.horizontalRulerView()->rulerlineLocations().isEmpty());
    EXPECT_TRUE(scroll.verticalRulerView()->rulerlineLocations().isEmpty());

    // Without rulers nothing is marked, and nothing fails.
    layout->canvasController().scrollBrowserView()->setSubview(&canvas());
    EXPECT_EQ(canvas().horzRulerView(), nullptr);
    canvas().doRulerLines(lq::Rect(1, 1, 1, 1).toString());
    scroll.setSubview(&canvas());
}

TEST_F(LayoutCanvasTest, TheRulersMarksFollowACentredPageThatMoves)
{
    sheet->setCenterHorz(true);
    layout->relayoutSheet();
    setVisibleSize(1000, 1100);
    drawn();
    ASSERT_EQ(canvas().pageOffset(), QPoint(100, 0));
    canvas().doRulerLines(lq::Rect(10, 20, 30, 40).toString());
    EXPECT_EQ(scroll.horizontalRulerView()->rulerlineLocations(), (QList<double> {110, 140}));
    // A wider page sits further left: the marks go with it, none stays behind.
    box->setWidth(900);
    layout->relayoutSheet();
    drawn();
    ASSERT_EQ(canvas().pageOffset(), QPoint(50, 0));
    EXPECT_EQ(scroll.horizontalRulerView()->rulerlineLocations(), (QList<double> {60, 90}));
    EXPECT_EQ(scroll.verticalRulerView()->rulerlineLocations(), (QList<double> {20, 60}));
}

TEST_F(LayoutCanvasTest, PageBoundariesCarryTagsNamingTheEdgeElements)
{
    canvas().setTestMode(false);
    setVisibleSize(1000, 1100);
    QCheckBox on;
    on.setChecked(true);
    canvas().enablePageBoundaries(&on);
    // The box ends at the page's left and right: it names both edges.
    ASSERT_EQ(sheet->leftEdgeElement(), QStringLiteral("Box"));
    ASSERT_EQ(sheet->rightEdgeElement(), QStringLiteral("Box"));
    const QImage shot = drawn();

    const QFontMetricsF metrics(lq::Font::helvetica(13).toQFont());
    const int w = int(metrics.horizontalAdvance(QStringLiteral("Box"))) + 10;
    const int h = int(metrics.height()) + 4;
    const QColor yellow(Qt::yellow);
    // The left tag: from the edge to 10 past the label, at y = 4, filled yellow.
    EXPECT_EQ(QColor(shot.pixel(3, 4 + h / 2)), yellow);
    EXPECT_EQ(QColor(shot.pixel(w - 2, 4 + h - 2)), yellow);
    EXPECT_NE(QColor(shot.pixel(w + 2, 4 + h / 2)), yellow);
    EXPECT_NE(QColor(shot.pixel(w / 2, 1)), yellow);
    // The right tag ends at the page's right edge.
    EXPECT_EQ(QColor(shot.pixel(800 - 3, 4 + h / 2)), yellow);
    EXPECT_NE(QColor(shot.pixel(800 - w - 2, 4 + h / 2)), yellow);
    // The boundary line at the right edge runs down past the box.
    EXPECT_EQ(QColor(shot.pixel(800, 600)), QColor(Qt::blue));

    QCheckBox off;
    canvas().enablePageBoundaries(&off);
    EXPECT_NE(QColor(drawn().pixel(3, 4 + h / 2)), yellow);
}

TEST_F(LayoutCanvasTest, TheGridIsDrawnInLayoutModeOnly)
{
    box->setHeight(40);
    layout->relayoutSheet();
    canvas().setTestMode(false);
    setVisibleSize(900, 1100);
    const QRgb plain = drawn().pixel(30, 200);
    canvas().setShowGrid(true);
    canvas().setGridAlpha(1.0f);
    canvas().setGridY(0);
    QImage shot = drawn();
    EXPECT_EQ(QColor(shot.pixel(40, 200)), QColor(Qt::blue));
    EXPECT_EQ(QColor(shot.pixel(30, 200)), QColor(plain));
    // No spacing across: no horizontal lines.
    EXPECT_EQ(QColor(shot.pixel(30, 100)), QColor(plain));
    canvas().setGridY(20);
    EXPECT_EQ(QColor(drawn().pixel(30, 100)), QColor(Qt::blue));

    canvas().setTestMode(true);
    EXPECT_FALSE(canvas().showGrid());
    EXPECT_EQ(QColor(drawn().pixel(40, 200)), QColor(plain));
}

TEST_F(LayoutCanvasTest, APageThatIsAnExternalLinkShowsOnlyANotice)
{
    home->setExternalLink(QStringLiteral("http://example.org/elsewhere"));
    home->setIsExternalLink(true);
    layout->activateTab(false);
    scroll.setSubview(&canvas());
    setVisibleSize(600, 400);
    const QImage shot = drawn();
    EXPECT_EQ(layout->getTemplate(), nullptr);
    EXPECT_EQ(canvas().size(), QSize(600, 400));
    const QColor grey = lq::Colour::fromWhite(2.0f / 3.0f).toQColor();
    EXPECT_EQ(QColor(shot.pixel(5, 300)), grey);
    // The notice is centred on the first line: black ink near the middle, none at the sides.
    int ink = 0;
    int left = shot.width();
    int right = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (QColor(shot.pixel(x, y)).lightness() < 80) {
                ++ink;
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    EXPECT_GT(ink, 100);
    EXPECT_LT(std::abs((left + right) / 2 - 300), 10);
    EXPECT_FALSE(isGreen(shot.pixel(100, 100)));
}

TEST_F(LayoutCanvasTest, InTestModeHotRectanglesAnswerThePointer)
{
    setVisibleSize(1000, 1100);
    drawn();
    ASSERT_TRUE(canvas().testMode());
    const auto element = MouseSpyElement::create();
    canvas().addTrackingDataForObjectDataRect(element->UUID(), QStringLiteral("item 2"), lq::Rect(100, 50, 80, 20));
    const auto other = MouseSpyElement::create();
    canvas().addTrackingDataForObjectDataRect(other->UUID(), QStringLiteral("over"), lq::Rect(150, 60, 80, 20));

    // Shift or Option held: nothing is hovered.
    send(QEvent::MouseMove, lq::Point(120, 55), Qt::NoButton, Qt::ShiftModifier);
    send(QEvent::MouseMove, lq::Point(120, 55), Qt::NoButton, Qt::AltModifier);
    EXPECT_TRUE(element->taken().isEmpty());
    EXPECT_NE(canvas().cursor().shape(), Qt::PointingHandCursor);

    send(QEvent::MouseMove, lq::Point(120, 55));
    send(QEvent::MouseMove, lq::Point(121, 56));
    EXPECT_EQ(element->taken(), QStringList {QStringLiteral("mouseEntered: item 2")});
    EXPECT_EQ(canvas().cursor().shape(), Qt::PointingHandCursor);

    send(QEvent::MouseButtonPress, lq::Point(121, 56), Qt::LeftButton);
    send(QEvent::MouseMove, lq::Point(400, 300), Qt::LeftButton);
    send(QEvent::MouseMove, lq::Point(125, 58), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, lq::Point(125, 58));
    EXPECT_EQ(element->taken(), (QStringList {QStringLiteral("mouseDown: item 2"), QStringLiteral("mouseExited: item 2"),
                                    QStringLiteral("mouseDown: item 2"), QStringLiteral("mouseClick: item 2")}));

    // Where the two overlap both hover, and a press reaches the lower slot only.
    send(QEvent::MouseMove, lq::Point(160, 65));
    EXPECT_EQ(other->taken(), QStringList {QStringLiteral("mouseEntered: over")});
    send(QEvent::MouseButtonPress, lq::Point(160, 65), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, lq::Point(160, 65));
    EXPECT_EQ(element->taken(), (QStringList {QStringLiteral("mouseDown: item 2"), QStringLiteral("mouseClick: item 2")}));
    EXPECT_TRUE(other->taken().isEmpty());

    send(QEvent::MouseMove, lq::Point(600, 600));
    EXPECT_EQ(canvas().cursor().shape(), Qt::ArrowCursor);

    // Layout mode ignores the pointer's movement.
    element->taken();
    canvas().setTestMode(false);
    send(QEvent::MouseMove, lq::Point(120, 55));
    EXPECT_TRUE(element->taken().isEmpty());
}

TEST_F(LayoutCanvasTest, TheReadOutFollowsOptionInLayoutModeOnly)
{
    canvas().setTestMode(false);
    QTest::keyPress(&canvas(), Qt::Key_Alt, Qt::AltModifier);
    EXPECT_TRUE(canvas().cordView()->isVisibleTo(&canvas()));
    QTest::keyRelease(&canvas(), Qt::Key_Alt, Qt::AltModifier);
    EXPECT_FALSE(canvas().cordView()->isVisibleTo(&canvas()));
    canvas().setTestMode(true);
    canvas().flagsChanged(Qt::AltModifier);
    EXPECT_FALSE(canvas().cordView()->isVisibleTo(&canvas()));
}

// Notes the regions of the paint events a widget gets.
class PaintRegions : public QObject {
public:
    explicit PaintRegions(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            regions.append(static_cast<QPaintEvent*>(event)->region());
        return false;
    }
    QList<QRegion> regions;
};

TEST_F(LayoutCanvasTest, RedisplayingAnyRectangleRedrawsTheWholeCanvas)
{
    setVisibleSize(1000, 1100);
    drawn();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&scroll));
    QCoreApplication::processEvents();
    PaintRegions paints(&canvas());
    // An element asks, through the document and its layout controller.
    document.redisplayRect(lq::Rect(10, 10, 1, 1));
    ASSERT_TRUE(processEventsUntil([&] { return !paints.regions.isEmpty(); }, 5000));
    EXPECT_TRUE(paints.regions.last().contains(canvas().rect()));
}

} // namespace
