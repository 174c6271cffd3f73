#include "templates/XmlPictureFrame.h"
#include "elements/CollageParameters.h"
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
#include "platform/Workspace.h"
#include "platform/graphics/GraphicsImage.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlStyleSheet.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"

#include <QTemporaryDir>

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

int occurrences(const QString& text, const QString& part)
{
    return static_cast<int>(text.count(part));
}

// A site with one album page of photos numbered 1, 2, ...; a theme whose
// template holds the photo album; both in one recording document.
class XmlWebPhotoAlbumTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The slideshow's before-and-after styles count only while the preference is on.
        savedBeforeAfter = MyApplication::shared().enableBeforeAfter();
        MyApplication::shared().setEnableBeforeAfter(1);
        site->newDocument();
        document.siteRoot = site.get();
        site->setDocument(&document);
        theme->setDocument(&document);
        theme->addChild(sheet);
        sheet->addChild(album);
        album->newDocument();
        album->setName(QStringLiteral("Photo Album"));
        page->setPageSeqNumber(7);
        page->setFileName(QStringLiteral("page7.html"));
        site->homepage()->addChild(page);
        album->setTop(0);
        album->setLeft(0);
    }
    void TearDown() override
    {
        MyApplication::shared().setEnableBeforeAfter(savedBeforeAfter);
        lq::setOpenURLHandler({});
        site->setDocument(nullptr);
        theme->setDocument(nullptr);
    }

    void addPhotos(int count)
    {
        for (int i = 0; i < count; ++i) {
            auto photo = XmlPhoto::create();
            page->addChild(photo);
            photo->setImageSeqNumber(page->numberPhotos());
            photos.push_back(photo);
        }
        album->setCurrentAlbum(page.get());
    }

    int savedBeforeAfter = 0;

    QString pass(PagePass number)
    {
        QString html;
        album->appendHTMLPagePassSheet(html, page.get(), number, sheet.get());
        return html;
    }

    // A collage of 3 cells and floating rectangles at x = 1000, 1050, ...
    // (each 100 x 100, overlapping its neighbour) in mode 2.
    void freestyle(int floating)
    {
        album->settings().setAfterDescription(2);
        album->setAttributeTo(QStringLiteral("collage"), album->settings().collageString());
        album->settings().setAutoCropFreestyle(1);
        for (int k = 0; k < floating; ++k)
            album->settings().addFloatingRect(lq::Rect(1000 + 50 * k, 500, 100, 100));
    }

    FakeDocument document;
    std::shared_ptr<XmlSite> site = XmlSite::create();
    std::shared_ptr<XmlTheme> theme = XmlTheme::create();
    std::shared_ptr<XmlStyleSheet> sheet = XmlStyleSheet::create();
    std::shared_ptr<XmlWebPhotoAlbum> album = XmlWebPhotoAlbum::create();
    std::shared_ptr<XmlAlbum> page = XmlAlbum::create();
    std::vector<std::shared_ptr<XmlPhoto>> photos;
};

} // namespace

// --- Model ---------------------------------------------------------------------------------------

TEST(XmlWebPhotoAlbum, NewAlbumWritesItsAttributesAfterTheTextAttributesAndItsPartsInOrder)
{
    auto album = XmlWebPhotoAlbum::create();
    EXPECT_EQ(album->elementName(), QString("cssPhotoAlbum"));
    EXPECT_EQ(album->uniquename(), QString("album"));
    EXPECT_TRUE(album->absolute());
    EXPECT_FALSE(album->canDoubleClick());
    EXPECT_EQ(album->currentPhoto(), -1);
    EXPECT_EQ(album->settings().hasCollage(), 0);

    const QString xml = album->createXml();
    const QString attributes = QStringLiteral(
        " fontsHaveData=\"1\" taspect=\"0\" twidth=\"120\" theight=\"90\" cols=\"3\" rows=\"0\" hspace=\"10\" vspace=\"10\" "
        "showcaptions=\"1\" showtooltips=\"0\" click=\"0\" cabove=\"0\" cspace=\"0\" after=\"0\" asf=\"0\" carttype=\"0\" "
        "buttontype=\"0\" buttonwidth=\"0\" buttonheight=\"0\" thumbcaption=\"0\" slidecaption=\"0\" thumbbutton=\"0\" "
        "slidebutton=\"0\"");
    EXPECT_TRUE(xml.contains(attributes)) << xml.toStdString();
    EXPECT_FALSE(xml.contains("collage=")) << xml.toStdString();
    EXPECT_FALSE(xml.contains("floating=")) << xml.toStdString();

    const qsizetype frame = xml.indexOf("<cssPictureFrame");
    const qsizetype thumbnail = xml.indexOf("<thumbnailText");
    const qsizetype slideshow = xml.indexOf("<slideshowText");
    const qsizetype button = xml.indexOf("<buttonHTML");
    const qsizetype image = xml.indexOf("<buttonImage");
    ASSERT_GT(frame, 0) << xml.toStdString();
    EXPECT_LT(frame, thumbnail);
    EXPECT_LT(thumbnail, slideshow);
    EXPECT_LT(slideshow, button);
    EXPECT_LT(button, image);
    EXPECT_EQ(album->thumbnailText()->content(), QString("{DESCRIPTION}\n${PRICE}\n"));
    EXPECT_EQ(album->slideshowText()->content(), QString("{DESCRIPTION}\n${PRICE}\n"));
    EXPECT_EQ(album->buttonHTML()->content(), QString(""));
}

TEST(XmlWebPhotoAlbum, ReadsBackItsSettingsCollageFloatingRectanglesAndParts)
{
    auto album = XmlWebPhotoAlbum::create();
    album->settings().setAfterDescription(2);
    album->setAttributeTo("collage", "4,500,300,1,2,1|{{0, 0}, {10, 10}}");
    album->settings().addFloatingRect(lq::Rect(100, 120, 60, 40));
    album->settings().addFloatingRect(lq::Rect(200, 220, 60, 40));
    album->settings().setCartType(XmlWebPhotoAlbum::CartType::AddToCart);
    album->settings().setCaptionSpace(-40);
    album->thumbnailText()->setContent("{DESCRIPTION} only");
    album->frame()->setBt(3);
    album->buttonImage()->setBkgnd(1);

    const auto back = std::dynamic_pointer_cast<XmlWebPhotoAlbum>(XmlBase::createWithXmlRootDir(album->createXml(), QString()));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->afterDescription(), 2);
    EXPECT_EQ(back->settings().hasCollage(), 1);
    EXPECT_EQ(back->settings().collageNumberPhotos(), 4);
    EXPECT_EQ(back->settings().collageWidth(), 500);
    EXPECT_EQ(back->settings().collageHeight(), 300);
    EXPECT_EQ(back->settings().collageAllowPhotos(), 1);
    EXPECT_EQ(back->settings().numFloatingRects(), 2);
    EXPECT_EQ(back->settings().floatingRect(1), lq::Rect(200, 220, 60, 40));
    EXPECT_EQ(back->cartType(), XmlWebPhotoAlbum::CartType::AddToCart);
    EXPECT_EQ(back->settings().captionSpace(), -40);
    EXPECT_EQ(back->thumbnailText()->content(), QString("{DESCRIPTION} only"));
    EXPECT_EQ(back->frame()->bt(), 3);
    EXPECT_EQ(back->buttonImage()->bkgnd(), 1);
    EXPECT_EQ(back->frame()->parent(), back.get());
    // The parts were filled in place, never attached as children.
    for (const XmlBasePtr& child : back->children())
        EXPECT_NE(child->elementName(), QString("cssPictureFrame"));
}

TEST(XmlWebPhotoAlbum, DefaultCollageAndThePickersCollageCells)
{
    auto album = XmlWebPhotoAlbum::create();
    album->setAttributeTo("collage", "3,600,200,0,2|{{0, 0}, {199, 200}}|{{201, 0}, {198, 200}}|{{401, 0}, {199, 200}}");
    EXPECT_EQ(album->settings().hasCollage(), 1);
    EXPECT_EQ(album->settings().collageNumberPhotos(), 3);
    EXPECT_EQ(album->settings().collageWidth(), 600);
    EXPECT_EQ(album->settings().collageHeight(), 200);
    EXPECT_EQ(album->settings().collageAllowPhotos(), 0);

    const QStringList cells = CollageParameters::collagePreviewCells(CollageParameters::collageLayout(3, 0), 600, 200, 2);
    EXPECT_EQ(cells, QStringList({ "{{0, 0}, {199, 200}}", "{{201, 0}, {198, 200}}", "{{401, 0}, {199, 200}}" }));
    // The picker's own string has six header fields.
    EXPECT_EQ(CollageParameters::collageStringFor(3, 600, 200, 0, 2, 1),
              QString("3,600,200,0,2,1|{{0, 0}, {199, 200}}|{{201, 0}, {198, 200}}|{{401, 0}, {199, 200}}"));
    // Every layout of the table has one cell per photo.
    for (int photos = 1; photos <= 8; ++photos) {
        for (int style = 0; style < 3; ++style)
            EXPECT_EQ(CollageParameters::collagePreviewCells(CollageParameters::collageLayout(photos, style), 600, 400, 4).size(),
                      photos)
                << photos << " " << style;
    }
}

TEST(XmlWebPhotoAlbum, FloatingRectanglesGrowInRowsOfSixAndAnswerZeroOutsideTheList)
{
    auto album = XmlWebPhotoAlbum::create();
    album->settings().setNumFloatingRects(8);
    ASSERT_EQ(album->settings().numFloatingRects(), 8);
    EXPECT_EQ(album->settings().floatingRect(0), lq::Rect(100, 100, 120, 90));
    EXPECT_EQ(album->settings().floatingRect(5), lq::Rect(600, 100, 120, 90));
    EXPECT_EQ(album->settings().floatingRect(6), lq::Rect(100, 200, 120, 90));
    EXPECT_EQ(album->settings().floatingRect(7), lq::Rect(200, 200, 120, 90));
    EXPECT_EQ(album->settings().floatingRect(-1), lq::Rect());
    EXPECT_EQ(album->settings().floatingRect(8), lq::Rect());
    album->settings().setFloatingRectForIndex(lq::Rect(1, 2, 3, 4), 8);
    EXPECT_EQ(album->settings().numFloatingRects(), 8);
    album->settings().setNumFloatingRects(2);
    EXPECT_EQ(album->settings().floatingString(), QString("{{100, 100}, {120, 90}}|{{200, 100}, {120, 90}}"));
    EXPECT_EQ(album->settings().thumbSizeString(), QString("120 x 90\nSame Size"));

    // Mode 2 without floating photos reads back without any.
    album->settings().setNumFloatingRects(0);
    album->settings().setAfterDescription(2);
    const QString xml = album->createXml();
    EXPECT_TRUE(xml.contains(" floating=\"\"")) << xml.toStdString();
    const auto back = std::dynamic_pointer_cast<XmlWebPhotoAlbum>(XmlBase::createWithXmlRootDir(xml, QString()));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->settings().numFloatingRects(), 0);
}

// --- Layout ------------------------------------------------------------------------------------------

TEST_F(XmlWebPhotoAlbumTest, GridSizeOfSevenPhotosInAFramedCell)
{
    addPhotos(7);
    album->settings().setShowCaptions(false);
    XmlPictureFrame& frame = *album->frame();
    for (auto setter : { &XmlBoxModel::setBt, &XmlBoxModel::setBl, &XmlBoxModel::setBb, &XmlBoxModel::setBr })
        (frame.*setter)(1);
    for (auto setter : { &XmlBoxModel::setPt, &XmlBoxModel::setPl, &XmlBoxModel::setPb, &XmlBoxModel::setPr })
        (frame.*setter)(4);
    album->calcPhotoAlbum();
    EXPECT_EQ(album->photoWidth(), 130);
    EXPECT_EQ(album->photoHeight(), 100);
    EXPECT_EQ(album->internalWidth(), 410);
    EXPECT_EQ(album->internalHeight(), 320);

    frame.setDropShadow(1);
    album->calcPhotoAlbum();
    EXPECT_EQ(album->photoWidth(), 138);
    EXPECT_EQ(album->photoHeight(), 108);

    album->settings().setRows(1);
    EXPECT_EQ(album->internalHeight(), 108);
    EXPECT_EQ(album->settings().cellCount(7), 3);
    album->settings().setCols(0);
    album->settings().setRows(0);
    EXPECT_EQ(album->settings().cellCount(7), 0);
    EXPECT_EQ(album->internalHeight(), 0);
}

TEST_F(XmlWebPhotoAlbumTest, ThumbnailCellsStepByTheFramedSizeAndMoveDownUnderCaptions)
{
    addPhotos(5);
    album->setTop(20);
    album->setLeft(30);
    const XmlBaseList list = page->photoObjects();
    lq::Rect total, frameRect, thumb, caption;
    album->settings().setShowCaptions(false);
    album->calcPhotoObjectsPindexIndexTotalRectFrameRectThumbRectCaptionRect(list, 4, 4, total, frameRect, thumb, caption);
    EXPECT_EQ(thumb, lq::Rect(30 + 130, 20 + 100, 120, 90));
    EXPECT_EQ(frameRect, thumb);
    EXPECT_EQ(total, frameRect);

    // Captions of one line: row 0 is as tall as its tallest caption.
    for (const auto& photo : photos)
        photo->caption()->setContent("<p>Caption</p>");
    album->settings().setShowCaptions(true);
    album->settings().setCaptionSpace(3);
    album->relayoutFlags(page.get(), 0);
    const int row = album->heightForCaptionRow(0);
    ASSERT_GT(row, 0);
    album->calcPhotoObjectsPindexIndexTotalRectFrameRectThumbRectCaptionRect(list, 4, 4, total, frameRect, thumb, caption);
    EXPECT_EQ(thumb.y(), 20 + 100 + row + 3);
    EXPECT_EQ(caption.y(), thumb.maxY() + 3);
    EXPECT_EQ(caption.x(), 30 + 130);
    EXPECT_EQ(total, frameRect.united(caption));

    // A photo past the list gets the fallback rectangles.
    album->calcPhotoObjectsPindexIndexTotalRectFrameRectThumbRectCaptionRect(list, 9, 9, total, frameRect, thumb, caption);
    EXPECT_EQ(thumb, lq::Rect(0, 0, 120, 90));
    EXPECT_EQ(caption, thumb);
}

TEST_F(XmlWebPhotoAlbumTest, RelayoutRegistersPhotoAndCaptionLinkHotRectangles)
{
    addPhotos(3);
    photos[1]->caption()->setContent("<p>See <a href=\"http://example.com/x\">this</a></p>");
    album->relayoutFlags(page.get(), 0);
    QStringList data;
    for (const auto& area : document.trackingAreas) {
        if (area.uuid == album->UUID())
            data.append(area.data);
    }
    EXPECT_EQ(data.filter(QRegularExpression("^photo\\|")).size(), 3) << data.join(" ").toStdString();
    const QStringList captions = data.filter(QRegularExpression("^caption\\|1\\|"));
    ASSERT_EQ(captions.size(), 1) << data.join(" ").toStdString();

    // The caption's link is opened by the system; the page's photos show the slideshow photo.
    QList<QUrl> opened;
    lq::setOpenURLHandler([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    album->mouseClick(captions.first());
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first(), QUrl("http://example.com/x"));
    album->mouseClick("photo|2");
    ASSERT_EQ(document.selectedPages.size(), 1u);
    EXPECT_EQ(document.selectedPages.back().page, page.get());
    EXPECT_EQ(document.selectedPages.back().index, 2);

    // Click operation 2 registers no photo areas.
    album->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::Nothing);
    album->relayoutFlags(page.get(), 0);
    for (const auto& area : document.trackingAreas)
        EXPECT_FALSE(area.data.startsWith("photo|"));
}

// --- Page output ----------------------------------------------------------------------------------------

TEST_F(XmlWebPhotoAlbumTest, PassesOfAnAlbumWithoutLinksOrShop)
{
    addPhotos(5);
    album->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::Nothing);
    album->settings().setShowCaptions(false);
    EXPECT_TRUE(QRegularExpression("^fc\\.addfs\\(\"pp\", \\d+, 14, \"p\\.photo\"\\);\n$").match(pass(PagePass::HeadScript)).hasMatch())
        << pass(PagePass::HeadScript).toStdString();
    EXPECT_EQ(pass(PagePass::Head), QString(""));
    EXPECT_EQ(occurrences(pass(PagePass::AlbumBox), "<div id=\"albumbox\""), 1);
    const QString thumbnails = pass(PagePass::Thumbnails);
    EXPECT_EQ(occurrences(thumbnails, "<img class=\"photo\" src=\"pictures/thumb"), 5) << thumbnails.toStdString();
    EXPECT_FALSE(thumbnails.contains("<a "));
    EXPECT_TRUE(thumbnails.contains("<img class=\"photo\" src=\"pictures/thumb1.jpg\" alt=\"\" style=\"top: 0px; left: 0px; "
                                    "width: 120px; height: 90px;\"/>\n"))
        << thumbnails.toStdString();
    const QString steps = pass(PagePass::Steps);
    EXPECT_EQ(occurrences(steps, "<QZcreateWebImage "), 5);
    for (const auto& photo : photos)
        EXPECT_TRUE(steps.contains("<QZcreateWebImage photo=\"" + photo->UUID() + "\" thumbSize=\"{120, 90}\" />"));
    EXPECT_FALSE(steps.contains("fullSize"));
    EXPECT_FALSE(steps.contains("QZcopy"));
}

TEST_F(XmlWebPhotoAlbumTest, LightboxWritesItsHeadLinesCopyStepsAndFullSizeImages)
{
    addPhotos(2);
    album->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::Lightbox);
    EXPECT_EQ(pass(PagePass::Head), QString("<link rel=\"stylesheet\" href=\"lightbox.css\" type=\"text/css\" media=\"screen\">\n"
                               "<script type=\"text/javascript\" src=\"prototype.js\"></script>\n"
                               "<script type=\"text/javascript\" src=\"scriptaculous.js?load=effects\"></script>\n"
                               "<script type=\"text/javascript\" src=\"lightbox.js\"></script>\n"));
    const QString steps = pass(PagePass::Steps);
    const QString copies = QStringLiteral(
        "<QZcopy dir=\"homepage/bitmaps\" filename=\"blank.gif\" /><QZcopy dir=\"homepage/bitmaps\" filename=\"close.gif\" />"
        "<QZcopy dir=\"homepage/bitmaps\" filename=\"loading.gif\" /><QZcopy dir=\"homepage/bitmaps\" filename=\"next.gif\" />"
        "<QZcopy dir=\"homepage/bitmaps\" filename=\"prev.gif\" /><QZcopy dir=\"homepage\" filename=\"prototype.js\" />"
        "<QZcopy dir=\"homepage\" filename=\"scriptaculous.js\" /><QZcopy dir=\"homepage\" filename=\"lightbox.js\" />"
        "<QZcopy dir=\"homepage\" filename=\"effects.js\" /><QZcopy dir=\"homepage\" filename=\"lightbox.css\" />");
    EXPECT_TRUE(steps.startsWith(copies)) << steps.toStdString();
    EXPECT_EQ(occurrences(steps, "<QZcreateWebImage "), 2);
    EXPECT_EQ(occurrences(steps, "fullSize=\"1\" "), 2);
    // An empty caption gives the lightbox a one-blank title.
    EXPECT_TRUE(pass(PagePass::Thumbnails).contains("<a href=\"pictures/image1.jpg\" rel=\"lightbox[lq]\" title=\" \">")) << pass(PagePass::Thumbnails).toStdString();
}

TEST_F(XmlWebPhotoAlbumTest, FramedThumbnailsCarryTheFrameInTheirStepsAndIEFixUps)
{
    addPhotos(2);
    album->frame()->setDropShadow(1);
    album->frame()->setBt(2);
    album->frame()->setBl(2);
    album->frame()->setBb(2);
    album->frame()->setBr(2);
    album->settings().setShowCaptions(false);
    const QString steps = pass(PagePass::Steps);
    EXPECT_TRUE(steps.contains(" frame=\"" + album->frame()->UUID() + "\" frameRect=\"{{0, 0}, {132, 102}}\" thumbRect=\"{{2, 2}, {120, 90}}\"/>"))
        << steps.toStdString();
    EXPECT_TRUE(pass(PagePass::Thumbnails).contains("<img id=\"thumb1\" class=\"floatphoto\" src=\"pictures/thumb1.png\" alt=\"\" style=\"top: 0px; "
                                  "left: 0px; width: 132px; height: 102px;\"/>"))
        << pass(PagePass::Thumbnails).toStdString();
    QString css;
    album->appendCSSWinIESuffix(css, "_ie");
    EXPECT_EQ(occurrences(css, "img#thumb"), 2);
    QString script;
    album->appendJavascriptWinIE(script);
    EXPECT_TRUE(script.startsWith("\nvar imgElement;\nimgElement = document.getElementById('thumb1');\n"
                                  "imgElement.src = \"bitmaps/transparent.gif\";\n"))
        << script.toStdString();
}

TEST_F(XmlWebPhotoAlbumTest, BuyNowFormIsExactAndItemValuesReachItEscaped)
{
    addPhotos(1);
    album->settings().setCartType(XmlWebPhotoAlbum::CartType::None);
    album->setDefaultButtonHTML();
    EXPECT_EQ(album->buttonHTML()->content(), QString(""));
    album->settings().setCartType(XmlWebPhotoAlbum::CartType::BuyNow);
    album->setDefaultButtonHTML();
    const QString form = "<form target=\"paypal\" action=\"" + XmlPayPalCommon::paymentEndpoint() + "\" method=\"post\">\n"
        "<div style=\"display: block; width: 86px; position: relative; margin: 0 auto;\">\n"
        "<input type=\"image\" src=\"bitmaps/buynow.png\" style=\"border: 0;\" name=\"submit\" alt=\"PayPal - The safer, easier way to pay online!\">\n"
        "</div>\n"
        "<input type=\"hidden\" name=\"cmd\" value=\"_xclick\">\n"
        "<input type=\"hidden\" name=\"business\" value=\"{ACCOUNT}\">\n"
        "<input type=\"hidden\" name=\"item_name\" value=\"{DESCRIPTION}\">\n"
        "<input type=\"hidden\" name=\"amount\" value=\"{PRICE}\">\n"
        "<input type=\"hidden\" name=\"currency_code\" value=\"{CURRENCY}\">\n"
        "<input type=\"hidden\" name=\"bn\" value=\"PP-BuyNowBF\">\n"
        "{MORE}</form>\n";
    EXPECT_EQ(album->buttonHTML()->content(), form);
    EXPECT_TRUE(XmlPayPalCommon::paymentEndpoint().startsWith("https://"));

    XmlPayPalData& item = *photos[0]->paypal();
    item.setItemname("8\"x10\" print");
    item.setPrice("12.50");
    item.setWeight("2");
    const QString filled = album->textSubberPhoto(album->buttonHTML()->content(), photos[0].get());
    EXPECT_TRUE(filled.contains("name=\"item_name\" value=\"8&quot;x10&quot; print\">")) << filled.toStdString();
    EXPECT_TRUE(filled.contains("name=\"amount\" value=\"12.50\">"));
    EXPECT_TRUE(filled.contains("<input type=\"hidden\" name=\"weight\" value=\"2\">\n<input type=\"hidden\" name=\"weight_unit\" value=\"lbs\">\n"))
        << filled.toStdString();
    EXPECT_FALSE(filled.contains("{MORE}"));
    EXPECT_EQ(album->textSubberPhoto("{description}", photos[0].get()), QString("{description}"));

    // The page carries the form under the caption, with the copy of the button.
    album->settings().setThumbnailButton(1);
    album->relayoutFlags(page.get(), 0);
    const QString thumbnails = pass(PagePass::Thumbnails);
    EXPECT_EQ(occurrences(thumbnails, "<form target=\"paypal\""), 1) << thumbnails.toStdString();
    EXPECT_TRUE(thumbnails.contains("8&quot;x10&quot; print"));
    EXPECT_TRUE(pass(PagePass::Steps).contains("<QZcopy dir=\"homepage/bitmaps\" filename=\"buynow.png\" />"));
}

// --- Canvas ------------------------------------------------------------------------------------------------

TEST_F(XmlWebPhotoAlbumTest, OverlappingFloatingPhotosSelectTheOneOnTopAndStepInOrder)
{
    addPhotos(5);
    freestyle(4);
    // Floating photos 0 (x 1000..1100) and 1 (x 1050..1150) overlap at x 1075.
    EXPECT_EQ(album->objectAtPoint(lq::Point(1075, 550)).get(), album.get());
    EXPECT_EQ(album->currentPhoto(), 1);
    EXPECT_EQ(album->top(), 500);
    EXPECT_EQ(album->left(), 1050);

    // A miss outside every photo and the collage box.
    EXPECT_EQ(album->objectAtPoint(lq::Point(3000, 3000)), nullptr);
    EXPECT_EQ(album->currentPhoto(), -1);
    // The collage box answers the album without a photo.
    EXPECT_EQ(album->objectAtPoint(lq::Point(10, 10)).get(), album.get());
    EXPECT_EQ(album->currentPhoto(), -1);

    EXPECT_TRUE(album->hasNextSelectableObjectInside(false));
    EXPECT_EQ(album->currentPhoto(), 0);
    EXPECT_TRUE(album->hasNextSelectableObjectInside(false));
    EXPECT_EQ(album->currentPhoto(), 1);
    EXPECT_FALSE(album->hasNextSelectableObjectInside(false));
    EXPECT_EQ(album->currentPhoto(), -1);
    album->hasNextSelectableObjectInside(false);
    EXPECT_FALSE(album->hasNextSelectableObjectInside(true));
    EXPECT_EQ(album->currentPhoto(), -1);

    // Moving the selected photo moves its rectangle only.
    album->objectAtPoint(lq::Point(1010, 510));
    ASSERT_EQ(album->currentPhoto(), 0);
    album->setTop(600);
    EXPECT_EQ(album->settings().floatingRect(0), lq::Rect(1000, 600, 100, 100));
    EXPECT_EQ(album->top2(), 0);
    // The page's album box is the collage box, whatever is selected.
    EXPECT_TRUE(pass(PagePass::AlbumBox).startsWith("<div id=\"albumbox\" style=\"top: 0px; left: 0px; width: 600px; height: 200px;\">"))
        << pass(PagePass::AlbumBox).toStdString();
    EXPECT_EQ(album->currentPhoto(), 0);
}

TEST_F(XmlWebPhotoAlbumTest, FreestylePagesWriteCollageCellsWithoutFramesAndFloatingPhotosLinked)
{
    addPhotos(5);
    freestyle(4);
    album->frame()->setDropShadow(1);
    album->settings().setShowCaptions(false);
    const QString thumbnails = pass(PagePass::Thumbnails);
    EXPECT_EQ(occurrences(thumbnails, "<img class=\"floatphoto\" src=\"pictures/thumb"), 3) << thumbnails.toStdString();
    EXPECT_EQ(occurrences(thumbnails, "<img id=\"thumb"), 2);
    // The collage's photos are not in the slideshow: only floating photos link to it.
    EXPECT_EQ(occurrences(thumbnails, "<a href=\"slideshow7.html#"), 2);
    EXPECT_TRUE(thumbnails.contains("<a href=\"slideshow7.html#3\">"));
    const QString steps = pass(PagePass::Steps);
    EXPECT_EQ(occurrences(steps, "<QZcreateWebImage "), 5);
    EXPECT_EQ(occurrences(steps, " frame=\""), 2);

    const std::shared_ptr<XmlPhoto> found = album->photoForEditingAtPoint(lq::Point(1140, 550));
    EXPECT_EQ(found, photos[4]);
    // A Control-click on the canvas asks the template, which asks the album.
    EXPECT_EQ(sheet->objectForEditingAtPoint(lq::Point(1140, 550)), photos[4]);
    EXPECT_EQ(album->objectRectArray().size(), 3);
}

TEST_F(XmlWebPhotoAlbumTest, BeforeAndAfterGroupsShareTheGeometryOfTheirThumbnail)
{
    auto show = XmlSlideshow::create();
    show->setName("Slideshow");
    sheet->addChild(show);
    show->settings().setStyle(2);
    show->settings().setThumbRollovers(true);
    addPhotos(6);
    album->settings().setShowCaptions(false);
    EXPECT_TRUE(album->beforeAfter());
    EXPECT_EQ(album->numberOfThumbnails(page->photoObjects()), 2);
    const QString thumbnails = pass(PagePass::Thumbnails);
    EXPECT_EQ(occurrences(thumbnails, "<img "), 2);
    EXPECT_TRUE(thumbnails.contains("onload=\"thumbrr4 = new rollOver('thumb4', 'pictures/thumb4.jpg', 'pictures/thumb6.jpg')\""))
        << thumbnails.toStdString();
    const QString steps = pass(PagePass::Steps);
    EXPECT_EQ(occurrences(steps, "<QZcreateWebImage "), 6);
    const std::shared_ptr<XmlPhoto> second = album->photoForEditingAtPoint(lq::Point(130 + 5, 5));
    EXPECT_EQ(second, photos[3]);
}

TEST_F(XmlWebPhotoAlbumTest, AlbumOnAPageWithoutPhotosIsInvisible)
{
    album->setCurrentAlbum(page.get());
    EXPECT_FALSE(album->visible());
    EXPECT_EQ(album->objectAtPoint(lq::Point(5, 5)), nullptr);
    EXPECT_EQ(album->photoForEditingAtPoint(lq::Point(5, 5)), nullptr);
}

TEST_F(XmlWebPhotoAlbumTest, CentredThumbnailsKeepTheFrameAndArePaddedIntoItsMiddle)
{
    QTemporaryDir sources;
    ASSERT_TRUE(sources.isValid());
    const QString path = sources.filePath("wide.jpg");
    writeAll(path, jpegBytes(60, 30));
    const std::shared_ptr<XmlPhoto> wide = XmlPhoto::createFromFile(path);
    ASSERT_TRUE(wide);
    page->addChild(wide);
    wide->setImageSeqNumber(1);
    album->setCurrentAlbum(page.get());
    album->settings().setShowCaptions(false);

    const XmlBaseList list = page->photoObjects();
    album->settings().setThumbAspect(XmlWebPhotoAlbum::ThumbAspect::Centred);
    XmlWebPhotoAlbum::Cell cell = album->cellRects(list, 0, 0);
    EXPECT_EQ(cell.frame, lq::Rect(0, 0, 120, 90));
    EXPECT_EQ(cell.thumb, lq::Rect(0, 15, 120, 60));
    EXPECT_TRUE(pass(PagePass::Thumbnails).contains("width: 120px; height: 60px; padding: 15px 0px 15px 0px;\"/>")) << pass(PagePass::Thumbnails).toStdString();

    album->settings().setThumbAspect(XmlWebPhotoAlbum::ThumbAspect::SameAspect);
    cell = album->cellRects(list, 0, 0);
    EXPECT_EQ(cell.frame, cell.thumb);
    EXPECT_EQ(cell.thumb, lq::Rect(0, 15, 120, 60));

    album->settings().setThumbAspect(XmlWebPhotoAlbum::ThumbAspect::SameSize);
    EXPECT_EQ(album->cellRects(list, 0, 0).thumb, lq::Rect(0, 0, 120, 90));
}

TEST_F(XmlWebPhotoAlbumTest, CaptionsAboveStandOverTheirFrameAndPushTheRowDown)
{
    addPhotos(2);
    for (const auto& photo : photos)
        photo->caption()->setContent("<p>Caption</p>");
    album->settings().setCaptionsAbove(true);
    album->settings().setCaptionSpace(4);
    album->relayoutFlags(page.get(), 0);
    const int row = album->heightForCaptionRow(0);
    ASSERT_GT(row, 0);
    const XmlWebPhotoAlbum::Cell cell = album->cellRects(page->photoObjects(), 1, 1);
    EXPECT_EQ(cell.frame.y(), row + 4);
    EXPECT_EQ(cell.caption.maxY(), cell.frame.y() - 4);
    EXPECT_EQ(album->internalHeight(), 90 + row + 4);
    // Every caption paragraph but the page's first goes without the font-check id.
    const QString thumbnails = pass(PagePass::Thumbnails);
    EXPECT_EQ(occurrences(thumbnails, "<p id=\"pp\" class=\"photo\""), 1) << thumbnails.toStdString();
    EXPECT_GE(occurrences(thumbnails, "<p class=\"photo\""), 1);
}

TEST_F(XmlWebPhotoAlbumTest, AFirstCaptionOfSeveralLinesCarriesTheFontCheckIdOnce)
{
    addPhotos(2);
    photos[0]->caption()->setContent("<p>Sunrise over the harbour on the first morning</p>");
    photos[1]->caption()->setContent("<p>Caption</p>");
    album->relayoutFlags(page.get(), 0);
    const QString thumbnails = pass(PagePass::Thumbnails);
    // The caption wraps under its 120-pixel thumbnail; an id names one element of the page.
    EXPECT_EQ(occurrences(thumbnails, "<p id=\"pp\" class=\"photo\""), 1) << thumbnails.toStdString();
    EXPECT_GE(occurrences(thumbnails, "<p class=\"photo\""), 2) << thumbnails.toStdString();
}

TEST_F(XmlWebPhotoAlbumTest, ClicksOnPhotosOpenThePictureOrFollowTheCaptionLink)
{
    addPhotos(2);
    QList<QUrl> opened;
    lq::setOpenURLHandler([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    album->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::NewWindow);
    album->mouseClick("photo|1");
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened.first().isLocalFile());
    EXPECT_TRUE(opened.first().toLocalFile().endsWith("/pictures/image2.jpg")) << opened.first().toString().toStdString();

    // A link that is a page of the site shows that page; any other is opened.
    auto other = XmlAlbum::create();
    other->setPageSeqNumber(8);
    other->setFileName("page8.html");
    site->homepage()->addChild(other);
    document.pages = { page, other };
    album->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::CaptionLink);
    photos[0]->caption()->setEmbeddedLink(other->UUID());
    photos[1]->caption()->setEmbeddedLink(QStringLiteral("http://example.org/"));
    album->mouseClick("photo|0");
    ASSERT_EQ(document.selectedPages.size(), 1u);
    EXPECT_EQ(document.selectedPages.back().page, other.get());
    EXPECT_EQ(document.selectedPages.back().index, -1);
    album->mouseClick("photo|1");
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened.last(), QUrl("http://example.org/"));

    // Nothing happens for unknown kinds and for click operation 2.
    album->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::Nothing);
    album->mouseClick("photo|0");
    album->mouseClick("other|0");
    EXPECT_EQ(opened.size(), 2);
    EXPECT_EQ(document.selectedPages.size(), 1u);
}

TEST_F(XmlWebPhotoAlbumTest, SitePlaceholdersAndOptionalItemFields)
{
    addPhotos(1);
    XmlPayPalCommon& common = *site->homepage()->paypal();
    common.setPaypaladdress("shop@example.com");
    common.setCurrency("EUR");
    common.setWeightunit(1);
    XmlPayPalData& item = *photos[0]->paypal();
    item.setItemname("Print");
    item.setPrice("5");
    item.setItemid("A<1>");
    item.setShipping("2");
    item.setSalestax("1");
    const QString filled =
        album->textSubberPhoto("{ACCOUNT} {CURRENCY} {MEASUREMENT} {ID} {PRICE}|{MORE}", photos[0].get());
    EXPECT_EQ(filled, QString("shop@example.com EUR kgs A&lt;1&gt; 5|"
                              "<input type=\"hidden\" name=\"item_number\" value=\"A&lt;1&gt;\">\n"
                              "<input type=\"hidden\" name=\"shipping\" value=\"2\">\n"
                              "<input type=\"hidden\" name=\"tax\" value=\"1\">\n"));
}

namespace {

// Records the thumbnail resizes the album queues.
class QueueingDocument : public FakeDocument {
public:
    void resizeThumbnails(const QList<ThumbnailResize>& thumbnails) override { resizes.push_back(thumbnails); }
    std::vector<QList<ThumbnailResize>> resizes;
};

} // namespace

TEST(XmlWebPhotoAlbumCanvas, DrawingQueuesTheThumbnailsOfTheWrongSizeAndDrawsTheOthers)
{
    QueueingDocument document;
    auto site = XmlSite::create();
    site->newDocument();
    document.siteRoot = site.get();
    site->setDocument(&document);
    auto theme = XmlTheme::create();
    theme->setDocument(&document);
    auto sheet = XmlStyleSheet::create();
    theme->addChild(sheet);
    auto album = XmlWebPhotoAlbum::create();
    sheet->addChild(album);
    auto page = XmlAlbum::create();
    site->homepage()->addChild(page);

    QTemporaryDir sources;
    ASSERT_TRUE(sources.isValid());
    for (int i = 0; i < 2; ++i) {
        const QString path = sources.filePath(QString("p%1.jpg").arg(i));
        writeAll(path, jpegBytes(120, 90, Qt::red));
        auto photo = XmlPhoto::createFromFile(path);
        ASSERT_TRUE(photo);
        page->addChild(photo);
    }
    album->setCurrentAlbum(page.get());
    album->settings().setShowCaptions(false);
    album->settings().setThumbWidth(60);
    album->settings().setThumbHeight(45);

    lq::GraphicsImage canvas = lq::GraphicsImage::withSize(lq::Size(200, 100));
    {
        lq::GraphicsImage::Focus focus(canvas);
        album->drawObject();
        album->drawText();
    }
    ASSERT_EQ(document.resizes.size(), 1u);
    ASSERT_EQ(document.resizes[0].size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(document.resizes[0][i].photo, page->photoObjects()[i]->UUID());
        EXPECT_EQ(document.resizes[0][i].size, lq::Size(60, 45));
    }

    // Once made at the album's size, the thumbnails are drawn where their cells are.
    for (const XmlBasePtr& child : page->photoObjects())
        XmlPhoto::cast(child.get())->resizeThumbnail("{60, 45}");
    {
        lq::GraphicsImage::Focus focus(canvas);
        album->drawText();
    }
    EXPECT_EQ(document.resizes.size(), 1u);
    const QImage drawn = canvas.toQImage();
    // JPEG red, a shade either way.
    EXPECT_GT(QColor(drawn.pixel(30, 20)).red(), 240);
    EXPECT_GT(QColor(drawn.pixel(100, 20)).red(), 240);
    EXPECT_LT(QColor(drawn.pixel(100, 20)).green(), 20);
    EXPECT_EQ(qAlpha(drawn.pixel(65, 20)), 0);

    site->setDocument(nullptr);
    theme->setDocument(nullptr);
}

TEST_F(XmlWebPhotoAlbumTest, EmptyGridsWriteNothingAndEachCartCopiesItsOwnButton)
{
    addPhotos(3);
    album->settings().setCols(0);
    album->settings().setRows(0);
    EXPECT_EQ(pass(PagePass::AlbumBox), QString(""));
    EXPECT_EQ(pass(PagePass::Thumbnails), QString(""));
    EXPECT_FALSE(pass(PagePass::Steps).contains("QZcreateWebImage"));

    album->settings().setCols(3);
    const struct {
        XmlWebPhotoAlbum::CartType cart;
        const char* copied;
        const char* other;
    } carts[] = { { XmlWebPhotoAlbum::CartType::BuyNow, "buynow.png", "addtocart.png" },
                  { XmlWebPhotoAlbum::CartType::AddToCart, "addtocart.png", "buynow.png" } };
    for (const auto& cart : carts) {
        album->settings().setCartType(cart.cart);
        const QString steps = pass(PagePass::Steps);
        EXPECT_EQ(occurrences(steps, QString("filename=\"") + cart.copied + "\""), 1) << cart.copied;
        EXPECT_FALSE(steps.contains(cart.other)) << cart.copied;
    }
}

TEST_F(XmlWebPhotoAlbumTest, BeforeAndAfterRolloversFixEveryShownPhotoForIE)
{
    auto show = XmlSlideshow::create();
    show->setName("Slideshow");
    sheet->addChild(show);
    show->settings().setStyle(3);
    show->settings().setThumbRollovers(true);
    addPhotos(6);
    album->frame()->setDropShadow(1);
    QString css;
    album->appendCSSWinIESuffix(css, "_ie");
    // Photos 0, 2, 3 and 5 (picture numbers 1, 3, 4, 6): each thumbnail and its rollover.
    QStringList rules;
    for (const QRegularExpressionMatch& match : QRegularExpression("img#thumb(\\d+) ").globalMatch(css))
        rules.append(match.captured(1));
    EXPECT_EQ(rules, QStringList({ "1", "3", "4", "6" })) << css.toStdString();
    QString script;
    album->appendJavascriptWinIE(script);
    EXPECT_EQ(occurrences(script, "imgElement.src"), 4);
}

TEST_F(XmlWebPhotoAlbumTest, GroupPagesLinkEachThumbnailToItsPage)
{
    auto group = XmlGroup::create();
    group->setPageSeqNumber(3);
    group->setFileName("page3.html");
    site->homepage()->addChild(group);
    std::vector<std::shared_ptr<XmlAlbum>> pages;
    for (int i = 0; i < 2; ++i) {
        auto child = XmlAlbum::create();
        child->setPageSeqNumber(10 + i);
        child->setFileName(QString("page%1.html").arg(10 + i));
        group->addChild(child);
        pages.push_back(child);
    }
    album->setCurrentAlbum(group.get());
    album->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::Nothing);
    album->settings().setShowCaptions(false);
    QString html;
    album->appendHTMLPagePassSheet(html, group.get(), PagePass::Thumbnails, sheet.get());
    EXPECT_TRUE(html.contains("<a href=\"page10.html\">")) << html.toStdString();
    EXPECT_TRUE(html.contains("<a href=\"page11.html\">")) << html.toStdString();

    // A group page registers its photos whatever the click operation; a click shows the page.
    album->relayoutFlags(group.get(), 0);
    int photoAreas = 0;
    for (const auto& area : document.trackingAreas)
        photoAreas += area.data.startsWith("photo|") ? 1 : 0;
    EXPECT_EQ(photoAreas, 2);
    album->mouseClick("photo|1");
    ASSERT_EQ(document.selectedPages.size(), 1u);
    EXPECT_EQ(document.selectedPages.back().page, pages[1].get());
    EXPECT_EQ(document.selectedPages.back().index, -1);
}

// The theme's housekeeping (which pictures a save keeps, which it renames,
// what a publish copies) reaches the pictures of the frame and the button
// image, which the album owns outside its children.
TEST_F(XmlWebPhotoAlbumTest, ThemeHousekeepingReachesTheFrameAndTheButtonPicture)
{
    album->image()->setImageUUID(QStringLiteral("A000000000000001"));
    album->frame()->image()->setImageUUID(QStringLiteral("F000000000000002"));
    album->buttonImage()->image()->setImageUUID(QStringLiteral("B000000000000003"));

    QStringList names;
    sheet->listOfBitmaps(names);
    EXPECT_EQ(names, (QStringList { "F000000000000002", "B000000000000003", "A000000000000001" }));

    QStringList files;
    album->listOfFilesToCopyAll(files, true);
    EXPECT_EQ(files.size(), 3) << files.join(u' ').toStdString();
    EXPECT_TRUE(files.first().startsWith(QStringLiteral("bitmaps2/F000000000000002"))) << files.first().toStdString();

    sheet->changeImageUUID({ { QStringLiteral("F000000000000002"), QStringLiteral("C000000000000004") },
                             { QStringLiteral("B000000000000003"), QStringLiteral("C000000000000004") } });
    EXPECT_EQ(album->frame()->image()->imageUUID(), QStringLiteral("C000000000000004"));
    EXPECT_EQ(album->buttonImage()->image()->imageUUID(), QStringLiteral("C000000000000004"));
    EXPECT_EQ(album->image()->imageUUID(), QStringLiteral("A000000000000001"));
}
