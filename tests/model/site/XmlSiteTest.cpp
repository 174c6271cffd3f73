#include "model/site/XmlAlbum.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFiles.h"
#include "model/files/XmlFolder.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlMasthead.h"
#include "model/site/XmlSite.h"
#include "model/site/XmlTrash.h"
#include "platform/Scanner.h"
#include "publish/XmlLocation.h"
#include "support/FakeDocument.h"
#include "support/LogCapture.h"
#include "support/Printers.h"
#include "support/ScopedServices.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <typeinfo>

namespace {

// Stands for the editors' photo-library node: an element that writes nothing.
class PhotoLibraryNode : public XmlBase {
public:
    explicit PhotoLibraryNode(Key key)
        : XmlBase(key)
    {
    }
    static std::shared_ptr<PhotoLibraryNode> create() { return make<PhotoLibraryNode>(); }
    QString elementName() const override { return QStringLiteral("iPhoto"); }
    void writeXmlInString(QString&) override { }
};

class XmlSiteTest : public ::testing::Test {
protected:
    // Sites get a photo-library node, as in the program.
    const ScopedServices services { [](lq::Services& services) {
        services.iPhotoNodeFactory = [] { return PhotoLibraryNode::create(); };
    } };

    static std::shared_ptr<XmlSite> read(const QString& text)
    {
        return std::dynamic_pointer_cast<XmlSite>(XmlBase::createWithXmlRootDir(text, QString()));
    }

    static QStringList childClasses(const XmlBase& element)
    {
        QStringList names;
        for (const XmlBasePtr& child : element.children())
            names.append(child->elementName());
        return names;
    }
};

TEST_F(XmlSiteTest, NewDocumentMakesHomePageFilesAndTrashAndCountersStartAtOne)
{
    const auto site = XmlSite::create();
    site->newDocument();
    EXPECT_EQ(childClasses(*site), (QStringList { "QZhomepage", "files", "QZtrash" }));
    EXPECT_NE(site->homepage(), nullptr);
    EXPECT_NE(site->files(), nullptr);
    EXPECT_NE(site->trash(), nullptr);

    EXPECT_EQ(site->imageSeqTest(), 1);
    EXPECT_EQ(site->imageSeqTest(), 1);
    EXPECT_EQ(site->pageSeqNumber(), 1);
    EXPECT_EQ(site->pageSeqNumber(), 2);
    EXPECT_EQ(site->imageSeqNumber(), 1);
    EXPECT_EQ(site->imageSeqTest(), 2);
    EXPECT_EQ(site->widgetSeqNumber(), 1);
    EXPECT_EQ(site->widgetSeqNumber(), 2);
}

TEST_F(XmlSiteTest, WritesCountersAndSwitchAfterTheName)
{
    const auto site = XmlSite::create();
    site->setImageSeqNumber(5);
    site->setPageSeqNumber(7);
    EXPECT_EQ(site->createXml(), QString("<QZsite imageseq=\"5\" pageseq=\"7\" widgetseq=\"1\" disableImageWell=\"0\"/>\n"));

    site->setName("My Site");
    site->setDisableImageWell(1);
    EXPECT_EQ(site->createXml(),
        QString("<QZsite name=\"My Site\" imageseq=\"5\" pageseq=\"7\" widgetseq=\"1\" disableImageWell=\"1\"/>\n"));
}

TEST_F(XmlSiteTest, CountersAndSwitchAreReadBack)
{
    const auto site = read("<QZsite imageseq=\"12\" pageseq=\"4\" widgetseq=\"3\" disableImageWell=\"1\"></QZsite>");
    ASSERT_NE(site, nullptr);
    EXPECT_EQ(site->imageSeqTest(), 12);
    EXPECT_EQ(site->pageSeqNumber(), 4);
    EXPECT_EQ(site->widgetSeqNumber(), 3);
    EXPECT_EQ(site->disableImageWell(), 1);
}

TEST_F(XmlSiteTest, FilesElementInTheTextIsDroppedAndRebuiltAfterTheHomePageWithThePhotoLibraryNode)
{
    const auto site = read("<QZsite><QZhomepage></QZhomepage><files><file filename=\"a.txt\"/></files>"
                           "<QZtrash/></QZsite>");
    ASSERT_NE(site, nullptr);
    EXPECT_EQ(childClasses(*site), (QStringList { "QZhomepage", "files", "iPhoto", "QZtrash" }));
    EXPECT_EQ(site->files()->numberChildren(), 0);
}

TEST_F(XmlSiteTest, WithoutAPhotoLibraryFactoryOnlyTheFilesTreeIsAdded)
{
    lq::services().iPhotoNodeFactory = {};
    const auto site = read("<QZsite><QZhomepage/><QZtrash/></QZsite>");
    ASSERT_NE(site, nullptr);
    EXPECT_EQ(childClasses(*site), (QStringList { "QZhomepage", "files", "QZtrash" }));
}

TEST_F(XmlSiteTest, ASiteReadWithoutItsTrashGetsAnEmptyOneLastAndKeepsTheOneItHas)
{
    struct Case {
        const char* text;
        QStringList children;
        int inTrash;
    };
    const Case cases[] {
        { "<QZsite><QZhomepage/></QZsite>", { "QZhomepage", "files", "iPhoto", "QZtrash" }, 0 },
        { "<QZsite></QZsite>", { "files", "iPhoto", "QZtrash" }, 0 },
        { "<QZsite><QZhomepage/><QZtrash><QZalbum name=\"Old\"/></QZtrash></QZsite>", { "QZhomepage", "files", "iPhoto", "QZtrash" }, 1 },
    };
    for (const Case& c : cases) {
        FakeDocument document;
        const auto site = read(QString::fromLatin1(c.text));
        ASSERT_NE(site, nullptr) << c.text;
        EXPECT_EQ(childClasses(*site), c.children) << c.text;
        ASSERT_NE(site->trash(), nullptr) << c.text;
        EXPECT_EQ(site->trash()->numberChildren(), c.inTrash) << c.text;
        // Asked again, the site keeps the trash it has.
        site->setDocument(&document);
        XmlTrash* kept = site->trash();
        EXPECT_EQ(site->ensureTrash(), kept) << c.text;
        EXPECT_EQ(site->createXml().count(QStringLiteral("<QZtrash")), 1) << c.text;
        // Without one, an open document gets one last, and no change.
        site->removeChild(kept);
        const int changes = document.changes;
        XmlTrash* made = site->ensureTrash();
        ASSERT_NE(made, nullptr) << c.text;
        EXPECT_EQ(site->lastChild().get(), made) << c.text;
        EXPECT_EQ(document.changes, changes) << c.text;
        EXPECT_EQ(document.suppressed, 0) << c.text;
    }
}

TEST_F(XmlSiteTest, LocationChildIsKeptButNeitherAttachedNorWritten)
{
    const auto site = read("<QZsite imageseq=\"1\" pageseq=\"1\" widgetseq=\"1\" disableImageWell=\"0\">"
                           "<QZlocation name=\"server\"/><QZhomepage/><QZtrash/></QZsite>");
    ASSERT_NE(site, nullptr);
    ASSERT_NE(site->location(), nullptr);
    EXPECT_EQ(site->location()->name(), QString("server"));
    for (const XmlBasePtr& child : site->children())
        EXPECT_NE(child.get(), site->location().get());
    EXPECT_FALSE(site->createXml().contains("QZlocation"));
}

TEST_F(XmlSiteTest, AcceptsOnlyTheHomePageAndTheTrash)
{
    const auto site = XmlSite::create();
    const auto home = XmlHomePage::create();
    const auto trash = XmlTrash::create();
    const auto files = XmlFiles::create();
    const auto album = XmlAlbum::create();
    EXPECT_TRUE(site->canYouBeMyParent(home.get()));
    EXPECT_TRUE(site->canYouBeMyParent(trash.get()));
    EXPECT_FALSE(site->canYouBeMyParent(files.get()));
    EXPECT_FALSE(site->canYouBeMyParent(album.get()));
    EXPECT_FALSE(site->canYouBeMyParent(nullptr));
}

TEST_F(XmlSiteTest, ChildAccessorsTestTheExactClass)
{
    const auto site = XmlSite::create();
    site->addChild(XmlFolder::create()); // a kind of XmlFiles, not the files tree
    EXPECT_EQ(site->files(), nullptr);
    const auto files = XmlFiles::create();
    site->addChild(files);
    EXPECT_EQ(site->files(), files.get());
}

TEST_F(XmlSiteTest, ChangeNoticesReachTheDocumentOnlyOnceItIsSet)
{
    const auto site = XmlSite::create();
    site->newDocument();
    FakeDocument document;
    site->homepage()->setPassPhrase("before");
    EXPECT_EQ(document.notices, 0);

    site->setDocument(&document);
    EXPECT_EQ(site->myDocument(), &document);
    struct Case {
        const char* what;
        std::function<void()> change;
        int notices;
    };
    const std::vector<Case> cases = {
        { "setImageSeqNumber", [&] { site->setImageSeqNumber(3); }, 1 },
        { "setPageSeqNumber", [&] { site->setPageSeqNumber(3); }, 1 },
        { "setWidgetSeqNumber", [&] { site->setWidgetSeqNumber(3); }, 1 },
        { "setDisableImageWell", [&] { site->setDisableImageWell(1); }, 1 },
        { "setRootDir", [&] { site->setRootDir(QDir::tempPath()); }, 1 },
        { "a home page setter", [&] { site->homepage()->setLangcode(2); }, 1 },
        { "imageSeqNumber", [&] { site->imageSeqNumber(); }, 0 },
        { "pageSeqNumber", [&] { site->pageSeqNumber(); }, 0 },
        { "widgetSeqNumber", [&] { site->widgetSeqNumber(); }, 0 },
    };
    for (const Case& c : cases) {
        const int before = document.notices;
        c.change();
        EXPECT_EQ(document.notices - before, c.notices) << c.what;
    }
    EXPECT_EQ(document.changes, document.notices);
}

TEST_F(XmlSiteTest, SetRootDirWhileChangesAreSuppressedMarksNothing)
{
    const auto site = XmlSite::create();
    FakeDocument document;
    site->setDocument(&document);
    site->falseAlarm(true);
    EXPECT_EQ(document.suppressed, 1);
    site->setRootDir(QDir::tempPath());
    site->falseAlarm(false);
    EXPECT_EQ(document.suppressed, 0);
    EXPECT_EQ(document.changes, 0);
    EXPECT_EQ(document.notices, 1);
}

TEST_F(XmlSiteTest, ReadingIntoALiveSiteMarksNothing)
{
    const auto site = XmlSite::create();
    FakeDocument document;
    site->setDocument(&document);
    lq::Scanner scanner(QStringLiteral("<QZhomepage lc=\"3\" passPhrase=\"Key?\"><QZalbum seq=\"2\"/></QZhomepage></QZsite>"));
    site->parseXml(scanner);
    ASSERT_NE(site->homepage(), nullptr);
    EXPECT_EQ(site->homepage()->langcode(), 3);
    EXPECT_EQ(document.suppressed, 0);
    EXPECT_EQ(document.changes, 0);
}

TEST_F(XmlSiteTest, RootDirOfAMissingFolderLogsAndAlertsOnEveryCall)
{
    QTemporaryDir dir;
    const QString missing = dir.path() + "/gone.lqxl";
    const auto site = XmlSite::create();
    EXPECT_TRUE(site->rootDir().isNull());

    QStringList alerts;
    lq::services().alertHandler = [&](const QString& title, const QString& message, const QString& button) {
        alerts.append(title + "|" + message + "|" + button);
    };
    LogCapture log;
    site->setRootDir(missing);
    EXPECT_EQ(site->rootDir(), missing);
    EXPECT_EQ(site->rootDir(), missing);
    EXPECT_EQ(log.lines, (QStringList { "Can't find " + missing, "Can't find " + missing }));
    ASSERT_EQ(alerts.size(), 2);
    EXPECT_EQ(alerts[0],
        "Fatal Error!|Can't find this file-\n\n " + missing
            + ".\n\nThis file has been renamed or moved to another location. This is a fatal error.  Please close "
              "your document.|OK");

    alerts.clear();
    log.lines.clear();
    site->setRootDir(dir.path());
    EXPECT_EQ(site->rootDir(), dir.path());
    EXPECT_TRUE(alerts.isEmpty());
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST_F(XmlSiteTest, ElementsBelowTheSiteGetItsFolder)
{
    QTemporaryDir dir;
    const auto site = XmlSite::create();
    site->newDocument();
    site->setRootDir(dir.path());
    const auto album = XmlAlbum::create();
    site->homepage()->addChild(album);
    EXPECT_EQ(album->rootDir(), dir.path());
}

TEST_F(XmlSiteTest, PageTreeQueries)
{
    const auto site = XmlSite::create();
    site->newDocument();
    EXPECT_EQ(site->defaultAlbum(), nullptr);
    XmlHomePage* home = site->homepage();
    const auto group = XmlGroup::create();
    const auto inner = XmlAlbum::create();
    const auto album = XmlAlbum::create();
    home->addChild(group);
    group->addChild(inner);
    home->addChild(album);
    const auto trashed = XmlAlbum::create();
    site->trash()->addChild(trashed);

    EXPECT_EQ(site->defaultAlbum(), group);
    EXPECT_EQ(site->linkItems(), (XmlBaseList { group, inner, album }));
    EXPECT_TRUE(site->uploadToolkit());
}

TEST_F(XmlSiteTest, SetTemplateForUUIDReachesPagesInsideGroups)
{
    const auto site = XmlSite::create();
    site->newDocument();
    const auto group = XmlGroup::create();
    const auto inner = XmlAlbum::create();
    site->homepage()->addChild(group);
    group->addChild(inner);
    inner->setTemplateNum(2);
    site->setTemplateForUUID(2, "T2");
    EXPECT_EQ(inner->templateUUID(), QString("T2"));
    EXPECT_TRUE(group->templateUUID().isEmpty());
    site->setTemplateForUUID(-1, "T0");
    EXPECT_EQ(inner->templateUUID(), QString("T0"));
    EXPECT_EQ(group->templateUUID(), QString("T0"));
    EXPECT_EQ(inner->templateNum(), 0);
}

TEST_F(XmlSiteTest, RefreshFilesMirrorsTheFilesFolderWithoutLinks)
{
    QTemporaryDir dir;
    writeAll(dir.path() + "/files/b.txt", "b");
    writeAll(dir.path() + "/files/.hidden", "h");
    writeAll(dir.path() + "/files/sub/c.txt", "c");
    writeAll(dir.path() + "/files/sub/deeper/d.txt", "d");
    ASSERT_TRUE(QFile::link(dir.path() + "/files/sub", dir.path() + "/files/loop"));

    const auto site = XmlSite::create();
    site->newDocument();
    site->setRootDir(dir.path());
    site->refreshFiles();

    XmlFiles* tree = site->files();
    ASSERT_EQ(tree->numberChildren(), 3);
    EXPECT_EQ(tree->childAtIndex(0)->name(), QString(".hidden"));
    EXPECT_EQ(tree->childAtIndex(1)->name(), QString("b.txt"));
    XmlFolder* sub = XmlFolder::cast(tree->childAtIndex(2).get());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->foldername(), QString("sub"));
    ASSERT_EQ(sub->numberChildren(), 2);
    EXPECT_EQ(sub->childAtIndex(0)->name(), QString("c.txt"));
    XmlFolder* deeper = XmlFolder::cast(sub->childAtIndex(1).get());
    ASSERT_NE(deeper, nullptr);
    EXPECT_EQ(deeper->numberChildren(), 1);
    // The files tree never goes into the site file.
    EXPECT_FALSE(site->createXml().contains("c.txt"));
}

TEST_F(XmlSiteTest, RefreshFilesWithoutAFolderDoesNothing)
{
    const auto site = XmlSite::create();
    site->newDocument();
    site->refreshFiles();
    EXPECT_EQ(site->files()->numberChildren(), 0);
}

} // namespace
