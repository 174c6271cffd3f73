#include "elements/XmlWebPhotoAlbum.h"
#include "imaging/XmlWatermark.h"
#include "model/XmlAlbum.h"
#include "model/XmlContent.h"
#include "model/XmlFooter.h"
#include "model/XmlGroup.h"
#include "model/XmlHomePage.h"
#include "model/XmlMasthead.h"
#include "model/XmlPhoto.h"
#include "model/XmlSite.h"
#include "model/XmlTrash.h"
#include "model/XmlWidgetPhoto.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"
#include "templates/XmlStyleSheet.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::shared_ptr<XmlAlbum> readAlbum(const QString& text)
{
    return std::dynamic_pointer_cast<XmlAlbum>(XmlBase::createWithXmlRootDir(text, QString()));
}

TEST(XmlAlbumTest, NewDocumentNumbersNamesAndBindsThePage)
{
    const auto site = XmlSite::create();
    site->newDocument();
    FakeDocument document;
    const auto sheet = XmlStyleSheet::create();
    document.siteRoot = site.get();
    document.firstTemplate = sheet.get();
    site->setDocument(&document);
    site->setPageSeqNumber(7);

    const auto album = XmlAlbum::create();
    site->homepage()->addChild(album);
    album->newDocument();
    EXPECT_EQ(album->pageSeqNumber(), 7);
    EXPECT_EQ(album->name(), QString("Page 7"));
    EXPECT_EQ(album->fileName(), QString("page7.html"));
    EXPECT_EQ(album->externalLink(), QString("page7.html"));
    EXPECT_EQ(album->webcontent()->content(), QString("Some Photos"));
    EXPECT_EQ(album->templateUUID(), sheet->UUID());
    EXPECT_EQ(album->getTemplate(), sheet);
    EXPECT_EQ(site->pageSeqNumber(), 8);
    EXPECT_GT(document.changes, 0);
}

TEST(XmlAlbumTest, NewDocumentWithoutASiteOnlySetsUpTheChildren)
{
    const auto album = XmlAlbum::create();
    album->newDocument();
    EXPECT_EQ(album->pageSeqNumber(), 0);
    EXPECT_EQ(album->name(), QString(""));
    EXPECT_EQ(album->webcontent()->content(), QString(""));
}

TEST(XmlAlbumTest, EmptyFileNameBecomesTheDefaultAndStays)
{
    const auto album = XmlAlbum::create();
    album->setPageSeqNumber(3);
    EXPECT_EQ(album->defaultFileName(), QString("page3.html"));
    EXPECT_EQ(album->fileName(), QString("page3.html"));
    album->setPageSeqNumber(4);
    EXPECT_EQ(album->fileName(), QString("page3.html"));
    EXPECT_EQ(album->defaultFileName(), QString("page4.html"));
}

TEST(XmlAlbumTest, ExternalLinkIsTheAddressOnlyForAnExternalPage)
{
    const auto album = XmlAlbum::create();
    album->setFileName("a.html");
    album->setExternalLink("http://example.com");
    EXPECT_EQ(album->externalLink(), QString("a.html"));
    album->setIsExternalLink(true);
    EXPECT_EQ(album->externalLink(), QString("http://example.com"));
}

TEST(XmlAlbumTest, TemplateBindingByNumber)
{
    const auto home = XmlHomePage::create();
    const auto one = XmlAlbum::create();
    const auto two = XmlAlbum::create();
    home->addChild(one);
    home->addChild(two);
    one->setTemplateNum(1);
    two->setTemplateNum(2);

    home->setTemplateForUUID(5, "NOBODY");
    EXPECT_TRUE(one->templateUUID().isEmpty());
    EXPECT_TRUE(two->templateUUID().isEmpty());

    home->setTemplateForUUID(2, "T2");
    EXPECT_TRUE(one->templateUUID().isEmpty());
    EXPECT_EQ(two->templateUUID(), QString("T2"));

    home->setTemplateForUUID(-1, "ALL");
    for (const auto& page : { one, two }) {
        EXPECT_EQ(page->templateUUID(), QString("ALL"));
        EXPECT_EQ(page->templateNum(), 0);
    }
}

TEST(XmlAlbumTest, GetTemplateAnswersNothingOnceTheTemplateIsGone)
{
    const auto album = XmlAlbum::create();
    EXPECT_EQ(album->getTemplate(), nullptr);
    {
        const auto sheet = XmlStyleSheet::create();
        album->setTemplate(sheet.get());
        EXPECT_EQ(album->getTemplate(), sheet);
    }
    EXPECT_EQ(album->getTemplate(), nullptr);
    // A UUID that names something other than a template.
    const auto photo = XmlPhoto::create();
    album->setTemplateForUUID(-1, photo->UUID());
    EXPECT_EQ(album->getTemplate(), nullptr);
}

TEST(XmlAlbumTest, TemplateAttributeIsReadWithoutAChangeAndTheUUIDIsNotWritten)
{
    const auto album = readAlbum("<QZalbum seq=\"2\" template=\"6\"/>");
    ASSERT_NE(album, nullptr);
    EXPECT_EQ(album->templateNum(), 6);
    album->setTemplateForUUID(6, "ABCDEF0123456789");
    EXPECT_FALSE(album->createXml().contains("ABCDEF0123456789"));
}

TEST(XmlAlbumTest, OnlyPlainPhotosBecomeChildren)
{
    const auto album = readAlbum("<QZalbum seq=\"1\"><QZphoto/><QZwidgetphoto/><QZphotoRep/><QZphoto/>"
                                 "<QZalbum seq=\"2\"/></QZalbum>");
    ASSERT_NE(album, nullptr);
    EXPECT_EQ(album->numberChildren(), 2);
    EXPECT_EQ(album->numberPhotos(), 2);
    EXPECT_EQ(album->photoObjects().size(), 2);

    const auto home = XmlHomePage::create();
    home->addChild(album);
    struct Case {
        const char* what;
        XmlBasePtr child;
        bool accepted;
    };
    const std::vector<Case> cases = {
        { "photo", XmlPhoto::create(), true },
        { "widget photo", XmlWidgetPhoto::create(), false },
        { "album page", XmlAlbum::create(), false },
        { "the album itself", album, false },
        { "its home page", home, false },
        { "nothing", nullptr, false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(album->canYouBeMyParent(c.child.get()), c.accepted) << c.what;
}

TEST(XmlAlbumTest, WatermarkAndPageTextAreFilledInPlaceAndWrittenAfterTheAttributes)
{
    const auto album = readAlbum("<QZalbum seq=\"1\"><IWwatermark name=\"wm\"/>"
                                 "<QZcontent><![CDATA[<p>Hello</p>]]></QZcontent></QZalbum>");
    ASSERT_NE(album, nullptr);
    EXPECT_EQ(album->numberChildren(), 0);
    EXPECT_EQ(album->watermark()->name(), QString("wm"));
    EXPECT_EQ(album->watermark()->parent(), album.get());
    EXPECT_EQ(album->webcontent()->content(), QString("<p>Hello</p>"));
    const QString xml = album->createXml();
    EXPECT_LT(xml.indexOf("<IWwatermark"), xml.indexOf("<QZcontent"));
    EXPECT_EQ(readAlbum(xml)->createXml(), xml);
}

TEST(XmlAlbumTest, SetWatermarkTakesTheNewOneAndRefusesNone)
{
    const auto site = XmlSite::create();
    site->newDocument();
    FakeDocument document;
    site->setDocument(&document);
    const auto album = XmlAlbum::create();
    site->homepage()->addChild(album);
    const auto old = album->watermark();
    const auto replacement = XmlWatermark::create();

    const int before = document.changes;
    album->setWatermark(replacement);
    EXPECT_EQ(album->watermark(), replacement);
    EXPECT_EQ(replacement->parent(), album.get());
    EXPECT_EQ(old->parent(), nullptr);
    EXPECT_GT(document.changes, before);

    album->setWatermark(nullptr);
    EXPECT_EQ(album->watermark(), replacement);
}

TEST(XmlAlbumTest, PartsOutlivingTheirPageNoLongerPointAtIt)
{
    std::shared_ptr<XmlWatermark> watermark;
    {
        const auto album = XmlAlbum::create();
        watermark = album->watermark();
    }
    EXPECT_EQ(watermark->parent(), nullptr);
}

TEST(XmlAlbumTest, MastheadAndFooterComeFromTheHomePageAbove)
{
    const auto site = XmlSite::create();
    site->newDocument();
    XmlHomePage* home = site->homepage();
    const auto group = XmlGroup::create();
    const auto inner = XmlAlbum::create();
    const auto trashed = XmlAlbum::create();
    home->addChild(group);
    group->addChild(inner);
    site->trash()->addChild(trashed);
    EXPECT_EQ(inner->masthead(), home->masthead().get());
    EXPECT_EQ(inner->footer(), home->footer().get());
    EXPECT_EQ(trashed->masthead(), nullptr);
    EXPECT_EQ(trashed->footer(), nullptr);
}

TEST(XmlAlbumTest, PageWithoutPicturesStillNamesPictureZero)
{
    const auto album = XmlAlbum::create();
    EXPECT_EQ(album->picturesInSite(), QStringList { "image0.jpg" });
}

TEST(XmlAlbumTest, LegacyTemplateIsKeptForTheConversionButNotWritten)
{
    const QString text = "<QZalbum seq=\"1\"><cssStyleSheet name=\"Old\"><cssPhotoAlbum name=\"Group Nav\"/>"
                         "<cssPhotoAlbum name=\"Photo Album\"/><cssPhotoAlbum name=\"Group Nav\"/></cssStyleSheet>"
                         "</QZalbum>";
    const auto album = readAlbum(text);
    ASSERT_NE(album, nullptr);
    ASSERT_NE(album->legacyStyleSheet(), nullptr);
    EXPECT_EQ(album->legacyStyleSheet()->parent(), album.get());
    EXPECT_EQ(album->numberChildren(), 0);
    EXPECT_FALSE(album->createXml().contains("cssStyleSheet"));

    const auto sheet = album->generateStyleFromLegacy1_0();
    ASSERT_EQ(sheet, album->legacyStyleSheet());
    QStringList names;
    for (const XmlBasePtr& child : sheet->children())
        names.append(child->name());
    EXPECT_EQ(names, (QStringList { "Photo Album", "Photo Album" }));

    const auto group = std::dynamic_pointer_cast<XmlGroup>(XmlBase::createWithXmlRootDir(
        "<QZgroup seq=\"2\"><cssStyleSheet><cssPhotoAlbum name=\"Group Nav\"/>"
        "<cssPhotoAlbum name=\"Photo Album\"/></cssStyleSheet></QZgroup>",
        QString()));
    ASSERT_NE(group, nullptr);
    const auto groupSheet = group->generateStyleFromLegacy1_0();
    ASSERT_NE(groupSheet, nullptr);
    ASSERT_EQ(groupSheet->numberChildren(), 1);
    EXPECT_EQ(groupSheet->firstChild()->name(), QString("Photo Album"));
}

TEST(XmlAlbumTest, WithoutALegacyTemplateTheConversionPicksTheTemplateNumberByClass)
{
    const auto album = XmlAlbum::create();
    album->setTemplateNum(7);
    EXPECT_EQ(album->generateStyleFromLegacy1_0(), nullptr);
    EXPECT_EQ(album->templateNum(), 0);
    const auto group = XmlGroup::create();
    EXPECT_EQ(group->generateStyleFromLegacy1_0(), nullptr);
    EXPECT_EQ(group->templateNum(), 1);
}

TEST(XmlAlbumTest, OlderPageElementReadsAsAnAlbumPage)
{
    const auto old = readAlbum("<QZwebpage2 seq=\"3\"/>");
    ASSERT_NE(old, nullptr);
    EXPECT_TRUE(old->wasVerdanePage());
    EXPECT_EQ(old->elementName(), QString("QZalbum"));
    EXPECT_FALSE(readAlbum("<QZalbum seq=\"3\"/>")->wasVerdanePage());
}

} // namespace
