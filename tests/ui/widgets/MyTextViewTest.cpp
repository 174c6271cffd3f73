// The program's text views: styled text between them through the program's
// own clipboard type, the paste filter of an owning editor, Tab as a blank;
// and the press-move-release tracker and vertical scroller beside them.
#include "platform/text/Font.h"
#include "ui/widgets/MyTextView.h"
#include "ui/widgets/MyTextViewNoTabs.h"
#include "ui/widgets/MyVertScroller.h"
#include "ui/widgets/PressTracker.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

lq::StyledText sample()
{
    lq::TextAttributes bold;
    bold.font = lq::Font::helvetica(18).withBold(true);
    bold.foregroundColour = lq::Colour(1, 0, 0);
    lq::TextAttributes plain;
    plain.font = lq::Font::helvetica(12);
    lq::StyledText text;
    text.append(QStringLiteral("Red "), bold);
    text.append(QStringLiteral("plain"), plain);
    return text;
}

TEST(MyTextView, StyledTextTravelsThroughTheClipboardBetweenViews)
{
    MyTextView source;
    source.setStyledText(sample());
    source.setSelectedRange(lq::Range{0, 9});
    source.copy();
    const QMimeData* offered = QApplication::clipboard()->mimeData();
    ASSERT_NE(offered, nullptr);
    ASSERT_TRUE(offered->hasFormat(MyTextView::pasteboardType)) << offered->formats().join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(offered->hasText());   // other programs still get plain text

    MyTextView target;
    target.setStyledText(lq::StyledText(QStringLiteral("[]")));
    target.setSelectedRange(lq::Range{1, 0});
    target.paste();
    const lq::StyledText pasted = target.styledText();
    EXPECT_EQ(pasted.string(), QStringLiteral("[Red plain]"));
    EXPECT_EQ(pasted.attributesAt(1).font, sample().attributesAt(0).font);
    EXPECT_EQ(pasted.attributesAt(1).foregroundColour, sample().attributesAt(0).foregroundColour);
    EXPECT_EQ(pasted.attributesAt(6).font, sample().attributesAt(5).font);
    EXPECT_EQ(target.selectedRange().location, 10u);
}

TEST(MyTextView, OwnTypeIsPreferredAndFilteredByTheOwningEditor)
{
    MyTextView view;
    int filtered = 0;
    view.setPasteFilter([&](MyTextView* v) {
        ++filtered;
        v->setStyledText(lq::StyledText(v->styledText().string()));   // keeps text only
    });
    QMimeData both;
    both.setText(QStringLiteral("plain text"));
    {
        MyTextView source;
        source.setStyledText(sample());
        source.setSelectedRange(lq::Range{0, 3});
        ASSERT_TRUE(source.writeSelectionToMimeData(&both));
        source.setSelectedRange(lq::Range{0, 0});
        QMimeData none;
        EXPECT_FALSE(source.writeSelectionToMimeData(&none));
    }
    ASSERT_TRUE(view.readSelectionFromMimeData(&both));
    EXPECT_EQ(view.styledText().string(), QStringLiteral("Red"));
    EXPECT_EQ(filtered, 1);
    EXPECT_FALSE(view.styledText().attributesAt(0).font.has_value());

    // Unreadable styled text: nothing is pasted, not even the plain text beside it.
    QMimeData broken;
    broken.setData(MyTextView::pasteboardType, "not rtf");
    broken.setText(QStringLiteral("plain"));
    QApplication::clipboard()->setMimeData(new QMimeData);
    EXPECT_FALSE(view.readSelectionFromMimeData(&broken));
    view.setSelectedRange(lq::Range{3, 0});
    QApplication::clipboard()->setMimeData([] {
        auto* data = new QMimeData;
        data->setData(MyTextView::pasteboardType, "not rtf");
        data->setText(QStringLiteral("plain"));
        return data;
    }());
    view.paste();
    EXPECT_EQ(view.styledText().string(), QStringLiteral("Red"));
}

TEST(MyTextView, NoTabsTypesABlankAndFocusIsReported)
{
    MyTextViewNoTabs view;
    view.show();
    QSignalSpy became(&view, &MyTextView::becameFirstResponder);
    view.setFocus();
    QApplication::processEvents();
    QTest::keyClicks(&view, QStringLiteral("a"));
    QTest::keyClick(&view, Qt::Key_Tab);
    QTest::keyClicks(&view, QStringLiteral("b"));
    EXPECT_EQ(view.styledText().string(), QStringLiteral("a b"));
    EXPECT_GE(became.size(), 1);
}

class TrackedWidget : public QWidget {
public:
    PressTracker tracker;
    QList<QPointF> moves;
    QPointF releasedAt;
    int releases = 0;

    TrackedWidget()
    {
        tracker.setHandlers({[](QPointF at) { return at.x() < 100; },
            [this](QPointF, QPointF to) { moves.append(to); },
            [this](QPointF, QPointF to) {
                releasedAt = to;
                ++releases;
            }});
        resize(200, 100);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override { tracker.press(e); }
    void mouseMoveEvent(QMouseEvent* e) override { tracker.move(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { tracker.release(e); }
};

TEST(PressTracker, TracksItsOwnPressedState)
{
    TrackedWidget widget;
    widget.show();
    // A move or release without a press is ignored.
    QTest::mouseMove(&widget, QPoint(10, 10));
    QTest::mouseRelease(&widget, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(widget.releases, 0);
    EXPECT_TRUE(widget.moves.isEmpty());

    QTest::mousePress(&widget, Qt::LeftButton, {}, QPoint(20, 30));
    EXPECT_TRUE(widget.tracker.isPressed());
    QMouseEvent move(QEvent::MouseMove, QPointF(50, 40), QPointF(50, 40), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
    QTest::mouseRelease(&widget, Qt::LeftButton, {}, QPoint(60, 45));
    EXPECT_FALSE(widget.tracker.isPressed());
    EXPECT_EQ(widget.moves, QList<QPointF>{QPointF(50, 40)});
    EXPECT_EQ(widget.releasedAt, QPointF(60, 45));
    EXPECT_EQ(widget.tracker.startPoint(), QPointF(20, 30));

    // A press the handler refuses starts nothing.
    QTest::mousePress(&widget, Qt::LeftButton, {}, QPoint(150, 30));
    EXPECT_FALSE(widget.tracker.isPressed());
    QTest::mouseRelease(&widget, Qt::LeftButton, {}, QPoint(150, 30));
    EXPECT_EQ(widget.releases, 1);
}

TEST(MyVertScroller, ScrollsVerticallyOnly)
{
    MyVertScroller scroller;
    auto* tall = new QWidget;
    tall->setMinimumSize(50, 1000);
    scroller.setSubView(tall);
    scroller.resize(300, 200);
    scroller.show();
    QApplication::processEvents();
    EXPECT_EQ(scroller.subView(), tall);
    EXPECT_EQ(scroller.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_GT(scroller.verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(tall->width(), scroller.viewport()->width());
}

} // namespace
