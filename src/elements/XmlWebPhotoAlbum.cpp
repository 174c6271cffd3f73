// The photo album as an element: its owned parts, and what follows from its
// settings and the template's slideshow (before-and-after mode, the photo
// of each thumbnail, the index link).
#include "elements/XmlWebPhotoAlbum.h"

#include "elements/ElementHelpers.h"
#include "elements/XmlSlideshow.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlPhoto.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "templates/XmlPictureFrame.h"
#include "templates/XmlStyleSheet.h"

using namespace lq::literals;

namespace {

const QString defaultPayPalText = QStringLiteral("{DESCRIPTION}\n${PRICE}\n");

// The text part under the tag, made on first use as a part of the album.
XmlBase* textPart(XmlBase& album, std::shared_ptr<XmlBase>& part, const char* tag, const QString& content)
{
    if (!part) {
        part = XmlBase::create();
        part->setElementOverride(QLatin1String(tag));
        part->setParent(&album);
        part->setHaveContent(true);
        // Text read from a file takes the place of the default.
        if (!content.isEmpty())
            part->setDefaultContent(content);
    }
    return part.get();
}

// The slideshow of the template holding the album, if any.
XmlSlideshow* slideshowBeside(const XmlBase& album)
{
    XmlStyleSheet* sheet = XmlStyleSheet::cast(album.parent());
    if (!sheet)
        return nullptr;
    return XmlSlideshow::cast(sheet->getElementWithName(QStringLiteral("Slideshow")).get());
}

} // namespace

using elements::isExactly;

// --- Hot rectangles ------------------------------------------------------------------------------

QString XmlWebPhotoAlbum::HotArea::toString() const
{
    QString data = type + QLatin1Char('|') + QString::number(index);
    if (!range.isEmpty())
        data += QLatin1Char('|') + range;
    return data;
}

XmlWebPhotoAlbum::HotArea XmlWebPhotoAlbum::HotArea::fromString(const QString& data)
{
    const QStringList parts = data.split(QLatin1Char('|'));
    HotArea area;
    area.type = parts.value(0);
    area.index = parts.value(1).toInt();
    area.range = parts.value(2);
    return area;
}

// --- Element protocol ------------------------------------------------------------------------------

XmlWebPhotoAlbum::XmlWebPhotoAlbum(Key key)
    : XmlWebText(key)
{
    _absolute = true;
    _widthFixed = false;
    _heightFixed = false;
    _visibleInSlideshow = 0;
    _frame = XmlPictureFrame::create();
    _frame->setParent(this);
    _buttonImage = XmlCSSBackground::create();
    _buttonImage->setParent(this);
    _buttonImage->setElementOverride(QStringLiteral("buttonImage"));
}

XmlWebPhotoAlbum::~XmlWebPhotoAlbum()
{
    // The owned parts may outlive the album in other hands; they must not point back at it.
    _frame->setParent(nullptr);
    _buttonImage->setParent(nullptr);
    for (XmlBase* part : { _thumbnailText.get(), _slideshowText.get(), _buttonHTML.get() }) {
        if (part)
            part->setParent(nullptr);
    }
}

std::shared_ptr<XmlWebPhotoAlbum> XmlWebPhotoAlbum::create()
{
    return make<XmlWebPhotoAlbum>();
}

QString XmlWebPhotoAlbum::elementName() const
{
    return QStringLiteral("cssPhotoAlbum");
}

QString XmlWebPhotoAlbum::uniquename() const
{
    return QStringLiteral("album");
}

bool XmlWebPhotoAlbum::enabled()
{
    return true;
}

bool XmlWebPhotoAlbum::canDoubleClick()
{
    return false;
}

void XmlWebPhotoAlbum::appendAttributes(QString& xml)
{
    // The box's own geometry is written, not that of a selected floating photo.
    _currentPhoto = -1;
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlWebText::appendAttributes(xml);
        _settings.appendAttributes(xml);
    });
    calcPhotoAlbum();
}

void XmlWebPhotoAlbum::setAttributeTo(const QString& key, const QString& value)
{
    _currentPhoto = -1;
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (!_settings.setAttributeTo(key, value))
            XmlWebText::setAttributeTo(key, value);
    });
}

XmlBasePtr XmlWebPhotoAlbum::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        // The reader fills the album's own parts; the box takes no such
        // child, so none is attached a second time.
        if (tag == u"cssPictureFrame"_sv)
            return _frame;
        if (tag == u"thumbnailText"_sv)
            return thumbnailText()->sharedFromThis();
        if (tag == u"slideshowText"_sv)
            return slideshowText()->sharedFromThis();
        if (tag == u"buttonHTML"_sv)
            return buttonHTML()->sharedFromThis();
        if (tag == u"buttonImage"_sv)
            return _buttonImage;
        return XmlWebText::createChildFromTag(tag);
    });
}

QString XmlWebPhotoAlbum::writeXmlVorns()
{
    return lq::modelFrame(this, "writeXmlVorns", [&] {
        QString xml = XmlWebText::writeXmlVorns();
        if (xml.isNull())
            xml = QStringLiteral("");
        _frame->writeXmlInString(xml);
        thumbnailText()->writeXmlInString(xml);
        slideshowText()->writeXmlInString(xml);
        buttonHTML()->writeXmlInString(xml);
        _buttonImage->writeXmlInString(xml);
        return xml;
    });
}

XmlBaseList XmlWebPhotoAlbum::ownedParts() const
{
    XmlBaseList parts { _frame };
    for (const XmlBasePtr& text : { _thumbnailText, _slideshowText, _buttonHTML })
        if (text)
            parts.append(text);
    parts.append(_buttonImage);
    parts.append(XmlWebText::ownedParts());
    return parts;
}

// --- Owned parts -------------------------------------------------------------------------------------

XmlBase* XmlWebPhotoAlbum::thumbnailText()
{
    return textPart(*this, _thumbnailText, "thumbnailText", defaultPayPalText);
}

XmlBase* XmlWebPhotoAlbum::slideshowText()
{
    return textPart(*this, _slideshowText, "slideshowText", defaultPayPalText);
}

XmlBase* XmlWebPhotoAlbum::buttonHTML()
{
    return textPart(*this, _buttonHTML, "buttonHTML", QString());
}

void XmlWebPhotoAlbum::setDefaultThumbnailText()
{
    lq::modelFrame(this, "setDefaultThumbnailText", [&] { thumbnailText()->setContent(defaultPayPalText); });
}

void XmlWebPhotoAlbum::setDefaultSlideshowText()
{
    lq::modelFrame(this, "setDefaultSlideshowText", [&] { slideshowText()->setContent(defaultPayPalText); });
}

void XmlWebPhotoAlbum::setDefaultButtonHTML()
{
    lq::modelFrame(this, "setDefaultButtonHTML", [&] {
        if (!_settings.hasCartButton())
            return;
        buttonHTML()->setContent(buttonForm(_settings.cartType() == CartType::BuyNow));
    });
}

// --- Derived settings ----------------------------------------------------------------------------------------

XmlBaseList XmlWebPhotoAlbum::currentPhotos() const
{
    const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
    return page ? page->photoObjects() : XmlBaseList();
}

bool XmlWebPhotoAlbum::baseVisibility()
{
    return lq::modelFrame(this, "baseVisibility", [&] {
        if (currentPhotos().isEmpty())
            return false;
        return XmlWebText::baseVisibility();
    });
}

bool XmlWebPhotoAlbum::visible()
{
    return lq::modelFrame(this, "visible", [&] {
        if (currentPhotos().isEmpty())
            return false;
        return XmlWebText::visible();
    });
}

void XmlWebPhotoAlbum::setVisibleInSlideshow(bool)
{
    // The album never shows on a slideshow page.
    _visibleInSlideshow = 0;
    docChanged();
}

bool XmlWebPhotoAlbum::firstLine()
{
    return _settings.cartType() != CartType::None ? false : XmlWebText::firstLine();
}

bool XmlWebPhotoAlbum::beforeAfter() const
{
    return lq::modelFrame(this, "beforeAfter", [&] {
        if (_settings.clickOp() != ClickOperation::SlideshowPage && _settings.clickOp() != ClickOperation::SlideshowElement)
            return false;
        XmlSlideshow* show = slideshowBeside(*this);
        return show && show->style() != 0 && show->style() != 1;
    });
}

bool XmlWebPhotoAlbum::thumbrollovers() const
{
    return beforeAfter() && slideshowBeside(*this)->thumbRollovers();
}

QString XmlWebPhotoAlbum::indexLink()
{
    return lq::modelFrame(this, "indexLink", [&] {
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return QStringLiteral("#");
        if (_settings.clickOp() == ClickOperation::SlideshowElement && isExactly<XmlGroup>(page->parent()))
            return XmlGroup::cast(page->parent())->linkAddress();
        return page->linkAddress();
    });
}

// --- Thumbnail counts ------------------------------------------------------------------------------------

int XmlWebPhotoAlbum::numberOfThumbnails(const XmlBaseList& photos) const
{
    const int count = static_cast<int>(photos.size());
    if (!beforeAfter())
        return count;
    return thumbrollovers() ? count / 3 : count / 2;
}

int XmlWebPhotoAlbum::photoIndexForThumbnail(int index) const
{
    if (!beforeAfter())
        return index;
    return thumbrollovers() ? index * 3 : index * 2;
}

// --- Bitmap steps ----------------------------------------------------------------------------

void XmlWebPhotoAlbum::genCSSBitmap(QString& script)
{
    XmlWebText::genCSSBitmap(script);
    _frame->genCSSBitmap(script);
    _buttonImage->genCSSBitmap(script);
}

void XmlWebPhotoAlbum::genCSSWinIEBitmap(QString& script)
{
    _frame->genCSSWinIEBitmap(script);
    XmlWebText::genCSSWinIEBitmap(script);
}
