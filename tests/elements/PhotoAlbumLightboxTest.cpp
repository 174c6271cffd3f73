// The lightbox of an album page as a visitor sees it: a site made from the
// starter, whose album page opens its photos in the lightbox, built through
// the document's queue and opened in headless Chromium at the widths of a
// small, a common and a wide window. The caption and the close button stand
// in a bar under the photo, never beside it.
#include "elements/XmlWebPhotoAlbum.h"
#include "model/site/XmlAlbum.h"
#include "pipeline/SiteScripts.h"
#include "support/HeadlessChromium.h"
#include "support/StarterSite.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "templates/XmlStyleSheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRectF>
#include <QRegularExpression>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// Opens the lightbox on each thumbnail in turn, waits for its photo, and
// puts where the photo, its frame, the bar and the close button stand into
// the body's data-lqtest attribute as JSON.
const char* const measuringScript = R"(<script type="text/javascript">
window.lqErrors = [];
window.addEventListener('error', function (e) { window.lqErrors.push(String(e.message)); });
window.addEventListener('load', function () {
  function box(id) { var b = document.getElementById(id).getBoundingClientRect(); return [b.left, b.top, b.width, b.height]; }
  var links = document.querySelectorAll('a[rel="lightbox[lq]"]');
  var r = { width: window.innerWidth, links: links.length, shown: [] };
  var at = 0;
  function measure() {
    var picture = document.getElementById('lqlb-picture');
    if (!picture || !picture.complete || !picture.naturalWidth || picture.style.display !== 'block') { setTimeout(measure, 50); return; }
    r.shown.push({ picture: box('lqlb-picture'), frame: box('lqlb-frame'), bar: box('lqlb-bottom'), close: box('lqlb-close'),
                   caption: document.getElementById('lqlb-caption').textContent, title: links[at].getAttribute('title') });
    lqLightbox.close();
    if (++at < links.length) { links[at].click(); setTimeout(measure, 50); return; }
    r.errors = window.lqErrors;
    document.body.setAttribute('data-lqtest', JSON.stringify(r));
  }
  if (links.length) { links[0].click(); setTimeout(measure, 50); }
  else { r.errors = window.lqErrors; document.body.setAttribute('data-lqtest', JSON.stringify(r)); }
});
</script>
)";

// Opens the lightbox on the thumbnail of the index once the page has loaded.
QByteArray openingScript(int index)
{
    return "<script type=\"text/javascript\">\nwindow.addEventListener('load', function () {\n"
           "  document.querySelectorAll('a[rel=\"lightbox[lq]\"]')[" + QByteArray::number(index) + "].click();\n});\n</script>\n";
}

// The page with the script before its end.
QByteArray withScript(const QByteArray& page, const QByteArray& script)
{
    QByteArray probe = page;
    probe.insert(probe.lastIndexOf("</body>"), script);
    return probe;
}

QRectF rectOf(const QJsonValue& value)
{
    const QJsonArray b = value.toArray();
    return QRectF(b.at(0).toDouble(), b.at(1).toDouble(), b.at(2).toDouble(), b.at(3).toDouble());
}

std::string describe(const QRectF& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(QString::number(r.x()), QString::number(r.y()), QString::number(r.width()), QString::number(r.height()))
        .toStdString();
}

class PhotoAlbumLightboxTest : public StarterSiteTest {
protected:
    PhotoAlbumLightboxTest()
        : StarterSiteTest(QStringLiteral("Lightbox.lqxl"))
    {
    }
};

TEST_F(PhotoAlbumLightboxTest, TheCaptionAndCloseBarStandUnderThePhotoAtEveryWidth)
{
    // A small photo, a large one wider than any window, a tall narrow one
    // and another small one; the captions short, long (each wraps within its
    // photo's width) and empty.
    struct Photo {
        int width;
        int height;
        QColor colour;
        QString caption;
    };
    const Photo photos[] = {
        { 320, 240, QColor(200, 40, 40), QStringLiteral("Harbour at dawn") },
        { 2400, 1600, QColor(40, 120, 200),
          QStringLiteral("The boats come in one after the other \u2014 nets, gulls and the morning\u2019s catch, all along the quay") },
        { 600, 1200, QColor(40, 160, 60),
          QStringLiteral("A lighthouse keeper\u2019s stair, painted every spring by the same two brothers since the war") },
        { 400, 300, QColor(200, 160, 40), QString() },
    };
    auto page = addPage(home(), 1, QStringLiteral("Harbour"));
    for (int i = 0; i < 4; ++i) {
        const QString source = work.filePath(QStringLiteral("photo%1.jpg").arg(i));
        writeAll(source, jpegBytes(photos[i].width, photos[i].height, photos[i].colour, 90));
        ASSERT_NE(page->importPhotoIndexCaption(source, i, photos[i].caption), nullptr);
    }
    auto* album = dynamic_cast<XmlWebPhotoAlbum*>(templateNumbered(1)->getElementWithName(QStringLiteral("Photo Album")).get());
    ASSERT_NE(album, nullptr);
    album->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::Lightbox);
    lq::createProcessor(site());
    runQueue();
    const QByteArray html = readAll(homepage(page->fileName()));
    ASSERT_TRUE(html.contains("rel=\"lightbox[lq]\"")) << html.constData();

    QString artefacts = qEnvironmentVariable("LQ_TEST_ARTEFACTS");
    if (artefacts.isEmpty())
        artefacts = QDir::tempPath() + QStringLiteral("/lumenquill-artefacts");
    QDir().mkpath(artefacts);

    for (const QSize window : { QSize(800, 600), QSize(1280, 800), QSize(1920, 1080) }) {
        SCOPED_TRACE(QStringLiteral("%1 pixels wide").arg(window.width()).toStdString());
        const QStringList arguments { QStringLiteral("--headless"), QStringLiteral("--hide-scrollbars"),
                                      QStringLiteral("--force-device-scale-factor=1"),
                                      QStringLiteral("--window-size=%1,%2").arg(QString::number(window.width()), QString::number(window.height())),
                                      QStringLiteral("--virtual-time-budget=10000") };
        const QString probe = homepage(QStringLiteral("lightbox-probe.html"));
        writeAll(probe, withScript(html, measuringScript));
        QByteArray out;
        QByteArray err;
        if (runHeadlessChromium(arguments + QStringList { QStringLiteral("--dump-dom") }, QUrl::fromLocalFile(probe).toString(), &out, &err) != 0)
            GTEST_SKIP() << "chromium cannot start here, so the lightbox is not tried in a browser: " << err.left(400).constData();
        static const QRegularExpression result(QStringLiteral("data-lqtest=\"([^\"]*)\""));
        const QRegularExpressionMatch match = result.match(QString::fromUtf8(out));
        ASSERT_TRUE(match.hasMatch()) << "the page's measurements did not run:\n" << err.left(3000).constData();
        const QString json = match.captured(1).replace(QStringLiteral("&quot;"), QStringLiteral("\"")).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        const QJsonObject r = QJsonDocument::fromJson(json.toUtf8()).object();
        EXPECT_TRUE(r.value("errors").toArray().isEmpty()) << qPrintable(json);
        EXPECT_EQ(r.value("width").toInt(), window.width()) << qPrintable(json);
        const QJsonArray shown = r.value("shown").toArray();
        ASSERT_EQ(shown.size(), 4) << qPrintable(json);
        for (qsizetype i = 0; i < shown.size(); ++i) {
            const QJsonObject one = shown.at(i).toObject();
            const QRectF picture = rectOf(one.value("picture"));
            const QRectF frame = rectOf(one.value("frame"));
            const QRectF bar = rectOf(one.value("bar"));
            const QRectF close = rectOf(one.value("close"));
            SCOPED_TRACE("photo " + std::to_string(i) + ": picture " + describe(picture) + ", frame " + describe(frame) + ", bar "
                         + describe(bar) + ", close " + describe(close));
            ASSERT_GT(picture.width(), 0);
            // The bar under the photo, as wide as its frame, the close button in it.
            EXPECT_GE(bar.top(), picture.bottom());
            EXPECT_GE(bar.top(), frame.bottom() - 0.5);
            EXPECT_NEAR(bar.left(), frame.left(), 0.5);
            EXPECT_NEAR(bar.width(), frame.width(), 0.5);
            EXPECT_TRUE(bar.adjusted(-0.5, -0.5, 0.5, 0.5).contains(close));
            // The photo and the bar within the window.
            EXPECT_GE(picture.left(), 0);
            EXPECT_LE(picture.right(), window.width());
            EXPECT_LE(bar.bottom(), window.height());
            EXPECT_EQ(one.value("caption").toString().trimmed(), one.value("title").toString().trimmed());
        }

        // A picture of the lightbox on the small photo, the large one and the tall one, kept.
        for (int index : { 0, 1, 2 }) {
            const QString shot = artefacts + QStringLiteral("/lightbox-%1-photo%2.png").arg(QString::number(window.width()), QString::number(index));
            QFile::remove(shot);
            writeAll(probe, withScript(html, openingScript(index)));
            ASSERT_EQ(runHeadlessChromium(arguments + QStringList { QStringLiteral("--screenshot=") + shot }, QUrl::fromLocalFile(probe).toString(),
                                          &out, &err),
                      0)
                << err.left(400).constData();
            EXPECT_FALSE(QImage(shot).isNull()) << shot.toStdString();
        }
    }
}

} // namespace
