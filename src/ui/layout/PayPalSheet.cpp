// The PayPal sheet: built from its rows, filled from the template's photo
// album, and what its controls and text views change written back into it.
#include "ui/layout/PayPalSheet.h"

#include "ui/editors/photo/ImageWell.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "ui/layout/InspectorTags.h"
#include "ui/layout/InspectorValues.h"
#include "ui/layout/LayoutController.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/ControlValues.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/MyTextView.h"
#include "ui/widgets/SheetBuilder.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlStyleSheet.h"

using namespace lq::inspector;

namespace {

MyTextView* htmlView(QWidget* parent)
{
    auto* view = new MyTextView(parent);
    view->setAcceptRichText(false);
    view->setMinimumHeight(80);
    return view;
}

} // namespace

QWidget* PayPalSheet::build()
{
    auto* body = new QWidget;
    SheetBuilder rows = sheetBuilder(body);
    rows.text(0, QStringLiteral("PayPal"));
    rows.label(QStringLiteral("Cart")).popUp(1201, {{QStringLiteral("None"), 0}, {QStringLiteral("Buy now"), 1}, {QStringLiteral("Add to cart"), 2}});
    rows.label(QStringLiteral("Button")).matrix(1202, {{QStringLiteral("Standard"), 1203}, {QStringLiteral("Own picture"), 1204}});
    _payPalImageWell = makeImageWell(InspectorTag::payPalImageWell, false);
    rows.label(QStringLiteral("Picture")).view(_payPalImageWell);
    rows.label(QStringLiteral("Width")).intPair(1209, 0, largestNumber);
    rows.label(QStringLiteral("Height")).intPair(1211, 0, largestNumber);
    rows.text(0, QStringLiteral("The button's HTML:"));
    _payPalHTML = htmlView(body);
    rows.view(_payPalHTML);
    rows.button(1208, QStringLiteral("Default HTML"))->setAutoDefault(false);

    // The captions and buttons under the thumbnails and in the slideshow.
    _payPalTabView = new MyTabView(body);
    const auto place = [&](const QString& identifier, const QString& title, int base, MyTextView*& text, int defaultButton) {
        auto* page = new QWidget;
        SheetBuilder where = sheetBuilder(page);
        where.check(base, QStringLiteral("Caption"));
        where.check(base + 1, QStringLiteral("Button"));
        where.text(0, QStringLiteral("Caption template:"));
        text = htmlView(page);
        where.view(text);
        where.button(defaultButton, QStringLiteral("Default Caption"))->setAutoDefault(false);
        _payPalTabView->addTabViewItem(identifier, title, page);
    };
    place(QStringLiteral("thumbnail"), QStringLiteral("Thumbnails"), 1213, _payPalThumbnail, 1206);
    place(QStringLiteral("slideshow"), QStringLiteral("Slideshow"), 1215, _payPalSlideshow, 1207);
    for (MyTextView* view : {_payPalHTML, _payPalThumbnail, _payPalSlideshow})
        QObject::connect(view, &QTextEdit::textChanged, &_controller, [this, view] { _controller.textDidChange(view); });
    QObject::connect(_payPalTabView, &QTabWidget::currentChanged, &_controller,
        [this] { _controller.tabViewDidSelectTabViewItem(_payPalTabView, _payPalTabView->selectedIdentifier()); });
    rows.view(_payPalTabView);
    return body;
}

void PayPalSheet::fill(XmlWebPhotoAlbum& album)
{
    QWidget* view = sheetView(QStringLiteral("paypal"));
    lq::showIndex(view, 1201, static_cast<int>(album.cartType()));
    lq::showCell(view, 1202, 1203 + album.settings().buttonType());
    showPlainText(_payPalHTML, album.buttonHTML());
    showPlainText(_payPalThumbnail, album.thumbnailText());
    showPlainText(_payPalSlideshow, album.slideshowText());
    lq::showNumberPair(view, 1209, album.settings().buttonWidth());
    lq::showNumberPair(view, 1211, album.settings().buttonHeight());
    lq::showState(view, 1213, album.settings().thumbnailCaption() != 0);
    lq::showState(view, 1214, album.settings().thumbnailButton() != 0);
    lq::showState(view, 1215, album.slideshowCaption() != 0);
    lq::showState(view, 1216, album.slideshowButton() != 0);
    // The well shows the picture of an own button.
    const std::shared_ptr<XmlCSSBackground>& button = album.buttonImage();
    _payPalImageWell->setXmlImage(button ? button->image() : nullptr);
}

void PayPalSheet::apply(QWidget* sender, int tag, XmlStyleSheet& sheet)
{
    const XmlBasePtr found = sheet.getElementWithName(QStringLiteral("Photo Album"));
    XmlWebPhotoAlbum* album = XmlWebPhotoAlbum::cast(found.get());
    if (!album)
        return;
    switch (tag) {
    case 1201:
        album->settings().setCartType(static_cast<XmlWebPhotoAlbum::CartType>(indexOf(sender)));
        album->setDefaultButtonHTML();
        showPlainText(_payPalHTML, album->buttonHTML());
        sizePayPalButton(*album);
        break;
    case 1202:
        album->settings().setButtonType(cellTagOf(sender) - 1203);
        sizePayPalButton(*album);
        break;
    case 1206:
        album->setDefaultThumbnailText();
        showPlainText(_payPalThumbnail, album->thumbnailText());
        relayoutTemplate(sheet, true);
        break;
    case 1207:
        album->setDefaultSlideshowText();
        showPlainText(_payPalSlideshow, album->slideshowText());
        relayoutTemplate(sheet, true);
        break;
    case 1208:
        album->setDefaultButtonHTML();
        showPlainText(_payPalHTML, album->buttonHTML());
        break;
    case 1209:
    case 1210: album->settings().setButtonWidth(intValueOf(sender)); break;
    case 1211:
    case 1212: album->settings().setButtonHeight(intValueOf(sender)); break;
    case 1213:
        album->settings().setThumbnailCaption(stateOf(sender) ? 1 : 0);
        relayoutTemplate(sheet, true);
        break;
    case 1214: album->settings().setThumbnailButton(stateOf(sender) ? 1 : 0); break;
    case 1215:
        album->settings().setSlideshowCaption(stateOf(sender) ? 1 : 0);
        relayoutTemplate(sheet, true);
        break;
    case 1216: album->settings().setSlideshowButton(stateOf(sender) ? 1 : 0); break;
    default: break;
    }
}

void PayPalSheet::sizePayPalButton(XmlWebPhotoAlbum& album)
{
    // Another button is the user's own picture, of its own size.
    if (album.settings().buttonType() != 0)
        return;
    if (album.cartType() == XmlWebPhotoAlbum::CartType::BuyNow) {
        album.settings().setButtonWidth(86);
        album.settings().setButtonHeight(21);
    } else if (album.cartType() == XmlWebPhotoAlbum::CartType::AddToCart) {
        album.settings().setButtonWidth(96);
        album.settings().setButtonHeight(21);
    }
    _controller.albumOptionsSet();
}

bool PayPalSheet::applyText(QWidget* view, const QString& text, XmlStyleSheet& sheet)
{
    if (view != _payPalHTML && view != _payPalThumbnail && view != _payPalSlideshow)
        return false;
    const XmlBasePtr found = sheet.getElementWithName(QStringLiteral("Photo Album"));
    auto* album = XmlWebPhotoAlbum::cast(found.get());
    if (!album)
        return true;
    if (view == _payPalHTML) {
        album->buttonHTML()->setContent(text);
    } else if (view == _payPalThumbnail) {
        album->thumbnailText()->setContent(text);
        relayoutTemplate(sheet, true);
    } else {
        album->slideshowText()->setContent(text);
        relayoutTemplate(sheet, true);
    }
    return true;
}
