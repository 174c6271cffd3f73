#include "elements/XmlWebBox.h"
#include "elements/XmlWebContent.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "model/core/ElementFiles.h"
#include "model/feed/XmlRSS.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlLegacyTheme.h"
#include "theme/XmlTheme.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlStyleSheet.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

template <typename T>
std::shared_ptr<T> element(const QString& name, bool sameas = false)
{
    auto made = T::create();
    made->setName(name);
    if (sameas)
        made->setAttributeTo(QStringLiteral("sameas"), QStringLiteral("1"));
    return made;
}

std::shared_ptr<XmlStyleSheet> sheet(const QString& name, bool sameas)
{
    auto made = element<XmlStyleSheet>(name, sameas);
    made->addChild(element<XmlWebContent>(QStringLiteral("Content")));
    made->addChild(element<XmlWebBox>(QStringLiteral("Masthead")));
    made->addChild(element<XmlWebPhotoAlbum>(QStringLiteral("Group Nav")));
    return made;
}

class XmlLegacyThemeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        master->setBkgndColor(lq::Colour(0.2f, 0.4f, 0.6f));
        master->setTopSlice(30);
        master->setBottomSlice(20);
        auto picture = XmlCSSImage::create();
        picture->setImageUUID(QStringLiteral("PICTURE0000000001"));
        master->setImage(picture);
        theme->addChild(master);
    }

    // A later template that takes everything it may from the master, but
    // keeps its own content box.
    std::shared_ptr<XmlStyleSheet> follower()
    {
        auto later = sheet(QStringLiteral("Later"), true);
        later->getElementWithName(QStringLiteral("Masthead"))->setAttributeTo(QStringLiteral("sameas"), QStringLiteral("1"));
        later->setBkgnd(1);
        theme->addChild(later);
        return later;
    }

    QTemporaryDir folder;
    std::shared_ptr<XmlLegacyTheme> theme = XmlLegacyTheme::create();
    std::shared_ptr<XmlStyleSheet> master = sheet(QStringLiteral("Master"), false);
};

TEST_F(XmlLegacyThemeTest, GroupNavGoesAndSameasTemplatesTakeTheMastersBackgroundAndElements)
{
    master->setBkgnd(6);
    auto later = follower();
    auto ownContent = later->getElementWithName(QStringLiteral("Content"));
    auto masterMasthead = master->getElementWithName(QStringLiteral("Masthead"));
    masterMasthead->setAttributeTo(QStringLiteral("v"), QStringLiteral("0"));

    theme->unpackToDirectory(folder.path());

    for (auto* sheet : { master.get(), later.get() })
        EXPECT_EQ(sheet->getElementWithName(QStringLiteral("Group Nav")), nullptr) << sheet->name().toStdString();
    EXPECT_EQ(later->bkgnd(), 6);
    EXPECT_EQ(later->bkgndColor(), master->bkgndColor());
    EXPECT_EQ(later->topSlice(), 30);
    EXPECT_EQ(later->bottomSlice(), 20);
    ASSERT_NE(later->image(), nullptr);
    EXPECT_NE(later->image(), master->image());
    EXPECT_EQ(later->image()->imageUUID(), QStringLiteral("PICTURE0000000001"));
    // The masthead is a copy of the master's; the content box stays its own.
    auto masthead = XmlCSS::cast(later->getElementWithName(QStringLiteral("Masthead")).get());
    ASSERT_NE(masthead, nullptr);
    EXPECT_NE(masthead, masterMasthead.get());
    EXPECT_FALSE(masthead->baseVisibility());
    EXPECT_EQ(later->getElementWithName(QStringLiteral("Content")), ownContent);
    // The master keeps its own elements.
    EXPECT_EQ(master->getElementWithName(QStringLiteral("Masthead")), masterMasthead);
}

TEST_F(XmlLegacyThemeTest, AColourMasterGivesNoPicture)
{
    master->setBkgnd(1);
    auto later = follower();
    later->setBkgnd(5);
    theme->unpackToDirectory(folder.path());
    EXPECT_EQ(later->bkgnd(), 1);
    EXPECT_EQ(later->bkgndColor(), master->bkgndColor());
    // Its picture record is not the master's.
    EXPECT_TRUE(!later->image() || later->image()->imageUUID() != QStringLiteral("PICTURE0000000001"));
}

TEST_F(XmlLegacyThemeTest, TemplatesCarriedAsTextAreReadAndTheResultReadsBackAsACurrentTheme)
{
    auto carried = XmlLegacyTheme::create();
    carried->setAttributeTo(QStringLiteral("tseq"), QStringLiteral("2"));
    carried->setAttributeTo(QStringLiteral("xseq"), QStringLiteral("5"));
    carried->setContent(master->createXml() + sheet(QStringLiteral("Second"), false)->createXml());
    carried->unpackToDirectory(folder.path());
    ASSERT_EQ(carried->numberChildren(), 2);
    EXPECT_EQ(carried->content(), QString());
    for (const XmlBasePtr& child : carried->children())
        EXPECT_EQ(XmlStyleSheet::cast(child.get())->getElementWithName(QStringLiteral("Group Nav")), nullptr);

    const QString file = folder.filePath(QStringLiteral("theme.xmlbase"));
    ASSERT_TRUE(lq::saveToFile(*carried, file));
    const auto current = std::dynamic_pointer_cast<XmlTheme>(lq::createWithFile(file));
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->peekTemplateSeqNumber(), 2);
    EXPECT_EQ(current->peekVornboxSeqNumber(), 5);
    EXPECT_EQ(current->numberChildren(), 2);
}

TEST_F(XmlLegacyThemeTest, CustomTemplatesTakeTheNameOfTheirFirstPage)
{
    auto site = XmlSite::create();
    site->newDocument();
    auto first = XmlAlbum::create();
    auto second = XmlAlbum::create();
    first->setFileName(QStringLiteral("walks.html"));
    second->setFileName(QStringLiteral("more.html"));
    first->setTemplateNum(1);
    second->setTemplateNum(1);
    site->homepage()->addChild(first);
    site->homepage()->addChild(second);
    auto custom = element<XmlStyleSheet>(QStringLiteral("Page style"));
    custom->setTemplateSeqNum(1);
    custom->setCustom(1);
    auto unused = element<XmlStyleSheet>(QStringLiteral("Unused style"));
    unused->setTemplateSeqNum(2);
    unused->setCustom(1);
    theme->addChild(custom);
    theme->addChild(unused);
    theme->convert1_2Theme(site.get());
    EXPECT_EQ(custom->name(), QStringLiteral("walks.html"));
    EXPECT_EQ(custom->custom(), 0);
    EXPECT_EQ(unused->name(), QStringLiteral("Unused style"));
    EXPECT_EQ(unused->custom(), 0);

    // A template added for a page binds the page to its number.
    auto added = element<XmlStyleSheet>(QStringLiteral("Added"));
    theme->addLegacyStyleSheetAlbum(added, second.get());
    EXPECT_EQ(second->templateNum(), added->templateSeqNum());
    theme->addLegacyStyleSheetAlbum(nullptr, first.get());
    EXPECT_EQ(first->templateNum(), 1);
}

} // namespace
