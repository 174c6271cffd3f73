#include "elements/XmlWebPhotoAlbum.h"
#include "model/imaging/XmlWatermark.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlFooter.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlMasthead.h"
#include "model/imaging/XmlCanvas.h"
#include "model/imaging/XmlImage.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlPhotoRep.h"
#include "model/site/XmlSite.h"
#include "model/site/XmlTrash.h"
#include "model/site/XmlWidgetPhoto.h"
#include "theme/XmlLegacyTheme.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"
#include "support/SiteInDocument.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "templates/XmlStyleSheet.h"

#include <QTemporaryDir>

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
    // The title a new page starts with; its page text starts empty (a bare
    // text there would be no paragraph: nothing a page or an editor shows).
    EXPECT_EQ(album->content(), QString("Some Photos"));
    EXPECT_EQ(album->webcontent()->content(), QString());
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
    SiteInDocument fixture;
    const auto album = XmlAlbum::create();
    fixture.site->homepage()->addChild(album);
    const auto old = album->watermark();
    const auto replacement = XmlWatermark::create();

    const int before = fixture.document.changes;
    album->setWatermark(replacement);
    EXPECT_EQ(album->watermark(), replacement);
    EXPECT_EQ(replacement->parent(), album.get());
    EXPECT_EQ(old->parent(), nullptr);
    EXPECT_GT(fixture.document.changes, before);

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

    const auto sheet = XmlLegacyTheme::generateStyleFromLegacy1_0(*album);
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
    const auto groupSheet = XmlLegacyTheme::generateStyleFromLegacy1_0(*group);
    ASSERT_NE(groupSheet, nullptr);
    ASSERT_EQ(groupSheet->numberChildren(), 1);
    EXPECT_EQ(groupSheet->firstChild()->name(), QString("Photo Album"));
}

TEST(XmlAlbumTest, LegacyTemplateIsPutInOrderWhenThePageIsRead)
{
    // The page passes the end of reading on to its old template, which puts
    // its standard elements in their places.
    const auto album = readAlbum("<QZalbum seq=\"1\"><cssStyleSheet name=\"Old\"><cssPhotoAlbum name=\"Footer\"/>"
                                 "<cssPhotoAlbum name=\"Extra\"/><cssPhotoAlbum name=\"Masthead\"/>"
                                 "<cssPhotoAlbum name=\"Content\"/></cssStyleSheet></QZalbum>");
    ASSERT_NE(album, nullptr);
    ASSERT_NE(album->legacyStyleSheet(), nullptr);
    QStringList names;
    for (const XmlBasePtr& child : album->legacyStyleSheet()->children())
        names.append(child->name());
    EXPECT_EQ(names, (QStringList { "Content", "Masthead", "Extra", "Footer" }));
}

TEST(XmlAlbumTest, WithoutALegacyTemplateTheConversionPicksTheTemplateNumberByClass)
{
    const auto album = XmlAlbum::create();
    album->setTemplateNum(7);
    EXPECT_EQ(XmlLegacyTheme::generateStyleFromLegacy1_0(*album), nullptr);
    EXPECT_EQ(album->templateNum(), 0);
    const auto group = XmlGroup::create();
    EXPECT_EQ(XmlLegacyTheme::generateStyleFromLegacy1_0(*group), nullptr);
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

// A site document in a temporary folder with one album page, for the
// operations that number and store pictures.
class XmlAlbumPicturesTest : public SiteInFolderTest {
protected:
    QStringList captions() const
    {
        QStringList texts;
        for (const XmlBasePtr& child : album->children())
            texts.append(XmlPhoto::cast(child.get())->caption()->content());
        return texts;
    }
};

TEST_F(XmlAlbumPicturesTest, ImportPlacesNumbersAndCaptionsThePhoto)
{
    site->setImageSeqNumber(10);
    struct Step {
        const char* file;
        int index;
        QString caption;
        QStringList captionsAfter;
    };
    const std::vector<Step> steps = {
        { "first.jpg", -1, QString(), { "<p>first</p>" } },
        { "my.holiday.jpg", 5, QString(), { "<p>first</p>", "<p>my.holiday</p>" } },
        // A caption is text: its markup characters are stored as entities.
        { "third.jpg", 0, "<b>Bold</b> & co", { "<p>&lt;b&gt;Bold&lt;/b&gt; &amp; co</p>", "<p>first</p>", "<p>my.holiday</p>" } },
        { "fourth.jpg", 3, "", { "<p>&lt;b&gt;Bold&lt;/b&gt; &amp; co</p>", "<p>first</p>", "<p>my.holiday</p>", "<p></p>" } },
        { "noext", 1, QString(),
            { "<p>&lt;b&gt;Bold&lt;/b&gt; &amp; co</p>", "<p>noext</p>", "<p>first</p>", "<p>my.holiday</p>", "<p></p>" } },
        // So is a file name.
        { "a<b & \"c\".jpg", -1, QString(),
            { "<p>&lt;b&gt;Bold&lt;/b&gt; &amp; co</p>", "<p>noext</p>", "<p>first</p>", "<p>my.holiday</p>", "<p></p>",
                "<p>a&lt;b &amp; &quot;c&quot;</p>" } },
    };
    int number = 10;
    for (const Step& step : steps) {
        const auto photo = album->importPhotoIndexCaption(source(step.file), step.index, step.caption);
        ASSERT_NE(photo, nullptr) << step.file;
        EXPECT_EQ(photo->parent(), album.get());
        EXPECT_EQ(photo->imageSeqNumber(), number) << step.file;
        EXPECT_EQ(pictureSize(stored(number)), QSize(40, 30)) << step.file;
        EXPECT_EQ(captions(), step.captionsAfter) << step.file;
        ++number;
    }
    EXPECT_EQ(album->photoCaptions(), steps.back().captionsAfter);
}

TEST_F(XmlAlbumPicturesTest, ImportOfAFileThatIsNoPictureChangesNothing)
{
    album->importPhotoIndexCaption(source("a.jpg"), -1, QString());
    const QString before = site->createXml();
    const int counter = site->imageSeqTest();
    const int changes = document.changes;
    EXPECT_EQ(album->importPhotoIndexCaption(source("notes.jpg", "plain text"), 0, "x"), nullptr);
    EXPECT_EQ(album->importPhotoIndexCaption(sources.filePath("missing.jpg"), -1, QString()), nullptr);
    EXPECT_EQ(site->createXml(), before);
    EXPECT_EQ(site->imageSeqTest(), counter);
    EXPECT_EQ(document.changes, changes);
}

TEST_F(XmlAlbumPicturesTest, RepresentativePictureIsMadeOnceFromTheFirstPhoto)
{
    EXPECT_EQ(album->rep(), nullptr);
    const auto first = album->importPhotoIndexCaption(source("a.jpg", jpegBytes(60, 40)), -1, QString());
    album->importPhotoIndexCaption(source("b.jpg"), -1, QString());
    ASSERT_NE(first, nullptr);

    const auto rep = album->rep();
    ASSERT_NE(rep, nullptr);
    EXPECT_EQ(rep->parent(), album.get());
    EXPECT_EQ(album->numberChildren(), 2);
    EXPECT_NE(rep->imageSeqNumber(), first->imageSeqNumber());
    EXPECT_NE(rep->imageSeqNumber(), 0);
    // Its own copy of the first photo's picture.
    EXPECT_EQ(pictureSize(stored(rep->imageSeqNumber())), QSize(60, 40));
    EXPECT_TRUE(rep->canvas()->image()->image().isNull());

    const int counter = site->imageSeqTest();
    EXPECT_EQ(album->rep(), rep);
    EXPECT_EQ(site->imageSeqTest(), counter);
    EXPECT_EQ(album->picturesInSite(),
        (QStringList { QString("image%1.jpg").arg(rep->imageSeqNumber()), "image1.jpg", "image2.jpg" }));
    EXPECT_TRUE(album->createXml().contains(QString("<QZphotoRep iseq=\"%1\"").arg(rep->imageSeqNumber())));
}

TEST_F(XmlAlbumPicturesTest, UnreadableFirstPictureLeavesTheRepresentativePictureEmpty)
{
    const auto photo = XmlPhoto::create();
    photo->setImageSeqNumber(50);
    album->addChild(photo);
    const auto before = album->XmlWebItem::rep();
    EXPECT_EQ(album->rep(), nullptr);
    EXPECT_EQ(album->XmlWebItem::rep(), before);
    EXPECT_EQ(before->parent(), album.get());
    EXPECT_EQ(album->picturesInSite(), (QStringList { "image0.jpg", "image50.jpg" }));
    EXPECT_TRUE(album->createXml().contains("<QZphotoRep iseq=\"0\""));
}

TEST(XmlAlbumTest, RepresentativePictureIsReadIntoThePageItself)
{
    const auto album = readAlbum("<QZalbum seq=\"1\"><QZphotoRep iseq=\"5\" alt=\"cover\">"
                                 "<QZcaption><![CDATA[<p>Cover</p>]]></QZcaption></QZphotoRep>"
                                 "<QZphoto iseq=\"6\"/></QZalbum>");
    ASSERT_NE(album, nullptr);
    EXPECT_EQ(album->numberChildren(), 1);
    const auto rep = album->rep();
    ASSERT_NE(rep, nullptr);
    EXPECT_EQ(rep->imageSeqNumber(), 5);
    EXPECT_EQ(rep->altText(), QString("cover"));
    EXPECT_EQ(rep->caption()->content(), QString("<p>Cover</p>"));
    EXPECT_EQ(album->picturesInSite(), (QStringList { "image5.jpg", "image6.jpg" }));
    const QString xml = album->createXml();
    EXPECT_LT(xml.indexOf("<QZphotoRep"), xml.indexOf("<IWwatermark"));
    EXPECT_EQ(readAlbum(xml)->createXml(), xml);
}

TEST(XmlAlbumTest, GroupShowsEachPagesPictureOrThePlaceholder)
{
    SiteInDocument fixture;
    const auto group = XmlGroup::create();
    fixture.site->homepage()->addChild(group);
    const auto withPicture = readAlbum("<QZalbum seq=\"2\"><QZphotoRep iseq=\"5\"/></QZalbum>");
    const auto withoutPicture = XmlAlbum::create();
    group->addChild(withPicture);
    group->addChild(withoutPicture);

    const int changes = fixture.document.changes;
    const XmlBaseList pictures = group->photoObjects();
    ASSERT_EQ(pictures.size(), 2);
    EXPECT_EQ(pictures[0], withPicture->rep());
    EXPECT_EQ(pictures[1], withoutPicture->norep());
    auto* placeholder = XmlPhotoRep::cast(pictures[1].get());
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->parent(), withoutPicture.get());
    EXPECT_FALSE(placeholder->canvas()->image()->image().isNull());
    // Showing the placeholder is no edit, and it is never written.
    EXPECT_EQ(fixture.document.changes, changes);
    EXPECT_EQ(group->photoObjects()[1], pictures[1]);
    EXPECT_EQ(withoutPicture->createXml().count("<QZphotoRep"), 1);
    EXPECT_EQ(group->numberPhotos(), 2);
    EXPECT_EQ(group->photoCaptions(), (QStringList { "<p></p>", "<p></p>" }));
}

} // namespace
