// The layout editor in its window: the "layout" and "preview" tabs, a click
// on a link in the preview, and the Vorn Boxes' live views.
#include "elements/XmlVornBox.h"
#include "elements/XmlWebContent.h"
#include "ui/layout/MyScrollView.h"
#include "model/site/XmlContent.h"
#include "platform/PreviewView.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/PreviewWidgets.h"
#include "support/EventLoop.h"
#include "support/LogCapture.h"
#include "support/TestFiles.h"
#include "support/TestMovie.h"
#include "support/ui/LayoutWindow.h"

#include <QImage>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace {

class LayoutTabsTest : public LayoutWindowTest {
protected:
    // Press and release at a page point of the canvas.
    void click(const lq::Point& at)
    {
        const QPointF local(at.x + canvas().pageOffset().x(), at.y + canvas().pageOffset().y());
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, local, canvas().mapToGlobal(local), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&canvas(), &event);
        }
    }

    // The scroll view the canvas is shown in.
    MyScrollView* hostOfCanvas() { return qobject_cast<MyScrollView*>(canvas().parentWidget()->parentWidget()); }
};

TEST_F(LayoutTabsTest, PreviewFollowsALinkToAnotherPageAndLayoutLeavesTestMode)
{
    const auto home = page(QStringLiteral("Home"));
    const auto about = page(QStringLiteral("About"));
    home->webcontent()->setContent(QStringLiteral("<p>Read <a pseq=\"3\">about me</a> first.</p>"));
    window->resize(1200, 850);
    window->show();
    window->setCurrentObject(home.get());

    showTab(QStringLiteral("preview"));
    EXPECT_TRUE(document.testMode());
    EXPECT_TRUE(canvas().testMode());
    EXPECT_EQ(hostOfCanvas(), layout->canvasController().scrollBrowserView());
    EXPECT_EQ(window->tabView()->tabViewItemWithIdentifier(QStringLiteral("preview"))->view(), layout->previewPage());
    EXPECT_EQ(layout->getAlbum(), home);
    EXPECT_EQ(layout->pageNavigation().webPage2()->currentText(), QStringLiteral("Home"));
    canvas().grab();

    // The content box made its link a hot rectangle of the canvas.
    const XmlBasePtr content = layout->getTemplate()->getElementWithName(QStringLiteral("Content"));
    const HotRectangleTable& areas = canvas().trackingData();
    int link = -1;
    for (int slot = 0; slot < areas.numberTracking(); ++slot) {
        if (areas.slot(slot).inUse && areas.slot(slot).uuid == content->UUID())
            link = slot;
    }
    ASSERT_GE(link, 0);
    const lq::Rect area = areas.slot(link).rect;
    click(lq::Point(area.midX(), area.midY()));

    // The link's page is shown, and the window's current object follows.
    EXPECT_EQ(layout->getAlbum(), about);
    EXPECT_EQ(window->currentObject(), about);
    EXPECT_EQ(window->currentAlbum(), about.get());
    EXPECT_EQ(layout->pageNavigation().webPage2()->currentText(), QStringLiteral("About"));
    EXPECT_EQ(layout->getTemplate(), about->getTemplate());

    showTab(QStringLiteral("layout"));
    EXPECT_FALSE(document.testMode());
    EXPECT_FALSE(canvas().testMode());
    EXPECT_EQ(hostOfCanvas(), layout->canvasController().scrollLayoutView());
    EXPECT_NE(canvas().horzRulerView(), nullptr);
    EXPECT_EQ(layout->getAlbum(), about);
    EXPECT_TRUE(layout->taken().contains(QStringLiteral("compactUI: 1")));
}

// A QuickTime Vorn Box on the About page's template, showing the movie in "files".
class LiveViewTest : public LayoutTabsTest {
protected:
    void SetUp() override
    {
        LayoutTabsTest::SetUp();
        about = page(QStringLiteral("About"));
        writeAll(work.filePath(QStringLiteral("Site.lqxl/files/clip.mov")), testmovie::movie(160, 120));
        sheet = about->getTemplate().get();
        box = sheet->addVornBox();
        box->settings().setType(0);
        box->settings().setExternalType(1);
        box->settings().setExternalHTML(QStringLiteral("clip.mov"));
        box->setLeft(40);
        box->setTop(300);
        window->setCurrentObject(about.get());
    }

    std::shared_ptr<XmlAlbum> about;
    XmlStyleSheet* sheet = nullptr;
    std::shared_ptr<XmlVornBox> box;
};

TEST_F(LiveViewTest, VornBoxesGetLiveViewsInThePreviewOnly)
{
    showTab(QStringLiteral("preview"));
    canvas().grab();
    ASSERT_EQ(canvas().numberOfBrowserViews(), 1);
    lq::PreviewView* view = canvas().getWidgetView(box->vornSeqNum());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(document.getWidgetView(box->vornSeqNum()), view);
    auto* widget = dynamic_cast<lq::MoviePreviewWidget*>(view);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget(), &canvas());
    EXPECT_EQ(widget->label(), QStringLiteral("clip.mov\n160 \u00d7 120"));
    // The view stands over the box's inner rectangle, placed from the page's origin.
    const lq::Rect inner = box->internalRect();
    EXPECT_EQ(widget->pos(), QPoint(int(inner.x()) + canvas().pageOffset().x(), int(inner.y()) + canvas().pageOffset().y()));
    // In the preview it takes its own clicks.
    EXPECT_FALSE(widget->testAttribute(Qt::WA_TransparentForMouseEvents));

    // A hidden box loses its view; shown again it gets a new one.
    box->setVisible(false);
    canvas().grab();
    EXPECT_EQ(canvas().numberOfBrowserViews(), 0);
    EXPECT_EQ(canvas().getWidgetView(box->vornSeqNum()), nullptr);
    box->setVisible(true);
    canvas().grab();
    EXPECT_EQ(canvas().numberOfBrowserViews(), 1);

    // Layout mode has no live views.
    showTab(QStringLiteral("layout"));
    canvas().grab();
    EXPECT_EQ(canvas().numberOfBrowserViews(), 0);
}

TEST_F(LiveViewTest, WithoutAWebEngineASnippetBoxIsDrawnAsItsPlaceholder)
{
    box->settings().setType(2);
    box->htmlSnippet()->setContent(QStringLiteral("<b>Snippet</b>"));
    box->setWidth(200);
    box->setHeight(120);
    LogCapture log;
    lq::PreviewView::setUnavailable(lq::PreviewView::Kind::Web, QStringLiteral("no engine in this test"));
    showTab(QStringLiteral("preview"));
    const QImage shot = canvas().grab().toImage();
    lq::PreviewView::setAvailable(lq::PreviewView::Kind::Web);
    EXPECT_TRUE(log.lines.contains(QStringLiteral("Web previews are drawn as placeholders: no engine in this test")));
    EXPECT_EQ(canvas().numberOfBrowserViews(), 0);
    // The hatching's yellow dashes show inside the box.
    const lq::Rect inner = box->internalRect();
    int yellow = 0;
    for (int y = int(inner.y()); y < int(inner.maxY()); ++y) {
        for (int x = int(inner.x()); x < int(inner.maxX()); ++x) {
            if (QColor(shot.pixel(x + canvas().pageOffset().x(), y + canvas().pageOffset().y())) == QColor(Qt::yellow))
                ++yellow;
        }
    }
    EXPECT_GT(yellow, 100);
}

} // namespace
