// What the layout controller does for the canvas over the starter site: the
// geometry fields of each sheet, the commit of a move, the status line on a
// redisplay, and the compact arrangement with its caution tape.
#include "elements/XmlVornBox.h"
#include "elements/XmlWebFooter.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "ui/layout/CautionTape.h"
#include "ui/layout/MyScrollView.h"
#include "model/site/XmlPhoto.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyIntegerField.h"
#include "support/FixedBox.h"
#include "support/Printers.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "support/ui/LayoutWindow.h"

#include <QLabel>
#include <QLayout>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A box that keeps its own size but flows where the page puts it.
class FlowingBox : public FixedBox {
public:
    explicit FlowingBox(Key key)
        : FixedBox(key)
    {
        _absolute = false;
    }
    static std::shared_ptr<FlowingBox> create() { return make<FlowingBox>(); }
};

class LayoutControllerCanvasTest : public LayoutWindowTest {
protected:
    // The number the field of the tag shows in the sheet, and its stepper's (tag + 1).
    std::pair<int, int> shown(const QString& sheet, int tag)
    {
        QWidget* view = layout->sheetView(sheet);
        auto* field = qobject_cast<MyIntegerField*>(lq::viewWithTag(view, tag));
        auto* stepper = qobject_cast<QSpinBox*>(lq::viewWithTag(view, tag + 1));
        EXPECT_NE(field, nullptr) << tag;
        EXPECT_NE(stepper, nullptr) << tag + 1;
        return {field ? field->intValue() : -1, stepper ? stepper->value() : -1};
    }
    void fill(const QString& sheet, std::initializer_list<int> tags, int value)
    {
        for (int tag : tags) {
            qobject_cast<MyIntegerField*>(lq::viewWithTag(layout->sheetView(sheet), tag))->setIntValue(value);
            qobject_cast<QSpinBox*>(lq::viewWithTag(layout->sheetView(sheet), tag + 1))->setValue(value);
        }
    }
    static void place(XmlBoxModel& element, int top, int height, int left, int width)
    {
        element.setTop(top);
        element.setHeight(height);
        element.setLeft(left);
        element.setWidth(width);
    }
};

TEST_F(LayoutControllerCanvasTest, EachElementShowsItsPositionAndSizeInItsSheetsFields)
{
    const auto about = page(QStringLiteral("About"));
    XmlStyleSheet& sheet = *about->getTemplate();
    const std::shared_ptr<XmlVornBox> box = sheet.addVornBox();
    struct Case {
        const char* element;   // in the template; "" for the Vorn Box
        const char* sheet;
        int top, height, left, width;   // field tags, 0 for none
    };
    const Case cases[] = {
        {"Masthead", "masthead", 200, 202, 205, 207},
        {"Page Title", "pagetitle", 800, 802, 805, 807},
        {"Navigation", "navigation", 300, 0, 302, 304},
        {"Content", "content", 400, 406, 402, 404},
        {"Footer", "footer", 700, 702, 705, 707},
        {"", "vornbox", 1100, 1102, 1105, 1107},
    };
    int seed = 10;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.sheet);
        XmlBoxModel* element = *test.element ? XmlBoxModel::cast(sheet.getElementWithName(QLatin1String(test.element)).get()) : box.get();
        ASSERT_NE(element, nullptr);
        seed += 10;
        place(*element, seed + 1, seed + 2, seed + 3, seed + 4);
        if (auto* footer = XmlWebFooter::cast(element))
            footer->setVoffset(seed + 5);
        layout->moveSelectedObject(element);
        const QString identifier = QLatin1String(test.sheet);
        const int top = XmlWebFooter::cast(element) ? seed + 5 : element->top();
        EXPECT_EQ(shown(identifier, test.top), std::make_pair(top, top));
        if (test.height) {
            EXPECT_EQ(shown(identifier, test.height), std::make_pair(element->height(), element->height()));
        }
        EXPECT_EQ(shown(identifier, test.left), std::make_pair(element->left(), element->left()));
        EXPECT_EQ(shown(identifier, test.width), std::make_pair(element->width(), element->width()));
    }
    // Nothing to show for nothing, and nothing fails.
    layout->moveSelectedObject(nullptr);

    // Selecting an element on the canvas shows where it is, too.
    layout->setPreviewPageIndex(about->UUID(), -1);
    XmlBoxModel* masthead = XmlBoxModel::cast(sheet.getElementWithName(QStringLiteral("Masthead")).get());
    place(*masthead, 5, 120, 6, 700);
    layout->layoutView()->setCurrentSelectedObject(masthead);
    EXPECT_EQ(shown(QStringLiteral("masthead"), 200).first, masthead->top());
    EXPECT_EQ(shown(QStringLiteral("masthead"), 207), std::make_pair(700, 700));
}

TEST_F(LayoutControllerCanvasTest, AnAlbumShowsItsSizeOnlyInFreeStyleAndItsTopOnlyAboveOrFree)
{
    const auto photos = page(QStringLiteral("Photos"));
    ASSERT_NE(addPhoto(*photos, QStringLiteral("sea.jpg"), Qt::darkCyan), nullptr);
    auto* album = XmlWebPhotoAlbum::cast(photos->getTemplate()->getElementWithName(QStringLiteral("Photo Album")).get());
    ASSERT_NE(album, nullptr);
    place(*album, 31, 32, 33, 34);
    const QString identifier = QStringLiteral("photoalbum");
    struct Case {
        int mode;
        bool top;
        bool size;
    };
    for (const Case test : {Case {2, true, true}, Case {0, true, false}, Case {1, false, false}}) {
        SCOPED_TRACE(test.mode);
        album->settings().setAfterDescription(test.mode);
        fill(identifier, {524, 526, 528, 530}, 7);
        layout->moveSelectedObject(album);
        EXPECT_EQ(shown(identifier, 526).first, album->left());
        EXPECT_EQ(shown(identifier, 524).first, test.top ? album->top() : 7);
        EXPECT_EQ(shown(identifier, 528), test.size ? std::make_pair(album->width(), album->width()) : std::make_pair(7, 7));
        EXPECT_EQ(shown(identifier, 530).first, test.size ? album->height() : 7);
    }
}

TEST_F(LayoutControllerCanvasTest, ACommitIsOneChangeAndAnswersWhereTheElementWent)
{
    showTab(QStringLiteral("layout"));
    const auto sheet = XmlStyleSheet::create();
    document.theme()->addTemplate(sheet);
    const auto home = page(QStringLiteral("Home"));
    layout->setPageWithTemplate(home->UUID(), sheet->UUID());
    const auto placed = FixedBox::create(10, 20, 100, 50);
    const auto flowing = FlowingBox::create();
    place(*flowing, 40, 50, 60, 70);
    sheet->addChild(placed);
    sheet->addChild(flowing);
    layout->relayoutSheet();

    const int changes = document.changeCount();
    EXPECT_EQ(layout->willMoveObjectRect(placed.get(), lq::Rect(30, 40, 90, 60)), lq::Rect(30, 40, 90, 60));
    EXPECT_EQ(document.changeCount(), changes + 1);
    // An element placed by the page keeps its place and takes only its size.
    const lq::Rect before = flowing->objectRect();
    const lq::Rect went = layout->willMoveObjectRect(flowing.get(), lq::Rect(before.x() + 5, before.y() + 5, 80, 90));
    EXPECT_EQ(went, lq::Rect(before.x(), before.y(), 80, 90));
    EXPECT_EQ(flowing->objectRect(), went);
    EXPECT_EQ(document.changeCount(), changes + 2);
}

TEST_F(LayoutControllerCanvasTest, ARedisplayRefreshesTheStatusLine)
{
    layout->setPreviewPageIndex(page(QStringLiteral("About"))->UUID(), -1);
    layout->pageNavigation().statusLine()->setText(QStringLiteral("Something else"));
    document.redisplayRect(lq::Rect());
    EXPECT_EQ(layout->pageNavigation().statusLine()->text(), QStringLiteral("Control + Click to Edit Photos"));
}

TEST_F(LayoutControllerCanvasTest, ASharedTemplateShowsTheCautionTapeAndTheCanvasGivesItsBottom)
{
    window->resize(1100, 800);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    showTab(QStringLiteral("layout"));
    const auto sheet = XmlStyleSheet::create();
    sheet->setName(QStringLiteral("Shared"));
    document.theme()->addTemplate(sheet);
    const auto home = page(QStringLiteral("Home"));
    layout->setPageWithTemplate(home->UUID(), sheet->UUID());
    ASSERT_EQ(window->numPagesUsingStylesheet(sheet.get()), 1);

    QWidget* scroll = layout->canvasController().scrollLayoutView();
    QWidget* holder = layout->layoutPage();
    const auto frameOf = [&](QWidget* widget) {
        holder->layout()->activate();
        QCoreApplication::processEvents();
        return QRect(widget->mapTo(holder, QPoint(0, 0)), widget->size());
    };
    EXPECT_FALSE(layout->canvasController().cautionTape()->isVisibleTo(holder));
    const QRect alone = frameOf(scroll);

    // A second page takes the template: the tape shows, the canvas keeps its
    // top edge and its bottom edge moves up by the tape's 14 points.
    const auto about = page(QStringLiteral("About"));
    const int aboutsOwn = about->templateNum();
    about->setTemplateNum(sheet->templateSeqNum());
    layout->compactUI(false);
    EXPECT_TRUE(layout->canvasController().cautionTape()->isVisibleTo(holder));
    const QRect shared = frameOf(scroll);
    EXPECT_EQ(shared.top(), alone.top());
    EXPECT_EQ(shared.bottom(), alone.bottom() - 14);
    EXPECT_EQ(frameOf(layout->canvasController().cautionTape()).top(), shared.bottom() + 1);
    EXPECT_EQ(layout->canvasController().cautionTape()->height(), 14);
    EXPECT_TRUE(layout->canvasController().cautionTape()->toolTip().contains(QStringLiteral("2 pages")));

    // Hiding the tools gives the canvas the room of the inspector and of the guide controls.
    MyButton* compact = layout->canvasController().compactButton();
    EXPECT_EQ(compact->text(), QStringLiteral("Hide Tools"));
    compact->click();
    EXPECT_EQ(compact->text(), QStringLiteral("Show Tools"));
    EXPECT_FALSE(layout->canvasController().tools()->isVisibleTo(holder));
    const QRect roomy = frameOf(scroll);
    EXPECT_EQ(roomy.top(), shared.top());
    EXPECT_GT(roomy.width(), shared.width() + 250);
    EXPECT_GT(roomy.height(), shared.height());
    EXPECT_TRUE(layout->canvasController().cautionTape()->isVisibleTo(holder));
    compact->click();
    EXPECT_EQ(compact->text(), QStringLiteral("Hide Tools"));
    EXPECT_TRUE(layout->canvasController().tools()->isVisibleTo(holder));
    EXPECT_EQ(frameOf(scroll), shared);

    // Back to one page: no tape, and the canvas has its height again.
    about->setTemplateNum(aboutsOwn);
    layout->compactUI(true);
    EXPECT_FALSE(layout->canvasController().cautionTape()->isVisibleTo(holder));
    EXPECT_EQ(frameOf(scroll), alone);
}

} // namespace
