#include "elements/XmlWebPhotoAlbum.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlBodyHTML.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlDescription.h"
#include "model/site/XmlFooter.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHeadHTML.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlMasthead.h"
#include "model/site/XmlPayPalCommon.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSearchTags.h"
#include "model/site/XmlSite.h"
#include "model/site/XmlTrash.h"
#include "theme/XmlLegacyTheme.h"
#include "support/FakeDocument.h"
#include "support/PhotoText.h"
#include "support/Printers.h"
#include "support/SiteInDocument.h"
#include "templates/XmlStyleSheet.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

std::shared_ptr<XmlHomePage> readHome(const QString& text)
{
    return std::dynamic_pointer_cast<XmlHomePage>(XmlBase::createWithXmlRootDir(text, QString()));
}

// A site as the writer lays it out: counters, the home page with its fixed
// parts, PayPal settings and password texts, a group holding a page, a
// protected page that links elsewhere, and a trash holding a page.
const QString kSiteText = QString(
    "<QZsite name=\"Family\" imageseq=\"14\" pageseq=\"5\" widgetseq=\"1\" disableImageWell=\"0\">"
    " <QZhomepage lc=\"2\" passPhrase=\"Say &quot;friend&quot; &amp; enter\" submitLabel=\"Go\">"
    "  <QZmasthead linkto=\"http://example.com/\"><!-- x --><![CDATA[<p><b>Our</b> site</p>]]><!-- x -->"
    "  </QZmasthead>\n"
    "  <QZfooter><!-- x --><![CDATA[<p>Footer</p>]]><!-- x -->  </QZfooter>\n"
    "  <headHTML><!-- x --><![CDATA[<meta name=\"x\" content=\"y\">]]><!-- x -->  </headHTML>\n"
    "  <bodyHTML><!-- x --><![CDATA[]]><!-- x -->  </bodyHTML>\n"
    "  <descriptionMETA><!-- x --><![CDATA[About us]]><!-- x -->  </descriptionMETA>\n"
    "  <searchMETA><!-- x --><![CDATA[family, photos]]><!-- x -->  </searchMETA>\n"
    "  <QZpaypalcommon paypaladdress=\"shop@example.com\" currency=\"EUR\" weightunit=\"1\"/>\n"
    "  <QZgroup name=\"Travel\" pageuuid=\"00000000000000AA\" showInNav=\"1\" filename=\"travel.html\" seq=\"1\" "
    "template=\"1\"><!-- x --><![CDATA[]]><!-- x -->")
    + phototext::emptyRep(3)
    + "   <IWwatermark" + phototext::watermarkAttributes() + "><!-- x --><![CDATA[]]><!-- x -->   </IWwatermark>\n"
      "   <QZcontent><!-- x --><![CDATA[<p>Where we went</p>]]><!-- x -->   </QZcontent>\n"
      "   <QZalbum name=\"Rome\" pageuuid=\"00000000000000BB\" showInNav=\"1\" link=\"page2.html\" isExternal=\"0\" "
      "filename=\"page2.html\" seq=\"2\" template=\"0\"><!-- x --><![CDATA[]]><!-- x -->"
    + phototext::emptyRep(4)
    + "    <IWwatermark" + phototext::watermarkAttributes() + "><!-- x --><![CDATA[]]><!-- x -->    </IWwatermark>\n"
      "    <QZcontent><!-- x --><![CDATA[Some Photos]]><!-- x -->    </QZcontent>\n"
      "   </QZalbum>\n"
      "  </QZgroup>\n"
      "  <QZalbum name=\"Elsewhere\" pageuuid=\"00000000000000CC\" showInNav=\"0\" link=\"http://example.org/a?b=1&amp;c=2\" "
      "isExternal=\"1\" password=\"p&lt;w\" filename=\"page3.html\" seq=\"3\" template=\"0\"><!-- x --><![CDATA[]]><!-- x -->"
    + phototext::emptyRep(3)
    + "   <IWwatermark" + phototext::watermarkAttributes() + "><!-- x --><![CDATA[]]><!-- x -->   </IWwatermark>\n"
      "   <QZcontent><!-- x --><![CDATA[]]><!-- x -->   </QZcontent>\n"
      "  </QZalbum>\n"
      " </QZhomepage>\n"
      " <QZtrash>"
      "  <QZalbum name=\"Old\" pageuuid=\"00000000000000DD\" showInNav=\"1\" link=\"old.html\" isExternal=\"0\" "
      "filename=\"old.html\" seq=\"4\" template=\"0\"><!-- x --><![CDATA[]]><!-- x -->"
    + phototext::emptyRep(3)
    + "   <IWwatermark" + phototext::watermarkAttributes() + "><!-- x --><![CDATA[]]><!-- x -->   </IWwatermark>\n"
      "   <QZcontent><!-- x --><![CDATA[]]><!-- x -->   </QZcontent>\n"
      "  </QZalbum>\n"
      " </QZtrash>\n"
      "</QZsite>\n";

TEST(XmlHomePageTest, SiteTextIsReadAndWrittenBackIdentically)
{
    const auto site = std::dynamic_pointer_cast<XmlSite>(XmlBase::createWithXmlRootDir(kSiteText, QString()));
    ASSERT_NE(site, nullptr);
    EXPECT_EQ(site->createXml(), kSiteText);

    XmlHomePage* home = site->homepage();
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->langcode(), 2);
    EXPECT_EQ(home->passPhrase(), QString("Say \"friend\" & enter"));
    EXPECT_EQ(home->submitLabel(), QString("Go"));
    EXPECT_EQ(home->masthead()->content(), QString("<p><b>Our</b> site</p>"));
    EXPECT_EQ(home->masthead()->linkTo(), QString("http://example.com/"));
    EXPECT_EQ(home->footer()->content(), QString("<p>Footer</p>"));
    EXPECT_EQ(home->headHTML()->content(), QString("<meta name=\"x\" content=\"y\">"));
    EXPECT_EQ(home->description()->content(), QString("About us"));
    EXPECT_EQ(home->searchTags()->content(), QString("family, photos"));
    EXPECT_EQ(home->paypal()->paypaladdress(), QString("shop@example.com"));
    EXPECT_EQ(home->paypal()->currencyTag(), 6);
    EXPECT_EQ(home->paypal()->weightunit(), 1);
    EXPECT_EQ(home->paypal()->parent(), home);
    // The parts are filled in place, never attached as pages.
    ASSERT_EQ(home->numberChildren(), 2);
    EXPECT_EQ(home->masthead()->parent(), home);

    const XmlBaseList pages = home->webItems();
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(pages[0]->name(), QString("Travel"));
    EXPECT_EQ(pages[1]->name(), QString("Rome"));
    EXPECT_EQ(pages[2]->name(), QString("Elsewhere"));
    auto* group = XmlGroup::cast(pages[0].get());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->webcontent()->content(), QString("<p>Where we went</p>"));
    auto* elsewhere = XmlAlbum::cast(pages[2].get());
    EXPECT_EQ(elsewhere->externalLink(), QString("http://example.org/a?b=1&c=2"));
    EXPECT_EQ(elsewhere->password(), QString("p<w"));
    EXPECT_EQ(site->trash()->numberChildren(), 1);

    // A copy of the whole site writes the same text again.
    EXPECT_EQ(site->copyWithZone()->createXml(), kSiteText);
}

TEST(XmlHomePageTest, NewHomePageWritesItsDefaultsThenTheSevenParts)
{
    const auto home = XmlHomePage::create();
    EXPECT_EQ(home->name(), QString("Website"));
    EXPECT_FALSE(home->canEditName());
    EXPECT_TRUE(home->widgets().isEmpty());
    const QString expected =
        "<QZhomepage lc=\"0\" passPhrase=\"Enter your Password below and click Submit\" submitLabel=\"Submit\">"
        " <QZmasthead linkto=\"\"><!-- x --><![CDATA[]]><!-- x --> </QZmasthead>\n"
        " <QZfooter><!-- x --><![CDATA[]]><!-- x --> </QZfooter>\n"
        " <headHTML><!-- x --><![CDATA[]]><!-- x --> </headHTML>\n"
        " <bodyHTML><!-- x --><![CDATA[]]><!-- x --> </bodyHTML>\n"
        " <descriptionMETA><!-- x --><![CDATA[]]><!-- x --> </descriptionMETA>\n"
        " <searchMETA><!-- x --><![CDATA[]]><!-- x --> </searchMETA>\n"
        " <QZpaypalcommon paypaladdress=\"\" currency=\"\" weightunit=\"0\"/>\n"
        "</QZhomepage>\n";
    EXPECT_EQ(home->createXml(), expected);
}

TEST(XmlHomePageTest, TextWithoutTheFixedPartsKeepsTheDefaults)
{
    const auto home = readHome("<QZhomepage name=\"Ignored\"><QZalbum seq=\"1\"/></QZhomepage>");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->name(), QString("Website"));
    EXPECT_EQ(home->passPhrase(), QString("Enter your Password below and click Submit"));
    EXPECT_EQ(home->submitLabel(), QString("Submit"));
    EXPECT_EQ(home->masthead()->content(), QString(""));
    EXPECT_EQ(home->masthead()->linkTo(), QString(""));
    EXPECT_EQ(home->numberChildren(), 1);
}

// The standard pass phrase names the button by its label, as read and as
// relabelled; a phrase of the user's own never changes with the label.
TEST(XmlHomePageTest, TheStandardPassPhraseNamesTheButtonAsLabelled)
{
    struct Case {
        const char* what;
        const char* attributes; // of the stored home page
        const char* relabel;    // a label set afterwards, or none
        QString phrase;
    };
    const std::vector<Case> cases {
        { "the standard phrase with its label", "passPhrase=\"Enter your Password below and click Go\" submitLabel=\"Go\"", nullptr,
            QStringLiteral("Enter your Password below and click Go") },
        { "a site of an earlier starter: the phrase for Submit, a button labelled Enter",
            "passPhrase=\"Enter your Password below and click Submit\" submitLabel=\"Enter\"", nullptr,
            QStringLiteral("Enter your Password below and click Enter") },
        { "no phrase stored, a button labelled Enter", "passPhrase=\"\" submitLabel=\"Enter\"", nullptr,
            QStringLiteral("Enter your Password below and click Enter") },
        { "the user's own phrase", "passPhrase=\"Say the word, then click Submit\" submitLabel=\"Enter\"", nullptr,
            QStringLiteral("Say the word, then click Submit") },
        { "relabelled", "passPhrase=\"Enter your Password below and click Enter\" submitLabel=\"Enter\"", "Öffnen",
            QStringLiteral("Enter your Password below and click Öffnen") },
        { "the user's own phrase, relabelled", "passPhrase=\"Knock\" submitLabel=\"Enter\"", "Open", QStringLiteral("Knock") },
    };
    for (const Case& c : cases) {
        const auto home = readHome(QStringLiteral("<QZhomepage lc=\"0\" ") + QString::fromUtf8(c.attributes) + QStringLiteral("/>"));
        ASSERT_NE(home, nullptr) << c.what;
        if (c.relabel)
            home->setSubmitLabel(QString::fromUtf8(c.relabel));
        EXPECT_EQ(home->passPhrase(), c.phrase) << c.what;
        // Written and read again, it stays.
        EXPECT_EQ(readHome(home->createXml())->passPhrase(), c.phrase) << c.what;
    }
}

TEST(XmlHomePageTest, MastheadLinkIsUrlEscapedInTheText)
{
    const auto home = XmlHomePage::create();
    home->masthead()->setLinkTo("http://example.com/a b");
    EXPECT_TRUE(home->createXml().contains("linkto=\"http://example.com/a%20b\""));
    const auto copy = readHome(home->createXml());
    EXPECT_EQ(copy->masthead()->linkTo(), QString("http://example.com/a b"));
}

TEST(XmlHomePageTest, AcceptsPagesOnly)
{
    const auto home = XmlHomePage::create();
    EXPECT_FALSE(home->canYouBeMyParent(XmlTrash::create().get()));
    EXPECT_TRUE(home->canYouBeMyParent(XmlAlbum::create().get()));
    EXPECT_TRUE(home->canYouBeMyParent(XmlGroup::create().get()));
    EXPECT_FALSE(home->canYouBeMyParent(XmlPhoto::create().get()));
    EXPECT_FALSE(home->canYouBeMyParent(nullptr));
}

TEST(XmlHomePageTest, SettersOfTheHomePageAndItsPartsMarkTheDocument)
{
    SiteInDocument fixture;
    XmlHomePage* home = fixture.site->homepage();
    expectEachMarksTheDocumentOnce(fixture.document, {
        { "setLangcode", [&] { home->setLangcode(4); } },
        { "setPassPhrase", [&] { home->setPassPhrase("Who?"); } },
        { "setSubmitLabel", [&] { home->setSubmitLabel("Enter"); } },
        { "masthead setLinkTo", [&] { home->masthead()->setLinkTo("http://x"); } },
        { "footer setContent", [&] { home->footer()->setContent("<p>f</p>"); } },
        { "bodyHTML setContent", [&] { home->bodyHTML()->setContent("<script></script>"); } },
        { "paypal setCurrencyTag", [&] { home->paypal()->setCurrencyTag(3); } },
        { "paypal setPaypaladdress", [&] { home->paypal()->setPaypaladdress("me@example.com"); } },
    });
}

TEST(XmlHomePageTest, ValidatedFileNames)
{
    const auto home = XmlHomePage::create();
    const auto page = XmlAlbum::create();
    const auto other = XmlAlbum::create();
    const auto third = XmlAlbum::create();
    page->setPageSeqNumber(1);
    other->setPageSeqNumber(2);
    third->setPageSeqNumber(3);
    other->setFileName("taken.html");
    home->addChild(page);
    const auto group = XmlGroup::create();
    home->addChild(group);
    group->setPageSeqNumber(4);
    group->addChild(other);
    group->addChild(third);

    struct Case {
        const char* proposed;
        const char* result;
    };
    const std::vector<Case> cases = {
        { "My Page", "MyPage.html" },
        { "index.php", "index.php" },
        { "a_b.htm", "ab.htm.html" },
        { "", "page1.html" },
        { "???", ".html" },
        { "taken.html", "page1.html" },  // another page's file name
        { "page3.html", "page1.html" },  // another page's default file name
        { "page4", "page1.html" },       // the group's, once ".html" is added
        { "page1.html", "page1.html" },  // the page's own default is fine
        { "Caf\u00e9/x.html", "Cafx.html" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(home->validatedFileNameForItem(QString::fromUtf8(c.proposed), page.get()), QString(c.result))
            << c.proposed;
    // Items that are not pages get the name unchanged.
    EXPECT_EQ(home->validatedFileNameForItem("a b", home.get()), QString("a b"));
}

TEST(XmlHomePageTest, PicturesInSiteListsEveryPageAndPagesInGroupsTwice)
{
    const auto home = XmlHomePage::create();
    const auto group = XmlGroup::create();
    home->addChild(XmlAlbum::create());
    home->addChild(group);
    group->addChild(XmlAlbum::create());
    // One name for the album, two for the group's page (through the group
    // and through the page itself).
    EXPECT_EQ(home->picturesInSite().size(), 3);
}

TEST(XmlHomePageTest, LegacyTemplateIsKeptButNeverWritten)
{
    const auto home = readHome("<QZhomepage><cssStyleSheet name=\"Old\">"
                               "<cssPhotoAlbum name=\"Photo Album\"/><cssPhotoAlbum name=\"Group Nav\"/>"
                               "<cssPhotoAlbum name=\"Group Nav\"/></cssStyleSheet></QZhomepage>");
    ASSERT_NE(home, nullptr);
    ASSERT_NE(home->legacyStyleSheet(), nullptr);
    EXPECT_EQ(home->numberChildren(), 0);
    EXPECT_FALSE(home->createXml().contains("cssStyleSheet"));

    const auto names = [](XmlBase& sheet) {
        QStringList list;
        for (const XmlBasePtr& child : sheet.children())
            list.append(child->name());
        return list;
    };
    const auto album = XmlLegacyTheme::generateAlbumStyleFromLegacy1_0(*home);
    ASSERT_NE(album, nullptr);
    EXPECT_EQ(album->name(), QString("Default Album"));
    // Loading puts a template's standard elements in their fixed places, so
    // "Photo Album" stands after the navigation boxes of the old template.
    EXPECT_EQ(names(*album), (QStringList { "Group Nav", "Photo Album" }));

    const auto group = XmlLegacyTheme::generateGroupStyleFromLegacy1_0(*home);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->name(), QString("Group Album"));
    EXPECT_EQ(names(*group), (QStringList { "Photo Album", "Photo Album" }));
    // The home page's own template is left as loading arranged it.
    EXPECT_EQ(names(*home->legacyStyleSheet()), (QStringList { "Group Nav", "Group Nav", "Photo Album" }));
}

TEST(XmlHomePageTest, WithoutALegacyTemplateTheConversionsAnswerNothing)
{
    const auto home = XmlHomePage::create();
    EXPECT_EQ(XmlLegacyTheme::generateAlbumStyleFromLegacy1_0(*home), nullptr);
    EXPECT_EQ(XmlLegacyTheme::generateGroupStyleFromLegacy1_0(*home), nullptr);
}

} // namespace
