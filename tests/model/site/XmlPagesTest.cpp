#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "model/site/XmlTrash.h"
#include "model/site/XmlWidgetPhoto.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

std::shared_ptr<XmlAlbum> readAlbum(const QString& text)
{
    return std::dynamic_pointer_cast<XmlAlbum>(XmlBase::createWithXmlRootDir(text, QString()));
}

// The start tag of the element's text, up to its first ">".
QString startTag(XmlBase& element)
{
    const QString xml = element.createXml();
    return xml.left(xml.indexOf('>') + 1);
}

TEST(XmlWebItemTest, NewAlbumPageWritesItsDefaultsInOrder)
{
    const auto album = XmlAlbum::create();
    album->setPageSeqNumber(4);
    album->setPageUUID("0123456789ABCDEF");
    EXPECT_EQ(startTag(*album),
        QString("<QZalbum pageuuid=\"0123456789ABCDEF\" showInNav=\"1\" link=\"page4.html\" isExternal=\"0\" "
                "filename=\"page4.html\" seq=\"4\" template=\"0\">"));
}

TEST(XmlWebItemTest, PageIdentityIsDrawnOnceAndKeptThroughTheText)
{
    const auto album = XmlAlbum::create();
    EXPECT_EQ(album->pageUUID().size(), 16);
    EXPECT_NE(album->pageUUID(), album->UUID());
    const auto copy = readAlbum(album->createXml());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->pageUUID(), album->pageUUID());
    EXPECT_NE(copy->UUID(), album->UUID());
}

TEST(XmlWebItemTest, AttributesAreReadBack)
{
    const auto album = readAlbum("<QZalbum name=\"Trips &amp; more\" pageuuid=\"AAAABBBBCCCCDDDD\" showInNav=\"0\" "
                                 "link=\"http://example.com/?a=1&amp;b=2\" isExternal=\"1\" password=\"se&quot;cret\" "
                                 "filename=\"trips.html\" seq=\"9\" template=\"3\"/>");
    ASSERT_NE(album, nullptr);
    EXPECT_EQ(album->name(), QString("Trips & more"));
    EXPECT_EQ(album->pageUUID(), QString("AAAABBBBCCCCDDDD"));
    EXPECT_FALSE(album->showInNav());
    EXPECT_TRUE(album->isExternalLink());
    EXPECT_EQ(album->externalLink(), QString("http://example.com/?a=1&b=2"));
    EXPECT_TRUE(album->isPassword());
    EXPECT_EQ(album->password(), QString("se\"cret"));
    EXPECT_EQ(album->fileName(), QString("trips.html"));
    EXPECT_EQ(album->pageSeqNumber(), 9);
    EXPECT_EQ(album->templateNum(), 3);

    // And written back the same way.
    const auto again = readAlbum(album->createXml());
    EXPECT_EQ(again->createXml(), album->createXml());
    EXPECT_TRUE(album->createXml().contains("password=\"se&quot;cret\""));
}

TEST(XmlWebItemTest, PasswordIsWrittenOnlyWhileThePageIsProtected)
{
    const auto album = readAlbum("<QZalbum password=\"pw\" seq=\"1\"/>");
    ASSERT_NE(album, nullptr);
    EXPECT_TRUE(album->isPassword());
    album->setIsPassword(false);
    const auto reloaded = readAlbum(album->createXml());
    EXPECT_FALSE(reloaded->createXml().contains("password"));
    EXPECT_FALSE(reloaded->isPassword());
    EXPECT_EQ(reloaded->password(), QString(""));
}

TEST(XmlWebItemTest, ScriptFileReplacesTheExtension)
{
    const auto album = XmlAlbum::create();
    album->setFileName("index.html");
    EXPECT_EQ(album->scriptFile(), QString("index.php"));
    album->setFileName("plain");
    EXPECT_EQ(album->scriptFile(), QString("plain.php"));
    EXPECT_FALSE(album->isDynamic());
}

TEST(XmlWebItemTest, SettersSendChangeNoticesOnlyWhereTheyShould)
{
    const auto site = XmlSite::create();
    site->newDocument();
    FakeDocument document;
    site->setDocument(&document);
    const auto album = XmlAlbum::create();
    const auto group = XmlGroup::create();
    site->homepage()->addChild(album);
    site->homepage()->addChild(group);

    struct Case {
        const char* what;
        std::function<void()> change;
        int notices;
    };
    const std::vector<Case> cases = {
        { "setPageUUID", [&] { album->setPageUUID("X"); }, 0 },
        { "setShowInNav", [&] { album->setShowInNav(false); }, 0 },
        { "setExternalLink", [&] { album->setExternalLink("http://x"); }, 0 },
        { "setFileName", [&] { album->setFileName("x.html"); }, 0 },
        { "setTemplateNum", [&] { album->setTemplateNum(3); }, 0 },
        { "setTemplateForUUID", [&] { album->setTemplateForUUID(-1, "T"); }, 0 },
        { "setIsExternalLink", [&] { album->setIsExternalLink(true); }, 1 },
        { "setIsExternalLink on a group", [&] { group->setIsExternalLink(true); }, 0 },
        { "setIsPassword", [&] { album->setIsPassword(true); }, 1 },
        { "setPassword", [&] { album->setPassword("pw"); }, 1 },
        { "setPageSeqNumber", [&] { album->setPageSeqNumber(5); }, 1 },
        { "setName", [&] { album->setName("Holidays"); }, 1 },
        { "setTemplate", [&] { album->setTemplate(nullptr); }, 1 },
    };
    for (const Case& c : cases) {
        const int before = document.notices;
        c.change();
        EXPECT_EQ(document.notices - before, c.notices) << c.what;
    }
    EXPECT_FALSE(group->isExternalLink());
}

TEST(XmlWebItemTest, HomePageIsReachedThroughGroupsButNotFromTheTrash)
{
    const auto site = XmlSite::create();
    site->newDocument();
    const auto group = XmlGroup::create();
    const auto inner = XmlAlbum::create();
    const auto trashed = XmlAlbum::create();
    site->homepage()->addChild(group);
    group->addChild(inner);
    site->trash()->addChild(trashed);
    EXPECT_EQ(inner->homepage(), site->homepage());
    EXPECT_EQ(group->homepage(), site->homepage());
    EXPECT_EQ(trashed->homepage(), nullptr);
    EXPECT_EQ(XmlAlbum::create()->homepage(), nullptr);
}

TEST(XmlGroupTest, WritesNeitherLinkNorIsExternalAndIgnoresThemWhenRead)
{
    const auto group = std::dynamic_pointer_cast<XmlGroup>(XmlBase::createWithXmlRootDir(
        "<QZgroup pageuuid=\"G\" link=\"http://elsewhere\" isExternal=\"1\" seq=\"2\"/>", QString()));
    ASSERT_NE(group, nullptr);
    EXPECT_FALSE(group->canEditLink());
    EXPECT_FALSE(group->isExternalLink());
    EXPECT_EQ(group->externalLink(), QString("page2.html"));
    EXPECT_EQ(startTag(*group),
        QString("<QZgroup pageuuid=\"G\" showInNav=\"1\" filename=\"page2.html\" seq=\"2\" template=\"0\">"));
}

TEST(XmlGroupTest, AcceptsPagesButNoGroupsPhotosOrItsOwnAncestors)
{
    const auto home = XmlHomePage::create();
    const auto group = XmlGroup::create();
    home->addChild(group);
    struct Case {
        const char* what;
        XmlBasePtr child;
        bool accepted;
    };
    const std::vector<Case> cases = {
        { "album page", XmlAlbum::create(), true },
        { "group page", XmlGroup::create(), false },
        { "photo", XmlPhoto::create(), false },
        { "widget photo", XmlWidgetPhoto::create(), false },
        { "trash", XmlTrash::create(), false },
        { "itself", group, false },
        { "nothing", nullptr, false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(group->canYouBeMyParent(c.child.get()), c.accepted) << c.what;
}

TEST(XmlGroupTest, PresentsItsPagesAsPhotos)
{
    const auto group = XmlGroup::create();
    const auto first = XmlAlbum::create();
    const auto second = XmlAlbum::create();
    first->setName("First <b>page</b>");
    second->setName("Second");
    group->addChild(first);
    group->addChild(second);
    EXPECT_EQ(group->numberPhotos(), 2);
    EXPECT_EQ(group->photoCaptions(), (QStringList { "<p>First <b>page</b></p>", "<p>Second</p>" }));
    EXPECT_EQ(group->picturesInSite(), (QStringList { "image0.jpg", "image0.jpg" }));
    EXPECT_EQ(group->webItems(), (XmlBaseList { first, second }));
}

TEST(XmlGroupTest, SetTemplateForUUIDBindsItsPagesThenItself)
{
    const auto group = XmlGroup::create();
    const auto page = XmlAlbum::create();
    group->addChild(page);
    group->setTemplateNum(1);
    page->setTemplateNum(2);
    group->setTemplateForUUID(2, "T2");
    EXPECT_EQ(page->templateUUID(), QString("T2"));
    EXPECT_TRUE(group->templateUUID().isEmpty());
    group->setTemplateForUUID(1, "T1");
    EXPECT_EQ(group->templateUUID(), QString("T1"));
    EXPECT_EQ(page->templateUUID(), QString("T2"));
}

} // namespace
