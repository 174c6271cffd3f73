#include "pipeline/XmlCopy.h"
#include "model/core/ElementFactory.h"
#include "pipeline/XmlCreate.h"
#include "pipeline/XmlCreateBitmapSlice.h"
#include "pipeline/XmlCreateSlide.h"
#include "pipeline/XmlCreateWebBitmap.h"
#include "pipeline/XmlCreateWebImage.h"
#include "pipeline/XmlCreateWinIEBitmap.h"
#include "pipeline/XmlPasswordProtect.h"
#include "pipeline/ScriptSteps.h"
#include "pipeline/XmlProcessor.h"
#include "templates/XmlPictureFrame.h"
#include "elements/XmlSlideshow.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebBox.h"
#include "elements/XmlWebContent.h"
#include "elements/XmlWebFooter.h"
#include "elements/XmlWebMenu.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "model/imaging/XmlCanvas.h"
#include "model/imaging/XmlDraw.h"
#include "model/imaging/XmlDrawArrow.h"
#include "model/imaging/XmlDrawBalloon.h"
#include "model/imaging/XmlDrawCircle.h"
#include "model/imaging/XmlDrawCloud.h"
#include "model/imaging/XmlDrawLabel.h"
#include "model/imaging/XmlDrawLetter.h"
#include "model/imaging/XmlDrawLetterBox.h"
#include "model/imaging/XmlDrawObject.h"
#include "model/imaging/XmlDrawObjects.h"
#include "model/imaging/XmlDrawSquare.h"
#include "model/imaging/XmlImage.h"
#include "model/imaging/XmlShape.h"
#include "model/imaging/XmlWatermark.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlBodyHTML.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFiles.h"
#include "model/core/XmlGarbageDump.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHeadHTML.h"
#include "model/site/XmlHomePage.h"
#include "theme/XmlLegacyTheme.h"
#include "model/site/XmlPhoto.h"
#include "model/feed/XmlRSS.h"
#include "model/feed/XmlRSSItem.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "model/site/XmlTrash.h"
#include "model/site/XmlWidgetPhoto.h"
#include "publish/XmlD.h"
#include "publish/XmlF.h"
#include "publish/XmlLocation.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlSideBar.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <gtest/gtest.h>

#include <set>
#include <typeindex>
#include <typeinfo>

namespace {

struct VocabularyCase {
    const char* tag;
    std::type_index type;
    const char* elementName; // what the element writes itself as
};

// Every name the factory knows, with the class it must make.
const std::vector<VocabularyCase>& vocabulary()
{
    static const std::vector<VocabularyCase> cases = {
        { "xmlbase", typeid(XmlBase), "xmlbase" },
        { "IWcanvas", typeid(XmlCanvas), "IWcanvas" },
        { "IWimage", typeid(XmlImage), "IWimage" },
        { "IWletter", typeid(XmlDrawLetter), "IWletter" },
        { "IWletterbox", typeid(XmlDrawLetterBox), "IWletterbox" },
        { "IWdrawobject", typeid(XmlDrawObject), "IWdrawobject" },
        { "IWdrawcloud", typeid(XmlDrawCloud), "IWdrawcloud" },
        { "IWdrawballoon", typeid(XmlDrawBalloon), "IWdrawballoon" },
        { "IWdrawlabel", typeid(XmlDrawLabel), "IWdrawlabel" },
        { "IWdrawarrow", typeid(XmlDrawArrow), "IWdrawarrow" },
        { "IWdrawcircle", typeid(XmlDrawCircle), "IWdrawcircle" },
        { "IWdrawsquare", typeid(XmlDrawSquare), "IWdrawsquare" },
        { "IWdrawobjects", typeid(XmlDrawObjects), "IWdrawobjects" },
        { "IWwatermark", typeid(XmlWatermark), "IWwatermark" },
        { "IWshape", typeid(XmlShape), "IWshape" },
        { "IWdraw", typeid(XmlDraw), "IWdraw" },
        { "file", typeid(XmlFile), "file" },
        { "files", typeid(XmlFiles), "files" },
        { "QZsite", typeid(XmlSite), "QZsite" },
        { "QZgroup", typeid(XmlGroup), "QZgroup" },
        { "QZhomepage", typeid(XmlHomePage), "QZhomepage" },
        { "QZtrash", typeid(XmlTrash), "QZtrash" },
        { "QZalbum", typeid(XmlAlbum), "QZalbum" },
        // An older name of the album page: read as one, written back as one.
        { "QZwebpage2", typeid(XmlAlbum), "QZalbum" },
        { "QZphoto", typeid(XmlPhoto), "QZphoto" },
        { "QZwidgetphoto", typeid(XmlWidgetPhoto), "QZwidgetphoto" },
        { "headHTML", typeid(XmlHeadHTML), "headHTML" },
        { "bodyHTML", typeid(XmlBodyHTML), "bodyHTML" },
        { "QZprocessor", typeid(XmlProcessor), "QZprocessor" },
        { "QZcreate", typeid(XmlCreate), "QZcreate" },
        { "QZcopy", typeid(XmlCopy), "QZcopy" },
        { "QZpassword", typeid(XmlPasswordProtect), "QZpassword" },
        { "QZlocation", typeid(XmlLocation), "QZlocation" },
        { "QZcreateWebImage", typeid(XmlCreateWebImage), "QZcreateWebImage" },
        { "QZcreateWebBitmap", typeid(XmlCreateWebBitmap), "QZcreateWebBitmap" },
        { "QZcreateBitmapSlice", typeid(XmlCreateBitmapSlice), "QZcreateBitmapSlice" },
        { "QZcreateWinIEBitmap", typeid(XmlCreateWinIEBitmap), "QZcreateWinIEBitmap" },
        { "QZcreateSlide", typeid(XmlCreateSlide), "QZcreateSlide" },
        { "QZD", typeid(XmlD), "QZD" },
        { "QZF", typeid(XmlF), "QZF" },
        { "cssStyleSheet", typeid(XmlStyleSheet), "cssStyleSheet" },
        { "QZimage", typeid(XmlCSSImage), "QZimage" },
        { "cssFont", typeid(XmlWebFont), "cssFont" },
        { "cssWebBox", typeid(XmlWebBox), "cssWebBox" },
        { "cssWebFooter", typeid(XmlWebFooter), "cssWebFooter" },
        { "cssWebContent", typeid(XmlWebContent), "cssWebContent" },
        { "cssWebMenu", typeid(XmlWebMenu), "cssWebMenu" },
        { "cssPhotoAlbum", typeid(XmlWebPhotoAlbum), "cssPhotoAlbum" },
        // The photo album's older name.
        { "cssGroupAlbum", typeid(XmlWebPhotoAlbum), "cssPhotoAlbum" },
        { "cssPictureFrame", typeid(XmlPictureFrame), "cssPictureFrame" },
        { "cssSlideShow", typeid(XmlSlideshow), "cssSlideShow" },
        { "cssSidebar", typeid(XmlSideBar), "cssSidebar" },
        { "cssVornBox", typeid(XmlVornBox), "cssVornBox" },
        // Legacy themes convert into current ones and are written as "theme".
        { "QZtheme", typeid(XmlLegacyTheme), "theme" },
        { "theme", typeid(XmlTheme), "theme" },
        { "QZrss", typeid(XmlRSS), "QZrss" },
        { "QZrssitem", typeid(XmlRSSItem), "QZrssitem" },
    };
    return cases;
}

XmlBasePtr make(const char* tag)
{
    return lq::factoryCreateChildFromTag(QString::fromLatin1(tag));
}

} // namespace

TEST(XmlFactory, EveryNameMakesAFreshElementOfItsClass)
{
    ASSERT_EQ(vocabulary().size(), 57u);
    std::set<const XmlBase*> seen;
    std::vector<XmlBasePtr> alive; // keeps addresses from being reused
    for (const VocabularyCase& c : vocabulary()) {
        SCOPED_TRACE(c.tag);
        const XmlBasePtr element = make(c.tag);
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(std::type_index(typeid(*element)), c.type) << typeid(*element).name();
        EXPECT_EQ(element->elementName(), QString::fromLatin1(c.elementName));
        EXPECT_EQ(element->parent(), nullptr);
        EXPECT_EQ(XmlBase::UUID(element->UUID()), element);

        // A new element every time, never a shared one.
        const XmlBasePtr again = make(c.tag);
        EXPECT_NE(again, element);
        EXPECT_TRUE(seen.insert(element.get()).second);
        EXPECT_TRUE(seen.insert(again.get()).second);
        alive.push_back(element);
        alive.push_back(again);
    }
}

TEST(XmlFactory, OnlyTheOlderPageNameMarksTheAlbum)
{
    const auto verdane = std::dynamic_pointer_cast<XmlAlbum>(make("QZwebpage2"));
    ASSERT_NE(verdane, nullptr);
    EXPECT_TRUE(verdane->wasVerdanePage());

    const auto album = std::dynamic_pointer_cast<XmlAlbum>(make("QZalbum"));
    ASSERT_NE(album, nullptr);
    EXPECT_FALSE(album->wasVerdanePage());
    EXPECT_FALSE(XmlAlbum::create()->wasVerdanePage());
}

TEST(XmlFactory, UnknownNamesAnswerNothing)
{
    const QString unknown[] = {
        QString(),
        QStringLiteral(""),
        // Comparison is exact and case-sensitive.
        QStringLiteral("qzsite"),
        QStringLiteral("QZSITE"),
        QStringLiteral(" QZsite"),
        QStringLiteral("QZsite "),
        QStringLiteral("Theme"),
        // Known only to the parent that owns the part.
        QStringLiteral("QZcaption"),
        QStringLiteral("QZmasthead"),
        QStringLiteral("QZphotoRep"),
        QStringLiteral("htmlSnippet"),
        QStringLiteral("normalBkgnd"),
        // Written by some classes but never read back.
        QStringLiteral("folder"),
        QStringLiteral("css"),
        QStringLiteral("cssBackground"),
        QStringLiteral("cssBoxModel"),
        QStringLiteral("cssWebText"),
        QStringLiteral("Bom"),
        QStringLiteral("iPhoto"),
    };
    for (const QString& tag : unknown)
        EXPECT_EQ(lq::factoryCreateChildFromTag(tag), nullptr) << tag.toStdString();
}

TEST(XmlFactory, AddedNamesNeverTakeAKnownNameAway)
{
    // The test program registered the script steps at start-up; registering
    // them again, or anything under a known name, changes no class.
    lq::registerScriptSteps();
    lq::addFactoryTags({ { "QZsite", [] { return XmlBase::create(); } }, { "QZcopy", [] { return XmlBase::create(); } } });
    EXPECT_NE(XmlSite::cast(lq::factoryCreateChildFromTag(QStringLiteral("QZsite")).get()), nullptr);
    EXPECT_NE(XmlCopy::cast(lq::factoryCreateChildFromTag(QStringLiteral("QZcopy")).get()), nullptr);
    EXPECT_NE(XmlProcessor::cast(lq::factoryCreateChildFromTag(QStringLiteral("QZprocessor")).get()), nullptr);
}

TEST(XmlFactory, ElementsAskTheFactoryUnlessTheyKnowBetter)
{
    // The base answer, inherited by classes without tags of their own.
    for (const XmlBasePtr& parent : { XmlBase::create(), XmlBasePtr(XmlTrash::create()), XmlBasePtr(XmlStyleSheet::create()) }) {
        EXPECT_NE(dynamic_cast<XmlPhoto*>(parent->createChildFromTag(QStringLiteral("QZphoto")).get()), nullptr);
        EXPECT_NE(dynamic_cast<XmlWebFont*>(parent->createChildFromTag(QStringLiteral("cssFont")).get()), nullptr);
        EXPECT_EQ(parent->createChildFromTag(QStringLiteral("QZcaption")), nullptr);
    }

    // Nothing is ever read under a file, not even a file.
    auto file = XmlFile::create();
    EXPECT_EQ(file->createChildFromTag(QStringLiteral("file")), nullptr);
    EXPECT_EQ(file->createChildFromTag(QStringLiteral("xmlbase")), nullptr);
}

TEST(XmlFactory, GarbageDumpSwallowsAWholeSubtree)
{
    auto dump = XmlGarbageDump::create();
    EXPECT_TRUE(dump->canHaveChildren());
    EXPECT_TRUE(dump->haveContent());
    EXPECT_EQ(dump->elementName(), QStringLiteral("xmlbase"));

    // Every tag inside, known or not, becomes a further dump that it accepts.
    XmlBase* level = dump.get();
    for (const QString& tag : { QStringLiteral("QZalbum"), QStringLiteral("noSuchTag"), QString(), QStringLiteral("QZphoto") }) {
        const XmlBasePtr child = level->createChildFromTag(tag);
        ASSERT_NE(child, nullptr) << tag.toStdString();
        EXPECT_EQ(typeid(*child), typeid(XmlGarbageDump));
        EXPECT_NE(child.get(), level);
        EXPECT_TRUE(level->canYouBeMyParent(child.get()));
        EXPECT_EQ(level->addChild(child), child);
        level = child.get();
    }
    EXPECT_EQ(level->root(), dump.get());

    // It takes any element at all.
    EXPECT_TRUE(dump->canYouBeMyParent(XmlSite::create().get()));
    EXPECT_TRUE(dump->canYouBeMyParent(XmlBase::create().get()));
}

TEST(XmlFactory, InitialFlagsFollowEachClass)
{
    struct FlagCase {
        const char* tag;
        bool children;
        bool content;
        bool editName;
    };
    const FlagCase cases[] = {
        // Roots and site tree.
        { "xmlbase", false, false, true },
        { "QZsite", true, false, true },
        { "theme", true, true, true },
        { "QZtheme", true, true, true },
        { "QZhomepage", true, false, false },
        { "QZtrash", true, false, false },
        { "QZalbum", true, true, true },
        { "QZgroup", true, true, true },
        { "QZphoto", false, false, false },
        { "QZwidgetphoto", false, false, false },
        { "headHTML", false, true, true },
        { "bodyHTML", false, true, true },
        { "file", false, false, false },
        { "files", true, false, false },
        { "QZrss", true, false, true },
        { "QZrssitem", false, false, true },
        // Styles and page elements.
        { "cssStyleSheet", true, false, true },
        { "QZimage", false, false, false },
        { "cssFont", false, false, true },
        { "cssWebMenu", true, false, true },
        { "cssVornBox", true, true, true },
        { "cssWebBox", true, false, true },
        { "cssWebContent", true, false, true },
        { "cssWebFooter", true, false, true },
        { "cssPhotoAlbum", true, false, true },
        { "cssPictureFrame", true, false, true },
        { "cssSlideShow", true, false, true },
        { "cssSidebar", true, false, true },
        // Photo canvas.
        { "IWcanvas", true, false, true },
        { "IWdrawobjects", true, false, true },
        { "IWdrawcloud", false, true, true },
        { "IWimage", false, false, true },
        { "IWwatermark", false, true, true },
        { "IWshape", false, false, true },
        // Scripts, publishing, digests.
        { "QZprocessor", true, false, true },
        { "QZcreate", false, false, true },
        { "QZcopy", false, false, true },
        { "QZpassword", false, false, true },
        { "QZlocation", false, false, true },
        { "QZD", true, false, true },
        { "QZF", true, false, true },
    };
    for (const FlagCase& c : cases) {
        SCOPED_TRACE(c.tag);
        const XmlBasePtr element = make(c.tag);
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(element->canHaveChildren(), c.children);
        EXPECT_EQ(element->haveContent(), c.content);
        EXPECT_EQ(element->canEditName(), c.editName);
    }
}

TEST(XmlFactory, ParentsAcceptOnlyTheirKindOfChild)
{
    struct ParentCase {
        const char* parent;
        const char* child;
        bool accepted;
    };
    const ParentCase cases[] = {
        { "theme", "cssStyleSheet", true },
        { "theme", "cssWebBox", false },
        { "theme", "theme", false },
        { "QZtheme", "cssStyleSheet", true },
        { "QZtheme", "cssFont", false },
        // A template takes its page elements and fonts.
        { "cssStyleSheet", "cssWebMenu", true },
        { "cssStyleSheet", "cssVornBox", true },
        { "cssStyleSheet", "cssGroupAlbum", true },
        { "cssStyleSheet", "cssSidebar", true },
        { "cssStyleSheet", "cssFont", true },
        { "cssStyleSheet", "cssStyleSheet", false },
        { "cssStyleSheet", "QZimage", false },
        // A box takes fonts only.
        { "cssWebContent", "cssFont", true },
        { "cssSlideShow", "cssFont", true },
        { "cssWebContent", "cssWebBox", false },
        { "cssSidebar", "cssPictureFrame", false },
        { "IWdrawobjects", "IWdrawcloud", true },
        { "IWdrawobjects", "IWimage", true },
        { "IWdrawobjects", "IWwatermark", false },
        { "IWdrawobjects", "IWdrawobjects", false },
        // The canvas's parts are filled in place, never attached.
        { "IWcanvas", "files", true },
        { "IWcanvas", "IWimage", false },
        { "IWcanvas", "IWdrawobjects", false },
        { "QZD", "QZD", true },
        { "QZD", "QZF", true },
        { "QZD", "xmlbase", false },
        { "QZrss", "QZrssitem", true },
        { "QZrss", "QZrss", false },
        { "QZrss", "xmlbase", false },
        { "QZtrash", "QZalbum", true },
        { "QZtrash", "QZwebpage2", true },
        { "QZtrash", "QZgroup", true },
        { "QZtrash", "QZphoto", true },
        { "QZtrash", "QZwidgetphoto", true },
        { "QZtrash", "QZhomepage", false },
        { "QZtrash", "QZsite", false },
        { "QZtrash", "QZtrash", false },
        { "QZtrash", "xmlbase", false },
        // The site root reads its home page and trash; the files tree is its own doing.
        { "QZsite", "QZhomepage", true },
        { "QZsite", "QZtrash", true },
        { "QZsite", "files", false },
        { "QZsite", "QZalbum", false },
        { "QZsite", "QZsite", false },
        { "QZsite", "xmlbase", false },
        // The home page holds pages, never the trash or a photo.
        { "QZhomepage", "QZalbum", true },
        { "QZhomepage", "QZwebpage2", true },
        { "QZhomepage", "QZgroup", true },
        { "QZhomepage", "QZtrash", false },
        { "QZhomepage", "QZphoto", false },
        { "QZhomepage", "QZhomepage", false },
        { "QZhomepage", "xmlbase", false },
        // An album page holds photos of exactly the photo class.
        { "QZalbum", "QZphoto", true },
        { "QZalbum", "QZwidgetphoto", false },
        { "QZalbum", "QZalbum", false },
        { "QZalbum", "QZgroup", false },
        { "QZalbum", "xmlbase", false },
        { "QZgroup", "QZalbum", true },
        { "QZgroup", "QZgroup", false },
        { "QZgroup", "QZphoto", false },
        // A script holds its steps and nothing else.
        { "QZprocessor", "QZcreate", true },
        { "QZprocessor", "QZcopy", true },
        { "QZprocessor", "QZpassword", true },
        { "QZprocessor", "QZcreateWebImage", true },
        { "QZprocessor", "QZcreateSlide", true },
        { "QZprocessor", "QZcreateWebBitmap", true },
        { "QZprocessor", "QZcreateBitmapSlice", true },
        { "QZprocessor", "QZcreateWinIEBitmap", true },
        { "QZprocessor", "QZprocessor", false },
        { "QZprocessor", "QZlocation", false },
        { "QZprocessor", "xmlbase", false },
        { "QZlocation", "xmlbase", false },
    };
    std::set<std::string> parents;
    for (const ParentCase& c : cases) {
        SCOPED_TRACE(std::string(c.parent) + " <- " + c.child);
        const XmlBasePtr parent = make(c.parent);
        const XmlBasePtr child = make(c.child);
        ASSERT_NE(parent, nullptr);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(parent->canYouBeMyParent(child.get()), c.accepted);
        parents.insert(c.parent);
    }
    for (const std::string& tag : parents)
        EXPECT_FALSE(make(tag.c_str())->canYouBeMyParent(nullptr)) << tag;
}

TEST(XmlFactory, TrashRefusesItselfAndWhatHoldsIt)
{
    auto trash = XmlTrash::create();
    EXPECT_FALSE(trash->canYouBeMyParent(trash.get()));

    // A group would be welcome, but not the one the trash lies in.
    auto outer = XmlGroup::create();
    auto inner = XmlGroup::create();
    outer->addChild(inner);
    inner->addChild(trash);
    EXPECT_FALSE(trash->canYouBeMyParent(inner.get()));
    EXPECT_FALSE(trash->canYouBeMyParent(outer.get()));
    EXPECT_TRUE(trash->canYouBeMyParent(XmlGroup::create().get()));
}

TEST(XmlFactory, ThemePassesChangeNoticesToItsDocument)
{
    FakeDocument document;
    auto theme = XmlTheme::create();
    auto sheet = XmlStyleSheet::create();
    theme->addChild(sheet);
    EXPECT_EQ(sheet->myDocument(), nullptr);

    theme->setDocument(&document);
    EXPECT_EQ(theme->myDocument(), &document);
    EXPECT_EQ(sheet->myDocument(), &document);

    sheet->setName(QStringLiteral("Default"));
    EXPECT_EQ(document.changes, 1);

    // Changes made while the alarm is raised reach the document but mark nothing.
    sheet->falseAlarm(true);
    EXPECT_EQ(document.suppressed, 1);
    sheet->setName(QStringLiteral("Other"));
    sheet->falseAlarm(false);
    EXPECT_EQ(document.suppressed, 0);
    EXPECT_EQ(document.changes, 1);
    EXPECT_EQ(document.notices, 2);

    theme->setDocument(nullptr);
    sheet->setName(QStringLiteral("Third"));
    EXPECT_EQ(document.notices, 2);
}

TEST(XmlFactory, EveryNameReadsFromTextAndWritesBackUnderItsElementName)
{
    for (const VocabularyCase& c : vocabulary()) {
        SCOPED_TRACE(c.tag);
        const XmlBasePtr root = XmlBase::createWithXmlRootDir(QStringLiteral("<%1/>").arg(QString::fromLatin1(c.tag)), QString());
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(std::type_index(typeid(*root)), c.type);
        const QString xml = root->createXml();
        const QString start = QLatin1Char('<') + QString::fromLatin1(c.elementName);
        EXPECT_TRUE(xml.startsWith(start + QLatin1String("/>")) || xml.startsWith(start + QLatin1Char('>'))
            || xml.startsWith(start + QLatin1Char(' ')))
            << xml.toStdString();
    }
}

namespace {

// The shape of a tree as text: "tag:name(child, child)"; only a written
// (editable, non-empty) name is shown.
QString shape(const XmlBase& element)
{
    QString text = element.elementName();
    if (element.canEditName() && !element.name().isEmpty())
        text += QLatin1Char(':') + element.name();
    QStringList kids;
    for (const XmlBasePtr& child : element.children())
        kids.append(shape(*child));
    if (!kids.isEmpty())
        text += QLatin1Char('(') + kids.join(QStringLiteral(", ")) + QLatin1Char(')');
    return text;
}

} // namespace

TEST(XmlFactory, ReadingKeepsWhatEachParentAcceptsAndGoesOnAfterTheRest)
{
    struct ReadCase {
        const char* label;
        const char* text;
        const char* shape;
    };
    const ReadCase cases[] = {
        { "an unknown tag with three levels inside the home page",
            "<QZsite><QZhomepage><QZalbum name=\"A\"/>"
            "<QZnews name=\"n\"><l1><QZalbum name=\"x\"/><l2><l3 name=\"deep\"/></l2></l1></QZnews>"
            "<QZalbum name=\"B\"/></QZhomepage><QZtrash/></QZsite>",
            "QZsite(QZhomepage(QZalbum:A, QZalbum:B), files, QZtrash)" },
        { "a known tag the home page refuses, read with its subtree and dropped",
            "<QZsite><QZhomepage><QZphoto><QZalbum name=\"inner\"/></QZphoto>"
            "<QZtrash><QZalbum name=\"t\"/></QZtrash><QZgroup name=\"G\"><QZalbum name=\"C\"/><QZgroup name=\"H\"/></QZgroup>"
            "</QZhomepage></QZsite>",
            // The site adds the trash it lacks, empty.
            "QZsite(QZhomepage(QZgroup:G(QZalbum:C)), files, QZtrash)" },
        { "photos of an album page, other kinds of photo dropped",
            "<QZalbum name=\"A\"><QZphoto/><QZwidgetphoto/><QZalbum name=\"no\"/><QZphoto/></QZalbum>",
            "QZalbum:A(QZphoto, QZphoto)" },
        { "the site root reads only its home page and trash",
            "<QZsite><files/><QZalbum name=\"stray\"/><QZhomepage/><QZtrash/></QZsite>",
            // The files tree in the text is dropped; the site adds an empty one after reading.
            "QZsite(QZhomepage, files, QZtrash)" },
        { "a script keeps its steps in order and drops anything else",
            "<QZprocessor rootDir=\"/site\" status=\"Creating RSS feed\">"
            "<QZcreate dir=\"homepage\" filename=\"rss.xml\"></QZcreate><xmlbase name=\"junk\"/>"
            "<QZD name=\"d\"><QZF name=\"f\"/></QZD><QZcopy dir=\"homepage\" filename=\"lumenquill.js\" />"
            "<QZcreateBitmapSlice image=\"U\" top=\"1\" bottom=\"2\"/></QZprocessor>",
            "QZprocessor(QZcreate, QZcopy, QZcreateBitmapSlice)" },
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.label);
        const XmlBasePtr root = XmlBase::createWithXmlRootDir(QString::fromLatin1(c.text), QString());
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(shape(*root), QString::fromLatin1(c.shape));
    }
}
