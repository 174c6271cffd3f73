#include "model/imaging/XmlDrawArrow.h"
#include "model/imaging/XmlDrawBalloon.h"
#include "model/imaging/XmlDrawCircle.h"
#include "model/imaging/XmlDrawCloud.h"
#include "model/imaging/XmlDrawLabel.h"
#include "model/imaging/XmlDrawLetter.h"
#include "model/imaging/XmlDrawLetterBox.h"
#include "model/imaging/XmlDrawSquare.h"
#include "model/core/ElementFactory.h"
#include "platform/Codecs.h"
#include "platform/graphics/GraphicsImage.h"
#include "platform/text/InPlaceTextEditor.h"
#include "platform/text/RtfCodec.h"
#include "support/ScopedServices.h"
#include "support/LogCapture.h"
#include "support/Printers.h"
#include "support/SiteInDocument.h"

#include <gtest/gtest.h>

#include <QImage>

#include <functional>

namespace {

QImage render(XmlDraw& drawable, int w, int h)
{
    lq::GraphicsImage image = lq::GraphicsImage::withSize(lq::Size(static_cast<float>(w), static_cast<float>(h)));
    {
        lq::GraphicsImage::Focus focus(image);
        drawable.draw();
    }
    return image.toQImage().convertToFormat(QImage::Format_ARGB32);
}

// Pixels of the area whose colour is close to the colour.
int countNear(const QImage& image, const QRect& area, QColor colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() > 200 && std::abs(c.red() - colour.red()) < 60 && std::abs(c.green() - colour.green()) < 60
                && std::abs(c.blue() - colour.blue()) < 60)
                ++count;
        }
    }
    return count;
}

lq::TextAttributes redHelvetica(qreal size)
{
    lq::TextAttributes a;
    a.font = lq::Font::helvetica(size);
    a.foregroundColour = lq::Colour(1, 0, 0);
    return a;
}

} // namespace

TEST(Callouts, KindsAnswerTheirHooks)
{
    struct Case {
        std::shared_ptr<XmlDrawObject> object;
        const char* element;
        bool anchor, tail, textbox;
        lq::Rect textRect; // for a body of (0, 0, 180, 140)
    };
    const std::vector<Case> cases = {
        { XmlDrawCloud::create(), "IWdrawcloud", true, false, true, lq::Rect(20, 20, 140, 100) },
        { XmlDrawBalloon::create(), "IWdrawballoon", true, false, true, lq::Rect(8.75f, 8.75f, 162.5f, 122.5f) },
        { XmlDrawLabel::create(), "IWdrawlabel", true, false, true, lq::Rect(0, 0, 180, 140) },
        { XmlDrawLetterBox::create(), "IWletterbox", false, false, true, lq::Rect(0, 0, 180, 140) },
        { XmlDrawLetter::create(), "IWletter", false, false, true, lq::Rect(0, 0, 180, 140) },
        { XmlDrawArrow::create(), "IWdrawarrow", true, true, false, lq::Rect() },
        { XmlDrawCircle::create(), "IWdrawcircle", false, false, false, lq::Rect(0, 0, 180, 140) },
        { XmlDrawSquare::create(), "IWdrawsquare", false, false, false, lq::Rect(0, 0, 180, 140) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        EXPECT_EQ(c.object->elementName(), QString::fromLatin1(c.element));
        EXPECT_EQ(c.object->hasAnchorPoint(), c.anchor);
        EXPECT_EQ(c.object->hasTailPoint(), c.tail);
        EXPECT_EQ(c.object->hasTextbox(), c.textbox);
        c.object->setBodyRect(lq::Rect(0, 0, 180, 140));
        if (c.textbox || !c.anchor) {
            EXPECT_EQ(c.object->textRect(), c.textRect);
        }
        // The factory makes the same kind.
        EXPECT_NE(lq::factoryCreateChildFromTag(QString::fromLatin1(c.element)), nullptr);
    }
    // An arrow has no body whatever was stored: only its points count.
    auto arrow = XmlDrawArrow::create();
    arrow->setBodyRect(lq::Rect(5, 5, 50, 50));
    arrow->setAnchorPoint(lq::Point(30, 40));
    arrow->setTailPoint(lq::Point(10, 15));
    EXPECT_TRUE(arrow->bodyRect().isZero());
    EXPECT_EQ(arrow->boundingRect(lq::Rect()), lq::Rect(0, 0, 30, 40));
    EXPECT_TRUE(arrow->createXml().contains(QStringLiteral(" bodyrect=\"{{0, 0}, {0, 0}}\" anchor=\"{30, 40}\" tail=\"{10, 15}\"")));
}

TEST(Callouts, BalloonKeepsEverythingThroughItsElement)
{
    auto balloon = XmlDrawBalloon::create();
    balloon->setBodyRect(lq::Rect(10, 20, 200, 100));
    balloon->setAnchorPoint(lq::Point(110, 180));
    balloon->setTailPoint(lq::Point(3, 4)); // a balloon has no tail: not written
    balloon->setBackgroundColor(lq::Colour(0.25f, 0.5f, 0.75f, 1));
    balloon->setForegroundColor(lq::Colour(0, 0.5f, 0, 0.5f));
    balloon->setThickness(3.5f);
    lq::TextAttributes hello = redHelvetica(24);
    hello.font = hello.font->withBold(true);
    hello.paragraphStyle = lq::ParagraphStyle();
    hello.paragraphStyle->alignment = lq::TextAlignment::Center;
    balloon->contents()->setText(lq::StyledText(QStringLiteral("Hello"), hello));

    const QString xml = balloon->createXml();
    EXPECT_TRUE(xml.contains(QStringLiteral(" anchor=\"{110, 180}\" thickness=")));
    EXPECT_FALSE(xml.contains(QStringLiteral(" tail=")));
    XmlBasePtr read = XmlBase::createWithXmlRootDir(xml, QString());
    auto* copy = XmlDrawBalloon::cast(read.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->bodyRect(), lq::Rect(10, 20, 200, 100));
    EXPECT_EQ(copy->anchorPoint(), lq::Point(110, 180));
    EXPECT_EQ(copy->backgroundColor(), lq::Colour(0.25f, 0.5f, 0.75f, 1));
    EXPECT_EQ(copy->foregroundColor(), lq::Colour(0, 0.5f, 0, 0.5f));
    EXPECT_EQ(copy->thickness(), 3.5f);
    const lq::StyledText& text = *copy->contents();
    EXPECT_EQ(text.string(), QStringLiteral("Hello"));
    const lq::TextAttributes a = text.attributesAt(0);
    ASSERT_TRUE(a.font && a.paragraphStyle);
    EXPECT_EQ(a.font->face(), QStringLiteral("Helvetica"));
    EXPECT_EQ(a.font->pixelSize(), 24);
    EXPECT_TRUE(a.font->isBold());
    EXPECT_EQ(a.foregroundColour, lq::Colour(1, 0, 0));
    EXPECT_EQ(a.paragraphStyle->alignment, lq::TextAlignment::Center);
    EXPECT_EQ(copy->createXml(), xml);

    // A kind without an anchor still reads one, though it never writes it.
    auto box = XmlDrawLetterBox::create();
    box->setAttributeTo(QStringLiteral("anchor"), QStringLiteral("{7, 8}"));
    EXPECT_EQ(box->anchorPoint(), lq::Point(7, 8));
    EXPECT_FALSE(box->createXml().contains(QStringLiteral("anchor")));
}

TEST(Callouts, TextThatDoesNotDecodeIsKeptUntilEdited)
{
    const QString stored = lq::base64EncodeText("not RTF at all");
    auto label = XmlDrawLabel::create();
    label->setContent(stored);
    EXPECT_TRUE(label->contents()->isEmpty());
    EXPECT_TRUE(label->keepsUndecodedContent());
    EXPECT_EQ(label->content(), stored);
    EXPECT_TRUE(label->createXml().contains(stored));

    // Read from a file the same way, and written back unchanged.
    XmlBasePtr read = XmlBase::createWithXmlRootDir(label->createXml(), QString());
    auto* copy = XmlDrawLabel::cast(read.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->contents()->isEmpty());
    EXPECT_TRUE(copy->createXml().contains(stored));

    // An edit of the (empty) text replaces the stored one.
    copy->contents()->append(QStringLiteral("new"), lq::TextAttributes());
    EXPECT_FALSE(copy->keepsUndecodedContent());
    EXPECT_NE(copy->content(), stored);
    EXPECT_EQ(lq::RtfCodec::fromRtf(lq::base64DecodeText(copy->content()))->string(), QStringLiteral("new"));
}

TEST(Callouts, ReadsTheRtfOfOlderDocuments)
{
    const QByteArray legacy = "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl\\f0\\fswiss\\fcharset0 Helvetica;}"
                              "{\\colortbl;\\red255\\green0\\blue0;}\\pard\\tx560\\qc\\f0\\fs48 \\cf1 caf\\'e9 \\u8364? 5}";
    XmlBasePtr read = XmlBase::createWithXmlRootDir(
        QStringLiteral("<IWdrawballoon bodyrect=\"{{0, 0}, {10, 10}}\"><!-- x --><![CDATA[") + lq::base64EncodeText(legacy)
            + QStringLiteral("]]><!-- x --></IWdrawballoon>"),
        QString());
    auto* balloon = XmlDrawBalloon::cast(read.get());
    ASSERT_NE(balloon, nullptr);
    EXPECT_EQ(balloon->contents()->string(), QStringLiteral("caf\u00e9 \u20ac 5"));
    const lq::TextAttributes a = balloon->contents()->attributesAt(0);
    ASSERT_TRUE(a.font && a.paragraphStyle);
    EXPECT_EQ(a.font->pixelSize(), 24);
    EXPECT_EQ(a.foregroundColour, lq::Colour(1, 0, 0));
    EXPECT_EQ(a.paragraphStyle->alignment, lq::TextAlignment::Center);
    // Unedited, the stored text is written back as it was read.
    EXPECT_EQ(balloon->content(), lq::base64EncodeText(legacy));
}

TEST(Callouts, DefaultTextAndFontSize)
{
    auto letter = XmlDrawLetter::create();
    EXPECT_EQ(letter->contents()->string(), QStringLiteral("Insert Text here"));
    EXPECT_TRUE(letter->contents()->attributesAt(0).isEmpty());
    letter->setDefaultFontSize(36);
    const lq::TextAttributes a = letter->contents()->attributesAt(5);
    ASSERT_TRUE(a.font.has_value());
    EXPECT_EQ(a.font->face(), QStringLiteral("Helvetica"));
    EXPECT_EQ(a.font->pixelSize(), 36);
    EXPECT_EQ(letter->contents()->runs().size(), 1u);
}

TEST(Callouts, BoundingRectangleTakesInThePoints)
{
    auto balloon = XmlDrawBalloon::create();
    balloon->setAnchorPoint(lq::Point(50, 60));
    // A zero body unites with the anchor from the origin.
    EXPECT_EQ(balloon->boundingRect(lq::Rect()), lq::Rect(0, 0, 50, 60));
    balloon->setBodyRect(lq::Rect(100, 100, 20, 20));
    EXPECT_EQ(balloon->boundingRect(lq::Rect()), lq::Rect(50, 60, 70, 60));
    EXPECT_EQ(XmlDrawObject::unionRectWithPoint(lq::Rect(10, 10, 5, 5), lq::Point(30, 0)), lq::Rect(10, 0, 20, 15));
}

TEST(Callouts, BalloonTailLeavesTheSideFacingTheAnchor)
{
    auto balloon = XmlDrawBalloon::create();
    balloon->contents()->setText(lq::StyledText());
    balloon->setBodyRect(lq::Rect(50, 50, 200, 100));
    balloon->setBackgroundColor(lq::Colour(0, 1, 0));
    balloon->setForegroundColor(lq::Colour(0, 0, 1));
    // Straight below the centre: the tail runs from (68.75, 150) and
    // (118.75, 150) to the anchor, so it leans on the left half.
    balloon->setAnchorPoint(lq::Point(150, 250));
    QImage image = render(*balloon, 300, 300);
    const QColor green(0, 255, 0);
    EXPECT_EQ(countNear(image, QRect(100, 80, 100, 40), green), 100 * 40) << "the body is filled";
    EXPECT_GT(countNear(image, QRect(118, 198, 8, 4), green), 20) << "inside the tail";
    EXPECT_EQ(countNear(image, QRect(140, 198, 8, 4), green), 0) << "right of the tail";
    EXPECT_GT(countNear(image, QRect(48, 98, 4, 4), QColor(0, 0, 255)), 0) << "the outline is stroked";

    // An anchor inside the body draws no tail.
    balloon->setAnchorPoint(lq::Point(100, 100));
    image = render(*balloon, 300, 300);
    EXPECT_EQ(countNear(image, QRect(110, 160, 40, 80), green), 0);
    // The rounded corners leave the body's corners out.
    EXPECT_EQ(countNear(image, QRect(50, 50, 3, 3), green), 0);
}

TEST(Callouts, PointersAndOutlines)
{
    const QColor blue(0, 0, 255);
    auto arrow = XmlDrawArrow::create();
    arrow->setForegroundColor(lq::Colour(0, 0, 1));
    arrow->setTailPoint(lq::Point(10, 50));
    arrow->setAnchorPoint(lq::Point(90, 50));
    QImage image = render(*arrow, 100, 100);
    EXPECT_GT(countNear(image, QRect(40, 49, 2, 2), blue), 0) << "the shaft";
    EXPECT_GT(countNear(image, QRect(84, 46, 2, 2), blue), 0) << "the head is wider than the shaft";
    EXPECT_EQ(countNear(image, QRect(40, 45, 2, 2), blue), 0);
    // A head needs a direction: a zero-length arrow draws no head.
    arrow->setTailPoint(lq::Point(90, 50));
    image = render(*arrow, 100, 100);
    EXPECT_EQ(countNear(image, QRect(84, 46, 2, 2), blue), 0);

    // Circles and squares are outlines, and never draw their text.
    auto circle = XmlDrawCircle::create();
    circle->setForegroundColor(lq::Colour(0, 0, 1));
    circle->setBodyRect(lq::Rect(10, 10, 80, 80));
    circle->contents()->setText(lq::StyledText(QStringLiteral("WWWW"), redHelvetica(40)));
    image = render(*circle, 100, 100);
    EXPECT_GT(countNear(image, QRect(49, 9, 2, 2), blue), 0);
    EXPECT_EQ(countNear(image, QRect(40, 40, 20, 20), blue), 0) << "not filled";
    EXPECT_EQ(countNear(image, QRect(0, 0, 100, 100), QColor(255, 0, 0)), 0);
    EXPECT_NE(circle->content(), QString());

    // A label's box covers the start of its pointer.
    auto label = XmlDrawLabel::create();
    label->contents()->setText(lq::StyledText());
    label->setBodyRect(lq::Rect(10, 10, 40, 40));
    label->setBackgroundColor(lq::Colour(0, 1, 0));
    label->setForegroundColor(lq::Colour(0, 0, 1));
    label->setAnchorPoint(lq::Point(90, 30));
    image = render(*label, 100, 100);
    EXPECT_EQ(countNear(image, QRect(35, 29, 10, 2), blue), 0);
    EXPECT_GT(countNear(image, QRect(65, 29, 10, 2), blue), 0);
}

TEST(Callouts, CloudBubblesShrinkTowardTheAnchor)
{
    auto cloud = XmlDrawCloud::create();
    cloud->contents()->setText(lq::StyledText());
    // The outline fills its design space.
    const lq::Rect outline = cloud->outline().bounds();
    EXPECT_NEAR(outline.x(), 0, 25);
    EXPECT_NEAR(outline.maxX(), 400, 30);
    EXPECT_NEAR(outline.maxY(), 300, 30);
    EXPECT_EQ(cloud->findCenterWithRadiusWithStartAngle(lq::Point(10, 10), 5, 180), lq::Point(15, 10));

    cloud->setBodyRect(lq::Rect(100, 0, 200, 140));
    cloud->setAnchorPoint(lq::Point(20, 300));
    cloud->setBackgroundColor(lq::Colour(0, 1, 0));
    cloud->setForegroundColor(lq::Colour(0, 0, 1));
    const QImage image = render(*cloud, 320, 320);
    const QColor green(0, 255, 0);
    // Bubbles of 40 x 28 at a third of the way, 28.6 x 20 at a seventh and
    // 22.2 x 15.6 at the anchor.
    EXPECT_GT(countNear(image, QRect(78, 221, 4, 4), green), 0);
    EXPECT_GT(countNear(image, QRect(39, 268, 4, 4), green), 0);
    EXPECT_GT(countNear(image, QRect(18, 298, 4, 4), green), 0);
    EXPECT_GT(countNear(image, QRect(190, 60, 20, 20), green), 300) << "the cloud body";
}

TEST(Callouts, TextIsDrawnIntoTheTextRectangle)
{
    auto letter = XmlDrawLetter::create();
    letter->setBodyRect(lq::Rect(0, 0, 200, 30));
    letter->contents()->setText(lq::StyledText(QStringLiteral("HHH\nHHH\nHHH"), redHelvetica(24)));
    const QImage image = render(*letter, 200, 100);
    const QColor red(255, 0, 0);
    EXPECT_GT(countNear(image, QRect(0, 0, 200, 28), red), 20) << "the first line";
    EXPECT_GT(countNear(image, QRect(0, 28, 200, 28), red), 20) << "the line the rectangle cuts";
    EXPECT_EQ(countNear(image, QRect(0, 57, 200, 43), red), 0) << "lines wholly below are left out";

    letter->contents()->setText(lq::StyledText());
    EXPECT_EQ(countNear(render(*letter, 200, 100), QRect(0, 0, 200, 100), red), 0);
}

namespace {

// An editing view that records what is asked of it.
struct FakeEditor : lq::InPlaceTextEditor {
    static inline int made = 0;
    static inline int opened = 0;
    std::shared_ptr<lq::StyledText> storage;
    QRectF frame;
    qreal width = 0;
    qreal scale = 0;
    lq::TextAlignment current = lq::TextAlignment::Natural;
    std::function<void()> changed;
    int redisplays = 0;

    FakeEditor() { ++made; }
    void open(QObject*, std::shared_ptr<lq::StyledText> text, qreal w, const QRectF& f, qreal s) override
    {
        ++opened;
        storage = std::move(text);
        width = w;
        frame = f;
        scale = s;
    }
    void setTextDidChange(std::function<void()> callback) override { changed = std::move(callback); }
    void focus(QEvent*) override {}
    void setAlignment(lq::TextAlignment alignment) override { current = alignment; }
    lq::TextAlignment alignment() const override { return current; }
    void close() override
    {
        --opened;
        storage.reset();
    }
    void redisplayHost() override { ++redisplays; }
};

struct EditorFactory {
    EditorFactory()
    {
        FakeEditor::made = 0;
        FakeEditor::opened = 0;
    }
    const ScopedServices fakeEditors { [](lq::Services& services) {
        services.inPlaceTextEditorFactory = [] { return std::make_unique<FakeEditor>(); };
    } };
};

} // namespace

TEST(Callouts, EditsShareOneViewAtATime)
{
    EditorFactory factory;
    auto first = XmlDrawLetterBox::create();
    auto second = XmlDrawBalloon::create();
    first->setBodyRect(lq::Rect(10, 20, 100, 50));
    const QTransform zoom = QTransform::fromScale(2, 2) * QTransform::fromTranslate(5, 5);

    first->startEditingWithEventInViewWithTransformAndScale(nullptr, nullptr, zoom, 2);
    ASSERT_TRUE(first->isEditing());
    auto* shared = static_cast<FakeEditor*>(first->editor());
    EXPECT_EQ(shared->frame, QRectF(25, 45, 200, 100));
    EXPECT_EQ(shared->width, 100);
    EXPECT_EQ(shared->scale, 2);
    EXPECT_EQ(shared->storage, first->contents());

    second->startEditingWithEventInViewWithTransformAndScale(nullptr, nullptr, zoom, 2);
    ASSERT_TRUE(second->isEditing());
    EXPECT_NE(second->editor(), first->editor()) << "the second edit has a view of its own";
    EXPECT_EQ(FakeEditor::opened, 2);

    // The text view's changes are a change of the document, and make the
    // canvas show itself again.
    SiteInDocument doc;
    first->setParent(doc.site.get());
    doc.document.changes = 0;
    shared->changed();
    EXPECT_EQ(shared->redisplays, 1);
    EXPECT_EQ(doc.document.changes, 1);
    first->setParent(nullptr);

    second->endEditingInView();
    EXPECT_FALSE(second->isEditing());
    first->endEditingInView();
    EXPECT_EQ(FakeEditor::opened, 0);

    // The shared view is free again and lent to the next edit.
    second->startEditingWithEventInViewWithTransformAndScale(nullptr, nullptr, zoom, 2);
    EXPECT_EQ(second->editor(), shared);
    // While an edit is open the text is not drawn by the callout.
    second->endEditingInView();
    EXPECT_EQ(FakeEditor::made, 2);
}

TEST(Callouts, EditingRulesAndAlignment)
{
    EditorFactory factory;
    // Kinds without a text box never edit.
    auto square = XmlDrawSquare::create();
    square->startEditingWithEventInViewWithTransformAndScale(nullptr, nullptr, QTransform(), 1);
    EXPECT_FALSE(square->isEditing());
    EXPECT_EQ(square->getAlignmentInViewWithTransformAndScale(nullptr, QTransform(), 1), 0);

    auto label = XmlDrawLabel::create();
    {
        LogCapture log;
        EXPECT_ANY_THROW(label->startEditingWithEventInViewWithTransformAndScale(nullptr, nullptr, QTransform(), 0));
        EXPECT_TRUE(log.lines.join(u'\n').contains(QStringLiteral("Divide By 0: scale = 0"))) << log.lines.join(u'\n').toStdString();
    }
    EXPECT_FALSE(label->isEditing());

    // Without an open edit, an edit is opened and closed around the alignment.
    label->setAlignmentInViewWithTransformAndScale(2, nullptr, QTransform(), 1);
    EXPECT_EQ(FakeEditor::opened, 0);
    EXPECT_FALSE(label->isEditing());
    label->startEditingWithEventInViewWithTransformAndScale(nullptr, nullptr, QTransform(), 1);
    label->setAlignmentInViewWithTransformAndScale(1, nullptr, QTransform(), 1);
    EXPECT_EQ(label->getAlignmentInViewWithTransformAndScale(nullptr, QTransform(), 1), 1);
    label->endEditingInView();
}
