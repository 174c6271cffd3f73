// Whole-site builds: a new site made from the starter archive, built through
// the document's processor queue, its pages checked against the HTML 4.01
// Transitional DTD and built twice to the same bytes.
#include "document/MyDocument.h"
#include "pipeline/ProcessorQueue.h"
#include "pipeline/SiteScripts.h"
#include "model/core/XmlTextFormat.h"
#include "model/feed/XmlRSS.h"
#include "model/feed/XmlRSSItem.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlDescription.h"
#include "model/site/XmlHeadHTML.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "model/theme/XmlLegacyTheme.h"
#include "model/theme/XmlTheme.h"
#include "platform/Process.h"
#include "platform/Resources.h"
#include "support/StarterSite.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "templates/XmlStyleSheet.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The catalog of the W3C DTDs (package w3c-sgml-lib); its entries map the
// HTML 4.01 identifiers onto the local DTD files, so nothing is fetched.
const QString sgmlCatalog = QStringLiteral("/usr/share/xml/w3c-sgml-lib/schema/dtd/sgml.soc");

// The validator's complaints about the page, or "" when it is valid.
QString validationErrors(const QString& page)
{
    QProcess validator;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SGML_CATALOG_FILES"), sgmlCatalog);
    validator.setProcessEnvironment(environment);
    validator.start(QStringLiteral("onsgmls"), { QStringLiteral("-s"), page });
    if (!validator.waitForFinished(60000))
        return QStringLiteral("onsgmls did not finish");
    const QString errors = QString::fromUtf8(validator.readAllStandardError());
    if (validator.exitCode() != 0 && errors.isEmpty())
        return QStringLiteral("onsgmls failed");
    return errors;
}

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

    // The theme library holds three themes, each with an icon and a comment.
    const QString library = lq::resourcePath(QStringLiteral("styles/lumenquill200.qvzip"));
    const QString unpacked = work.filePath(QStringLiteral("library"));
    ASSERT_TRUE(QDir().mkpath(unpacked));
    ASSERT_TRUE(XmlBase::unzipTo(library, unpacked).has_value());
    const QStringList themes = QDir(unpacked).entryList({ QStringLiteral("*.qvzip") }, QDir::Files, QDir::Name);
    ASSERT_GE(themes.size(), 3);
    for (const QString& theme : themes) {
        EXPECT_FALSE(XmlBase::getIconFromZip(unpacked + QLatin1Char('/') + theme).isNull()) << theme.toStdString();
        EXPECT_FALSE(XmlBase::getCommentFromZip(unpacked + QLatin1Char('/') + theme).trimmed().isEmpty()) << theme.toStdString();
    }
}

TEST_F(SiteBuildTest, EveryPageIsValidHtml401AndEveryStyleSheetParses)
{
    if (QStandardPaths::findExecutable(QStringLiteral("onsgmls")).isEmpty() || !QFileInfo::exists(sgmlCatalog))
        GTEST_SKIP() << "onsgmls and the W3C DTDs (opensp, w3c-sgml-lib) are not installed";
    // The validator does find faults.
    const QString broken = work.filePath(QStringLiteral("broken.html"));
    writeAll(broken, "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">\n"
                     "<html><head><title>x</title></head><body><p><div></span></body></html>");
    EXPECT_FALSE(validationErrors(broken).isEmpty());

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

    ASSERT_TRUE(document.writeWithBackupToFile(folder)) << document.lastError().toStdString();
    clearSite();
    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(folder)) << reopened.lastError().toStdString();
    lq::createProcessor(*reopened.site());
    for (int turn = 0; turn < 10000 && !reopened.queue().processors().isEmpty(); ++turn)
        reopened.queue().processor();
    reopened.queue().stopProcessor();
    const QMap<QString, QByteArray> second = generated();
    EXPECT_EQ(first.keys(), second.keys());
    for (const QString& name : first.keys())
        EXPECT_TRUE(first.value(name) == second.value(name)) << name.toStdString();
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

    const auto link = [](const XmlBasePtr& item) { return dynamic_cast<XmlWebItem*>(item.get())->externalLink(); };
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
            previous = place == 0 ? dynamic_cast<XmlWebItem*>(page->parent())->externalLink() : link(group[place - 1]);
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
                              + XmlBase::colorToCSSString(sheet->bkgndColor()) + QStringLiteral("\" />")));
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
    EXPECT_EQ(album->floatingRect(0), lq::Rect(30, 40, 200, 150));
    EXPECT_EQ(album->floatingRect(1), lq::Rect(30, 240, 100, 80));
}

} // namespace
