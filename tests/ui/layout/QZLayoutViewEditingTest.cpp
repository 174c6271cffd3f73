// The layout canvas in layout mode, driven by the pointer and the keys as a
// user drives it: selecting, dragging, resizing by the grab handles, the
// arrow keys, the alignment guides that hold an element in line, Tab order
// and Control-click editing, with what each does to the page element and to
// the document's change count.
#include "elements/XmlWebPhotoAlbum.h"
#include "ui/layout/MyScrollView.h"
#include "model/site/XmlPhoto.h"
#include "ui/widgets/RulerView.h"
#include "support/FixedBox.h"
#include "support/Printers.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "support/ui/LayoutWindow.h"

#include <QCheckBox>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace lq {
[[maybe_unused]] static void PrintTo(const Rect& r, std::ostream* os)
{
    *os << r.toString().toStdString();
}
[[maybe_unused]] static void PrintTo(const Point& p, std::ostream* os)
{
    *os << p.toString().toStdString();
}
} // namespace lq

namespace {

// A box whose content a Control-click opens: it answers itself.
class EditableBox : public FixedBox {
public:
    explicit EditableBox(Key key)
        : FixedBox(key)
    {
    }
    static std::shared_ptr<EditableBox> create(const lq::Rect& rect)
    {
        auto box = make<EditableBox>();
        box->setLeft(int(rect.x()));
        box->setTop(int(rect.y()));
        box->setWidth(int(rect.width()));
        box->setHeight(int(rect.height()));
        return box;
    }
    XmlBasePtr objectForEditingAtPoint(const lq::Point& point) override
    {
        return visible() && objectRect().contains(point) ? sharedFromThis() : nullptr;
    }
};

// The canvas of a window on its "layout" tab, showing the home page with a
// template of the test's own boxes.
class CanvasEditingTest : public LayoutWindowTest {
protected:
    void SetUp() override
    {
        LayoutWindowTest::SetUp();
        showTab(QStringLiteral("layout"));
        sheet = XmlStyleSheet::create();
        sheet->setName(QStringLiteral("Boxes"));
        document.theme()->addTemplate(sheet);
        home = page(QStringLiteral("Home"));
        layout->setPageWithTemplate(home->UUID(), sheet->UUID());
        ASSERT_FALSE(canvas().testMode());
        layout->taken();
    }

    template <class Box = FixedBox>
    std::shared_ptr<Box> addBox(const QString& name, const lq::Rect& rect)
    {
        std::shared_ptr<Box> box;
        if constexpr (std::is_same_v<Box, FixedBox>)
            box = FixedBox::create(int(rect.x()), int(rect.y()), int(rect.width()), int(rect.height()));
        else
            box = Box::create(rect);
        box->setName(name);
        sheet->addChild(box);
        layout->relayoutSheet();
        return box;
    }

    // A pointer event at a page point.
    void send(QEvent::Type type, const lq::Point& at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF local(at.x + canvas().pageOffset().x(), at.y + canvas().pageOffset().y());
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, canvas().mapToGlobal(local), button, buttons, modifiers);
        QCoreApplication::sendEvent(&canvas(), &event);
    }
    void press(const lq::Point& at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        send(QEvent::MouseButtonPress, at, Qt::LeftButton, modifiers);
    }
    void moveTo(const lq::Point& at) { send(QEvent::MouseMove, at, Qt::LeftButton); }
    void release(const lq::Point& at) { send(QEvent::MouseButtonRelease, at, Qt::NoButton); }
    void drag(const lq::Point& from, const lq::Point& to, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        press(from, modifiers);
        moveTo(lq::Point((from.x + to.x) / 2, (from.y + to.y) / 2));
        moveTo(to);
        release(to);
    }
    void click(const lq::Point& at) { drag(at, at); }

    // The commits noted since the last look.
    QStringList commits() { return layout->taken().filter(QStringLiteral("willMoveObject:rect:")); }
    static QString commit(const QString& name, const lq::Rect& rect)
    {
        return QStringLiteral("willMoveObject:rect: ") + name + QLatin1Char(' ') + rect.toString();
    }
    QString selectedName()
    {
        const std::shared_ptr<XmlCSS> selection = canvas().currentSelectedObject();
        return selection ? selection->name() : QString();
    }
    std::shared_ptr<XmlStyleSheet> sheet;
    std::shared_ptr<XmlAlbum> home;
};

TEST_F(CanvasEditingTest, APressSelectsAndOnlyADragOfTheSelectionMovesItCommittingOnceAtTheRelease)
{
    const auto box = addBox(QStringLiteral("Box"), lq::Rect(50, 60, 120, 80));
    const int changes = document.changeCount();

    // Pressing an unselected element selects it; dragging on does not move it.
    drag(lq::Point(70, 90), lq::Point(170, 190));
    EXPECT_EQ(selectedName(), QStringLiteral("Box"));
    EXPECT_EQ(layout->taken(), QStringList {QStringLiteral("setSelectedObject: Box")});
    EXPECT_EQ(box->objectRect(), lq::Rect(50, 60, 120, 80));
    EXPECT_EQ(document.changeCount(), changes);
    const QPoint offset = canvas().pageOffset();
    EXPECT_EQ(canvas().horzRulerView()->rulerlineLocations(), (QList<double> {50.0 + offset.x(), 170.0 + offset.x()}));

    // A second press drags it: the element follows live without the
    // document counting it, and the release commits the move once.
    press(lq::Point(70, 90));
    moveTo(lq::Point(85, 100));
    EXPECT_TRUE(canvas().isDragging());
    EXPECT_EQ(box->objectRect(), lq::Rect(65, 70, 120, 80));
    EXPECT_EQ(document.changeCount(), changes);
    moveTo(lq::Point(100, 110));
    release(lq::Point(100, 110));
    EXPECT_FALSE(canvas().isDragging());
    const QStringList calls = layout->taken();
    EXPECT_TRUE(calls.contains(QStringLiteral("moveSelectedObject: Box")));
    EXPECT_EQ(calls.filter(QStringLiteral("willMoveObject:rect:")), QStringList {commit(QStringLiteral("Box"), lq::Rect(80, 80, 120, 80))});
    EXPECT_EQ(box->objectRect(), lq::Rect(80, 80, 120, 80));
    EXPECT_EQ(canvas().bodyRect(), box->objectRect());
    EXPECT_EQ(document.changeCount(), changes + 1);
    EXPECT_EQ(canvas().readOut(), QStringLiteral("X: 80 Y: 80\nW: 120 H: 80"));

    // Pressing and releasing in place commits nothing.
    click(lq::Point(100, 110));
    EXPECT_TRUE(commits().isEmpty());
    EXPECT_EQ(box->objectRect(), lq::Rect(80, 80, 120, 80));
    EXPECT_EQ(document.changeCount(), changes + 1);

    // A press on empty canvas drops the selection and the rulers' marks.
    click(lq::Point(600, 500));
    EXPECT_EQ(canvas().currentSelectedObject(), nullptr);
    EXPECT_EQ(layout->taken(), QStringList {QStringLiteral("setSelectedObject: nil")});
    EXPECT_TRUE(canvas().horzRulerView()->rulerlineLocations().isEmpty());
}

TEST_F(CanvasEditingTest, AFixedBoxStopsAtThePageOriginAndKeepsItsFarEdgesWhenSizedPastThem)
{
    const auto box = addBox(QStringLiteral("Box"), lq::Rect(50, 60, 120, 80));
    ASSERT_TRUE(box->widthFixed() && box->heightFixed());
    click(lq::Point(60, 70));
    layout->taken();

    // Up and left past the origin: the element stops at 0 while the pointer goes on.
    drag(lq::Point(60, 70), lq::Point(-100, -40));
    EXPECT_EQ(box->objectRect(), lq::Rect(0, 0, 120, 80));
    EXPECT_EQ(commits(), QStringList {commit(QStringLiteral("Box"), lq::Rect(0, 0, 120, 80))});

    // With Option held a press anywhere drags the selection by the pointer's movement.
    drag(lq::Point(500, 500), lq::Point(530, 520), Qt::AltModifier);
    EXPECT_EQ(box->objectRect(), lq::Rect(30, 20, 120, 80));
    EXPECT_EQ(selectedName(), QStringLiteral("Box"));
    EXPECT_EQ(commits(), QStringList {commit(QStringLiteral("Box"), lq::Rect(30, 20, 120, 80))});

    // The top-left handle dragged past the bottom-right corner: 25 × 25,
    // the right and bottom edges where they were.
    const int changes = document.changeCount();
    drag(lq::Point(30, 20), lq::Point(400, 300));
    EXPECT_EQ(box->objectRect(), lq::Rect(125, 75, 25, 25));
    EXPECT_EQ(commits(), QStringList {commit(QStringLiteral("Box"), lq::Rect(125, 75, 25, 25))});
    EXPECT_EQ(document.changeCount(), changes + 1);
}

TEST_F(CanvasEditingTest, EachGrabHandleMovesTheEdgesItHolds)
{
    const lq::Rect start(200, 150, 120, 80);
    struct Case {
        int handle;
        lq::Point anchor;
        lq::Rect after;   // dragged by (+40, -30)
    };
    const Case cases[] = {
        {0, lq::Point(200, 230), lq::Rect(240, 150, 80, 50)},
        {1, lq::Point(260, 230), lq::Rect(200, 150, 120, 50)},
        {2, lq::Point(320, 230), lq::Rect(200, 150, 160, 50)},
        {3, lq::Point(320, 190), lq::Rect(200, 150, 160, 80)},
        {4, lq::Point(320, 150), lq::Rect(200, 120, 160, 110)},
        {5, lq::Point(260, 150), lq::Rect(200, 120, 120, 110)},
        {6, lq::Point(200, 150), lq::Rect(240, 120, 80, 110)},
        {7, lq::Point(200, 190), lq::Rect(240, 150, 80, 80)},
    };
    const auto box = addBox(QStringLiteral("Box"), start);
    const auto selectAtStart = [&] {
        box->setObjectRect(start);
        canvas().setCurrentSelectedObject(box.get());
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.handle);
        selectAtStart();
        // Gripped one unit off the anchor: the anchor keeps that distance.
        const lq::Point grip(test.anchor.x + 1, test.anchor.y - 1);
        ASSERT_EQ(canvas().grabberHitTest(grip), test.handle);
        layout->taken();
        drag(grip, lq::Point(grip.x + 40, grip.y - 30));
        EXPECT_EQ(box->objectRect(), test.after);
        EXPECT_EQ(commits(), QStringList {commit(QStringLiteral("Box"), test.after)});
    }

    // An element that sizes only across offers the middles of its left and
    // right sides; one that sizes in neither offers no handle.
    selectAtStart();
    canvas().setCanVertSize(false);
    EXPECT_EQ(canvas().grabberHitTest(lq::Point(200, 150)), -1);
    EXPECT_EQ(canvas().grabberHitTest(lq::Point(260, 150)), -1);
    EXPECT_EQ(canvas().grabberHitTest(lq::Point(320, 190)), 3);
    EXPECT_EQ(canvas().grabberHitTest(lq::Point(197, 187)), 7);
    EXPECT_EQ(canvas().grabberHitTest(lq::Point(204, 194)), -1);   // right and bottom edges lie outside
    canvas().setCanHorzSize(false);
    EXPECT_EQ(canvas().grabberHitTest(lq::Point(320, 190)), -1);
}

TEST_F(CanvasEditingTest, ArrowKeysStepTheSelectionByOneUnitAndCommitEachStep)
{
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        lq::Rect start;
        lq::Rect after;
    };
    const Case cases[] = {
        {Qt::Key_Right, Qt::NoModifier, lq::Rect(50, 60, 120, 80), lq::Rect(51, 60, 120, 80)},
        {Qt::Key_Left, Qt::ShiftModifier, lq::Rect(50, 60, 120, 80), lq::Rect(49, 60, 120, 80)},
        {Qt::Key_Up, Qt::NoModifier, lq::Rect(50, 60, 120, 80), lq::Rect(50, 59, 120, 80)},
        {Qt::Key_Down, Qt::ShiftModifier, lq::Rect(50, 60, 120, 80), lq::Rect(50, 61, 120, 80)},
        // The page's origin stops the element.
        {Qt::Key_Left, Qt::NoModifier, lq::Rect(0, 60, 120, 80), lq::Rect(0, 60, 120, 80)},
        // With Option the key sizes the element, down to 10 (the handles stop at 25).
        {Qt::Key_Right, Qt::AltModifier, lq::Rect(50, 60, 120, 80), lq::Rect(50, 60, 121, 80)},
        {Qt::Key_Up, Qt::AltModifier, lq::Rect(50, 60, 120, 80), lq::Rect(50, 60, 120, 79)},
        {Qt::Key_Left, Qt::AltModifier, lq::Rect(50, 60, 10, 80), lq::Rect(50, 60, 10, 80)},
    };
    const auto box = addBox(QStringLiteral("Box"), cases[0].start);
    for (const Case& test : cases) {
        SCOPED_TRACE(QKeySequence(test.key | test.modifiers).toString().toStdString());
        box->setObjectRect(test.start);
        canvas().setCurrentSelectedObject(box.get());
        layout->taken();
        const int changes = document.changeCount();
        QTest::keyClick(&canvas(), test.key, test.modifiers);
        EXPECT_EQ(box->objectRect(), test.after);
        EXPECT_EQ(canvas().bodyRect(), test.after);
        EXPECT_EQ(commits(), QStringList {commit(QStringLiteral("Box"), test.after)});
        EXPECT_EQ(document.changeCount(), changes + 1);
    }

    // Without a selection the arrows go on to the window and change nothing.
    canvas().setCurrentSelectedObject(nullptr);
    layout->taken();
    QTest::keyClick(&canvas(), Qt::Key_Right);
    EXPECT_TRUE(commits().isEmpty());
    EXPECT_EQ(box->objectRect(), cases[std::size(cases) - 1].after);
}

TEST_F(CanvasEditingTest, AnEdgeGuideShowsTheSelectionInLineAndHoldsItWhileThePointerStaysNear)
{
    const QColor guide(Qt::blue);
    addBox(QStringLiteral("Other"), lq::Rect(100, 0, 200, 100));
    const auto box = addBox(QStringLiteral("Box"), lq::Rect(150, 200, 100, 80));
    // The layout tab's "Edges" check box turns the edge guides on.
    QCheckBox* edges = nullptr;
    for (QCheckBox* candidate : layout->layoutPage()->findChildren<QCheckBox*>()) {
        if (candidate->text() == u"Edges")
            edges = candidate;
    }
    ASSERT_NE(edges, nullptr);
    edges->click();
    ASSERT_TRUE(canvas().edgeGuidesEnabled());
    ASSERT_FALSE(canvas().centerGuidesEnabled());
    click(lq::Point(160, 210));
    ASSERT_EQ(selectedName(), QStringLiteral("Box"));
    // The other element's rectangle is the only guide rectangle: the selection's own is left out.
    ASSERT_EQ(canvas().guides().numObjectRects(), 1);
    EXPECT_EQ(canvas().guides().lastGuideHitTest(), 0u);

    // The left edge meets the other element's left edge at x = 100.
    press(lq::Point(160, 210));
    moveTo(lq::Point(110, 210));
    EXPECT_EQ(box->objectRect().x(), 100);
    EXPECT_EQ(canvas().guides().lastGuideHitTest(), unsigned(AlignmentGuides::LeftEdge));
    // From the higher top to the lower bottom of the two, on the middle of the pixel column.
    EXPECT_EQ(canvas().guides().guideHeadPoint(0), lq::Point(100.5, 0.5));
    EXPECT_EQ(canvas().guides().guideTailPoint(0), lq::Point(100.5, 280.5));
    const QPoint offset = canvas().pageOffset();
    QImage shot = canvas().grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(100 + offset.x(), 150 + offset.y())), guide);
    EXPECT_NE(QColor(shot.pixel(101 + offset.x(), 150 + offset.y())), guide);

    // Up to 9.9 units further the element stays in line; 10 releases it.
    moveTo(lq::Point(119.9f, 210));
    EXPECT_EQ(box->objectRect().x(), 100);
    moveTo(lq::Point(100.1f, 210));
    EXPECT_EQ(box->objectRect().x(), 100);
    moveTo(lq::Point(120, 210));
    EXPECT_EQ(box->objectRect().x(), 110);
    EXPECT_EQ(canvas().guides().lastGuideHitTest(), 0u);
    release(lq::Point(120, 210));
    EXPECT_EQ(commits(), QStringList {commit(QStringLiteral("Box"), lq::Rect(110, 200, 100, 80))});
    shot = canvas().grab().toImage();
    EXPECT_NE(QColor(shot.pixel(100 + offset.x(), 150 + offset.y())), guide);

    // With the guides off nothing is found and nothing holds.
    edges->click();
    ASSERT_FALSE(canvas().edgeGuidesEnabled());
    canvas().setCurrentSelectedObject(box.get());
    press(lq::Point(120, 210));
    moveTo(lq::Point(110, 210));
    EXPECT_EQ(box->objectRect().x(), 100);
    EXPECT_EQ(canvas().guides().lastGuideHitTest(), 0u);
    moveTo(lq::Point(115, 210));
    EXPECT_EQ(box->objectRect().x(), 105);
    release(lq::Point(115, 210));
}

TEST_F(CanvasEditingTest, TabWalksTheSelectableElementsInOrderAndControlClickOpensContentKeepingTheSelection)
{
    addBox(QStringLiteral("First"), lq::Rect(0, 0, 100, 50));
    addBox(QStringLiteral("Second"), lq::Rect(0, 100, 100, 50));
    const auto third = addBox<EditableBox>(QStringLiteral("Third"), lq::Rect(0, 200, 100, 50));
    ASSERT_EQ(sheet->getElementWithName(QStringLiteral("Photo Album")), nullptr);

    // Forward, then nothing, then the first again.
    QStringList walked;
    for (int step = 0; step < 5; ++step) {
        QTest::keyClick(&canvas(), Qt::Key_Tab);
        walked.append(selectedName());
    }
    EXPECT_EQ(walked, (QStringList {"First", "Second", "Third", "", "First"}));
    EXPECT_TRUE(canvas().hasFocus() || !canvas().isVisible());
    // Backtab walks the other way.
    walked.clear();
    for (int step = 0; step < 4; ++step) {
        QTest::keyClick(&canvas(), Qt::Key_Backtab, Qt::ShiftModifier);
        walked.append(selectedName());
    }
    EXPECT_EQ(walked, (QStringList {"", "Third", "Second", "First"}));

    // A Control-click on an element with editable content makes it the
    // window's current object and opens the content editor; the canvas
    // keeps its selection and nothing moves.
    ASSERT_EQ(window->tabView()->selectedIdentifier(), QStringLiteral("layout"));
    press(lq::Point(50, 220), Qt::ControlModifier);
    release(lq::Point(50, 220));
    EXPECT_EQ(window->tabView()->selectedIdentifier(), QStringLiteral("content"));
    EXPECT_EQ(window->currentObject(), third);
    EXPECT_EQ(selectedName(), QStringLiteral("First"));
    EXPECT_TRUE(commits().isEmpty());

    // Over an element without editable content a Control-click does nothing.
    showTab(QStringLiteral("layout"));
    click(lq::Point(50, 120));
    press(lq::Point(50, 20), Qt::ControlModifier);
    release(lq::Point(50, 20));
    EXPECT_EQ(window->tabView()->selectedIdentifier(), QStringLiteral("layout"));
    EXPECT_EQ(selectedName(), QStringLiteral("Second"));
}

// The starter site's "Photos" page with three photos in its album.
class AlbumCanvasTest : public LayoutWindowTest {
protected:
    void SetUp() override
    {
        LayoutWindowTest::SetUp();
        photos = page(QStringLiteral("Photos"));
        ASSERT_NE(photos, nullptr);
        const QColor colours[] = {Qt::darkCyan, Qt::darkRed, Qt::darkYellow};
        for (int index = 0; index < 3; ++index) {
            const auto photo = addPhoto(*photos, QStringLiteral("picture%1.jpg").arg(index), colours[index]);
            ASSERT_NE(photo, nullptr);
            added.push_back(photo);
        }
        album = XmlWebPhotoAlbum::cast(photos->getTemplate()->getElementWithName(QStringLiteral("Photo Album")).get());
        ASSERT_NE(album, nullptr);
        album->setVisible(true);
        showTab(QStringLiteral("layout"));
        layout->setPreviewPageIndex(photos->UUID(), -1);
        ASSERT_FALSE(canvas().testMode());
    }

    // A page point over the photo's thumbnail.
    std::optional<lq::Point> pointOver(const std::shared_ptr<XmlPhoto>& photo)
    {
        const lq::Rect area = album->objectRect();
        for (float y = area.y(); y < area.maxY(); y += 4) {
            for (float x = area.x(); x < area.maxX(); x += 4) {
                if (album->photoForEditingAtPoint(lq::Point(x, y)) == photo)
                    return lq::Point(x, y);
            }
        }
        return std::nullopt;
    }

    std::shared_ptr<XmlAlbum> photos;
    XmlWebPhotoAlbum* album = nullptr;
    std::vector<std::shared_ptr<XmlPhoto>> added;
};

TEST_F(AlbumCanvasTest, ControlClickOnAPhotoOfTheAlbumOpensThatPhotoInThePhotoEditor)
{
    const std::optional<lq::Point> second = pointOver(added[1]);
    ASSERT_TRUE(second.has_value());
    // The template's editing search reaches the album's photos.
    EXPECT_EQ(photos->getTemplate()->objectForEditingAtPoint(*second), added[1]);

    const QPointF local(second->x + canvas().pageOffset().x(), second->y + canvas().pageOffset().y());
    QTest::mouseClick(&canvas(), Qt::LeftButton, Qt::ControlModifier, local.toPoint());
    EXPECT_EQ(window->currentObject(), added[1]);
    EXPECT_EQ(window->currentType(), 3);
    EXPECT_EQ(window->lastEditView(), window->panel(EditorKind::ImageWell)->superView());
    EXPECT_EQ(window->tabView()->selectedIdentifier(), QStringLiteral("content"));
}

} // namespace
