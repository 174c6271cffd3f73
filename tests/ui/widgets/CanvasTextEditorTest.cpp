#include "ui/widgets/CanvasTextEditor.h"
#include "model/imaging/XmlDrawLetterBox.h"
#include "platform/Codecs.h"
#include "platform/text/RtfCodec.h"
#include "ui/widgets/TextView.h"
#include "ui/widgets/WidgetServices.h"
#include "support/ScopedServices.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QWidget>

namespace {

// Canvas texts are edited in place as in the program.
struct Installed {
    const ScopedServices services { lq::registerWidgetServices };
};

lq::TextAttributes black(qreal size)
{
    lq::TextAttributes a;
    a.font = lq::Font::helvetica(size);
    a.foregroundColour = lq::Colour(0, 0, 0);
    return a;
}

// The height of the dark pixels the view shows.
int inkHeight(QWidget* view)
{
    const QImage shot = view->grab().toImage();
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (c.alpha() > 128 && c.lightness() < 100) {
                if (top < 0)
                    top = y;
                bottom = y;
                break;
            }
        }
    }
    return top < 0 ? 0 : bottom - top + 1;
}

} // namespace

TEST(CanvasTextEditor, EditsACalloutInPlace)
{
    Installed installed;
    QWidget host;
    host.resize(400, 300);
    auto box = XmlDrawLetterBox::create();
    box->setBodyRect(lq::Rect(10, 20, 100, 50));
    box->contents()->setText(lq::StyledText(QStringLiteral("Hello"), black(20)));

    box->startEditingWithEventInViewWithTransformAndScale(nullptr, &host, QTransform::fromScale(2, 2), 2);
    auto* editor = static_cast<lq::CanvasTextEditor*>(box->editor());
    ASSERT_NE(editor, nullptr);
    lq::TextView* view = editor->textView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->parentWidget(), &host);
    EXPECT_EQ(view->geometry(), QRect(20, 40, 200, 100)) << "the text rectangle through the transform";
    EXPECT_EQ(view->lineWrapColumnOrWidth(), 100) << "laid out at canvas width";
    EXPECT_EQ(view->selectedRange(), (lq::Range { 0, 5 })) << "the whole text is selected";

    // Typing replaces the selection and reaches the callout's text.
    QTest::keyClicks(view, QStringLiteral("Bye"));
    EXPECT_EQ(box->contents()->string(), QStringLiteral("Bye"));
    box->setAlignmentInViewWithTransformAndScale(2, &host, QTransform(), 1);
    EXPECT_EQ(box->getAlignmentInViewWithTransformAndScale(&host, QTransform(), 1), 2);

    box->endEditingInView();
    EXPECT_TRUE(host.findChildren<lq::TextView*>().isEmpty()) << "the view is gone with the edit";
    const std::optional<lq::StyledText> stored = lq::RtfCodec::fromRtf(lq::base64DecodeText(box->content()));
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->string(), QStringLiteral("Bye"));
    EXPECT_EQ(stored->attributesAt(0).paragraphStyle->alignment, lq::TextAlignment::Center);

    // Alignment asked without an open edit opens one for the time of asking.
    EXPECT_EQ(box->getAlignmentInViewWithTransformAndScale(&host, QTransform(), 1), 2);
    EXPECT_FALSE(box->isEditing());
}

TEST(CanvasTextEditor, DrawsAndTakesClicksAtTheCanvasZoom)
{
    Installed installed;
    QWidget host;
    host.resize(400, 300);
    auto box = XmlDrawLetterBox::create();
    box->setBodyRect(lq::Rect(10, 20, 150, 60));
    box->contents()->setText(lq::StyledText(QStringLiteral("HHHH"), black(20)));

    box->startEditingWithEventInViewWithTransformAndScale(nullptr, &host, QTransform(), 1);
    lq::TextView* view = static_cast<lq::CanvasTextEditor*>(box->editor())->textView();
    view->setSelectedRange({ 0, 0 });
    const int atOne = inkHeight(view);
    box->endEditingInView();

    box->startEditingWithEventInViewWithTransformAndScale(nullptr, &host, QTransform::fromScale(2, 2), 2);
    view = static_cast<lq::CanvasTextEditor*>(box->editor())->textView();
    view->setSelectedRange({ 0, 0 });
    const int atTwo = inkHeight(view);
    box->endEditingInView();
    ASSERT_GT(atOne, 5);
    EXPECT_NEAR(static_cast<double>(atTwo) / atOne, 2.0, 0.3) << atOne << " " << atTwo;

    // A click 68 view pixels into the text is 34 canvas units in: between
    // the second and the third letter.
    const QPointF click(20 + 68, 40 + 10);
    QMouseEvent press(QEvent::MouseButtonPress, click, host.mapToGlobal(click), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    box->startEditingWithEventInViewWithTransformAndScale(&press, &host, QTransform::fromScale(2, 2), 2);
    view = static_cast<lq::CanvasTextEditor*>(box->editor())->textView();
    EXPECT_EQ(view->selectedRange(), (lq::Range { 2, 0 }));
    box->endEditingInView();

    // Shrunk to a half, the text stays in sight as the caret moves along
    // it: the view, narrower than the canvas-sized text, does not scroll.
    host.show();
    box->startEditingWithEventInViewWithTransformAndScale(nullptr, &host, QTransform::fromScale(0.5, 0.5), 0.5);
    view = static_cast<lq::CanvasTextEditor*>(box->editor())->textView();
    QTest::keyClick(view, Qt::Key_End);
    QTest::keyClicks(view, QStringLiteral("HH"));
    EXPECT_EQ(view->horizontalScrollBar()->value(), 0);
    EXPECT_NEAR(static_cast<double>(inkHeight(view)) / atOne, 0.5, 0.2);
    box->endEditingInView();
    EXPECT_EQ(box->contents()->string(), QStringLiteral("HHHHHH"));
}
