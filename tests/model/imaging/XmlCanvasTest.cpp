#include "model/imaging/XmlCanvas.h"
#include "model/site/XmlSite.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <functional>

TEST(XmlCanvas, FilterDefaults)
{
    auto canvas = XmlCanvas::create();
    EXPECT_EQ(canvas->elementName(), QStringLiteral("IWcanvas"));
    EXPECT_FALSE(canvas->useFilter());
    EXPECT_EQ(canvas->highboost(), 0.5);
    EXPECT_EQ(canvas->brightness(), 0.0);
    EXPECT_EQ(canvas->contrast(), 0.0);
    EXPECT_EQ(canvas->saturation(), 0.0);
    const QString xml = canvas->createXml();
    EXPECT_TRUE(xml.startsWith(QStringLiteral("<IWcanvas backgroundcolor=\"1.000000 1.000000 1.000000 1.000000\" fillbackground=\"1\" "
                                              "toffsetx=\"0.500000\" toffsety=\"0.500000\" tscale=\"1.000000\" "
                                              "taspectx=\"320.000000\" taspecty=\"240.000000\" "
                                              "highboost=\"0.500000\" brightness=\"0.000000\" "
                                              "contrast=\"0.000000\" saturation=\"0.000000\" useFilter=\"0\"")))
        << xml.toStdString();
}

TEST(XmlCanvas, FilterSettersLeaveTheDocumentUnchanged)
{
    FakeDocument document;
    auto site = XmlSite::create();
    site->setDocument(&document);
    auto canvas = XmlCanvas::create();
    canvas->setParent(site.get());
    document.changes = 0;
    document.notices = 0;

    canvas->setUseFilter(true);
    canvas->setHighboost(1.5);
    canvas->setBrightness(0.1);
    canvas->setContrast(-0.2);
    canvas->setSaturation(0.3);
    EXPECT_EQ(document.notices, 0);
    EXPECT_TRUE(canvas->useFilter());
    EXPECT_EQ(canvas->highboost(), 1.5);
    EXPECT_EQ(canvas->brightness(), 0.1);
    EXPECT_EQ(canvas->contrast(), -0.2);
    EXPECT_EQ(canvas->saturation(), 0.3);

    canvas->setParent(nullptr);
    site->setDocument(nullptr);
}

TEST(XmlCanvas, FilterElementText)
{
    auto canvas = XmlCanvas::create();
    canvas->setUseFilter(true);
    canvas->setHighboost(1.25);
    canvas->setBrightness(-0.5);
    canvas->setContrast(0.75);
    canvas->setSaturation(-1.0);
    const QString xml = canvas->createXml();
    EXPECT_TRUE(xml.startsWith(QStringLiteral("<IWcanvas backgroundcolor=\"1.000000 1.000000 1.000000 1.000000\" fillbackground=\"1\" "
                                              "toffsetx=\"0.500000\" toffsety=\"0.500000\" tscale=\"1.000000\" "
                                              "taspectx=\"320.000000\" taspecty=\"240.000000\" "
                                              "highboost=\"1.250000\" brightness=\"-0.500000\" "
                                              "contrast=\"0.750000\" saturation=\"-1.000000\" useFilter=\"1\"")))
        << xml.toStdString();

    XmlBasePtr read = XmlBase::createWithXmlRootDir(xml, QString());
    auto* copy = XmlCanvas::cast(read.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->useFilter());
    EXPECT_EQ(copy->highboost(), 1.25);
    EXPECT_EQ(copy->brightness(), -0.5);
    EXPECT_EQ(copy->contrast(), 0.75);
    EXPECT_EQ(copy->saturation(), -1.0);
    EXPECT_EQ(copy->createXml(), xml);
}

TEST(XmlCanvas, ReadsEachFilterAttribute)
{
    struct Case {
        const char* key;
        const char* value;
        std::function<bool(XmlCanvas&)> holds;
    };
    const std::vector<Case> cases = {
        // The amounts are stored as single-precision numbers.
        { "highboost", "0.1", [](XmlCanvas& c) { return c.highboost() == static_cast<double>(0.1f); } },
        { "brightness", "-0.3", [](XmlCanvas& c) { return c.brightness() == static_cast<double>(-0.3f); } },
        { "contrast", "2", [](XmlCanvas& c) { return c.contrast() == 2.0; } },
        { "saturation", "junk", [](XmlCanvas& c) { return c.saturation() == 0.0; } },
        // useFilter is an integer: any non-zero number turns the filters on.
        { "useFilter", "1", [](XmlCanvas& c) { return c.useFilter(); } },
        { "useFilter", "-2", [](XmlCanvas& c) { return c.useFilter(); } },
        { "useFilter", "YES", [](XmlCanvas& c) { return !c.useFilter(); } },
        // The name is case-sensitive.
        { "usefilter", "1", [](XmlCanvas& c) { return !c.useFilter(); } },
        { "name", "Photo", [](XmlCanvas& c) { return c.name() == QStringLiteral("Photo"); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        auto canvas = XmlCanvas::create();
        canvas->setAttributeTo(QString::fromLatin1(c.key), QString::fromLatin1(c.value));
        EXPECT_TRUE(c.holds(*canvas));
    }
}
