#include "elements/XmlWebContent.h"
#include "elements/XmlWebFooter.h"
#include "model/core/XmlBase.h"
#include "theme/XmlTheme.h"
#include "platform/ValueStrings.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <gtest/gtest.h>

namespace {

template <typename T>
std::shared_ptr<T> readElement(const QString& text)
{
    return std::dynamic_pointer_cast<T>(XmlBase::createWithXmlRootDir(text, QString()));
}

QString css(const lq::Colour& colour)
{
    return lq::colorToCSSString(colour);
}

} // namespace

TEST(XmlWebContentModel, NewBoxReadBackKeepsExtendPageAndGainsFontsHaveData)
{
    const auto box = XmlWebContent::create();
    box->newDocument();
    EXPECT_EQ(box->heading()->fontSize(), 16);
    EXPECT_EQ(box->font()->fontSize(), 14);
    EXPECT_EQ(box->numberChildren(), 2);
    box->setExtendPage(true);

    const QString xml = box->createXml();
    EXPECT_TRUE(xml.contains(QStringLiteral(" underlineLinks=\"1\" linkNormal=\"#00007F\" linkHover=\"#0000B2\""
                                            " linkVisited=\"#333333\" fontsHaveData=\"1\" extendPage=\"1\"")))
        << xml.toStdString();
    const auto read = readElement<XmlWebContent>(xml);
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->extendPage());
    EXPECT_EQ(read->heading()->fontSize(), 16);
    EXPECT_EQ(read->numberChildren(), 2);
    EXPECT_TRUE(read->createXml().contains(QStringLiteral(" fontsHaveData=\"1\" extendPage=\"1\"")));
}

TEST(XmlWebContentModel, LegacyLineSpacingsMoveIntoTheRecordsAndAreNotWrittenAgain)
{
    const auto box = readElement<XmlWebContent>(QStringLiteral(
        "<cssWebContent normalLS=\"4\" headingLS=\"6\" fontsHaveData=\"1\"><cssFont name=\"default\"/></cssWebContent>"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->font()->lineSpacing(), 4);
    EXPECT_EQ(box->heading()->lineSpacing(), 6);
    EXPECT_EQ(box->subheading()->lineSpacing(), 0);
    const QString xml = box->createXml();
    EXPECT_FALSE(xml.contains(QStringLiteral("normalLS")));
    EXPECT_FALSE(xml.contains(QStringLiteral("headingLS")));
}

TEST(XmlWebContentModel, FilesWithoutFontsHaveDataGiveTheFourRecordsTheElementsLinkSettings)
{
    struct Case {
        const char* label;
        const char* attributes;
        bool underline;
        const char* normal;
        const char* hover;
        const char* visited;
    };
    const Case cases[] = {
        { "defaults", "", true, "#00007F", "#0000B2", "#333333" },
        { "stored", " underlineLinks=\"0\" linkNormal=\"#FF0000\" linkHover=\"#00FF00\" linkVisited=\"#0000FF\"", false,
          "#FF0000", "#00FF00", "#0000FF" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const auto box = readElement<XmlWebContent>(
            QStringLiteral("<cssWebContent") + QLatin1String(c.attributes) +
            QStringLiteral("><cssFont name=\"default\" underlineLinks=\"0\" linkNormal=\"#123456\"/>"
                           "<cssFont name=\"Content Alternate\" underlineLinks=\"0\" linkNormal=\"#123456\"/>"
                           "</cssWebContent>"));
        ASSERT_TRUE(box);
        for (const auto& record : { box->font(), box->heading(), box->subheading(), box->caption() }) {
            SCOPED_TRACE(record->name().toStdString());
            EXPECT_EQ(record->underlineLinks(), c.underline);
            EXPECT_EQ(css(record->linkNormal()), QLatin1String(c.normal));
            EXPECT_EQ(css(record->linkHover()), QLatin1String(c.hover));
            EXPECT_EQ(css(record->linkClicked()), QLatin1String(c.visited));
        }
        // The alternates keep their own.
        EXPECT_FALSE(box->alternate()->underlineLinks());
        EXPECT_EQ(css(box->alternate()->linkNormal()), QStringLiteral("#123456"));
        EXPECT_EQ(css(box->alternate2()->linkNormal()), QStringLiteral("#00007F"));
        // The element's getters answer the "default" record.
        EXPECT_EQ(css(box->linkNormal()), QLatin1String(c.normal));
        EXPECT_EQ(box->underlineLinks(), c.underline);
    }

    // With "fontsHaveData" the records keep what they carry.
    const auto current = readElement<XmlWebContent>(QStringLiteral(
        "<cssWebContent fontsHaveData=\"0\" linkNormal=\"#FF0000\"><cssFont name=\"default\" linkNormal=\"#123456\"/>"
        "</cssWebContent>"));
    ASSERT_TRUE(current);
    EXPECT_EQ(css(current->linkNormal()), QStringLiteral("#123456"));
}

TEST(XmlWebContentModel, LoadingSwitchesStylesOffOnTheNormalAndHeadingRecordsOnly)
{
    const auto box = readElement<XmlWebContent>(QStringLiteral(
        "<cssWebContent fontsHaveData=\"1\">"
        "<cssFont name=\"default\" bold=\"1\" italic=\"1\" underline=\"1\"/>"
        "<cssFont name=\"Content Heading\" bold=\"1\" italic=\"1\" underline=\"1\"/>"
        "<cssFont name=\"Content Subheading\" bold=\"1\" italic=\"1\" underline=\"1\"/>"
        "</cssWebContent>"));
    ASSERT_TRUE(box);
    for (const auto& record : { box->font(), box->heading() }) {
        EXPECT_FALSE(record->bold());
        EXPECT_FALSE(record->italic());
        EXPECT_FALSE(record->underline());
    }
    EXPECT_TRUE(box->subheading()->bold());
    EXPECT_TRUE(box->subheading()->italic());
    EXPECT_TRUE(box->subheading()->underline());
}

TEST(XmlWebContentModel, RecordsAreFoundByNameAndAddedOnce)
{
    const auto box = XmlWebContent::create();
    const auto first = box->alternate2();
    EXPECT_EQ(first->name(), QStringLiteral("Content Alternate2"));
    EXPECT_EQ(box->numberChildren(), 1);
    EXPECT_EQ(box->alternate2(), first);
    EXPECT_EQ(box->fontForType(5), first);
    EXPECT_EQ(box->fontForType(9), box->font());
    EXPECT_EQ(box->numberChildren(), 2);
    EXPECT_TRUE(box->enabled());
}

TEST(XmlWebContentModel, OnlyExtendPageMarksTheDocument)
{
    FakeDocument document;
    const auto theme = XmlTheme::create();
    theme->setDocument(&document);
    const auto box = XmlWebContent::create();
    theme->addChild(box);
    const int before = document.changes;
    box->setLinkNormal(lq::Colour::white());
    box->setUnderlineLinks(false);
    EXPECT_EQ(document.changes, before);
    box->setExtendPage(true);
    EXPECT_EQ(document.changes, before + 1);
    theme->setDocument(nullptr);
}

// --- Footer ------------------------------------------------------------------------------------

TEST(XmlWebFooterModel, NewFooterWritesItsSettingsAndAnEmptySnippet)
{
    const auto footer = XmlWebFooter::create();
    footer->setLeft(12);
    const QString xml = footer->createXml();
    EXPECT_TRUE(xml.contains(QStringLiteral(" extendPage=\"0\" voffset=\"0\" createdWith=\"1\" viewCounter=\"0\""
                                            " useHtmlSnippet=\"0\" trog=\"0\"")))
        << xml.toStdString();
    EXPECT_TRUE(xml.contains(QStringLiteral("<htmlSnippet")));
    EXPECT_FALSE(xml.contains(QStringLiteral(" top=")));
    EXPECT_TRUE(xml.contains(QStringLiteral(" left=\"12\"")));
}

TEST(XmlWebFooterModel, SettingsAndSnippetReadBackWithoutMakingTheSnippetAChild)
{
    const auto footer = XmlWebFooter::create();
    footer->setVoffset(25);
    footer->setCreatedWith(false);
    footer->setViewCounter(true);
    footer->setUseHtmlSnippet(true);
    footer->font();
    footer->heading(); // loading always asks for the heading record
    footer->htmlSnippet()->setContent(QStringLiteral("<b>raw & \"quoted\"</b>"));
    const auto read = readElement<XmlWebFooter>(footer->createXml());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->voffset(), 25);
    EXPECT_FALSE(read->createdWith());
    EXPECT_TRUE(read->viewCounter());
    EXPECT_TRUE(read->useHtmlSnippet());
    EXPECT_FALSE(read->trog());
    EXPECT_EQ(read->htmlSnippet()->content(), QStringLiteral("<b>raw & \"quoted\"</b>"));
    EXPECT_EQ(read->htmlSnippet()->parent(), read.get());
    EXPECT_EQ(read->numberChildren(), 2); // the font records only
    EXPECT_EQ(read->createXml(), footer->createXml());
}

TEST(XmlWebFooterModel, PlacementFollowsThePageUnlessPinned)
{
    const auto footer = XmlWebFooter::create();
    footer->setVoffset(20);
    footer->setPageBounds(lq::Rect(0, 100, 800, 800));
    EXPECT_EQ(footer->calcTop(), 920);
    footer->setObjectRect(lq::Rect(30, 950, 500, 60));
    EXPECT_EQ(footer->voffset(), 50);
    EXPECT_EQ(footer->left(), 30);
    EXPECT_EQ(footer->width(), 500);
    EXPECT_EQ(footer->height(), 60);

    // Pinned: a negative offset reads and writes as 0.
    const auto pinned = readElement<XmlWebFooter>(QStringLiteral("<cssWebFooter voffset=\"-30\" trog=\"1\"/>"));
    ASSERT_TRUE(pinned);
    pinned->setPageBounds(lq::Rect(0, 0, 800, 900));
    EXPECT_EQ(pinned->voffset(), 0);
    EXPECT_EQ(pinned->calcTop(), 0);
    EXPECT_TRUE(pinned->createXml().contains(QStringLiteral(" voffset=\"0\"")));
    pinned->setObjectRect(lq::Rect(0, 600, 100, 50));
    EXPECT_EQ(pinned->voffset(), 600);
    EXPECT_EQ(pinned->calcTop(), 600);
}

TEST(XmlWebFooterModel, CssNamesTheFooterTextOrTheFooterBox)
{
    struct Case {
        const char* label;
        bool flow;
        bool snippet;
        const char* prefix;
    };
    const Case cases[] = {
        { "positioned", false, false, "#footer" },
        { "snippet", false, true, "#footerbox" },
        { "flow", true, false, "#footerbox" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const auto sheet = XmlStyleSheet::create();
        sheet->setBrowserFlow(c.flow);
        const auto footer = XmlWebFooter::create();
        sheet->addChild(footer);
        footer->setUseHtmlSnippet(c.snippet);
        footer->setCreatedWith(false);
        footer->font()->setUnderlineLinks(false);
        QString text;
        footer->appendCSS(text);
        const QString prefix = QLatin1String(c.prefix);
        EXPECT_TRUE(text.startsWith(QStringLiteral("#footerbox {border-top: ")));
        EXPECT_EQ(text.section(u'}', 0, 0).contains(QStringLiteral("padding: ")), c.flow);
        const QString paragraph = prefix + (c.flow || c.snippet
                                                ? QStringLiteral(" p {margin: 0px; font-family")
                                                : QStringLiteral(" p {position: absolute; white-space: nowrap; display: block; margin: 0px; font-family"));
        EXPECT_TRUE(text.contains(paragraph)) << text.toStdString();
        EXPECT_TRUE(text.contains(prefix + QStringLiteral(" a {text-decoration: none; color: #00007F; }\n")));
        EXPECT_TRUE(text.contains(prefix + QStringLiteral(" a:hover {color: #0000B2; }\n")));
        EXPECT_TRUE(text.contains(prefix + QStringLiteral(" a:active {color: #333333; }\n")));
        EXPECT_TRUE(text.endsWith(QStringLiteral("div#createwithbox { padding: 0px; margin: 0px; border: 0px; }\n")));
    }
}
