#include "templates/XmlPictureFrame.h"
#include "elements/XmlSlideshow.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "application/MyApplication.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPayPalCommon.h"
#include "model/site/XmlPayPalData.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/Escaping.h"
#include "support/HeadlessChromium.h"
#include "support/Printers.h"
#include "support/SiteInDocument.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include "pipeline/XmlProcessor.h"
#include "platform/Resources.h"
#include "platform/graphics/GraphicsContext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// A clock that runs the preview's ticks only when the test says so.
class ManualClock final : public XmlSlideshow::AnimationClock {
public:
    void performAfter(const void* target, double seconds, std::function<void()> call) override
    {
        pending.push_back({ target, seconds, std::move(call) });
    }
    void cancel(const void* target) override
    {
        std::erase_if(pending, [&](const Call& call) { return call.target == target; });
    }
    // Runs the one waiting tick (which schedules the next).
    void tick()
    {
        ASSERT_EQ(pending.size(), 1u);
        Call call = std::move(pending.front());
        pending.clear();
        call.run();
    }
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            tick();
    }

    struct Call {
        const void* target = nullptr;
        double seconds = 0;
        std::function<void()> run;
    };
    std::vector<Call> pending;
};

// Sets the application's before/after preference while it lives.
class BeforeAfterPreference {
public:
    explicit BeforeAfterPreference(int value)
        : _saved(MyApplication::shared().enableBeforeAfter())
    {
        MyApplication::shared().setEnableBeforeAfter(value);
    }
    ~BeforeAfterPreference() { MyApplication::shared().setEnableBeforeAfter(_saved); }

private:
    int _saved;
};

// The "add_slide" calls of a script, each as its list of integers.
std::vector<std::vector<int>> addSlideCalls(const QString& script)
{
    std::vector<std::vector<int>> calls;
    static const QRegularExpression call(QStringLiteral("ss\\.add_slide\\(([-0-9,]*)\\);\\n"));
    for (auto it = call.globalMatch(script); it.hasNext();) {
        std::vector<int> values;
        for (const QString& number : it.next().captured(1).split(QLatin1Char(',')))
            values.push_back(number.toInt());
        calls.push_back(values);
    }
    return calls;
}

// A site document in a temporary folder with an album page of photos, and
// a theme whose template holds a photo album element and the slideshow.
class XmlSlideshowTest : public SiteInFolderTest {
protected:
    void SetUp() override
    {
        SiteInFolderTest::SetUp();
        theme->setDocument(&document);
        theme->addChild(sheet);
        photoAlbum->setName(QStringLiteral("Photo Album"));
        sheet->addChild(photoAlbum);
        slideshow->setName(QStringLiteral("Slideshow"));
        sheet->addChild(slideshow);
        slideshow->newDocument();
        slideshow->postload();
        slideshow->setAnimationClock(clock);
    }
    void TearDown() override
    {
        slideshow->stopAnimations();
        theme->setDocument(nullptr);
        SiteInFolderTest::TearDown();
    }

    // Adds photos of the given sizes to the album page.
    void addPhotos(const std::vector<QSize>& sizes)
    {
        for (const QSize& size : sizes) {
            const QString path = source(QStringLiteral("p%1.jpg").arg(album->numberChildren()), jpegBytes(size.width(), size.height()));
            ASSERT_TRUE(album->importPhotoIndexCaption(path, 1000, QStringLiteral("Caption")));
        }
    }
    void addPhotos(int count) { addPhotos(std::vector<QSize>(std::size_t(count), QSize(80, 60))); }

    XmlPhoto* photo(int index) { return XmlPhoto::cast(album->childAtIndex(index).get()); }

    // Lays the template out as the album page's slideshow page, where the
    // slideshow shows whenever the page has photos.
    void showSlideshowPage()
    {
        photoAlbum->setCurrentAlbum(album.get());
        sheet->setPageView(album.get(), XmlStyleSheet::View::Slideshow);
        ASSERT_EQ(sheet->view(), XmlStyleSheet::View::Slideshow);
    }

    QString pass(PagePass number)
    {
        QString html;
        slideshow->appendHTMLPagePassSheet(html, album.get(), number, sheet.get());
        return html;
    }

    // Makes the pictures that the image steps of the text name, at the sizes
    // they give (the image steps themselves are not this element's); answers
    // how many it made.
    int makePictures(const QString& steps)
    {
        static const QRegularExpression pictureStep(
            QStringLiteral("<QZcreate(Slide|WebImage) photo=\"([0-9A-F]+)\" (?:size|thumbSize)=\"\\{(\\d+), (\\d+)\\}\""));
        int made = 0;
        for (auto it = pictureStep.globalMatch(steps); it.hasNext();) {
            const auto match = it.next();
            const XmlBasePtr found = XmlBase::UUID(match.captured(2));
            auto* named = XmlPhoto::cast(found.get());
            if (!named)
                continue;
            const lq::Size size(match.captured(3).toFloat(), match.captured(4).toFloat());
            named->loadBackstore(nullptr);
            if (match.captured(1) == u"Slide")
                named->createSlideImage(size);
            else
                named->createWebImageFullSizeFrameFrameRectThumbRect(size, true, nullptr, lq::Rect(), lq::Rect());
            named->releaseBackstore(nullptr);
            ++made;
        }
        return made;
    }

    std::shared_ptr<XmlTheme> theme = XmlTheme::create();
    std::shared_ptr<XmlStyleSheet> sheet = XmlStyleSheet::create();
    std::shared_ptr<XmlWebPhotoAlbum> photoAlbum = XmlWebPhotoAlbum::create();
    std::shared_ptr<XmlSlideshow> slideshow = XmlSlideshow::create();
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
};

} // namespace

// --- Model ------------------------------------------------------------------------------------------

TEST(XmlSlideshow, NewElementWritesItsDefaultsAndNoControlList)
{
    const auto slideshow = XmlSlideshow::create();
    EXPECT_EQ(slideshow->elementName(), QString("cssSlideShow"));
    EXPECT_EQ(slideshow->uniquename(), QString("ssbkgnd"));
    EXPECT_TRUE(slideshow->widthFixed());
    EXPECT_TRUE(slideshow->heightFixed());
    EXPECT_TRUE(slideshow->absolute());
    EXPECT_EQ(slideshow->top(), 10);
    EXPECT_EQ(slideshow->left(), 10);
    EXPECT_EQ(slideshow->width(), 400);
    EXPECT_EQ(slideshow->height(), 350);

    const QString xml = slideshow->createXml();
    for (const char* expected : { " allowBkgnd=\"1\" style=\"0\" showCaptions=\"1\" showPrevNext=\"1\" showIndex=\"1\""
                                  " showBkgndBox=\"1\" nextLabel=\"\" prevLabel=\"\" indexLabel=\"\""
                                  " showPlayControls=\"1\" playLabel=\"\" stopLabel=\"\""
                                  " showBeforeAfterControls=\"1\" beforeLabel=\"Before\" afterLabel=\"After\""
                                  " seconds=\"5\" autoStart=\"0\" fade=\"0\" topAlign=\"0\" loop=\"1\""
                                  " thumbRollovers=\"0\" slideRollovers=\"0\" reverseThumbs=\"0\" randomOrder=\"0\"",
                                  "<cssPictureFrame" })
        EXPECT_TRUE(xml.contains(QString::fromUtf8(expected))) << qPrintable(xml);
    EXPECT_FALSE(xml.contains("controls=")) << qPrintable(xml);
    EXPECT_FALSE(xml.contains("clines")) << qPrintable(xml);
}

TEST(XmlSlideshow, CaptionLinesAreClampedAndNeverWritten)
{
    const struct {
        const char* stored;
        int read;
    } cases[] = { { "0", 1 }, { "1", 1 }, { "3", 3 }, { "6", 6 }, { "9", 6 }, { "-4", 1 } };
    for (const auto& c : cases) {
        const auto slideshow = XmlSlideshow::create();
        slideshow->setAttributeTo(QStringLiteral("clines"), QString::fromUtf8(c.stored));
        EXPECT_EQ(slideshow->settings().captionLines(), c.read) << c.stored;
        EXPECT_FALSE(slideshow->createXml().contains("clines"));
    }
}

TEST(XmlSlideshow, ReadsBackWhatItWritesWithItsFrameAndEscapedLabels)
{
    BeforeAfterPreference on(1);
    const auto slideshow = XmlSlideshow::create();
    slideshow->settings().setStyle(3);
    slideshow->settings().setPlayLabel(QStringLiteral("Play <\"&'>"));
    slideshow->settings().setSeconds(9);
    slideshow->settings().setLoopSlideshow(false);
    slideshow->settings().setThumbRollovers(true);
    slideshow->settings().setControlString(QStringLiteral("{{1, 2}, {3, 4}}|{{5, 6}, {7, 8}}"));
    slideshow->frame()->setBl(3);
    slideshow->frame()->setPt(4);

    const auto copy = std::dynamic_pointer_cast<XmlSlideshow>(XmlBase::createWithXmlRootDir(slideshow->createXml(), QString()));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->style(), 3);
    EXPECT_EQ(copy->settings().playLabel(), QString("Play <\"&'>"));
    EXPECT_EQ(copy->settings().seconds(), 9);
    EXPECT_FALSE(copy->settings().loopSlideshow());
    EXPECT_TRUE(copy->settings().thumbRollovers());
    EXPECT_EQ(copy->settings().controlString(), QString("{{1, 2}, {3, 4}}|{{5, 6}, {7, 8}}"));
    EXPECT_EQ(copy->frame()->bl(), 3);
    EXPECT_EQ(copy->frame()->pt(), 4);
    EXPECT_EQ(copy->frame()->parent(), copy.get());
    // The frame is the element's own part, not a second child.
    EXPECT_EQ(copy->createXml().count("<cssPictureFrame"), 1);
}

TEST(XmlSlideshow, BeforeAfterStylesFoldWhileThePreferenceIsOff)
{
    const struct {
        int stored;
        int off;
        int on;
    } cases[] = { { 0, 0, 0 }, { 1, 1, 1 }, { 2, 0, 2 }, { 3, 1, 3 } };
    for (const auto& c : cases) {
        const auto slideshow = XmlSlideshow::create();
        slideshow->settings().setStyle(c.stored);
        {
            BeforeAfterPreference off(0);
            EXPECT_EQ(slideshow->style(), c.off);
            EXPECT_TRUE(slideshow->createXml().contains(QString(" style=\"%1\"").arg(c.off)));
        }
        BeforeAfterPreference on(1);
        EXPECT_EQ(slideshow->style(), c.on);
    }
}

TEST(XmlSlideshow, AStyleNumberThatIsNoStyleIsReadAsTheFirstAndStaysSo)
{
    BeforeAfterPreference off(0);
    for (const char* stored : { "4", "5", "7", "-1", "300" }) {
        const auto slideshow = XmlSlideshow::create();
        slideshow->setAttributeTo(QStringLiteral("style"), QString::fromLatin1(stored));
        EXPECT_EQ(slideshow->style(), 0) << stored;
        EXPECT_TRUE(slideshow->createXml().contains(QStringLiteral(" style=\"0\""))) << stored;
    }
}

TEST(XmlSlideshow, FlagsKeepTheLowByteAndVisibilityIsAlwaysOn)
{
    const auto slideshow = XmlSlideshow::create();
    slideshow->setAttributeTo(QStringLiteral("fade"), QStringLiteral("256"));
    EXPECT_FALSE(slideshow->settings().fade());
    slideshow->setAttributeTo(QStringLiteral("fade"), QStringLiteral("257"));
    EXPECT_TRUE(slideshow->settings().fade());
    slideshow->setVisible(false);
    slideshow->setVisibleInSlideshow(false);
    EXPECT_TRUE(slideshow->createXml().contains(" v=\"1\" v2=\"1\""));
}

TEST(XmlSlideshow, PostloadMakesTheControlFontFromTheCaptionFontOnce)
{
    const auto slideshow = XmlSlideshow::create();
    slideshow->newDocument();
    const std::shared_ptr<XmlWebFont> own = slideshow->font();
    own->setFontSize(17);
    own->setBold(true);
    own->setItalic(true);
    own->setUnderline(true);
    ASSERT_FALSE(slideshow->controlFont());

    slideshow->postload();
    const std::shared_ptr<XmlWebFont> control = slideshow->controlFont();
    ASSERT_TRUE(control);
    EXPECT_EQ(control->fontSize(), 17);
    EXPECT_TRUE(control->bold());
    EXPECT_EQ(own->alignment(), XmlWebFont::Alignment::Center);
    EXPECT_FALSE(own->bold());
    EXPECT_FALSE(own->italic());
    EXPECT_FALSE(own->underline());

    own->setAlignment(XmlWebFont::Alignment::Right);
    slideshow->postload();
    EXPECT_EQ(slideshow->controlFont(), control);
    EXPECT_EQ(own->alignment(), XmlWebFont::Alignment::Right);
}

TEST(XmlSlideshow, ControlRectanglesOutsideTheListAreZeroAndIgnored)
{
    const auto slideshow = XmlSlideshow::create();
    slideshow->settings().setControlString(QStringLiteral("{{1, 2}, {3, 4}}"));
    EXPECT_EQ(slideshow->settings().controlRect(0), lq::Rect(1, 2, 3, 4));
    EXPECT_EQ(slideshow->settings().controlRect(3), lq::Rect());
    EXPECT_EQ(slideshow->settings().controlRect(-1), lq::Rect());
    slideshow->settings().setControlRectForIndex(lq::Rect(9, 9, 9, 9), 3);
    slideshow->settings().setControlRectForIndex(lq::Rect(5, 6, 7, 8), 0);
    EXPECT_EQ(slideshow->settings().controlString(), QString("{{5, 6}, {7, 8}}"));
}

// --- Automatic layout and photo placement ---------------------------------------------------------------

TEST_F(XmlSlideshowTest, AutomaticLayoutPutsTheControlsInARowAndTheCaptionBandBelow)
{
    slideshow->setLeft(20);
    slideshow->setTop(30);
    slideshow->setWidth(410);
    slideshow->setHeight(300);
    slideshow->setBl(2);
    slideshow->setPl(3);
    slideshow->setBt(1);
    slideshow->setPt(4);
    slideshow->settings().setCaptionLines(3);
    slideshow->calcControlObjects();

    const int line = slideshow->controlFont()->lineHeight();
    ASSERT_GT(line, 0);
    const int row = static_cast<int>(line * 1.5);
    const int caption = line * 2 + row;
    const int innerLeft = 25;
    const int innerTop = 35;
    const int innerWidth = 410 - 2 - 3;
    const int innerHeight = 300 - 1 - 4;
    // All four shown: four columns, play first, then index, previous, next.
    const int column = innerWidth / 4;
    EXPECT_EQ(slideshow->settings().controlRect(3), lq::Rect(innerLeft, innerTop, column, row));
    EXPECT_EQ(slideshow->settings().controlRect(2), lq::Rect(innerLeft + innerWidth / 4, innerTop, column, row));
    EXPECT_EQ(slideshow->settings().controlRect(0), lq::Rect(innerLeft + innerWidth * 2 / 4, innerTop, column, row));
    EXPECT_EQ(slideshow->settings().controlRect(1), lq::Rect(innerLeft + innerWidth * 3 / 4, innerTop, column, row));
    EXPECT_EQ(slideshow->settings().controlRect(4), lq::Rect(innerLeft, innerTop + innerHeight - caption, innerWidth, caption));
    EXPECT_EQ(slideshow->settings().controlRect(5), lq::Rect(innerLeft, innerTop + row, innerWidth, innerHeight - row - caption));

    // Only the index link: one column across the whole width.
    slideshow->settings().setShowPrevNextControls(false);
    slideshow->settings().setShowPlayControls(false);
    slideshow->settings().setShowCaptions(0);
    slideshow->calcControlObjects();
    EXPECT_EQ(slideshow->settings().controlRect(2), lq::Rect(innerLeft, innerTop, innerWidth, row));
    EXPECT_EQ(slideshow->settings().controlRect(4), lq::Rect(innerLeft, innerTop + innerHeight - row, innerWidth, row));
    EXPECT_EQ(slideshow->settings().controlRect(5), lq::Rect(innerLeft, innerTop + row, innerWidth, innerHeight - row));

    // Nothing shown: the picture box is the whole inner area.
    slideshow->settings().setShowIndexLabel(false);
    slideshow->calcControlObjects();
    EXPECT_EQ(slideshow->settings().controlRect(5), lq::Rect(innerLeft, innerTop, innerWidth, innerHeight));
}

TEST_F(XmlSlideshowTest, FreeStylesKeepTheirStoredRectangles)
{
    slideshow->settings().setStyle(1);
    slideshow->settings().setControlString(QStringLiteral("{{1, 2}, {3, 4}}"));
    slideshow->calcControlObjects();
    EXPECT_EQ(slideshow->settings().controlString(), QString("{{1, 2}, {3, 4}}"));
}

TEST_F(XmlSlideshowTest, PhotosAreFittedAndCentredInsideTheFrame)
{
    addPhotos({ QSize(200, 100), QSize(50, 100) });
    slideshow->settings().setControlString(
        QStringLiteral("{{0, 0}, {0, 0}}|{{0, 0}, {0, 0}}|{{0, 0}, {0, 0}}|{{0, 0}, {0, 0}}|{{0, 0}, {0, 0}}|{{10, 20}, {110, 90}}"));
    slideshow->settings().setStyle(1);
    slideshow->frame()->setBl(2);
    slideshow->frame()->setPl(3);
    slideshow->frame()->setBt(1);
    slideshow->frame()->setPt(4);
    slideshow->frame()->setPr(0);
    slideshow->frame()->setBr(0);

    lq::Rect frame;
    lq::Rect picture;
    // Inside: x 15, y 25, 105 x 85. The wide photo fits the width.
    slideshow->calcPhotoRectFrameRectThumbRect(photo(0), frame, picture);
    EXPECT_EQ(picture.width(), 105);
    EXPECT_NEAR(picture.height(), 52, 1);
    EXPECT_EQ(picture.x(), 15);
    EXPECT_EQ(picture.y(), 25 + static_cast<int>((85 - picture.height()) * 0.5f));
    EXPECT_EQ(frame, lq::Rect(picture.x() - 5, picture.y() - 5, picture.width() + 5, picture.height() + 5));

    // Top alignment keeps the photo at the top of the box.
    slideshow->settings().setTopAlignPic(true);
    slideshow->calcPhotoRectFrameRectThumbRect(photo(1), frame, picture);
    EXPECT_EQ(picture.y(), 25);
    EXPECT_EQ(picture.height(), 85);
    EXPECT_NEAR(picture.width(), 42, 1);
}

// --- Page output ----------------------------------------------------------------------------------------

TEST_F(XmlSlideshowTest, SlideshowSetUpScriptWritesEscapedLabelsTimeoutAndOneSlidePerPhoto)
{
    addPhotos(3);
    slideshow->settings().setSeconds(7);
    slideshow->settings().setPlayLabel(QStringLiteral("Don't"));
    slideshow->settings().setStopLabel(QStringLiteral("Stop"));
    slideshow->settings().setFade(true);
    slideshow->settings().setRandomOrder(true);
    slideshow->settings().setLoopSlideshow(false);
    slideshow->relayoutFlags(album.get(), 0);

    const QString script = pass(PagePass::HeadScript);
    EXPECT_TRUE(script.startsWith("fc.addfs(\"sscon\", ")) << qPrintable(script);
    EXPECT_TRUE(script.contains(QString("fc.addfs(\"sscap\", %1, %2, \"p.sscaption\");\n")
                                    .arg(slideshow->font()->lineHeight())
                                    .arg(slideshow->font()->fontSize())));
    EXPECT_TRUE(script.contains("ss = new slideshow(\"ss\");\nss.playLabel = 'Don\\'t';\nss.stopLabel = 'Stop';\n"
                                "ss.timeout = 7000;\nss.fade = 1;\nss.repeat = false;\nss.random = true;\n"))
        << qPrintable(script);
    EXPECT_FALSE(script.contains("ss.autoPlay"));
    const auto calls = addSlideCalls(script);
    ASSERT_EQ(calls.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(calls[std::size_t(i)].size(), 6u);
        EXPECT_EQ(calls[std::size_t(i)][0], photo(i)->imageSeqNumber());
        EXPECT_EQ(calls[std::size_t(i)][1], 0);
    }
}

TEST_F(XmlSlideshowTest, BeforeAfterPairsRepeatTheLonePhotoAndSkipRolloverThirds)
{
    BeforeAfterPreference on(1);
    slideshow->settings().setStyle(2);
    slideshow->settings().setBeforeLabel(QStringLiteral("Vorher"));
    addPhotos(5);
    slideshow->relayoutFlags(album.get(), 0);

    QString script = pass(PagePass::HeadScript);
    EXPECT_TRUE(script.contains("ss = new beforeafter(\"ss\");\nss.beforeLabel = 'Vorher';\nss.afterLabel = 'After';\n"));
    auto calls = addSlideCalls(script);
    ASSERT_EQ(calls.size(), 3u);
    for (const auto& call : calls)
        ASSERT_EQ(call.size(), 11u);
    EXPECT_EQ(calls[0][0], photo(0)->imageSeqNumber());
    EXPECT_EQ(calls[0][6], photo(1)->imageSeqNumber());
    EXPECT_EQ(calls[2][0], photo(4)->imageSeqNumber());
    // The last pair has no partner: its own five values stand in for it.
    EXPECT_EQ(calls[2][6], calls[2][0]);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(calls[2][7 + std::size_t(k)], calls[2][2 + std::size_t(k)]);
    EXPECT_EQ(pass(PagePass::Steps).count("<QZcreateSlide "), 5);

    // With rollover thirds: photos 1 and 2, then 4 and 5; 3 and 6 make nothing.
    addPhotos(1);
    slideshow->settings().setThumbRollovers(true);
    script = pass(PagePass::HeadScript);
    calls = addSlideCalls(script);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1][0], photo(3)->imageSeqNumber());
    EXPECT_EQ(calls[1][6], photo(4)->imageSeqNumber());
    const QString steps = pass(PagePass::Steps);
    EXPECT_EQ(steps.count("<QZcreateSlide "), 4);
    EXPECT_FALSE(steps.contains(photo(2)->UUID()));
    EXPECT_FALSE(steps.contains(photo(5)->UUID()));
}

TEST_F(XmlSlideshowTest, ImageStepsFollowTheSiteImageWellSetting)
{
    addPhotos(2);
    slideshow->relayoutFlags(album.get(), 0);
    QString script = pass(PagePass::HeadScript);
    QString steps = pass(PagePass::Steps);
    lq::Rect frame;
    lq::Rect picture;
    slideshow->calcPhotoRectFrameRectThumbRect(photo(0), frame, picture);
    EXPECT_TRUE(steps.startsWith(QString("<QZcreateSlide photo=\"%1\" size=\"{%2, %3}\" />")
                                     .arg(photo(0)->UUID())
                                     .arg(int(picture.width()))
                                     .arg(int(picture.height()))))
        << qPrintable(steps);
    EXPECT_EQ(addSlideCalls(script)[0][1], 0);
    // The buffer is written once: a second pass 19 writes nothing.
    EXPECT_EQ(pass(PagePass::Steps), QString());

    site->setDisableImageWell(1);
    script = pass(PagePass::HeadScript);
    steps = pass(PagePass::Steps);
    EXPECT_EQ(steps, QString("<QZcreateWebImage photo=\"%1\" fullSize=\"1\" /><QZcreateWebImage photo=\"%2\" fullSize=\"1\" />")
                         .arg(photo(0)->UUID(), photo(1)->UUID()));
    EXPECT_EQ(addSlideCalls(script)[1][1], 1);
}

TEST_F(XmlSlideshowTest, PassNineteenWithoutSetUpWritesNothingNotEvenTheRolloverCopy)
{
    BeforeAfterPreference on(1);
    addPhotos(2);
    slideshow->settings().setStyle(2);
    slideshow->settings().setSlideRollovers(true);
    EXPECT_EQ(pass(PagePass::Steps), QString());
    pass(PagePass::HeadScript);
    const QString steps = pass(PagePass::Steps);
    EXPECT_TRUE(steps.endsWith("<QZcopy dir=\"homepage/bitmaps\" filename=\"transparent.gif\" />")) << qPrintable(steps);
}

TEST_F(XmlSlideshowTest, APageWithoutPhotosGetsNoSlideshowOutput)
{
    for (PagePass number : { PagePass::HeadScript, PagePass::SlideshowBackground, PagePass::SlideshowControls, PagePass::AfterPage, PagePass::Steps })
        EXPECT_EQ(pass(number), QString()) << number;
    QString html;
    slideshow->appendHTMLPagePassSheet(html, nullptr, PagePass::HeadScript, sheet.get());
    EXPECT_EQ(html, QString());
}

TEST_F(XmlSlideshowTest, ControlsCaptionsAndViewersInPassTwelve)
{
    BeforeAfterPreference on(1);
    addPhotos(2);
    photo(1)->caption()->setContent(QString());
    slideshow->settings().setPrevLabel(QStringLiteral("Back"));
    slideshow->settings().setNextLabel(QStringLiteral("On"));
    slideshow->settings().setIndexLabel(QStringLiteral("Index"));
    slideshow->settings().setPlayLabel(QStringLiteral("Play"));
    slideshow->relayoutFlags(album.get(), 0);

    QString html = pass(PagePass::SlideshowControls);
    EXPECT_TRUE(html.startsWith("<noscript><div id=\"noscript\"><p>Error: This website requires JavaScript to view the "
                                "Slideshow.</p></div></noscript>\n"
                                "<a id=\"sscon\" class=\"sscontrol\" href=\"#\" style=\"top:0px; left:-9999px;\">&nbsp;</a>\n"
                                "<p id=\"sscap\" class=\"sscaption\" style=\"top:0px; left:-9999px;\">&nbsp;</p>\n"));
    const QStringList order = { "<a id=\"ssprev\" class=\"sscontrol\" href=\"javascript:ss.previous()\"",
                                "<a id=\"ssnext\" class=\"sscontrol\" href=\"javascript:ss.next()\"",
                                "<a class=\"sscontrol\" href=\"#\"",
                                "<a id=\"ssplay\" class=\"sscontrol\" href=\"javascript:ss.play()\"",
                                QString("<div id=\"stext%1\" style=\"display: none;\"><p class=\"sscaption\"")
                                    .arg(photo(0)->imageSeqNumber()),
                                QString("<div id=\"stext%1\" style=\"display: none;\"></div>").arg(photo(1)->imageSeqNumber()),
                                "<img class=\"ssviewer\" id=\"ssviewerA\" alt=\"\" src=\"\" border=\"\" style=\"display:none\" />\n"
                                "<img class=\"ssviewer\" id=\"ssviewerB\" alt=\"\" src=\"\" border=\"\" style=\"display:none\" />\n" };
    qsizetype at = 0;
    for (const QString& piece : order) {
        const qsizetype found = html.indexOf(piece, at);
        EXPECT_GE(found, at) << qPrintable(piece) << "\n" << qPrintable(html);
        at = std::max(at, found);
    }
    EXPECT_TRUE(html.contains(">Back</a>\n"));
    EXPECT_TRUE(html.contains(">Caption</p>\n"));
    EXPECT_FALSE(html.contains("ssrollover"));

    // Before/after with rollovers: the control and the rollover viewer; captions off: no blocks.
    slideshow->settings().setStyle(2);
    slideshow->settings().setSlideRollovers(true);
    slideshow->settings().setShowCaptions(0);
    slideshow->relayoutFlags(album.get(), 0);
    html = pass(PagePass::SlideshowControls);
    EXPECT_TRUE(html.contains("<a id=\"ssbeforeafter\" class=\"sscontrol\" href=\"javascript:ss.beforeafter()\""));
    EXPECT_TRUE(html.contains(">After</a>\n"));
    EXPECT_FALSE(html.contains("ssplay"));
    EXPECT_FALSE(html.contains("stext"));
    EXPECT_TRUE(html.endsWith("<img class=\"ssviewer\" id=\"ssrollover\" alt=\"\" src=\"bitmaps/transparent.gif\" border=\"\" "
                              "style=\"display:none\" />\n"));
}

TEST_F(XmlSlideshowTest, BackgroundAndInitialisationPasses)
{
    addPhotos(1);
    EXPECT_TRUE(pass(PagePass::SlideshowBackground).startsWith("<div id=\"ssbackground\" style=\"")) << qPrintable(pass(PagePass::SlideshowBackground));
    slideshow->settings().setShowBkgndBox(false);
    EXPECT_EQ(pass(PagePass::SlideshowBackground), QString());
    EXPECT_EQ(pass(PagePass::AfterPage), QString("<script language=\"JavaScript\" type=\"text/javascript\">\n<!--\nif (document.images)\n{\n"
                                "ss.firstslide = 0;\nss.init();\n}\n// -->\n</script>\n"));
    for (PagePass number : { PagePass::Head, PagePass::AlbumBox, PagePass::Thumbnails, PagePass::PageTitleText, PagePass::LastLayer })
        EXPECT_EQ(pass(number), QString()) << number;
}

TEST_F(XmlSlideshowTest, CssHasItsFiveRulesInOrder)
{
    QString css;
    slideshow->appendCSS(css);
    const QStringList rules = css.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rules.size(), 5) << qPrintable(css);
    EXPECT_TRUE(rules[0].startsWith("#ssbackground {position: absolute; font-size: 0px; line-height: 0px; display: block; "
                                    "margin: 0px; padding: 0px; "));
    EXPECT_TRUE(rules[1].startsWith("img.ssviewer {position: absolute; font-size: 0px; line-height: 0px; display: block; "
                                    "margin: 0px; "));
    EXPECT_TRUE(rules[2].startsWith("p.sscaption {z-index: 200; display: block; position: absolute; margin: 0px; "
                                    "white-space: nowrap; "));
    EXPECT_EQ(rules[3], QString("p.sscaption a {color: #000000; text-decoration: underline; }"));
    EXPECT_TRUE(rules[4].startsWith("a.sscontrol {display: block; position: absolute; margin: 0px; white-space: nowrap; "));
    for (const QString& rule : rules)
        EXPECT_TRUE(rule.endsWith("}"));
}

TEST_F(XmlSlideshowTest, RelayoutRegistersTheShownControlsAndStartsAtTheSelectedPhoto)
{
    addPhotos(3);
    slideshow->settings().setPrevLabel(QStringLiteral("Back"));
    slideshow->settings().setNextLabel(QStringLiteral("On"));
    slideshow->settings().setPlayLabel(QStringLiteral("Play"));
    document.selectedPhoto = 2;
    slideshow->relayoutFlags(album.get(), 0);
    QStringList words;
    for (const auto& area : document.trackingAreas) {
        EXPECT_EQ(area.uuid, slideshow->UUID());
        words.append(area.data);
    }
    // The index link has no text: no click area.
    EXPECT_EQ(words, QStringList({ "prev", "next", "play" }));
    EXPECT_EQ(slideshow->slideA(), -1);
    EXPECT_EQ(slideshow->slideB(), 2);

    document.selectedPhoto = -1;
    slideshow->relayoutFlags(album.get(), 0);
    EXPECT_EQ(slideshow->slideB(), 0);
    // A non-zero flag changes nothing.
    document.trackingAreas.clear();
    slideshow->relayoutFlags(album.get(), 1);
    EXPECT_TRUE(document.trackingAreas.empty());
}

// --- Editor preview ---------------------------------------------------------------------------------------

TEST_F(XmlSlideshowTest, PreviewRunsOnlyWhileVisibleAndFadesInTenTicks)
{
    addPhotos(3);
    slideshow->relayoutFlags(album.get(), 0);
    slideshow->startAnimations();
    // Not on a page that shows the slideshow: no tick.
    EXPECT_TRUE(clock->pending.empty());

    showSlideshowPage();
    slideshow->settings().setFade(true);
    slideshow->startAnimations();
    ASSERT_EQ(clock->pending.size(), 1u);
    EXPECT_DOUBLE_EQ(clock->pending.front().seconds, 0.1);
    EXPECT_FLOAT_EQ(slideshow->mixer(), 1.0f);

    slideshow->mouseClick(QStringLiteral("next"));
    EXPECT_EQ(slideshow->slideA(), 0);
    EXPECT_EQ(slideshow->slideB(), 1);
    EXPECT_EQ(slideshow->mixer(), 0.0f);
    document.redisplayed.clear();
    clock->ticks(9);
    EXPECT_LT(slideshow->mixer(), 1.0f);
    // Between ticks only the picture box is drawn again.
    EXPECT_EQ(document.redisplayed.back(), slideshow->settings().controlRect(5));
    clock->tick();
    EXPECT_EQ(slideshow->mixer(), 1.0f);
    EXPECT_EQ(document.redisplayed.back(), lq::Rect());

    // Without fade the next slide shows at the next tick.
    slideshow->settings().setFade(false);
    slideshow->mouseClick(QStringLiteral("prev"));
    EXPECT_EQ(slideshow->slideB(), 0);
    clock->tick();
    EXPECT_EQ(slideshow->mixer(), 1.0f);

    slideshow->stopAnimations();
    EXPECT_TRUE(clock->pending.empty());
    EXPECT_FALSE(slideshow->playingSlides());
}

TEST_F(XmlSlideshowTest, NextOnTheLastPhotoWrapsEvenWithoutLoopingButTheTimedPreviewStays)
{
    addPhotos(3);
    showSlideshowPage();
    slideshow->settings().setLoopSlideshow(false);
    slideshow->settings().setSeconds(2);
    document.selectedPhoto = 2;
    slideshow->relayoutFlags(album.get(), 0);
    slideshow->startAnimations();

    slideshow->mouseClick(QStringLiteral("next"));
    EXPECT_EQ(slideshow->slideB(), 0);
    slideshow->mouseClick(QStringLiteral("prev"));
    EXPECT_EQ(slideshow->slideB(), 2);
    clock->tick();
    ASSERT_EQ(slideshow->mixer(), 1.0f);

    // Playing: a step every 2 x seconds ticks; on the last photo it stays.
    slideshow->mouseClick(QStringLiteral("play"));
    EXPECT_TRUE(slideshow->playingSlides());
    clock->ticks(3);
    EXPECT_EQ(slideshow->waitTime(), 1);
    clock->tick();
    EXPECT_EQ(slideshow->slideA(), 2);
    EXPECT_EQ(slideshow->slideB(), 2);
    EXPECT_EQ(slideshow->mixer(), 0.0f);

    // With looping the timed preview goes round.
    slideshow->settings().setLoopSlideshow(true);
    clock->ticks(1 + 4);
    EXPECT_EQ(slideshow->slideB(), 0);
}

TEST_F(XmlSlideshowTest, AutoStartPlaysAndTheIndexClickShowsTheAlbumPage)
{
    addPhotos(2);
    showSlideshowPage();
    slideshow->settings().setAutoStart(true);
    slideshow->relayoutFlags(album.get(), 0);
    slideshow->startAnimations();
    EXPECT_TRUE(slideshow->playingSlides());
    slideshow->mouseClick(QStringLiteral("link"));
    ASSERT_EQ(document.selectedPages.size(), 1u);
    EXPECT_EQ(document.selectedPages[0].page, album.get());
    EXPECT_EQ(document.selectedPages[0].index, -1);
}

TEST_F(XmlSlideshowTest, SelectedControlOfAFreeStyleTakesTheGeometryButSavingWritesTheBox)
{
    addPhotos(1);
    showSlideshowPage();
    slideshow->settings().setStyle(1);
    slideshow->settings().setControlString(QStringLiteral("{{300, 300}, {40, 20}}|{{100, 40}, {50, 20}}|{{0, 0}, {0, 0}}|"
                                               "{{0, 0}, {0, 0}}|{{0, 0}, {0, 0}}|{{20, 70}, {300, 200}}"));
    slideshow->relayoutFlags(album.get(), 0);
    ASSERT_EQ(slideshow->objectAtPoint(lq::Point(110, 45)).get(), slideshow.get());
    EXPECT_EQ(slideshow->currentControl(), 1);
    EXPECT_EQ(slideshow->left(), 100);
    slideshow->setLeft(120);
    EXPECT_EQ(slideshow->settings().controlRect(1), lq::Rect(120, 40, 50, 20));
    const QString xml = slideshow->createXml();
    EXPECT_TRUE(xml.contains(" top=\"10\" left=\"10\" width=\"400\" height=\"350\"")) << qPrintable(xml);
    EXPECT_EQ(slideshow->currentControl(), -1);

    // The box lists the shown controls as guides.
    const QStringList rects = slideshow->objectRectArray();
    EXPECT_EQ(rects.first(), QString("{{10, 10}, {400, 350}}"));
    EXPECT_TRUE(rects.contains("{{120, 40}, {50, 20}}"));
    EXPECT_EQ(rects.last(), QString("{{20, 70}, {300, 200}}"));
}

// --- The generated page in a real browser -------------------------------------------------------------------

namespace {

// Runs headless Chromium on the page as the tests of this file look at it.
int runChromium(const QStringList& extra, const QString& url, QByteArray* out, QByteArray* err)
{
    const QStringList arguments { "--headless",
                                  "--disable-quic",
                                  "--hide-scrollbars",
                                  "--force-device-scale-factor=1",
                                  "--window-size=800,600",
                                  "--virtual-time-budget=3000",
                                  "--enable-logging=stderr",
                                  "--v=0" };
    return runHeadlessChromium(arguments + extra, url, out, err);
}

} // namespace

TEST_F(XmlSlideshowTest, GeneratedPageRunsItsSlideshowAndLightboxInChromium)
{
    // The page's photos: a red one first, then a green and a blue one.
    const QColor colours[] = { QColor(220, 30, 30), QColor(30, 200, 30), QColor(30, 30, 220) };
    for (const QColor& colour : colours) {
        const QString path = source(QStringLiteral("c%1.jpg").arg(album->numberChildren()), jpegBytes(200, 150, colour, 95));
        ASSERT_TRUE(album->importPhotoIndexCaption(path, 1000, QStringLiteral("Photo ") + colour.name()));
    }
    slideshow->settings().setPrevLabel(QStringLiteral("Previous"));
    slideshow->settings().setNextLabel(QStringLiteral("Next"));
    slideshow->settings().setIndexLabel(QStringLiteral("Index"));
    slideshow->settings().setPlayLabel(QStringLiteral("Play"));
    slideshow->settings().setStopLabel(QStringLiteral("Stop"));
    slideshow->relayoutFlags(album.get(), 0);

    // The page's photo album opens its pictures in the lightbox.
    photoAlbum->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::Lightbox);
    photoAlbum->settings().setShowCaptions(false);
    photoAlbum->setTop(390);
    photoAlbum->setLeft(10);
    photoAlbum->relayoutFlags(album.get(), 0);
    const auto passOf = [&](XmlCSS* element, PagePass number) {
        QString html;
        element->appendHTMLPagePassSheet(html, album.get(), number, sheet.get());
        return html;
    };

    QString css;
    slideshow->appendCSS(css);
    photoAlbum->appendCSS(css);
    const QString setUp = passOf(photoAlbum.get(), PagePass::HeadScript) + pass(PagePass::HeadScript);
    const QString head = passOf(photoAlbum.get(), PagePass::Head) + pass(PagePass::Head);
    QString body;
    for (int number = int(PagePass::FirstLayer); number <= int(PagePass::AfterPage); ++number)
        body += passOf(photoAlbum.get(), static_cast<PagePass>(number)) + pass(static_cast<PagePass>(number));

    // The steps both elements asked for make the pictures and copy the
    // script, the lightbox and its bitmaps into the site.
    const QDir homepage(folder.filePath("homepage"));
    ASSERT_TRUE(QDir().mkpath(homepage.filePath("pictures")));
    ASSERT_TRUE(QDir().mkpath(homepage.filePath("bitmaps")));
    const QString steps = pass(PagePass::Steps) + passOf(photoAlbum.get(), PagePass::Steps)
        + QStringLiteral("<QZcopy dir=\"homepage\" filename=\"lumenquill.js\" />");
    const auto processor = std::dynamic_pointer_cast<XmlProcessor>(XmlBase::createWithXmlRootDir(
        QStringLiteral("<QZprocessor rootDir=\"") + lq::escape(folder.path()) + QStringLiteral("\" status=\"Page\">\n")
            + steps + QStringLiteral("</QZprocessor>\n"),
        QString()));
    ASSERT_TRUE(processor);
    processor->setDocument(&document);
    processor->run();
    EXPECT_EQ(makePictures(steps), 6);
    for (const char* name : { "lumenquill.js", "lightbox.js", "lightbox.css", "prototype.js", "scriptaculous.js", "effects.js",
                              "bitmaps/close.gif", "bitmaps/loading.gif", "bitmaps/next.gif", "bitmaps/prev.gif" })
        ASSERT_TRUE(QFileInfo::exists(homepage.filePath(name))) << name << "\n" << qPrintable(steps);
    for (int i = 0; i < 3; ++i) {
        const int n = photo(i)->imageSeqNumber();
        for (const QString& name : { QString("pictures/slide%1.jpg").arg(n), QString("pictures/image%1.jpg").arg(n),
                                     QString("pictures/thumb%1.jpg").arg(n) })
            ASSERT_TRUE(QFileInfo::exists(homepage.filePath(name))) << qPrintable(name) << "\n" << qPrintable(steps);
    }
    const int first = photo(0)->imageSeqNumber();
    const int second = photo(1)->imageSeqNumber();

    const QString page =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n<html>\n<head>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n<title>Slideshow</title>\n"
        "<script type=\"text/javascript\">window.lqErrors = []; window.addEventListener('error', function (e) { "
        "window.lqErrors.push(String(e.message)); });</script>\n"
        "<style type=\"text/css\">\nbody { margin: 0px; background-color: #FFFFFF; }\n" + css + "</style>\n"
        + head + "<script type=\"text/javascript\" src=\"lumenquill.js\"></script>\n"
        "<script language=\"JavaScript\" type=\"text/javascript\">\n<!--\n" + setUp + "// -->\n</script>\n"
        "</head>\n<body>\n" + body +
        "<div id=\"xvorn1\"></div><div id=\"xvorn2\"></div>\n"
        "<script language=\"Javascript\" type=\"text/javascript\">\n"
        "insertQuicktime('xvorn1', 'movie.mov', '160', '120', 'false', 'true', 'true', 'false');\n"
        "insertFlash('xvorn2', 'movie.swf', '160', '120', 'true', 'noborder', '#FFFFFF');\n</script>\n"
        "<img id=\"xvornro1\" src=\"pictures/thumb" + QString::number(first) + ".jpg\" "
        "onload=\"vornro1 = new rollOver('xvornro1', 'pictures/thumb" + QString::number(first) + ".jpg', 'pictures/thumb"
        + QString::number(second) + ".jpg')\" style=\"position: absolute; top: 470px; left: 10px;\">\n"
        "<script type=\"text/javascript\">\n"
        "window.addEventListener('load', function () {\n"
        "  var r = {};\n"
        "  var shown = function () { var a = document.getElementById('ssviewerA'), b = document.getElementById('ssviewerB');\n"
        "    var v = a.style.display !== 'none' ? a : b; return v.getAttribute('src'); };\n"
        "  r.first = shown(); r.current = ss.current; r.slides = ss.slides.length;\n"
        "  r.caption = document.getElementById('stext" + QString::number(first) + "').style.display;\n"
        "  ss.next(); r.afterNext = shown();\n"
        "  r.captionAfterNext = document.getElementById('stext" + QString::number(second) + "').style.display;\n"
        "  ss.play(); r.playText = document.getElementById('ssplay').textContent; ss.play();\n"
        "  ss.previous(); ss.goto_slide(2); r.afterGoto = ss.current; ss.goto_slide(0); r.last = shown();\n"
        "  document.querySelectorAll('a[rel=\"lightbox[lq]\"]')[1].click();\n"
        "  r.lightbox = lqLightbox.isOpen(); r.lightboxPicture = document.getElementById('lqlb-picture').getAttribute('src');\n"
        "  lqLightbox.close(); r.lightboxClosed = !lqLightbox.isOpen();\n"
        "  r.video = document.querySelectorAll('#xvorn1 video').length; r.flash = document.querySelectorAll('#xvorn2 object').length;\n"
        "  vornro1.mouseOver(); r.over = document.getElementById('xvornro1').getAttribute('src').indexOf('thumb" + QString::number(second) + "') >= 0;\n"
        "  vornro1.mouseOut();\n"
        "  r.decoded = clickLink('exaeyaeza'); r.checks = fc.checks.length;\n"
        "  r.errors = window.lqErrors;\n"
        "  document.body.setAttribute('data-lqtest', JSON.stringify(r));\n"
        "});\n</script>\n"
        "</body>\n</html>\n";
    const QString index = homepage.filePath("index.html");
    writeAll(index, page.toUtf8());
    const QString url = QUrl::fromLocalFile(index).toString();

    QByteArray out;
    QByteArray err;
    if (runChromium({ "--dump-dom" }, url, &out, &err) != 0)
        GTEST_SKIP() << "chromium cannot start here, so the page is not tried in a browser: " << err.left(400).constData();

    // No script error, in the page's own record or in the browser's console.
    for (const QByteArray& line : err.split('\n')) {
        if (line.contains(":CONSOLE") || line.contains("Uncaught")) {
            EXPECT_FALSE(line.contains("Uncaught") || line.contains("Error")) << line.constData();
        }
    }
    static const QRegularExpression result(QStringLiteral("data-lqtest=\"([^\"]*)\""));
    const auto match = result.match(QString::fromUtf8(out));
    ASSERT_TRUE(match.hasMatch()) << "the page's checks did not run:\n" << err.constData();
    const QString json = match.captured(1).replace("&quot;", "\"").replace("&amp;", "&");
    const QJsonObject r = QJsonDocument::fromJson(json.toUtf8()).object();
    EXPECT_TRUE(r.value("errors").toArray().isEmpty()) << qPrintable(json);
    EXPECT_EQ(r.value("first").toString(), QString("pictures/slide%1.jpg").arg(first)) << qPrintable(json);
    EXPECT_EQ(r.value("current").toInt(), 0);
    EXPECT_EQ(r.value("slides").toInt(), 3);
    EXPECT_EQ(r.value("caption").toString(), QString("block"));
    EXPECT_EQ(r.value("afterNext").toString(), QString("pictures/slide%1.jpg").arg(second));
    EXPECT_EQ(r.value("captionAfterNext").toString(), QString("block"));
    EXPECT_EQ(r.value("playText").toString(), QString("Stop"));
    EXPECT_EQ(r.value("afterGoto").toInt(), 2);
    EXPECT_EQ(r.value("last").toString(), QString("pictures/slide%1.jpg").arg(first));
    EXPECT_TRUE(r.value("lightbox").toBool()) << qPrintable(json);
    EXPECT_EQ(r.value("lightboxPicture").toString(), QString("pictures/image%1.jpg").arg(second));
    EXPECT_TRUE(r.value("lightboxClosed").toBool());
    EXPECT_EQ(r.value("video").toInt(), 1);
    EXPECT_EQ(r.value("flash").toInt(), 1);
    EXPECT_TRUE(r.value("over").toBool());
    EXPECT_EQ(r.value("decoded").toString(), QString("abc"));
    EXPECT_GE(r.value("checks").toInt(), 2);

    // A screenshot of the page as loaded shows the first slide in the picture box.
    const QString shot = folder.filePath("shot.png");
    ASSERT_EQ(runChromium({ "--screenshot=" + shot }, url, &out, &err), 0) << err.constData();
    const QImage image(shot);
    ASSERT_FALSE(image.isNull()) << err.constData();
    lq::Rect frameRect;
    lq::Rect picture;
    photo(0)->loadBackstore(nullptr);
    slideshow->calcPhotoRectFrameRectThumbRect(photo(0), frameRect, picture);
    photo(0)->releaseBackstore(nullptr);
    const QColor centre = image.pixelColor(int(picture.x() + picture.width() / 2), int(picture.y() + picture.height() / 2));
    EXPECT_GT(centre.red(), 170) << qPrintable(centre.name());
    EXPECT_LT(centre.green(), 90) << qPrintable(centre.name());
    EXPECT_LT(centre.blue(), 90) << qPrintable(centre.name());
}

// --- With the template's photo album ----------------------------------------------------------------------

TEST_F(XmlSlideshowTest, ShopAlbumForcesCaptionsAndFillsTheSlideshowTextAndButton)
{
    addPhotos(2);
    XmlPayPalData& item = *photo(0)->paypal();
    item.setItemname(QStringLiteral("Print"));
    item.setPrice(QStringLiteral("12.50"));
    item.setItemid(QStringLiteral("P-1"));
    item.setWeight(QStringLiteral("2"));
    XmlPayPalCommon& shop = *site->homepage()->paypal();
    shop.setPaypaladdress(QStringLiteral("shop@example.org"));
    shop.setCurrency(QStringLiteral("EUR"));
    shop.setWeightunit(1);

    slideshow->settings().setShowCaptions(0);
    EXPECT_EQ(slideshow->settings().showCaptions(), 0);
    photoAlbum->settings().setCartType(XmlWebPhotoAlbum::CartType::BuyNow);
    EXPECT_EQ(slideshow->settings().showCaptions(), 1);
    EXPECT_TRUE(slideshow->createXml().contains(" showCaptions=\"1\""));

    EXPECT_EQ(slideshow->textSubberPhoto(QStringLiteral("{DESCRIPTION} {PRICE} {ID} {ACCOUNT} {CURRENCY} {MEASUREMENT} {SHIPPING}|{MORE}"),
                                         photo(0)),
              QString("Print 12.50 P-1 shop@example.org EUR kgs |"
                      "<input type=\"hidden\" name=\"item_number\" value=\"P-1\">\n"
                      "<input type=\"hidden\" name=\"weight\" value=\"2\">\n"
                      "<input type=\"hidden\" name=\"weight_unit\" value=\"kgs\">\n"));

    photoAlbum->slideshowText()->setContent(QStringLiteral("{DESCRIPTION}\n${PRICE}"));
    photoAlbum->settings().setSlideshowCaption(1);
    EXPECT_EQ(slideshow->captionForPhoto(photo(0)), QString("<p>Caption</p><p>Print</p><p>$12.50</p>"));
    // Not for sale: the caption alone; without the caption setting not even that.
    EXPECT_EQ(slideshow->captionForPhoto(photo(1)), QString("<p>Caption</p>"));
    photoAlbum->settings().setSlideshowCaption(0);
    EXPECT_EQ(slideshow->captionForPhoto(photo(1)), QString(""));

    // The button block of a photo for sale sits under its caption lines.
    photoAlbum->settings().setSlideshowButton(1);
    photoAlbum->buttonHTML()->setContent(QStringLiteral("<form>{DESCRIPTION}</form>"));
    slideshow->relayoutFlags(album.get(), 0);
    const QString html = pass(PagePass::SlideshowControls);
    const lq::Rect caption = slideshow->settings().controlRect(4);
    static const QRegularExpression block(
        QStringLiteral("<div style=\"display: block; position: absolute; top: (\\d+)px; left: (\\d+)px; width: (\\d+)px;\">\n"
                       "<form>Print</form></div>\n</div>"));
    const auto match = block.match(html);
    ASSERT_TRUE(match.hasMatch()) << qPrintable(html);
    EXPECT_GT(match.captured(1).toInt(), int(caption.y()));
    EXPECT_EQ(match.captured(2).toInt(), int(caption.x()));
    EXPECT_EQ(match.captured(3).toInt(), int(caption.width()));
    EXPECT_EQ(html.count("<form>"), 1);
}

TEST_F(XmlSlideshowTest, ShowsOnAlbumPagesWhoseThumbnailsOpenIt)
{
    addPhotos(2);
    slideshow->setCurrentAlbum(album.get());
    photoAlbum->setCurrentAlbum(album.get());
    EXPECT_FALSE(slideshow->visible());
    photoAlbum->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::SlideshowElement);
    EXPECT_TRUE(slideshow->baseVisibility());
    EXPECT_TRUE(slideshow->visible());
    photoAlbum->setVisible(false);
    EXPECT_FALSE(slideshow->visible());

    // A page without photos never shows it.
    const auto empty = XmlAlbum::create();
    site->homepage()->addChild(empty);
    slideshow->setCurrentAlbum(empty.get());
    EXPECT_FALSE(slideshow->visible());
}

TEST_F(XmlSlideshowTest, BeforeAfterPageSwitchesBetweenThePairInChromium)
{
    BeforeAfterPreference on(1);
    addPhotos(4);
    slideshow->settings().setStyle(2);
    slideshow->settings().setSlideRollovers(true);
    slideshow->settings().setBeforeLabel(QStringLiteral("Before"));
    slideshow->settings().setAfterLabel(QStringLiteral("After"));
    slideshow->relayoutFlags(album.get(), 0);

    QString css;
    slideshow->appendCSS(css);
    const QString setUp = pass(PagePass::HeadScript);
    QString body;
    for (int number = int(PagePass::Head); number <= int(PagePass::AfterPage); ++number)
        body += pass(static_cast<PagePass>(number));
    const QDir homepage(folder.filePath("homepage"));
    ASSERT_TRUE(QDir().mkpath(homepage.filePath("pictures")));
    ASSERT_TRUE(QDir().mkpath(homepage.filePath("bitmaps")));
    const QString steps = pass(PagePass::Steps);
    EXPECT_EQ(makePictures(steps), 4);
    ASSERT_TRUE(QFile::copy(lq::resourcePath(QStringLiteral("site/lumenquill.js")), homepage.filePath("lumenquill.js")));
    ASSERT_TRUE(QFile::copy(lq::resourcePath(QStringLiteral("site/transparent.gif")), homepage.filePath("bitmaps/transparent.gif")));

    const QString before = QString("pictures/slide%1.jpg").arg(photo(0)->imageSeqNumber());
    const QString after = QString("pictures/slide%1.jpg").arg(photo(1)->imageSeqNumber());
    const QString page =
        "<html>\n<head>\n<script type=\"text/javascript\">window.lqErrors = []; window.addEventListener('error', "
        "function (e) { window.lqErrors.push(String(e.message)); });</script>\n"
        "<style type=\"text/css\">\n" + css + "p.big {position: absolute; top: 500px; font-size: 40px; }\n</style>\n"
        "<script type=\"text/javascript\" src=\"lumenquill.js\"></script>\n"
        "<script type=\"text/javascript\">\n" + setUp + "fc.addfs(\"big\", 20, 40, \"p.big\");\n</script>\n</head>\n<body>\n"
        + body + "<p id=\"big\" class=\"big\">Big</p>\n" +
        "<script type=\"text/javascript\">\n"
        "window.addEventListener('load', function () {\n"
        "  var r = {}; var front = function () { return ss.front.getAttribute('src'); };\n"
        "  var label = function () { return document.getElementById('ssbeforeafter').textContent; };\n"
        "  r.kind = ss instanceof beforeafter; r.pairs = ss.slides.length; r.first = front(); r.label = label();\n"
        "  ss.beforeafter(); r.after = front(); r.afterLabel = label();\n"
        "  ss.beforeafter(); r.back = front();\n"
        "  r.rollover = document.getElementById('ssrollover').style.display;\n"
        "  ss.next(); r.second = front();\n"
        "  r.bigSize = parseFloat(getComputedStyle(document.getElementById('big')).fontSize);\n"
        "  r.bigHeight = document.getElementById('big').getBoundingClientRect().height;\n"
        "  r.errors = window.lqErrors;\n"
        "  document.body.setAttribute('data-lqtest', JSON.stringify(r));\n"
        "});\n</script>\n</body>\n</html>\n";
    const QString index = homepage.filePath("index.html");
    writeAll(index, page.toUtf8());

    QByteArray out;
    QByteArray err;
    if (runChromium({ "--dump-dom" }, QUrl::fromLocalFile(index).toString(), &out, &err) != 0)
        GTEST_SKIP() << "chromium cannot start here, so the page is not tried in a browser: " << err.left(400).constData();
    for (const QByteArray& line : err.split('\n'))
        EXPECT_FALSE(line.contains("Uncaught")) << line.constData();
    static const QRegularExpression result(QStringLiteral("data-lqtest=\"([^\"]*)\""));
    const auto match = result.match(QString::fromUtf8(out));
    ASSERT_TRUE(match.hasMatch()) << "the page's checks did not run:\n" << err.constData();
    const QString json = match.captured(1).replace("&quot;", "\"").replace("&amp;", "&");
    const QJsonObject r = QJsonDocument::fromJson(json.toUtf8()).object();
    EXPECT_TRUE(r.value("errors").toArray().isEmpty()) << qPrintable(json);
    EXPECT_TRUE(r.value("kind").toBool());
    EXPECT_EQ(r.value("pairs").toInt(), 2);
    EXPECT_EQ(r.value("first").toString(), before) << qPrintable(json);
    EXPECT_EQ(r.value("label").toString(), QString("After"));
    EXPECT_EQ(r.value("after").toString(), after);
    EXPECT_EQ(r.value("afterLabel").toString(), QString("Before"));
    EXPECT_EQ(r.value("back").toString(), before);
    EXPECT_EQ(r.value("rollover").toString(), QString("block"));
    EXPECT_EQ(r.value("second").toString(), QString("pictures/slide%1.jpg").arg(photo(2)->imageSeqNumber()));
    // The font check found a 40-pixel font on a line planned 20 high: the rule shrinks to fit.
    EXPECT_LT(r.value("bigSize").toDouble(), 25.0) << qPrintable(json);
    EXPECT_GT(r.value("bigSize").toDouble(), 5.0) << qPrintable(json);
    EXPECT_LE(r.value("bigHeight").toDouble(), 24.0) << qPrintable(json);
}

// --- Canvas drawing ----------------------------------------------------------------------------------------

TEST_F(XmlSlideshowTest, CanvasDrawsTheCurrentSlideAndDissolvesIntoTheNext)
{
    for (const QColor& colour : { QColor(220, 30, 30), QColor(30, 30, 220) }) {
        const QString path = source(QStringLiteral("d%1.jpg").arg(album->numberChildren()), jpegBytes(200, 150, colour, 95));
        ASSERT_TRUE(album->importPhotoIndexCaption(path, 1000, QStringLiteral("Photo")));
    }
    showSlideshowPage();
    slideshow->settings().setFade(true);
    slideshow->relayoutFlags(album.get(), 0);
    lq::Rect frame;
    lq::Rect picture;
    slideshow->calcPhotoRectFrameRectThumbRect(photo(0), frame, picture);
    const QPoint centre(int(picture.x() + picture.width() / 2), int(picture.y() + picture.height() / 2));

    const auto draw = [&] {
        QImage canvas(500, 400, QImage::Format_ARGB32);
        canvas.fill(Qt::white);
        {
            lq::GraphicsContext::Scope scope(canvas);
            slideshow->drawObject();
            slideshow->drawText();
        }
        return canvas.pixelColor(centre);
    };
    QColor seen = draw();
    EXPECT_GT(seen.red(), 170) << qPrintable(seen.name());
    EXPECT_LT(seen.blue(), 90) << qPrintable(seen.name());

    // Half-way through the fade both slides show; at its end only the second.
    slideshow->startAnimations();
    slideshow->mouseClick(QStringLiteral("next"));
    clock->ticks(5);
    seen = draw();
    EXPECT_GT(seen.red(), 80) << qPrintable(seen.name());
    EXPECT_GT(seen.blue(), 80) << qPrintable(seen.name());
    EXPECT_FALSE(slideshow->imageA().isNull());
    EXPECT_FALSE(slideshow->imageB().isNull());
    clock->ticks(5);
    seen = draw();
    EXPECT_LT(seen.red(), 90) << qPrintable(seen.name());
    EXPECT_GT(seen.blue(), 170) << qPrintable(seen.name());

    slideshow->stopAnimations();
    EXPECT_TRUE(slideshow->imageA().isNull());
    EXPECT_TRUE(slideshow->imageB().isNull());
}

TEST_F(XmlSlideshowTest, TheSlideshowPageTakesThePagePictureOnlyWhenItAllowsIt)
{
    addPhotos(1);
    showSlideshowPage();
    EXPECT_TRUE(sheet->allowImageInBackground());
    slideshow->settings().setAllowBkgndImage(false);
    EXPECT_FALSE(sheet->allowImageInBackground());
    sheet->setPageView(album.get(), XmlStyleSheet::View::Page);
    EXPECT_TRUE(sheet->allowImageInBackground());
}

TEST_F(XmlSlideshowTest, IndexClickOfAPageInAGroupShowsTheGroupWhenThumbnailsOpenTheSlideshow)
{
    const auto group = XmlGroup::create();
    site->homepage()->addChild(group);
    const auto inGroup = XmlAlbum::create();
    group->addChild(inGroup);
    inGroup->addChild(XmlPhoto::create());
    slideshow->setCurrentAlbum(inGroup.get());

    photoAlbum->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::SlideshowElement);
    slideshow->mouseClick(QStringLiteral("link"));
    photoAlbum->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::SlideshowPage);
    slideshow->mouseClick(QStringLiteral("link"));
    ASSERT_EQ(document.selectedPages.size(), 2u);
    EXPECT_EQ(document.selectedPages[0].page, group.get());
    EXPECT_EQ(document.selectedPages[1].page, inGroup.get());
    EXPECT_EQ(document.selectedPages[1].index, -1);
}

TEST_F(XmlSlideshowTest, CanvasDrawsTheBuyButtonUnderTheCaptionOfAPhotoForSale)
{
    addPhotos(1);
    photo(0)->paypal()->setItemname(QStringLiteral("Print"));
    photo(0)->paypal()->setPrice(QStringLiteral("5"));
    photoAlbum->settings().setCartType(XmlWebPhotoAlbum::CartType::BuyNow);
    photoAlbum->settings().setSlideshowButton(1);
    photoAlbum->settings().setSlideshowCaption(0);
    photoAlbum->slideshowText()->setContent(QString());
    showSlideshowPage();
    slideshow->relayoutFlags(album.get(), 0);
    const lq::Rect caption = slideshow->settings().controlRect(4);
    const QImage button(lq::resourcePath(QStringLiteral("site/buynow.png")));
    ASSERT_FALSE(button.isNull());

    QImage canvas(500, 400, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    {
        lq::GraphicsContext::Scope scope(canvas);
        slideshow->drawText2();
    }
    // An empty caption: the button's top is the caption's top, centred across its width.
    const int x = int(caption.x() + (caption.width() - button.width()) * 0.5f);
    const QPoint middle(x + button.width() / 2, int(caption.y()) + 3);
    EXPECT_EQ(canvas.pixelColor(middle).rgb(), button.pixelColor(button.width() / 2, 3).rgb())
        << qPrintable(canvas.pixelColor(middle).name());
}
