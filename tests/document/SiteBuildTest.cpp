// Whole-site builds: a new site made from the starter archive, built through
// the document's processor queue, its pages checked against the HTML 4.01
// Transitional DTD and built twice to the same bytes.
#include "document/MyDocument.h"
#include "model/core/ElementArchives.h"
#include "pipeline/ProcessorQueue.h"
#include "pipeline/SiteScripts.h"
#include "pipeline/XmlCreate.h"
#include "pipeline/XmlProcessor.h"
#include "platform/Escaping.h"
#include "platform/FileHelpers.h"
#include "model/core/XmlTextFormat.h"
#include "model/feed/XmlRSS.h"
#include "model/feed/XmlRSSItem.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlDescription.h"
#include "model/site/XmlBodyHTML.h"
#include "model/site/XmlHeadHTML.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPayPalCommon.h"
#include "model/site/XmlPayPalData.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "theme/XmlLegacyTheme.h"
#include "theme/XmlTheme.h"
#include "platform/Process.h"
#include "platform/Resources.h"
#include "platform/ValueStrings.h"
#include "platform/Zip.h"
#include "support/HtmlValidator.h"
#include "support/StarterSite.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "templates/XmlStyleSheet.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

namespace {

// Every brace closes the one opened before it, and none is left open.
bool bracesBalance(const QString& css)
{
    int depth = 0;
    for (const QChar c : css) {
        if (c == u'{' && ++depth > 1)
            return false;
        if (c == u'}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

class SiteBuildTest : public StarterSiteTest {
protected:
    SiteBuildTest()
        : StarterSiteTest(QStringLiteral("Holiday.lqxl"))
    {
    }

    std::shared_ptr<XmlAlbum> page(const QString& name)
    {
        for (const XmlBasePtr& item : home().webItems())
            if (item->name() == name)
                return std::dynamic_pointer_cast<XmlAlbum>(item);
        return nullptr;
    }

    // The starter's pages, a second text page, a group and, in the group,
    // an album page of three photos.
    void fillSite()
    {
        addPage(home(), 2, QStringLiteral("Notes"));
        auto album = addPage(*addGroup(), 1);
        for (int i = 0; i < 3; ++i) {
            const QString source = work.filePath(QStringLiteral("in%1.jpg").arg(i));
            writeAll(source, jpegBytes(120 + 20 * i, 90, i == 1 ? Qt::darkRed : Qt::darkCyan));
            auto photo = XmlPhoto::createFromFile(source);
            ASSERT_NE(photo, nullptr);
            album->addChild(photo);
            photo->newDocument(QString());
        }
        home().setLangcode(13);
        XmlRSS& feed = publishFeed(QStringLiteral("Holiday news"), QStringLiteral("http://example.org/holiday"));
        auto item = XmlRSSItem::create();
        item->setLink(album->pageUUID());
        item->setTitle(QStringLiteral("New photos"));
        feed.addChild(item);
    }

    // Runs the build through the document's queue to its end.
    void build()
    {
        lq::createProcessor(site());
        runQueue();
        ASSERT_TRUE(document.queue().processors().isEmpty());
    }

    // Saves the document, opens it anew in a second document (every element
    // then has new identities) and builds the site from that one into an
    // emptied generated site.
    void buildOpenedAnew(QMap<QString, QByteArray>* built)
    {
        ASSERT_TRUE(document.writeWithBackupToFile(folder)) << document.lastError().toStdString();
        clearSite();
        MyDocument reopened;
        ASSERT_TRUE(reopened.readFromFile(folder)) << reopened.lastError().toStdString();
        lq::createProcessor(*reopened.site());
        for (int turn = 0; turn < 10000 && !reopened.queue().processors().isEmpty(); ++turn)
            reopened.queue().processor();
        reopened.queue().stopProcessor();
        *built = generated();
    }

    // Empties the generated site, keeping its folders.
    void clearSite()
    {
        ASSERT_TRUE(QDir(homepage()).removeRecursively());
        ASSERT_TRUE(QDir().mkpath(homepage(QStringLiteral("bitmaps"))));
        ASSERT_TRUE(QDir().mkpath(homepage(QStringLiteral("pictures"))));
    }
};

TEST_F(SiteBuildTest, ANewSiteComesFromTheStarterArchive)
{
    const QString starter = lq::resourcePath(QStringLiteral("styles/default.qvzip"));
    ASSERT_TRUE(QFileInfo::exists(starter)) << starter.toStdString();
    ASSERT_NE(document.theme(), nullptr);
    QStringList templates;
    for (const XmlBasePtr& child : document.theme()->children())
        templates.append(child->name());
    EXPECT_EQ(templates, (QStringList { "Home Page", "Photo Album", "Text Page" }));
    QStringList pages;
    for (const XmlBasePtr& item : home().webItems())
        pages.append(item->name());
    EXPECT_EQ(pages, (QStringList { "Home", "Photos", "About" }));
    // Each template has the standard elements.
    for (const XmlBasePtr& child : document.theme()->children()) {
        auto* sheet = XmlStyleSheet::cast(child.get());
        ASSERT_NE(sheet, nullptr);
        for (const char* name : { "Content", "Masthead", "Photo Album", "Navigation", "Footer" })
            EXPECT_NE(sheet->getElementWithName(QString::fromLatin1(name)), nullptr) << name;
    }

    // The theme library holds three themes in its folder "Lumenquill" (the
    // Themes tab lists a folder's themes), each with an icon and a comment.
    const QString library = lq::resourcePath(QStringLiteral("styles/lumenquill200.qvzip"));
    const QString top = work.filePath(QStringLiteral("library"));
    ASSERT_TRUE(QDir().mkpath(top));
    ASSERT_TRUE(lq::unzipElementTrees(library, top).has_value());
    EXPECT_TRUE(QDir(top).entryList({ QStringLiteral("*.qvzip") }, QDir::Files).isEmpty());
    const QString unpacked = top + QStringLiteral("/Lumenquill");
    const QStringList themes = QDir(unpacked).entryList({ QStringLiteral("*.qvzip") }, QDir::Files, QDir::Name);
    ASSERT_GE(themes.size(), 3);
    for (const QString& theme : themes) {
        EXPECT_FALSE(lq::zipIcon(unpacked + QLatin1Char('/') + theme).isNull()) << theme.toStdString();
        EXPECT_FALSE(lq::zipComment(unpacked + QLatin1Char('/') + theme).trimmed().isEmpty()) << theme.toStdString();
    }
}

TEST_F(SiteBuildTest, EveryPageIsValidHtml401AndEveryStyleSheetParses)
{
    if (!htmlValidatorAvailable())
        GTEST_SKIP() << "onsgmls and the W3C DTDs (opensp, w3c-sgml-lib) are not installed";
    // The validator does find faults.
    const QString broken = work.filePath(QStringLiteral("broken.html"));
    writeAll(broken, "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">\n"
                     "<html><head><title>x</title></head><body><p><div></span></body></html>");
    EXPECT_FALSE(validationErrors(broken).isEmpty());
    // It reads a page in the character set the page declares: a UTF-8 text
    // with a dash, a quote, an accent and Japanese is valid as UTF-8 and
    // holds characters HTML forbids when taken for Latin-1.
    struct Declared {
        const char* meta;
        bool valid;
    };
    for (const Declared& d : { Declared { "<meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\">", true },
                               Declared { "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html;charset=utf-8\">", true },
                               Declared { "<meta http-equiv=\"content-type\" content=\"text/html; charset=ISO-8859-1\">", false },
                               Declared { "", false },
                               Declared { "<meta http-equiv=\"content-type\" content=\"text/html; charset=x-unknown\">", false } }) {
        const QString page = work.filePath(QStringLiteral("declared.html"));
        writeAll(page, QByteArray("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">\n"
                                  "<html><head>") + d.meta + "<title>Harbour \u2014 caf\u00e9</title></head>"
                       "<body><p>The harbour\u2019s boats \u6e2f\u306e\u671d</p></body></html>\n");
        const QString errors = validationErrors(page);
        EXPECT_EQ(errors.isEmpty(), d.valid) << d.meta << ": " << errors.toStdString();
        if (QByteArray(d.meta).contains("x-unknown")) {
            EXPECT_TRUE(errors.contains(QStringLiteral("x-unknown"))) << errors.toStdString();
        }
    }

    fillSite();
    build();
    const QMap<QString, QByteArray> files = generated();
    QStringList pages;
    for (const QString& name : files.keys()) {
        if (name.endsWith(QStringLiteral(".html"))) {
            pages.append(name);
            const QString errors = validationErrors(folder + QStringLiteral("/homepage/") + name);
            EXPECT_TRUE(errors.isEmpty()) << name.toStdString() << ":\n" << errors.toStdString();
        }
        if (name.endsWith(QStringLiteral(".css"))) {
            EXPECT_TRUE(bracesBalance(QString::fromUtf8(files.value(name)))) << name.toStdString();
        }
    }
    // Home, Photos, About, Notes, the group and its album page.
    EXPECT_GE(pages.size(), 6) << pages.join(u' ').toStdString();
    EXPECT_TRUE(files.contains(QStringLiteral("theme.css")));
    EXPECT_TRUE(files.contains(QStringLiteral("theme1.css")));
    EXPECT_TRUE(files.contains(QStringLiteral("theme2.css")));
    EXPECT_TRUE(files.contains(QStringLiteral("rss.xml")));
    EXPECT_TRUE(files.value(QStringLiteral("index.html")).contains("<meta http-equiv=\"content-language\" content=\"de\" >"));
    EXPECT_TRUE(files.value(QStringLiteral("index.html")).contains("href=\"rss.xml\" title=\"Holiday news\""));
}

// Names, titles and links that hold the characters of every language a page
// is made of: each is escaped for where it lands, so every page stays valid,
// the feed well-formed, and every page reachable by its name.
TEST_F(SiteBuildTest, HostileNamesKeepEveryPageValidTheFeedWellFormedAndEveryPageReachable)
{
    if (!htmlValidatorAvailable()
        || QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty())
        GTEST_SKIP() << "onsgmls, the W3C DTDs and xmllint (opensp, w3c-sgml-lib, libxml2-utils) are not installed";
    fillSite();
    const QString quoted = QStringLiteral("\"q\"'<b>pl0 & </script>");
    struct Named {
        const char* file;
        const char* href; // how links write it
    };
    const std::vector<Named> named { { "#a.html", "%23a.html" }, { "?b.html", "%3Fb.html" }, { "%41c.html", "%2541c.html" },
        { "d&e f.html", "d%26e%20f.html" } };
    QList<std::shared_ptr<XmlAlbum>> pages;
    for (const Named& n : named) {
        auto page = XmlAlbum::create();
        home().addChild(page);
        page->newDocument();
        page->setFileName(QString::fromUtf8(n.file));
        page->setName(quoted);
        page->setContent(quoted);
        pages.append(page);
    }
    // An external link between two of them, announced in the feed as well.
    auto external = XmlAlbum::create();
    home().insertChildAtIndex(external, int(home().children().indexOf(pages[1])));
    external->newDocument();
    external->setName(quoted);
    const QString elsewhere = QStringLiteral("http://other.example/x?y=1&z=\"2\"");
    external->setExternalLink(elsewhere);
    external->setIsExternalLink(true);
    XmlRSS* feed = document.rss();
    feed->setTitle(QStringLiteral("Tom's \"best\" <walks> & more"));
    feed->setDescription(QStringLiteral("<b>bold</b> & plain"));
    for (const auto& target : { pages[0], external }) {
        auto item = XmlRSSItem::create();
        item->setLink(target->pageUUID());
        item->setTitle(quoted);
        item->setDescription(quoted);
        feed->addChild(item);
    }
    build();

    const QMap<QString, QByteArray> files = generated();
    for (const Named& n : named)
        EXPECT_TRUE(files.contains(QString::fromUtf8(n.file))) << n.file;
    for (const QString& name : files.keys()) {
        if (!name.endsWith(QStringLiteral(".html")))
            continue;
        const QString errors = validationErrors(folder + QStringLiteral("/homepage/") + name);
        EXPECT_TRUE(errors.isEmpty()) << name.toStdString() << ":\n" << errors.toStdString();
    }
    const lq::ProcessResult lint = lq::runProcess(QStringLiteral("/usr/bin/xmllint"), { QStringLiteral("--noout"), folder + QStringLiteral("/homepage/rss.xml") });
    EXPECT_TRUE(lint.succeeded()) << lint.failureDetail(QStringLiteral("xmllint")).toStdString();

    // Every page is linked by the name it has on disk.
    const QString index = QString::fromUtf8(files.value(QStringLiteral("index.html")));
    for (const Named& n : named)
        EXPECT_TRUE(index.contains(QStringLiteral("href=\"") + QString::fromUtf8(n.href) + QLatin1Char('"'))) << n.href;
    EXPECT_TRUE(index.contains(QStringLiteral("title=\"Tom's &quot;best&quot; &lt;walks&gt; &amp; more\"")));
    // The page script's neighbour links are script strings.
    const QString first = QString::fromUtf8(files.value(QStringLiteral("#a.html")));
    EXPECT_TRUE(first.contains(QStringLiteral("var nextPageLink = \"http://other.example/x?y=1\\u0026z=\\\"2\\\"\";\n"))) << first.toStdString();
    const QString second = QString::fromUtf8(files.value(QStringLiteral("?b.html")));
    EXPECT_TRUE(second.contains(QStringLiteral("var nextPageLink = \"%2541c.html\";\n"))) << second.toStdString();
    // The feed names an external link as it stands, a page of the site below the channel.
    const QString rss = QString::fromUtf8(files.value(QStringLiteral("rss.xml")));
    EXPECT_TRUE(rss.contains(QStringLiteral("<link>http://example.org/holiday/%23a.html</link>"))) << rss.toStdString();
    EXPECT_TRUE(rss.contains(QStringLiteral("<link>http://other.example/x?y=1&amp;z=&quot;2&quot;</link>"))) << rss.toStdString();
}

// A protected page of a new site asks for its password naming the button as
// it is labelled.
TEST_F(SiteBuildTest, AProtectedPageOfANewSiteNamesItsButtonAsLabelled)
{
    auto page = addPage(home(), 2, QStringLiteral("Diary"));
    page->setIsPassword(true);
    page->setPassword(QStringLiteral("open sesame"));
    build();
    const QByteArray prompt = readAll(homepage(page->fileName()));
    ASSERT_TRUE(prompt.contains("qvOpen")) << prompt.constData();
    EXPECT_EQ(home().submitLabel(), QStringLiteral("Enter"));
    EXPECT_TRUE(prompt.contains("<p>Enter your Password below and click Enter</p>\n")) << prompt.constData();
    EXPECT_TRUE(prompt.contains("<input type=\"submit\" id=\"qvsubmit\" value=\"Enter\">")) << prompt.constData();
    EXPECT_FALSE(prompt.contains("Submit")) << prompt.constData();
}

TEST_F(SiteBuildTest, BuildingTwiceGivesTheSameBytes)
{
    fillSite();
    build();
    const QMap<QString, QByteArray> first = generated();
    ASSERT_FALSE(first.isEmpty());

    // Again in the same session, and after saving and opening the document
    // anew (every element then has new identities).
    clearSite();
    build();
    EXPECT_EQ(generated(), first);

    QMap<QString, QByteArray> second;
    ASSERT_NO_FATAL_FAILURE(buildOpenedAnew(&second));
    EXPECT_EQ(first.keys(), second.keys());
    for (const QString& name : first.keys())
        EXPECT_TRUE(first.value(name) == second.value(name)) << name.toStdString();
}

TEST_F(SiteBuildTest, ChangesBetweenBuildsShowInEveryPageAsInADocumentOpenedAnew)
{
    // The menus keep what they worked out from one page to the next and from
    // one build to the next: after each change the site must come out as a
    // document that never built it before makes it.
    fillSite();
    for (int i = 0; i < 4; ++i)
        addPage(home(), 2, QStringLiteral("Extra %1").arg(i));
    build();
    const struct {
        const char* change;
        std::function<void()> make;
    } changes[] = {
        { "a page renamed", [&] { page(QStringLiteral("Notes"))->setName(QStringLiteral("Jottings & <Notes>")); } },
        { "a page left out of the menus", [&] { page(QStringLiteral("Extra 1"))->setShowInNav(false); } },
        { "a page given a file name", [&] { page(QStringLiteral("Extra 2"))->setFileName(QStringLiteral("second extra.html")); } },
        { "a page moved to the front", [&] {
             const std::shared_ptr<XmlAlbum> moved = page(QStringLiteral("Extra 3"));
             home().removeChildWithoutDeletingChildren(moved.get());
             home().insertChildAtIndex(moved, 0);
         } },
        { "a page made an external link", [&] {
             const std::shared_ptr<XmlAlbum> linked = page(QStringLiteral("Extra 0"));
             linked->setIsExternalLink(true);
             linked->setExternalLink(QStringLiteral("http://example.org/elsewhere?a=1&b=2"));
         } },
        { "a page removed", [&] { home().removeChild(page(QStringLiteral("About")).get()); } },
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.change);
        change.make();
        clearSite();
        build();
        const QMap<QString, QByteArray> built = generated();

        QMap<QString, QByteArray> fresh;
        ASSERT_NO_FATAL_FAILURE(buildOpenedAnew(&fresh));
        ASSERT_EQ(built.keys(), fresh.keys());
        for (const QString& name : built.keys())
            EXPECT_TRUE(built.value(name) == fresh.value(name)) << name.toStdString();
    }
}

TEST_F(SiteBuildTest, ThePageScriptStartsWithItsPageStepAndCopiesTheSiteResources)
{
    auto about = page(QStringLiteral("About"));
    ASSERT_NE(about, nullptr);
    auto sheet = about->getTemplate();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->templateSeqNum(), 2);
    home().setLangcode(12);
    QString script;
    sheet->genHTMLForPageViewHtmlFlags(about.get(), 0, script, 0);
    ASSERT_TRUE(script.startsWith(QStringLiteral("<QZcreate dir=\"homepage\" filename=\"about.html\">"))) << script.left(200).toStdString();
    const qsizetype doctype = script.indexOf(QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\""));
    EXPECT_GT(doctype, 0);
    EXPECT_TRUE(script.contains(QStringLiteral("<link rel=\"stylesheet\" type=\"text/css\" media=\"all\" href=\"theme2.css\">")));
    EXPECT_TRUE(script.contains(QStringLiteral("<meta http-equiv=\"content-language\" content=\"fr\" >")));
    const qsizetype closed = script.indexOf(QStringLiteral("</html>"));
    const qsizetype copy = script.indexOf(QStringLiteral("<QZcopy dir=\"homepage\" filename=\"lumenquill.js\" /><QZcopy dir=\"homepage/bitmaps\" filename=\"blank.gif\" />"));
    EXPECT_GT(closed, doctype);
    EXPECT_GT(copy, closed);
    EXPECT_TRUE(script.contains(QStringLiteral("</html>") + XmlTextFormat::verbatimMarker.toString() + QStringLiteral("</QZcreate>")));
    // The About page is the last of the site: no next page, About's
    // neighbour before it is the Photos page.
    EXPECT_TRUE(script.contains(QStringLiteral("var prevPageLink = \"photos.html\";\nvar nextPageLink = \"#\";\n")));
    EXPECT_TRUE(script.contains(QStringLiteral("var prevPageInGroupLink = \"#\";\nvar nextPageInGroupLink = \"#\";\n")));

    // With flags the page alone.
    QString alone;
    sheet->genHTMLForPageViewHtmlFlags(about.get(), 0, alone, 1);
    EXPECT_TRUE(alone.startsWith(QStringLiteral("<!DOCTYPE")));
    EXPECT_TRUE(alone.endsWith(QStringLiteral("</html>")));

    // A text page has no slideshow page.
    QString slideshow;
    sheet->genHTMLForPageViewHtmlFlags(about.get(), 1, slideshow, 0);
    EXPECT_EQ(slideshow, QString());
}

TEST_F(SiteBuildTest, AFileNameLeadingOutOfTheSiteIsRefused)
{
    auto about = page(QStringLiteral("About"));
    auto sheet = about->getTemplate();
    for (const char* name : { "../outside.html", "/tmp/outside.html", "sub/../../x.html", "..", "a\\..\\b.html" }) {
        about->setFileName(QString::fromLatin1(name));
        QString script;
        sheet->genHTMLForPageViewHtmlFlags(about.get(), 0, script, 0);
        EXPECT_EQ(script, QString()) << name;
    }
}

TEST_F(SiteBuildTest, TheStyleSheetScriptNamesTheFileByTemplateNumber)
{
    for (const XmlBasePtr& child : document.theme()->children()) {
        auto* sheet = XmlStyleSheet::cast(child.get());
        QString css;
        sheet->genCSS(css);
        const QString file = sheet->templateSeqNum() == 0 ? QStringLiteral("theme.css")
                                                          : QStringLiteral("theme%1.css").arg(sheet->templateSeqNum());
        EXPECT_TRUE(css.startsWith(QStringLiteral("<QZcreate dir=\"homepage\" filename=\"") + file + QStringLiteral("\">")));
        EXPECT_TRUE(css.contains(QStringLiteral("body { ")));
        EXPECT_TRUE(css.contains(QStringLiteral(".empty { position: absolute; display: block; padding: 0px; margin: 0px;}\n")));
        EXPECT_TRUE(css.contains(QStringLiteral("color: #000000; text-align: center;  z-index: 99; }\n")));
    }
}

TEST_F(SiteBuildTest, TheBuildQueuesOneStyleSheetPerUsedTemplateThenPagesThenTheFeed)
{
    // Every page on the home template but an external link on the text template.
    auto about = page(QStringLiteral("About"));
    about->setExternalLink(QStringLiteral("http://example.org/"));
    about->setIsExternalLink(true);
    ASSERT_TRUE(about->isExternalLink());
    lq::createProcessor(site());
    runQueue();
    const QString log = document.activityText();
    const qsizetype css0 = log.indexOf(QStringLiteral("Creating CSS for Home Page"));
    const qsizetype css1 = log.indexOf(QStringLiteral("Creating CSS for Photo Album"));
    const qsizetype html = log.indexOf(QStringLiteral("Creating HTML for Home"));
    EXPECT_GE(css0, 0) << log.toStdString();
    EXPECT_GT(css1, css0);
    EXPECT_GT(html, css1);
    EXPECT_GT(log.indexOf(QStringLiteral("Creating RSS feed")), -2);
    EXPECT_FALSE(log.contains(QStringLiteral("Creating CSS for Text Page")));
    EXPECT_FALSE(log.contains(QStringLiteral("Creating HTML for About")));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/homepage/theme2.css")));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/homepage/theme.css")));
}

// Every page's neighbours, in the site and in its group, are those of the
// page list, groups within groups and empty groups included.
TEST_F(SiteBuildTest, NeighbourLinksFollowThePageListThroughNestedGroups)
{
    auto empty = addGroup();
    empty->setName(QStringLiteral("Empty"));
    auto outer = addGroup();
    outer->setName(QStringLiteral("Outer"));
    addPage(*outer, 2, QStringLiteral("Outer 1"));
    auto inner = XmlGroup::create();
    outer->addChild(inner);
    inner->newDocument();
    inner->setName(QStringLiteral("Inner"));
    addPage(*inner, 2, QStringLiteral("Inner 1"));
    addPage(*inner, 2, QStringLiteral("Inner 2"));
    addPage(*outer, 2, QStringLiteral("Outer 2"));
    addPage(home(), 2, QStringLiteral("Last"));

    const auto link = [](const XmlBasePtr& item) { return dynamic_cast<XmlWebItem*>(item.get())->linkAddress(); };
    const auto variable = [](const char* name, const QString& value) {
        return QStringLiteral("var ") + QLatin1String(name) + QStringLiteral(" = \"") + value + QStringLiteral("\";\n");
    };
    const XmlBaseList items = home().webItems();
    ASSERT_EQ(items.size(), 3 + 7 + 1);
    for (qsizetype i = 0; i < items.size(); ++i) {
        auto* page = XmlAlbum::cast(items[i].get());
        SCOPED_TRACE(page->name().toStdString());
        QString script;
        page->getTemplate()->genHTMLForPageViewHtmlFlags(page, 0, script, 0);
        EXPECT_TRUE(script.contains(variable("prevPageLink", i == 0 ? QStringLiteral("#") : link(items[i - 1]))));
        EXPECT_TRUE(script.contains(variable("nextPageLink", i + 1 == items.size() ? QStringLiteral("#") : link(items[i + 1]))));

        // Within the group: the page's own pages for a group, else those of
        // the group it is in.
        QString previous = QStringLiteral("#");
        QString next = QStringLiteral("#");
        if (XmlGroup::cast(page)) {
            const XmlBaseList own = page->webItems();
            if (!own.isEmpty())
                next = link(own.first());
        } else if (XmlGroup::cast(page->parent())) {
            const XmlBaseList group = page->parent()->webItems();
            const qsizetype place = group.indexOf(items[i]);
            previous = place == 0 ? dynamic_cast<XmlWebItem*>(page->parent())->linkAddress() : link(group[place - 1]);
            next = place + 1 == group.size() ? QStringLiteral("#") : link(group[place + 1]);
        }
        EXPECT_TRUE(script.contains(variable("prevPageInGroupLink", previous) + variable("nextPageInGroupLink", next)))
            << script.toStdString();
    }
}

TEST_F(SiteBuildTest, GroupNeighboursCentringProtectionAndHomePageHeadParts)
{
    fillSite();
    XmlBaseList items = home().webItems();
    auto group = std::dynamic_pointer_cast<XmlGroup>(items[4]);
    auto inGroup = std::dynamic_pointer_cast<XmlAlbum>(items[5]);
    ASSERT_NE(group, nullptr);
    ASSERT_NE(inGroup, nullptr);
    auto sheet = inGroup->getTemplate();
    ASSERT_NE(sheet, nullptr);
    auto script = [&](XmlAlbum* page, int view = 0) {
        QString text;
        sheet->genHTMLForPageViewHtmlFlags(page, view, text, 0);
        return text;
    };
    const QString groupFile = group->fileName();
    const QString albumFile = inGroup->fileName();

    // A group page: "#" before, its first page after; that page has the
    // group before it and nothing after.
    EXPECT_TRUE(script(group.get()).contains(QStringLiteral("var prevPageInGroupLink = \"#\";\nvar nextPageInGroupLink = \"") + albumFile + QStringLiteral("\";\n")));
    const QString inside = script(inGroup.get());
    EXPECT_TRUE(inside.contains(QStringLiteral("var prevPageInGroupLink = \"") + groupFile + QStringLiteral("\";\nvar nextPageInGroupLink = \"#\";\n")));
    // The last page of the site.
    EXPECT_TRUE(inside.contains(QStringLiteral("var nextPageLink = \"#\";\n")));
    // A group page has no slideshow page.
    EXPECT_EQ(script(group.get(), 1), QString());

    // Centring: none, horizontal only, vertical.
    sheet->setCenterHorz(false);
    sheet->setCenterVert(false);
    QString text = script(inGroup.get());
    EXPECT_FALSE(text.contains(QStringLiteral("<div id=\"page\"")));
    EXPECT_FALSE(text.contains(QStringLiteral("centerpage")));
    sheet->setCenterHorz(true);
    text = script(inGroup.get());
    EXPECT_TRUE(text.contains(QStringLiteral("<div id=\"page\" style=\"width:") + QString::number(sheet->pageWidth()) + QStringLiteral("px; position:relative; margin:0 auto;\">\n")));
    EXPECT_FALSE(text.contains(QStringLiteral("centerpage")));
    sheet->setCenterHorz(false);
    sheet->setCenterVert(true);
    text = script(inGroup.get());
    EXPECT_TRUE(text.contains(QStringLiteral("margin:0;\">\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("   var top = (browserHeight - ") + QString::number(sheet->pageHeight()) + QStringLiteral(")/2;\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("centerpage();\nwindow.onresize = centerpage;\n")));

    // Protection, in both views, with white for a transparent page.
    inGroup->setIsPassword(true);
    text = script(inGroup.get());
    EXPECT_TRUE(text.contains(QStringLiteral("<QZpassword album=\"") + inGroup->UUID() + QStringLiteral("\" filename=\"") + albumFile
                              + QStringLiteral("\" newname=\"xx") + inGroup->pageUUID() + QStringLiteral(".html\" bkgnd=\"")
                              + lq::colorToCSSString(sheet->bkgndColor()) + QStringLiteral("\" />")));
    sheet->setBkgnd(0);
    text = script(inGroup.get(), 1);
    EXPECT_TRUE(text.contains(QStringLiteral("filename=\"slideshow") + QString::number(inGroup->pageSeqNumber()) + QStringLiteral(".html\" newname=\"xx")
                              + inGroup->pageUUID() + QStringLiteral("a.html\" bkgnd=\"#FFFFFF\" />")));

    // The home page's description is escaped, its head HTML verbatim.
    home().description()->setContent(QStringLiteral("Walks & talks"));
    home().headHTML()->setContent(QStringLiteral("<meta name=\"author\" content=\"Ann\">\n"));
    text = script(inGroup.get());
    EXPECT_TRUE(text.contains(QStringLiteral("<meta name=\"description\" content=\"Walks &amp; talks\" >\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("<meta name=\"author\" content=\"Ann\">\n</head>\n")));
    EXPECT_FALSE(text.contains(QStringLiteral("name=\"keywords\"")));
}

namespace {

// What a build did: every step of every script, in order ("QZcreate
// homepage/page3.html"), and every entry of the document folder afterwards.
struct BuildRecord {
    QStringList steps;
    QStringList entries;
    QByteArray documentFiles; // the four element files, as saved before the build
    QByteArray documentFilesAfter;
};

QByteArray elementFilesOf(const QString& folder)
{
    QByteArray text;
    for (const char* name : { "site.xmlbase", "theme.xmlbase", "location.xmlbase", "rss.xmlbase" })
        text += readAll(folder + QLatin1Char('/') + QLatin1String(name));
    return text;
}

// A new site whose outside texts all hold the text: the home page's head and
// body HTML, a page's name and title, a photo's caption, the feed's title
// and description, and a feed item's title and description. It is saved,
// then built, one step per time slice, recording each script when queued.
BuildRecord buildSiteHolding(const QString& folder, const QString& text, const QString& picture)
{
    BuildRecord record;
    MyDocument document;
    document.setNow([] { return QDateTime(QDate(2030, 5, 1), QTime(10, 0)); });
    EXPECT_TRUE(document.newDocument(folder)) << document.lastError().toStdString();
    XmlHomePage& home = *document.site()->homepage();
    home.headHTML()->setContent(QStringLiteral("<meta name=\"x\" content=\"") + lq::escape(text) + QStringLiteral("\">\n<!-- ") + text + QStringLiteral(" -->\n"));
    home.bodyHTML()->setContent(QStringLiteral("<p>") + text + QStringLiteral("</p>\n"));
    auto album = XmlAlbum::create();
    home.addChild(album);
    album->newDocument();
    album->setName(text);
    album->setContent(text);
    EXPECT_NE(album->importPhotoIndexCaption(picture, -1, text), nullptr);
    XmlRSS* feed = document.rss();
    feed->setPublish(true);
    feed->setTitle(text);
    feed->setDescription(text);
    feed->setLink(QStringLiteral("http://example.org/site"));
    auto item = XmlRSSItem::create();
    item->setLink(album->pageUUID());
    item->setTitle(text);
    item->setDescription(text);
    feed->addChild(item);
    EXPECT_TRUE(document.writeWithBackupToFile(folder)) << document.lastError().toStdString();
    record.documentFiles = elementFilesOf(folder);

    qint64 now = 0;
    document.queue().setClock([&] { return now += 300; });
    QSet<const XmlProcessor*> seen;
    lq::createProcessor(*document.site());
    for (int turn = 0; turn < 100000 && !document.queue().processors().isEmpty(); ++turn) {
        for (const std::shared_ptr<XmlProcessor>& script : document.queue().processors()) {
            if (seen.contains(script.get()))
                continue;
            seen.insert(script.get());
            for (const XmlBasePtr& step : script->children()) {
                const auto* file = dynamic_cast<const XmlCreate*>(step.get());
                record.steps.append(file ? step->elementName() + QLatin1Char(' ') + file->dir() + QLatin1Char('/') + file->filename()
                                         : step->elementName() + QLatin1Char(' ') + lq::className(typeid(*step)));
            }
        }
        document.queue().processor();
    }
    document.queue().stopProcessor();
    EXPECT_EQ(document.queue().failedSteps(), 0) << document.activityText().toStdString();
    for (const QString& entry : lq::folderEntries(folder, true))
        if (!entry.startsWith(QStringLiteral("revert/")))
            record.entries.append(entry);
    record.documentFilesAfter = elementFilesOf(folder);
    return record;
}

} // namespace

TEST(BuildScripts, TextHoldingTheBlockMarkerNeverBecomesStepsOfItsOwn)
{
    QTemporaryDir work;
    const QString picture = work.filePath(QStringLiteral("in.jpg"));
    writeAll(picture, jpegBytes(160, 120));
    const QString marker = XmlTextFormat::verbatimMarker.toString();
    // Each marker would end the block around the page or the feed, and what
    // follows would run as steps: a file beside the document's own, the
    // site file itself replaced, a file for the web server.
    const QString hostile = QStringLiteral("A") + marker + QStringLiteral("</QZcreate><QZcreate dir=\"homepage\" filename=\".htaccess\">")
        + marker + QStringLiteral("Options +ExecCGI") + marker.toUpper() + QStringLiteral("</QZcreate><QZcreate dir=\".\" filename=\"site.xmlbase\">")
        + marker + QStringLiteral("<QZsite/>") + marker + QStringLiteral("</QZcreate><QZcreate dir=\"homepage/..\" filename=\"evil.txt\">")
        + marker + QStringLiteral("B");
    const QString plain = QString(hostile).replace(marker, QStringLiteral("[m]"), Qt::CaseInsensitive);
    ASSERT_NE(plain, hostile);

    const BuildRecord attacked = buildSiteHolding(work.filePath(QStringLiteral("Attacked.lqxl")), hostile, picture);
    const BuildRecord calm = buildSiteHolding(work.filePath(QStringLiteral("Calm.lqxl")), plain, picture);
    ASSERT_FALSE(calm.steps.isEmpty());
    EXPECT_EQ(attacked.steps, calm.steps);
    EXPECT_EQ(attacked.entries, calm.entries);
    EXPECT_EQ(attacked.documentFilesAfter, attacked.documentFiles) << "the build must never write the document's own files";
    EXPECT_FALSE(attacked.entries.contains(QStringLiteral("homepage/.htaccess")));
    EXPECT_FALSE(attacked.entries.contains(QStringLiteral("evil.txt")));

    // The text reaches the pages and the feed as it stands.
    const QString pages = work.filePath(QStringLiteral("Attacked.lqxl/homepage/"));
    EXPECT_TRUE(readAll(pages + QStringLiteral("index.html")).contains(("<p>" + hostile + "</p>").toUtf8()));
    EXPECT_TRUE(readAll(pages + QStringLiteral("index.html")).contains(("<!-- " + hostile + " -->").toUtf8()));
    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(work.filePath(QStringLiteral("Attacked.lqxl"))));
    EXPECT_EQ(reopened.webItems().size(), 4);
}

TEST(PageLanguages, TheTableHoldsThirtyFourCodesAfterNone)
{
    const std::vector<std::pair<int, const char*>> cases {
        { -1, "" }, { 0, "" }, { 1, "ar" }, { 9, "en" }, { 13, "de" }, { 15, "iw" }, { 18, "in" }, { 32, "es" }, { 33, "sv" }, { 34, "tr" }, { 35, "" },
    };
    for (const auto& [code, language] : cases)
        EXPECT_EQ(XmlStyleSheet::languageCode(code), QString::fromLatin1(language)) << code;
}

TEST(FirstLayoutImport, EachPageTemplateBecomesATemplateOfTheTheme)
{
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString folder = work.filePath(QStringLiteral("Old.lqxl"));
    ASSERT_TRUE(QDir().mkpath(folder));
    writeAll(folder + QStringLiteral("/index.xml"),
        "<QZsite imageseq=\"1\" pageseq=\"3\" widgetseq=\"1\"><QZhomepage lc=\"0\">"
        "<cssStyleSheet v=\"1\" v2=\"1\" name=\"Old\"><cssPhotoAlbum v=\"1\" v2=\"1\" name=\"Photo Album\"></cssPhotoAlbum>"
        "<cssPhotoAlbum v=\"1\" v2=\"1\" name=\"Group Nav\"></cssPhotoAlbum></cssStyleSheet>"
        "<QZalbum name=\"Walks\" filename=\"walks.html\" seq=\"1\" template=\"0\">"
        "<cssStyleSheet v=\"1\" v2=\"1\" name=\"Mine\"><cssPhotoAlbum v=\"1\" v2=\"1\" name=\"Photo Album\"></cssPhotoAlbum>"
        "<cssPhotoAlbum v=\"1\" v2=\"1\" name=\"Group Nav\"></cssPhotoAlbum></cssStyleSheet></QZalbum>"
        "<QZalbum name=\"Plain\" filename=\"plain.html\" seq=\"2\" template=\"0\"></QZalbum>"
        "</QZhomepage></QZsite>");
    MyDocument document;
    ASSERT_TRUE(document.readFromFile(folder)) << document.lastError().toStdString();
    ASSERT_NE(document.theme(), nullptr);
    QStringList names;
    for (const XmlBasePtr& child : document.theme()->children())
        names.append(child->name());
    EXPECT_EQ(names, (QStringList { "Default Album", "Group Album", "walks.html" }));
    auto* album = XmlStyleSheet::cast(document.theme()->firstChild().get());
    ASSERT_NE(album, nullptr);
    EXPECT_EQ(album->getElementWithName(QStringLiteral("Group Nav")), nullptr);
    const XmlBaseList pages = document.site()->homepage()->webItems();
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(XmlAlbum::cast(pages[0].get())->templateNum(), 2);
    EXPECT_EQ(XmlAlbum::cast(pages[1].get())->templateNum(), 0);
    auto* own = XmlStyleSheet::cast(document.theme()->children().at(2).get());
    EXPECT_EQ(own->custom(), 0);
    EXPECT_NE(own->getElementWithName(QStringLiteral("Photo Album")), nullptr);
    EXPECT_EQ(own->getElementWithName(QStringLiteral("Group Nav")), nullptr);
}

// Shop values that hold the placeholders of the PayPal form go into it as
// typed: each form keeps its own fields, its item name is the name the user
// gave, and the page stays valid.
TEST_F(SiteBuildTest, ShopValuesHoldingPlaceholdersGoIntoTheFormAsTyped)
{
    if (!htmlValidatorAvailable())
        GTEST_SKIP() << "onsgmls and the W3C DTDs (opensp, w3c-sgml-lib) are not installed";
    auto page = addPage(home(), 1, QStringLiteral("Shop"));
    auto* shop = XmlWebPhotoAlbum::cast(page->getTemplate()->getElementWithName(QStringLiteral("Photo Album")).get());
    ASSERT_NE(shop, nullptr);
    shop->settings().setCartType(XmlWebPhotoAlbum::CartType::BuyNow);
    shop->setDefaultButtonHTML();
    shop->settings().setThumbnailButton(1);
    XmlPayPalCommon& settings = *home().paypal();
    settings.setPaypaladdress(QStringLiteral("shop{MORE}@example.org"));
    settings.setCurrency(QStringLiteral("EUR"));

    struct Item {
        QString name;
        QString price;
        QString id;
        QString weight;
        QString shipping;
    };
    const std::vector<Item> items {
        { QStringLiteral("Poster {MORE}"), QStringLiteral("12.50"), QString(), QString(), QString() },
        { QStringLiteral("{ACCOUNT} & {CURRENCY}"), QStringLiteral("9 {DESCRIPTION}"), QStringLiteral("{MORE}"), QString(), QString() },
        { QStringLiteral("Print \"{ID}\" <{PRICE}>"), QStringLiteral("{MEASUREMENT}"), QStringLiteral("A1"),
            QStringLiteral("{SHIPPING}"), QStringLiteral("{WEIGHT}") },
    };
    for (std::size_t i = 0; i < items.size(); ++i) {
        const QString source = work.filePath(QStringLiteral("shop%1.jpg").arg(i));
        writeAll(source, jpegBytes(100, 80, Qt::darkGreen));
        auto photo = XmlPhoto::createFromFile(source);
        ASSERT_NE(photo, nullptr);
        page->addChild(photo);
        photo->newDocument(QString());
        XmlPayPalData& item = *photo->paypal();
        item.setItemname(items[i].name);
        item.setPrice(items[i].price);
        if (!items[i].id.isNull())
            item.setItemid(items[i].id);
        if (!items[i].weight.isNull())
            item.setWeight(items[i].weight);
        if (!items[i].shipping.isNull())
            item.setShipping(items[i].shipping);
    }
    build();

    const QString path = homepage(page->fileName());
    const QString errors = validationErrors(path);
    EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
    const QString html = QString::fromUtf8(readAll(path));
    const auto field = [](const char* name, const QString& value) {
        return QStringLiteral("<input type=\"hidden\" name=\"") + QLatin1String(name) + QStringLiteral("\" value=\"")
            + lq::escape(value) + QStringLiteral("\">");
    };
    EXPECT_EQ(html.count(QStringLiteral("<form ")), 3) << html.toStdString();
    EXPECT_EQ(html.count(field("business", settings.paypaladdress())), 3) << html.toStdString();
    EXPECT_EQ(html.count(field("currency_code", QStringLiteral("EUR"))), 3);
    for (const Item& item : items) {
        EXPECT_EQ(html.count(field("item_name", item.name)), 1) << item.name.toStdString() << "\n" << html.toStdString();
        EXPECT_EQ(html.count(field("amount", item.price)), 1) << item.price.toStdString();
        if (!item.id.isNull()) {
            EXPECT_EQ(html.count(field("item_number", item.id)), 1) << item.id.toStdString();
        }
    }
    // Only the fields the items have: two item numbers, one weight, one shipping.
    EXPECT_EQ(html.count(QStringLiteral("name=\"item_number\"")), 2);
    EXPECT_EQ(html.count(field("weight", QStringLiteral("{SHIPPING}"))), 1);
    EXPECT_EQ(html.count(field("weight_unit", QStringLiteral("lbs"))), 1);
    EXPECT_EQ(html.count(field("shipping", QStringLiteral("{WEIGHT}"))), 1);
}

TEST(FirstLayoutImport, AFreeFormPageKeepsItsPhotosWhereTheyWere)
{
    auto site = XmlSite::create();
    const XmlBasePtr read = XmlBase::createWithXmlRootDir(QStringLiteral(
        "<QZsite><QZhomepage><QZwebpage2 name=\"Free\" filename=\"free.html\" seq=\"1\">"
        "<cssStyleSheet v=\"1\" v2=\"1\" name=\"Own\"><cssPhotoAlbum v=\"1\" v2=\"1\" name=\"Photo Album\"></cssPhotoAlbum></cssStyleSheet>"
        "<QZphoto iseq=\"1\" t=\"40\" l=\"30\" w=\"200\" h=\"150\"></QZphoto>"
        "<QZphoto iseq=\"2\" t=\"240\" l=\"30\" w=\"100\" h=\"80\"></QZphoto>"
        "</QZwebpage2></QZhomepage></QZsite>"), QString());
    auto* loaded = XmlSite::cast(read.get());
    ASSERT_NE(loaded, nullptr);
    const auto theme = XmlLegacyTheme::generateThemeFromLegacy1_0(*loaded);
    ASSERT_EQ(theme->numberChildren(), 1);
    auto* sheet = XmlStyleSheet::cast(theme->firstChild().get());
    auto* album = XmlWebPhotoAlbum::cast(sheet->getElementWithName(QStringLiteral("Photo Album")).get());
    ASSERT_NE(album, nullptr);
    EXPECT_EQ(sheet->custom(), 1);
    EXPECT_EQ(album->afterDescription(), 2);
    EXPECT_EQ(album->settings().floatingRect(0), lq::Rect(30, 40, 200, 150));
    EXPECT_EQ(album->settings().floatingRect(1), lq::Rect(30, 240, 100, 80));
}

} // namespace
