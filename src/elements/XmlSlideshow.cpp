// The slideshow element's stored form (its settings are a SlideshowSettings value),
// its photos and captions, and the housekeeping passed on to its picture frame.
#include "elements/XmlSlideshow.h"

#include "elements/ElementHelpers.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "model/imaging/XmlCanvas.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "platform/DelayedCall.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "templates/XmlPictureFrame.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <cmath>

using namespace lq::literals;

namespace {

// The preview's ticks on the main run loop.
class RunLoopClock final : public XmlSlideshow::AnimationClock {
public:
    void performAfter(const void* target, double seconds, std::function<void()> call) override
    {
        lq::performAfter(target, QStringLiteral("animation:"), seconds, std::move(call));
    }
    void cancel(const void* target) override { lq::cancel(target, QStringLiteral("animation:")); }
};

} // namespace

using elements::contentOf;
using elements::toFloat;

// --- Element protocol ------------------------------------------------------------------------

XmlSlideshow::XmlSlideshow(Key key)
    : XmlWebText(key)
    , _frame(XmlPictureFrame::create())
    , _clock(std::make_shared<RunLoopClock>())
{
    _widthFixed = true;
    _heightFixed = true;
    _absolute = true;
    _frame->setParent(this);
    // Style 0 and no control selected: the box itself takes the geometry.
    XmlBoxModel::setTop(10);
    XmlBoxModel::setLeft(10);
    XmlBoxModel::setWidth(400);
    XmlBoxModel::setHeight(350);
}

XmlSlideshow::~XmlSlideshow()
{
    _clock->cancel(this);
    // The frame may outlive the element in other hands; it must not point back at it.
    _frame->setParent(nullptr);
}

std::shared_ptr<XmlSlideshow> XmlSlideshow::create()
{
    return make<XmlSlideshow>();
}

QString XmlSlideshow::elementName() const
{
    return QStringLiteral("cssSlideShow");
}

bool XmlSlideshow::enabled()
{
    return true;
}

XmlBasePtr XmlSlideshow::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        if (tag == u"cssPictureFrame"_sv)
            return _frame;
        return XmlWebText::createChildFromTag(tag);
    });
}

void XmlSlideshow::appendAttributes(QString& xml)
{
    // Saving ends the control selection: the box writes its own geometry.
    _currentControl = -1;
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlWebText::appendAttributes(xml);
        _settings.appendAttributes(xml);
    });
}

void XmlSlideshow::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (!_settings.setAttributeTo(key, value))
            XmlWebText::setAttributeTo(key, value);
    });
}

QString XmlSlideshow::writeXmlVorns()
{
    return lq::modelFrame(this, "writeXmlVorns", [&] {
        QString xml = XmlWebText::writeXmlVorns();
        if (xml.isNull())
            xml = QStringLiteral("");
        return xml + _frame->createXml();
    });
}

XmlBaseList XmlSlideshow::ownedParts() const
{
    XmlBaseList parts { _frame };
    parts.append(XmlWebText::ownedParts());
    return parts;
}

void XmlSlideshow::postload()
{
    lq::modelFrame(this, "postload", [&] {
        const std::shared_ptr<XmlWebFont> own = font();
        if (!controlFont()) {
            XmlBasePtr copy = own->copyWithZone();
            if (auto record = std::dynamic_pointer_cast<XmlWebFont>(copy)) {
                record->setName(QStringLiteral("control"));
                addChild(record);
            }
            own->setAlignment(XmlWebFont::Alignment::Center);
        }
        own->setBold(false);
        own->setItalic(false);
        own->setUnderline(false);
        XmlWebText::postload();
    });
}

void XmlSlideshow::setVisible(bool)
{
    _visible = 1;
    _visibleInSlideshow = 1;
}

void XmlSlideshow::setVisibleInSlideshow(bool)
{
    _visible = 1;
    _visibleInSlideshow = 1;
}

// --- Album, photos and captions ------------------------------------------------------------------

int XmlSlideshow::firstPictureInSlideshow()
{
    return lq::modelFrame(this, "firstPictureInSlideshow", [&] {
        XmlWebPhotoAlbum* album = _settings.photoAlbum();
        return album ? album->firstPictureInSlideshow() : 0;
    });
}

QString XmlSlideshow::indexLink()
{
    return lq::modelFrame(this, "indexLink", [&] {
        XmlWebPhotoAlbum* album = _settings.photoAlbum();
        return album ? album->indexLink() : QStringLiteral("#");
    });
}

bool XmlSlideshow::disableImageWell()
{
    DocumentBase* document = myDocument();
    XmlSite* site = document ? document->site() : nullptr;
    return site && site->disableImageWell() != 0;
}

void XmlSlideshow::calcPhotoRectFrameRectThumbRect(XmlPhoto* photo, lq::Rect& frameRect, lq::Rect& thumbRect)
{
    lq::modelFrame(this, "calcPhotoRect:frameRect:thumbRect:", [&] {
        const XmlPictureFrame& f = *_frame;
        lq::Rect p = _settings.controlRect(PictureBox);
        p.origin.x += toFloat(f.bl() + f.pl());
        p.origin.y += toFloat(f.bt() + f.pt());
        p.size.width -= toFloat(f.bl() + f.pl() + f.pr() + f.br());
        p.size.height -= toFloat(f.bt() + f.pt() + f.pb() + f.bb());

        int w = 0;
        int h = 0;
        if (photo && photo->canvas()) {
            const lq::Rect bounds = photo->canvas()->boundingRect(lq::Rect());
            w = lq::truncatedPixel(bounds.width());
            h = lq::truncatedPixel(bounds.height());
        }
        const bool fullSize = disableImageWell();
        if (!fullSize && photo && photo->canvas())
            photo->canvas()->adjustImageWithLimitWidthAndLimitHeightNewWidthNewHeight(lq::truncatedPixel(p.width()), lq::truncatedPixel(p.height()),
                                                                                      &w, &h);
        p.origin.x += (p.width() - toFloat(w)) * 0.5f;
        if (!_settings.topAlignPic() && !fullSize)
            p.origin.y += toFloat(lq::truncatedPixel((p.height() - toFloat(h)) * 0.5f));
        p.origin.x = std::ceil(p.origin.x);
        p.origin.y = std::ceil(p.origin.y);
        p.size.width = toFloat(w);
        p.size.height = toFloat(h);
        thumbRect = p;

        frameRect = lq::Rect(p.x() - toFloat(f.bl() + f.pl()), p.y() - toFloat(f.bt() + f.pt()),
                             p.width() + toFloat(f.bl() + f.pl() + f.pr() + f.br()),
                             p.height() + toFloat(f.bt() + f.pt() + f.pb() + f.bb()));
    });
}

QString XmlSlideshow::captionForPhoto(XmlPhoto* photo)
{
    return lq::modelFrame(this, "captionForPhoto:", [&]() -> QString {
        if (!photo)
            return QStringLiteral("");
        const QString caption = photo->caption() ? photo->caption()->content() : QStringLiteral("");
        XmlWebPhotoAlbum* album = _settings.photoAlbum();
        if (!album || album->cartType() == XmlWebPhotoAlbum::CartType::None)
            return caption;
        QString text = QStringLiteral("");
        if ((album->slideshowCaption() != 0))
            text += caption;
        if (photo->canBePurchased()) {
            for (const QString& line : contentOf(album->slideshowText()).split(QLatin1Char('\n')))
                text += QStringLiteral("<p>") + textSubberPhoto(line, photo) + QStringLiteral("</p>");
        }
        return text;
    });
}

int XmlSlideshow::numberChildren(XmlBase* album) const
{
    return album ? album->numberChildren() : 0;
}

XmlPhoto* XmlSlideshow::photoAt(int index)
{
    const std::shared_ptr<XmlAlbum> album = getCurrentAlbum();
    if (!album || index < 0 || index >= album->numberChildren())
        return nullptr;
    return XmlPhoto::cast(album->childAtIndex(index).get());
}

QString XmlSlideshow::textCaption()
{
    return lq::modelFrame(this, "textCaption", [&]() -> QString {
        const std::shared_ptr<XmlAlbum> album = getCurrentAlbum();
        const int count = numberChildren(album.get());
        const int index = _slideB < count ? _slideB : firstPictureInSlideshow();
        if (index >= count || index < 0 || _settings.showCaptions() == 0)
            return QStringLiteral("");
        XmlPhoto* photo = XmlPhoto::cast(album->childAtIndex(index).get());
        if (!photo)
            return QStringLiteral("");
        return captionForPhoto(photo);
    });
}

QString XmlSlideshow::textSubberPhoto(const QString& text, XmlPhoto* photo)
{
    return lq::modelFrame(this, "textSubber:photo:", [&] {
        // The shop's texts belong to the photo album, which fills them in;
        // without one there is no shop and the text stays as it is.
        XmlWebPhotoAlbum* album = _settings.photoAlbum();
        return album ? album->textSubberPhoto(text, photo) : text;
    });
}
