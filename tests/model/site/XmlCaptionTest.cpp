#include "model/site/XmlAlbum.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"
#include "support/SiteInDocument.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

std::shared_ptr<XmlPhoto> readPhoto(const QString& text)
{
    return std::dynamic_pointer_cast<XmlPhoto>(XmlBase::createWithXmlRootDir(text, QString()));
}

TEST(XmlCaptionTest, PlainTextOfTheFirstParagraphAndOfAll)
{
    struct Case {
        const char* content;
        const char* shortText;
        const char* longText;
    };
    const std::vector<Case> cases = {
        { "<p>Sunset <b>over</b> the bay</p><p>Second</p>", "Sunset over the bay", "Sunset over the bay Second " },
        { "<p>A<i>b</i>c</p>", "Abc", "Abc " },
        // Nested runs of every kept kind.
        { "<p><u>under</u> <a href=\"x.html\">link <b>bold</b></a></p>", "under link bold", "under link bold " },
        // Any other element loses its whole text, nested ones included.
        { "<p>keep <span>drop <b>this</b></span>this</p><p>x<img src=\"a\"></img>y</p>", "keep this", "keep this xy " },
        { "<p>&nbsp;</p>", " ", "  " }, // the entity's blank and the paragraph's
        { "<h1>Tom &amp; Jerry</h1>", "Tom & Jerry", "Tom & Jerry " },
        // Text between top-level elements is dropped.
        { "before<p>a</p>between<p>b</p>after", "a", "a b " },
        { "", "", "" },
        { "no markup at all", "", "" },
        // Text that ends inside an element is collected up to its end.
        { "<p>Open <b>bold", "Open bold", "Open bold " },
        { "<p>a <q>never closed", "a ", "a " },
        { "<p", "", " " },
        { "<", "", " " },
        { "<p>a<", "a", "a " },
        { "<p>x</", "x", "x " },
        // A "<" in a file name opens an element that swallows the rest.
        { "<p>pic <my.jpg here</p>", "pic ", "pic " },
    };
    for (const Case& c : cases) {
        const auto caption = XmlCaption::create();
        caption->setContent(QString::fromUtf8(c.content));
        EXPECT_EQ(caption->shortCaption(), QString::fromUtf8(c.shortText)) << c.content;
        EXPECT_EQ(caption->longCaption(), QString::fromUtf8(c.longText)) << c.content;
    }
}

TEST(XmlCaptionTest, DeeplyNestedRunsDoNotExhaustTheStack)
{
    const auto caption = XmlCaption::create();
    const int depth = 50000;
    caption->setContent("<p>" + QString("<b>").repeated(depth) + "deep" + QString("</b>").repeated(depth) + "</p>");
    EXPECT_EQ(caption->shortCaption(), QString("deep"));
    caption->setContent("<p>" + QString("<span>").repeated(depth) + "gone");
    EXPECT_EQ(caption->longCaption(), QString(" "));
}

TEST(XmlCaptionTest, CaptionOnlyEndsBeforeTheOldLink)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        { "Our house link:page2 new", "Our house " },
        { "See http://example.com link:x", "See " },
        { "A link:x then http://y", "A link:x then " },
        { "Plain", "Plain" },
        { "", "" },
    };
    for (const auto& [content, expected] : cases) {
        const auto caption = XmlCaption::create();
        caption->setContent(content);
        EXPECT_EQ(caption->captionOnly(), QString(expected)) << content;
    }
}

class XmlCaptionLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        site->newDocument();
        XmlHomePage* home = site->homepage();
        home->addChild(album);
        home->addChild(group);
        group->addChild(inner);
        album->setPageSeqNumber(2);
        group->setPageSeqNumber(5);
        inner->setPageSeqNumber(3);
        inner->setFileName("page3.html");
        external->setPageSeqNumber(9);
        external->setExternalLink("http://example.org/");
        external->setIsExternalLink(true);
        home->addChild(external);
        album->addChild(photo);
    }

    XmlCaption& caption() { return *photo->caption(); }

    std::shared_ptr<XmlSite> site = XmlSite::create();
    std::shared_ptr<XmlAlbum> album = XmlAlbum::create();
    std::shared_ptr<XmlGroup> group = XmlGroup::create();
    std::shared_ptr<XmlAlbum> inner = XmlAlbum::create();
    std::shared_ptr<XmlAlbum> external = XmlAlbum::create();
    std::shared_ptr<XmlPhoto> photo = XmlPhoto::create();
};

TEST_F(XmlCaptionLinkTest, HrefResolvesPageNumbersPagesAndAddresses)
{
    struct Case {
        const char* what;
        QVariant link;
        QString href;
    };
    const std::vector<Case> cases = {
        { "page number inside a group", QVariant(3), "page3.html" },
        { "page number of the group", QVariant(5), "page5.html" },
        { "page number of an external page", QVariant(9), "http://example.org/" },
        { "page number no page carries", QVariant(4), "#" },
        { "address", QVariant(QString("http://example.com/a")), "http://example.com/a" },
        { "empty", QVariant(QString("")), "#" },
        { "UUID of a page", QVariant(inner->UUID()), "page3.html" },
        { "UUID of an external page", QVariant(external->UUID()), "http://example.org/" },
        { "UUID of an element that is no page", QVariant(photo->UUID()), photo->UUID() },
        { "nothing", QVariant(), "#" },
    };
    for (const Case& c : cases) {
        caption().setEmbeddedLink(c.link);
        EXPECT_EQ(caption().href(), c.href) << c.what;
    }
}

TEST_F(XmlCaptionLinkTest, PageNumberOutsideASiteResolvesToNothing)
{
    const auto lonely = XmlCaption::create();
    lonely->setEmbeddedLink(QVariant(3));
    EXPECT_EQ(lonely->href(), QString("#"));
}

TEST_F(XmlCaptionLinkTest, TargetFollowsTheNewWindowFlag)
{
    EXPECT_EQ(caption().href(), QString("#"));
    EXPECT_EQ(caption().target(), QString("_self"));
    caption().setNewWindow(1);
    EXPECT_EQ(caption().target(), QString("_blank"));
}

TEST_F(XmlCaptionLinkTest, SettersMarkTheDocumentChanged)
{
    FakeDocument document;
    site->setDocument(&document);
    expectEachMarksTheDocumentOnce(document, {
        { "setEmbeddedLink", [&] { caption().setEmbeddedLink(QVariant(2)); } },
        { "setNewWindow", [&] { caption().setNewWindow(1); } },
        { "setContent", [&] { caption().setContent("<p>x</p>"); } },
    });
    site->setDocument(nullptr);
}

TEST(XmlCaptionTest, LinkIsWrittenWithItsTypeAndReadBackAsTheSameKind)
{
    const auto photo = XmlPhoto::create();
    XmlCaption& caption = *photo->caption();
    caption.setContent("<p>Hi</p>");

    caption.setEmbeddedLink(QVariant(3));
    QString xml = photo->createXml();
    EXPECT_TRUE(xml.contains("<QZcaption linkType=\"0\" link=\"3\" window=\"0\">")) << xml.toStdString();
    auto copy = readPhoto(xml);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(XmlCaption::isPageNumber(copy->caption()->embeddedLink()));
    EXPECT_EQ(copy->caption()->embeddedLink().toInt(), 3);
    EXPECT_EQ(copy->caption()->content(), QString("<p>Hi</p>"));
    EXPECT_EQ(copy->createXml(), xml);

    caption.setEmbeddedLink(QString("a.html?x=1&y=\"2\""));
    caption.setNewWindow(1);
    xml = photo->createXml();
    EXPECT_TRUE(xml.contains("<QZcaption linkType=\"1\" link=\"a.html?x=1&amp;y=&quot;2&quot;\" window=\"1\">")) << xml.toStdString();
    copy = readPhoto(xml);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->caption()->embeddedLink(), QVariant(QString("a.html?x=1&y=\"2\"")));
    EXPECT_EQ(copy->caption()->newWindow(), 1);
    EXPECT_EQ(copy->createXml(), xml);
}

TEST(XmlCaptionTest, LinkWithPlaceholderMarksIsWrittenAsItStands)
{
    const auto photo = XmlPhoto::create();
    XmlCaption& caption = *photo->caption();
    caption.setEmbeddedLink(QString("http://x/a%1Fb%20c"));
    caption.setNewWindow(1);
    const QString xml = photo->createXml();
    EXPECT_TRUE(xml.contains("<QZcaption linkType=\"1\" link=\"http://x/a%1Fb%20c\" window=\"1\">")) << xml.toStdString();
    const auto copy = readPhoto(xml);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->caption()->embeddedLink(), QVariant(QString("http://x/a%1Fb%20c")));
    EXPECT_EQ(copy->createXml(), xml);
}

TEST(XmlCaptionTest, LinkWithoutItsTypeReadsAsAPageNumber)
{
    const auto photo = readPhoto("<QZphoto><QZcaption link=\"7\"/></QZphoto>");
    ASSERT_NE(photo, nullptr);
    EXPECT_TRUE(XmlCaption::isPageNumber(photo->caption()->embeddedLink()));
    EXPECT_EQ(photo->caption()->embeddedLink().toInt(), 7);
    EXPECT_EQ(photo->caption()->linkType(), 0);
}

TEST(XmlCaptionTest, NewCaptionHasAnEmptyAddressAndWritesItsContent)
{
    const auto caption = XmlCaption::create();
    EXPECT_EQ(caption->embeddedLink(), QVariant(QString("")));
    EXPECT_EQ(caption->newWindow(), 0);
    EXPECT_TRUE(caption->haveContent());
    EXPECT_EQ(caption->createXml(),
        QString("<QZcaption linkType=\"1\" link=\"\" window=\"0\"><!-- x --><![CDATA[]]><!-- x --></QZcaption>\n"));
    // Only its photo knows the element: a caption text alone reads as nothing.
    EXPECT_EQ(XmlBase::createWithXmlRootDir(caption->createXml(), QString()), nullptr);
}

TEST(XmlCaptionTest, CaptionsOfOldDocumentsTakeTheirLinkOutOfTheText)
{
    struct Case {
        const char* text;
        const char* content;
        const char* link;
        int newWindow;
    };
    const std::vector<Case> cases = {
        { "Our house link:page2 new", "<p>Our house </p>", "page2", 1 },
        { "Our house link:page2", "<p>Our house </p>", "page2", 0 },
        { "Visit http://example.com/a now", "<p>Visit </p>", "http://example.com/a", 1 },
        { "Visit http://example.com/a", "<p>Visit </p>", "http://example.com/a", 0 },
        // An address comes first even when "link:" stands before it.
        { "A link:x http://y", "<p>A link:x </p>", "http://y", 0 },
        { "Just words", "<p>Just words</p>", "", 0 },
    };
    for (const Case& c : cases) {
        const auto photo = readPhoto(QString("<QZphoto><QZcaption isblank=\"1\" linkType=\"1\" link=\"old\" window=\"1\">"
                                             "<![CDATA[%1]]></QZcaption></QZphoto>")
                                         .arg(c.text));
        ASSERT_NE(photo, nullptr) << c.text;
        const XmlCaption& caption = *photo->caption();
        EXPECT_TRUE(caption.isOld1_0Caption());
        EXPECT_EQ(caption.content(), QString(c.content)) << c.text;
        EXPECT_EQ(caption.embeddedLink(), QVariant(QString(c.link))) << c.text;
        EXPECT_EQ(caption.newWindow(), c.newWindow) << c.text;
    }

    // Without the 1.0 mark the text and the link stay as they were read.
    const auto current = readPhoto("<QZphoto><QZcaption linkType=\"1\" link=\"old\" window=\"1\">"
                                   "<![CDATA[Our house link:page2 new]]></QZcaption></QZphoto>");
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->caption()->content(), QString("Our house link:page2 new"));
    EXPECT_EQ(current->caption()->embeddedLink(), QVariant(QString("old")));
}

} // namespace
