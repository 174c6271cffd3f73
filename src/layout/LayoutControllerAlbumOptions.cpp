// The photo pages' own sheets: the photo album and the slideshow, filled
// when their element is selected, and the PayPal sheet, filled from the
// template's photo album whatever is selected, which also decides whether
// the inspector has a slideshow sheet at all.
#include "layout/LayoutController.h"

#include "editors/photo/ImageWell.h"
#include "elements/XmlSlideshow.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "layout/InspectorTags.h"
#include "model/application/MyApplication.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "platform/ExceptionFrame.h"
#include "platform/widgets/ControlTags.h"
#include "platform/widgets/ControlValues.h"
#include "platform/widgets/MyPopUpButton.h"
#include "platform/widgets/MyTabView.h"
#include "platform/widgets/MyTextView.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <QScopedValueRollback>
#include <QSignalBlocker>

#include <typeinfo>

namespace {

void showPlainText(MyTextView* view, XmlBase* stored)
{
    const QSignalBlocker quiet(view);
    view->setPlainText(stored ? stored->content() : QString());
}

// The captions pop-up: 2 above the photos, 1 below, 3 only as tool tips, 0 none.
int captionsIndex(const XmlWebPhotoAlbum& album)
{
    if (album.showCaptions())
        return album.captionsAbove() ? 2 : 1;
    return album.showToolTips() ? 3 : 0;
}

bool beforeAndAfter(int style)
{
    return style == 2 || style == 3;
}

} // namespace

// --- Photo album -------------------------------------------------------------------------------------

void LayoutController::fillPhotoAlbumSheet(XmlWebPhotoAlbum& album)
{
    lq::uiFrame(this, "fillPhotoAlbumSheet", [&] {
        // A group page's album shows its pages, which a click opens.
        _paOptions->setHidden(XmlGroup::cast(getAlbum().get()) != nullptr);
        if (!album.frame())
            return;
        QWidget* view = sheetView(QStringLiteral("photoalbum"));
        lq::showText(view, 500, album.thumbSizeString());
        lq::showNumberPair(view, 501, album.spaceColumns());
        lq::showNumberPair(view, 503, album.spaceRows());
        lq::showIndex(view, 505, captionsIndex(album));
        lq::showNumberPair(view, 542, album.captionSpace());
        lq::showState(view, 544, album.firstLine());
        showFont(view, album.font().get(), {.font = 506, .size = 507, .color = 509, .underline = 510, .italic = 511, .bold = 512,
                                               .alignment = 513});
        lq::showCell(view, 516, 517 + static_cast<int>(album.clickOp()));
        lq::showState(view, 580, album.hasCollage() != 0);
        lq::showNumberPair(view, 582, album.numFloatingRects());
        lq::showState(view, 586, album.autoCropFreestyle() != 0);
        lq::showIndex(view, 550, album.afterDescription());
        showAlbumLayout(album);
    });
}

void LayoutController::showAlbumLayout(XmlWebPhotoAlbum& album)
{
    QWidget* view = sheetView(QStringLiteral("photoalbum"));
    const bool freeStyle = album.afterDescription() == 2;
    _paThumbnail->setHidden(freeStyle);
    _paFreeStyle->setVisible(freeStyle);
    lq::showText(view, InspectorTag::widthLabel, freeStyle ? QStringLiteral("Width") : QStringLiteral("Columns"));
    lq::showText(view, InspectorTag::heightLabel, freeStyle ? QStringLiteral("Height") : QStringLiteral("Rows"));
    lq::showNumberPair(view, 528, freeStyle ? album.width() : album.cols());
    lq::showNumberPair(view, 530, freeStyle ? album.height() : album.rows());
}

// --- Slideshow -----------------------------------------------------------------------------------------

void LayoutController::fillSlideshowSheet(XmlSlideshow& slideshow)
{
    lq::uiFrame(this, "fillSlideshowSheet", [&] {
        QWidget* view = sheetView(QStringLiteral("slideshow"));
        // The before-and-after styles are offered only while the preference allows them.
        auto* styles = qobject_cast<MyPopUpButton*>(lq::viewWithTag(view, InspectorTag::slideshowStyle));
        {
            const QSignalBlocker quiet(styles);
            styles->clear();
            styles->addItemWithTag(QStringLiteral("Standard"), 0);
            styles->addItemWithTag(QStringLiteral("FreeStyle"), 1);
            if (MyApplication::shared().enableBeforeAfter()) {
                styles->addItemWithTag(QStringLiteral("Before/After"), 2);
                styles->addItemWithTag(QStringLiteral("B/A FreeStyle"), 3);
            }
        }
        const int style = slideshow.style();
        lq::showIndex(view, InspectorTag::slideshowStyle, style);
        showSlideshowStyle(slideshow);

        const bool twoPictures = beforeAndAfter(style);
        lq::showNumberPair(view, 926, slideshow.seconds());
        lq::showState(view, 929, slideshow.autoStart());
        lq::showState(view, 930, slideshow.fade());
        lq::showState(view, 933, slideshow.thumbRollovers());
        lq::showState(view, 934, slideshow.slideRollovers());
        lq::showState(view, 935, slideshow.reverseThumbs());
        lq::showState(view, 910, slideshow.showBkgndBox());
        lq::showState(view, 911, slideshow.showCaptions());
        lq::showState(view, 912, slideshow.showPrevNextControls());
        lq::showState(view, 913, twoPictures ? slideshow.showBeforeAfterControls() : slideshow.showPlayControls());
        lq::showState(view, 914, slideshow.showIndexLabel());
        lq::showState(view, 953, slideshow.topAlignPic());
        lq::showText(view, 915, slideshow.prevLabel());
        lq::showText(view, 916, slideshow.nextLabel());
        lq::showText(view, 917, twoPictures ? slideshow.beforeLabel() : slideshow.playLabel());
        lq::showText(view, 918, twoPictures ? slideshow.afterLabel() : slideshow.stopLabel());
        lq::showText(view, 919, slideshow.indexLabel());
        lq::showState(view, 920, slideshow.loopSlideshow());
        lq::showState(view, 936, slideshow.randomOrder());
        lq::showState(view, 959, slideshow.allowBkgndImage());
        showFont(view, slideshow.font().get(), {.font = 946, .size = 947, .color = 952, .alignment = 960, .lineSpacing = 955,
                                                   .underlineLinks = 963, .links = 964});
        showFont(view, slideshow.controlFont().get(), {.font = 976, .size = 977, .color = 982, .underline = 949, .italic = 950,
                                                          .bold = 951, .underlineLinks = 970, .links = 971});
    });
}

void LayoutController::showSlideshowStyle(XmlSlideshow& slideshow)
{
    QWidget* view = sheetView(QStringLiteral("slideshow"));
    const bool twoPictures = beforeAndAfter(slideshow.style());
    lq::showControls(view, InspectorTag::playingControls, !twoPictures);
    lq::showText(view, InspectorTag::firstLabelName, twoPictures ? QStringLiteral("Before") : QStringLiteral("Play"));
    lq::showText(view, InspectorTag::secondLabelName, twoPictures ? QStringLiteral("After") : QStringLiteral("Stop"));
    lq::showControls(view, InspectorTag::rolloverChecks, twoPictures);
    lq::showControls(view, {InspectorTag::reverseThumbs}, false);
}

// --- PayPal -----------------------------------------------------------------------------------------------

void LayoutController::albumOptionsSet()
{
    lq::uiFrame(this, "albumOptionsSet", [&] {
        const std::shared_ptr<XmlStyleSheet> sheet = getTemplate();
        const std::shared_ptr<XmlAlbum> page = getAlbum();
        if (!sheet || !page)
            return;
        const XmlBasePtr found = sheet->getElementWithName(QStringLiteral("Photo Album"));
        XmlWebPhotoAlbum* album = XmlWebPhotoAlbum::cast(found.get());
        if (!album)
            return;
        fillPayPalSheet(*album);
        placeSlideshowSheet(*album, *page);
    });
}

void LayoutController::fillPayPalSheet(XmlWebPhotoAlbum& album)
{
    QWidget* view = sheetView(QStringLiteral("paypal"));
    lq::showIndex(view, 1201, static_cast<int>(album.cartType()));
    lq::showCell(view, 1202, 1203 + album.buttonType());
    showPlainText(_payPalHTML, album.buttonHTML());
    showPlainText(_payPalThumbnail, album.thumbnailText());
    showPlainText(_payPalSlideshow, album.slideshowText());
    lq::showNumberPair(view, 1209, album.buttonWidth());
    lq::showNumberPair(view, 1211, album.buttonHeight());
    lq::showState(view, 1213, album.thumbnailCaption() != 0);
    lq::showState(view, 1214, album.thumbnailButton() != 0);
    lq::showState(view, 1215, album.slideshowCaption() != 0);
    lq::showState(view, 1216, album.slideshowButton() != 0);
    // The well shows the picture of an own button.
    const std::shared_ptr<XmlCSSBackground>& button = album.buttonImage();
    _payPalImageWell->setXmlImage(button ? button->image() : nullptr);
}

void LayoutController::placeSlideshowSheet(XmlWebPhotoAlbum& album, XmlAlbum& page)
{
    // A slideshow of the album's photos: on an album page (never a group's)
    // with photos, when a click on a photo plays it.
    const bool belongs = album.baseVisibility() && typeid(page) == typeid(XmlAlbum)
        && (album.clickOp() == XmlWebPhotoAlbum::ClickOperation::SlideshowPage
            || album.clickOp() == XmlWebPhotoAlbum::ClickOperation::SlideshowElement);
    const bool shown = _tabview->indexOfTabViewItemWithIdentifier(QStringLiteral("slideshow")) >= 0;
    if (belongs && !shown) {
        const QScopedValueRollback<bool> quiet(_tabfalsealarm, true);
        _tabview->insertTabViewItem(QStringLiteral("slideshow"), _tabview->count());
    } else if (!belongs && shown) {
        _tabview->removeTabViewItem(QStringLiteral("slideshow"));
    }
}
