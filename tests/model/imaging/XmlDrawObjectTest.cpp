#include "model/imaging/XmlDrawObject.h"
#include "model/imaging/XmlImage.h"
#include "model/site/XmlSite.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <QImage>

#include <functional>

TEST(XmlDrawObject, Defaults)
{
    auto object = XmlDrawObject::create();
    EXPECT_EQ(object->elementName(), QStringLiteral("IWdrawobject"));
    EXPECT_TRUE(object->haveContent());
    EXPECT_TRUE(object->bodyRect().isZero());
    EXPECT_EQ(object->backgroundColor(), lq::Colour(1, 1, 1, 1));
    EXPECT_EQ(object->foregroundColor(), lq::Colour(0, 0, 0, 1));
    EXPECT_EQ(object->thickness(), 2.0f);
    EXPECT_TRUE(object->boundingRect(lq::Rect()).isZero());

    // Every drawable has no extent of its own unless it says otherwise.
    EXPECT_TRUE(XmlDraw::create()->boundingRect(lq::Rect(1, 2, 3, 4)).isZero());
}

TEST(XmlDrawObject, BodyIsStoredIntegral)
{
    auto object = XmlDrawObject::create();
    struct Case {
        const char* what;
        lq::Rect given;
        lq::Rect stored;
    };
    const std::vector<Case> cases = {
        { "fractions widen outward", lq::Rect(10.5f, 20.2f, 30.1f, 40.0f), lq::Rect(10, 20, 31, 41) },
        { "whole numbers stay", lq::Rect(-3, 4, 5, 6), lq::Rect(-3, 4, 5, 6) },
        { "no width is the zero rectangle", lq::Rect(7, 8, 0, 9), lq::Rect() },
        { "negative height is the zero rectangle", lq::Rect(7, 8, 9, -1), lq::Rect() },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        object->setBodyRect(c.given);
        EXPECT_EQ(object->bodyRect(), c.stored);
    }
}

TEST(XmlDrawObject, SettersMarkTheDocumentChanged)
{
    FakeDocument document;
    auto site = XmlSite::create();
    site->setDocument(&document);
    auto object = XmlDrawObject::create();
    object->setParent(site.get());

    const std::vector<std::pair<const char*, std::function<void()>>> setters = {
        { "body", [&] { object->setBodyRect(lq::Rect(1, 2, 3, 4)); } },
        { "background", [&] { object->setBackgroundColor(lq::Colour(0, 1, 0)); } },
        { "foreground", [&] { object->setForegroundColor(lq::Colour(0, 0, 1)); } },
        { "thickness", [&] { object->setThickness(4.5f); } },
    };
    for (const auto& [what, set] : setters) {
        SCOPED_TRACE(what);
        document.changes = 0;
        set();
        EXPECT_EQ(document.changes, 1);
    }
    object->setParent(nullptr);
    site->setDocument(nullptr);
}

TEST(XmlDrawObject, ElementText)
{
    auto defaults = XmlDrawObject::create();
    EXPECT_TRUE(defaults->createXml().startsWith(QStringLiteral(
        "<IWdrawobject bodyrect=\"{{0, 0}, {0, 0}}\" thickness=\"2.000000\" "
        "backgroundcolor=\"1.000000 1.000000 1.000000 1.000000\" "
        "foregroundcolor=\"0.000000 0.000000 0.000000 1.000000\"")))
        << defaults->createXml().toStdString();

    auto object = XmlDrawObject::create();
    object->setBodyRect(lq::Rect(10.5f, 20.2f, 30.1f, 40.0f));
    object->setThickness(3.25f);
    object->setBackgroundColor(lq::Colour(0.25f, 0.5f, 0.75f, 0.5f));
    object->setForegroundColor(lq::Colour(1, 0, 0, 1));
    const QString xml = object->createXml();
    EXPECT_TRUE(xml.startsWith(QStringLiteral(
        "<IWdrawobject bodyrect=\"{{10, 20}, {31, 41}}\" thickness=\"3.250000\" "
        "backgroundcolor=\"0.250000 0.500000 0.750000 0.500000\" "
        "foregroundcolor=\"1.000000 0.000000 0.000000 1.000000\"")))
        << xml.toStdString();

    XmlBasePtr read = XmlBase::createWithXmlRootDir(xml, QString());
    auto* copy = XmlDrawObject::cast(read.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->bodyRect(), lq::Rect(10, 20, 31, 41));
    EXPECT_EQ(copy->thickness(), 3.25f);
    EXPECT_EQ(copy->backgroundColor(), lq::Colour(0.25f, 0.5f, 0.75f, 0.5f));
    EXPECT_EQ(copy->foregroundColor(), lq::Colour(1, 0, 0, 1));
    EXPECT_EQ(copy->createXml(), xml);
}

TEST(XmlDrawObject, ReadsEachAttribute)
{
    struct Case {
        const char* key;
        const char* value;
        std::function<bool(XmlDrawObject&)> holds;
    };
    const std::vector<Case> cases = {
        { "bodyrect", "{{1.5, 2}, {3, 4}}", [](XmlDrawObject& o) { return o.bodyRect() == lq::Rect(1, 2, 4, 4); } },
        { "thickness", "0.5", [](XmlDrawObject& o) { return o.thickness() == 0.5f; } },
        { "backgroundcolor", "#00FF00", [](XmlDrawObject& o) { return o.backgroundColor() == lq::Colour(0, 1, 0, 1); } },
        { "foregroundcolor", "0 0 1 0.5", [](XmlDrawObject& o) { return o.foregroundColor() == lq::Colour(0, 0, 1, 0.5f); } },
        // A colour text that holds no colour reads as black.
        { "backgroundcolor", "", [](XmlDrawObject& o) { return o.backgroundColor() == lq::Colour::black(); } },
        // Names of the element base still reach it.
        { "name", "Balloon", [](XmlDrawObject& o) { return o.name() == QStringLiteral("Balloon"); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        auto object = XmlDrawObject::create();
        object->setAttributeTo(QString::fromLatin1(c.key), QString::fromLatin1(c.value));
        EXPECT_TRUE(c.holds(*object));
    }
}

TEST(XmlDrawObject, BoundingRectangle)
{
    struct Case {
        const char* what;
        lq::Rect a, b, united;
    };
    const std::vector<Case> cases = {
        { "equal", lq::Rect(1, 2, 3, 4), lq::Rect(1, 2, 3, 4), lq::Rect(1, 2, 3, 4) },
        { "zero first", lq::Rect(), lq::Rect(5, 6, 7, 8), lq::Rect(5, 6, 7, 8) },
        { "zero second", lq::Rect(5, 6, 7, 8), lq::Rect(), lq::Rect(5, 6, 7, 8) },
        { "apart", lq::Rect(0, 0, 10, 10), lq::Rect(20, 30, 5, 5), lq::Rect(0, 0, 25, 35) },
        { "overlapping", lq::Rect(-5, 10, 10, 10), lq::Rect(0, 0, 10, 15), lq::Rect(-5, 0, 15, 20) },
    };
    auto object = XmlDrawObject::create();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(XmlDrawObject::unionRectWithRect(c.a, c.b), c.united);
        object->setBodyRect(c.a);
        EXPECT_EQ(object->boundingRect(c.b), c.united);
    }
}

TEST(XmlDrawObject, KindsAnswerTheirOwnBody)
{
    // The picture's body is its crop, and the base's bounding rectangle and
    // "bodyrect" attribute ask the kind for it.
    QImage pixels(40, 20, QImage::Format_ARGB32);
    pixels.fill(Qt::red);
    std::shared_ptr<XmlImage> picture = XmlImage::createFromImage(lq::GraphicsImage(pixels));
    picture->setCrop(lq::Rect(5, 5, 10, 10));
    XmlDrawObject& object = *picture;
    EXPECT_EQ(object.bodyRect(), lq::Rect(5, 5, 10, 10));
    EXPECT_EQ(object.boundingRect(lq::Rect(30, 30, 5, 5)), lq::Rect(5, 5, 30, 30));
}
