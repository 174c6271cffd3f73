// The starter themes as a new user meets them: a site made from the starter,
// given each theme of the library the way Themes ▸ Replace gives it, with an
// album page of photos on each of the theme's templates, whose thumbnails
// open the page's slideshow page. Each slideshow page is opened in headless
// Chromium, which measures where the menu, the slide, its caption and the
// page's description land, and presses the slideshow's controls.
#include "document/ThemeArchive.h"
#include "model/core/ElementArchives.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlPhoto.h"
#include "pipeline/SiteScripts.h"
#include "platform/Resources.h"
#include "support/HeadlessChromium.h"
#include "support/SlideshowPage.h"
#include "support/StarterSite.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "templates/XmlCSS.h"

#include <QDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// Where the pictures of the pages go: LQ_TEST_ARTEFACTS when set, else the test's own folder.
QString picturesFolder(const QString& fallback)
{
    const QString folder = qEnvironmentVariable("LQ_TEST_ARTEFACTS");
    if (folder.isEmpty())
        return fallback;
    QDir().mkpath(folder);
    return folder;
}

class StarterThemesTest : public StarterSiteTest, public ::testing::WithParamInterface<const char*> {
protected:
    StarterThemesTest()
        : StarterSiteTest(QStringLiteral("Themes.lqxl"))
    {
    }

    // The library's theme of the name, in the site's place, as Themes ▸ Replace puts it.
    void replaceTheme(const QString& name)
    {
        const QString library = work.filePath(QStringLiteral("library"));
        ASSERT_TRUE(QDir().mkpath(library));
        ASSERT_TRUE(lq::unzipElementTrees(lq::resourcePath(QStringLiteral("styles/lumenquill200.qvzip")), library).has_value());
        const std::unique_ptr<ThemeArchive> archive =
            ThemeArchive::unpack(library + QStringLiteral("/Lumenquill/") + name + QStringLiteral(".qvzip"));
        ASSERT_TRUE(archive && archive->theme()) << name.toStdString();
        document.replaceTheme(archive->theme());
    }
};

TEST_P(StarterThemesTest, TheSlideshowPageOfEveryTemplateShowsItsPartsApartWithControlsThatWork)
{
    const QString theme = QString::fromLatin1(GetParam());
    if (!theme.isEmpty())
        replaceTheme(theme);
    if (HasFatalFailure())
        return;

    // One album page per template that shows a photo album, each with three
    // photos, their captions and a description; the thumbnails open the
    // slideshow page.
    QList<std::shared_ptr<XmlAlbum>> pages;
    const QColor colours[] = { QColor(210, 40, 40), QColor(40, 180, 60), QColor(40, 60, 200) };
    for (const XmlBasePtr& child : document.theme()->children()) {
        auto* sheet = XmlStyleSheet::cast(child.get());
        const XmlBasePtr album = sheet ? sheet->getElementWithName(QStringLiteral("Photo Album")) : nullptr;
        if (!album || !XmlCSS::cast(album.get())->XmlCSS::baseVisibility())
            continue;
        auto page = XmlAlbum::create();
        home().addChild(page);
        page->newDocument();
        page->setName(QStringLiteral("On ") + sheet->name());
        page->setTemplate(sheet);
        page->webcontent()->setContent(QStringLiteral("<p>A week by the sea, walking the cliffs from one harbour to the next.</p>"));
        for (int i = 0; i < 3; ++i) {
            const QString source = work.filePath(QStringLiteral("p%1-%2.jpg").arg(pages.size()).arg(i));
            writeAll(source, jpegBytes(i == 1 ? 600 : 800, i == 1 ? 800 : 600, colours[i], 90));
            ASSERT_NE(page->importPhotoIndexCaption(source, i, QStringLiteral("Photo %1 of the harbour").arg(i + 1)), nullptr);
        }
        pages.append(page);
    }
    ASSERT_GE(pages.size(), 2) << "the home page and photo album templates show photos";
    lq::createProcessor(site());
    runQueue();

    for (const std::shared_ptr<XmlAlbum>& page : pages) {
        const QString name = QStringLiteral("slideshow%1.html").arg(page->pageSeqNumber());
        SCOPED_TRACE((theme.isEmpty() ? QStringLiteral("starter") : theme).toStdString() + " / " + page->name().toStdString() + " / " + name.toStdString());
        const QByteArray html = readAll(homepage(name));
        ASSERT_FALSE(html.isEmpty()) << "the page's thumbnails open its slideshow page";
        const QString probeFile = homepage(QStringLiteral("probe-") + name);
        ASSERT_TRUE(slideshowpage::writeProbe(html, probeFile));
        const slideshowpage::Look look = slideshowpage::look(QUrl::fromLocalFile(probeFile).toString());
        if (!look.browser)
            GTEST_SKIP() << "chromium cannot start here, so the page is not tried in a browser: " << look.why.toStdString();
        slideshowpage::expectLooksRight(look, true);

        // A picture of the page as it loads, for whoever looks.
        const QString shot = picturesFolder(work.path()) + QStringLiteral("/slideshow-") + (theme.isEmpty() ? QStringLiteral("starter") : theme)
            + QLatin1Char('-') + QString::number(page->templateNum()) + QStringLiteral(".png");
        QByteArray out;
        QByteArray err;
        runHeadlessChromium(slideshowpage::chromiumArguments() + QStringList { QStringLiteral("--screenshot=") + shot },
                            QUrl::fromLocalFile(homepage(name)).toString(), &out, &err);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryStarterTheme, StarterThemesTest, ::testing::Values("", "Meadow", "Paper", "Slate"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(*info.param ? info.param : "Starter");
                         });

} // namespace
