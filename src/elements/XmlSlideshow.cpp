// The slideshow element's stored form and settings, its photos and
// captions, and the housekeeping passed on to its picture frame.
#include "elements/XmlSlideshow.h"

#include "elements/ElementHelpers.h"
#include "elements/SlideshowHtml.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "imaging/XmlCanvas.h"
#include "model/core/DocumentBase.h"
#include "model/core/ModelSettings.h"
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

#include <algorithm>
#include <cmath>

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
        if (tag == u"cssPictureFrame")
            return _frame;
        return XmlWebText::createChildFromTag(tag);
    });
}

void XmlSlideshow::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        const int number = lq::intValue(value);
        // Flags are kept in one byte: only the low byte of the number counts.
        const bool flag = static_cast<qint8>(number & 0xFF) != 0;
        if (key == u"style")
            // Four styles exist; any other stored number is read as the first,
            // so that what is read is written back the same.
            setStyle(number >= 0 && number <= 3 ? number : 0);
        else if (key == u"showCaptions")
            setShowCaptions(number);
        else if (key == u"prevLabel")
            setPrevLabel(value);
        else if (key == u"nextLabel")
            setNextLabel(value);
        else if (key == u"showPrevNext")
            setShowPrevNextControls(flag);
        else if (key == u"showIndex")
            setShowIndexLabel(flag);
        else if (key == u"showBkgndBox")
            setShowBkgndBox(flag);
        else if (key == u"showPlayControls")
            setShowPlayControls(flag);
        else if (key == u"playLabel")
            setPlayLabel(value);
        else if (key == u"indexLabel")
            setIndexLabel(value);
        else if (key == u"stopLabel")
            setStopLabel(value);
        else if (key == u"showBeforeAfterControls")
            setShowBeforeAfterControls(flag);
        else if (key == u"beforeLabel")
            setBeforeLabel(value);
        else if (key == u"afterLabel")
            setAfterLabel(value);
        else if (key == u"seconds")
            setSeconds(number);
        else if (key == u"autoStart")
            setAutoStart(flag);
        else if (key == u"fade")
            setFade(flag);
        else if (key == u"allowBkgnd")
            setAllowBkgndImage(flag);
        else if (key == u"topAlign")
            setTopAlignPic(flag);
        else if (key == u"loop")
            setLoopSlideshow(flag);
        else if (key == u"clines")
            setCaptionLines(number);
        else if (key == u"controls")
            setControlString(value);
        else if (key == u"thumbRollovers")
            setThumbRollovers(flag);
        else if (key == u"slideRollovers")
            setSlideRollovers(flag);
        else if (key == u"randomOrder")
            setRandomOrder(flag);
        else if (key == u"reverseThumbs")
            setReverseThumbs(flag);
        else
            XmlWebText::setAttributeTo(key, value);
    });
}

void XmlSlideshow::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        // Saving ends the control selection: the box writes its own geometry.
        _currentControl = -1;
        XmlWebText::appendAttributes(xml);
        const int shownStyle = style();
        const auto text = [](const QString& label) { return escape(label); };
        xml += QString::asprintf(" allowBkgnd=\"%d\"", _allowBkgndImage ? 1 : 0);
        xml += QString::asprintf(" style=\"%d\"", shownStyle);
        xml += QString::asprintf(" showCaptions=\"%d\"", showCaptions());
        xml += QString::asprintf(" showPrevNext=\"%d\" showIndex=\"%d\"", _showPrevNextControls ? 1 : 0,
                                 _showIndexLabel ? 1 : 0);
        xml += QString::asprintf(" showBkgndBox=\"%d\"", _showBkgndBox ? 1 : 0);
        xml += QStringLiteral(" nextLabel=\"") + text(_nextLabel) + QStringLiteral("\" prevLabel=\"")
            + text(_prevLabel) + QLatin1Char('"');
        xml += QStringLiteral(" indexLabel=\"") + text(_indexLabel) + QLatin1Char('"');
        xml += QString::asprintf(" showPlayControls=\"%d\"", _showPlayControls ? 1 : 0)
            + QStringLiteral(" playLabel=\"") + text(_playLabel) + QStringLiteral("\" stopLabel=\"")
            + text(_stopLabel) + QLatin1Char('"');
        xml += QString::asprintf(" showBeforeAfterControls=\"%d\"", _showBeforeAfterControls ? 1 : 0)
            + QStringLiteral(" beforeLabel=\"") + text(_beforeLabel) + QStringLiteral("\" afterLabel=\"")
            + text(_afterLabel) + QLatin1Char('"');
        xml += QString::asprintf(" seconds=\"%d\" autoStart=\"%d\" fade=\"%d\"", _seconds, _autoStart ? 1 : 0,
                                 _fade ? 1 : 0);
        xml += QString::asprintf(" topAlign=\"%d\"", _topAlignPic ? 1 : 0);
        if (shownStyle == 1 || shownStyle == 3)
            xml += QStringLiteral(" controls=\"") + escape(controlString()) + QLatin1Char('"');
        xml += QString::asprintf(" loop=\"%d\"", _loopSlideshow ? 1 : 0);
        xml += QString::asprintf(" thumbRollovers=\"%d\" slideRollovers=\"%d\"", _thumbRollovers ? 1 : 0,
                                 _slideRollovers ? 1 : 0);
        xml += QString::asprintf(" reverseThumbs=\"%d\" randomOrder=\"%d\"", _reverseThumbs ? 1 : 0,
                                 _randomOrder ? 1 : 0);
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

// --- Stored settings ---------------------------------------------------------------------------

int XmlSlideshow::foldedStyle() const
{
    if (ModelSettings::shared().enableBeforeAfter() == 0 && _style > 1)
        return _style - 2;
    return _style;
}

int XmlSlideshow::style() const
{
    return lq::modelFrame(this, "style", [&] { return foldedStyle(); });
}

int XmlSlideshow::showCaptions()
{
    return lq::modelFrame(this, "showCaptions", [&] {
        XmlWebPhotoAlbum* album = photoAlbum();
        if (album && album->cartType() != XmlWebPhotoAlbum::CartType::None)
            return 1;
        return _showCaptions;
    });
}

void XmlSlideshow::setStyle(int style) { setStored(_style, style, "setStyle:"); }
void XmlSlideshow::setShowCaptions(int show) { setStored(_showCaptions, show, "setShowCaptions:"); }
void XmlSlideshow::setShowPrevNextControls(bool show) { setStored(_showPrevNextControls, show, "setShowPrevNextControls:"); }
void XmlSlideshow::setNextLabel(const QString& label) { setStored(_nextLabel, lq::orEmpty(label), "setNextLabel:"); }
void XmlSlideshow::setPrevLabel(const QString& label) { setStored(_prevLabel, lq::orEmpty(label), "setPrevLabel:"); }
void XmlSlideshow::setShowPlayControls(bool show) { setStored(_showPlayControls, show, "setShowPlayControls:"); }
void XmlSlideshow::setPlayLabel(const QString& label) { setStored(_playLabel, lq::orEmpty(label), "setPlayLabel:"); }
void XmlSlideshow::setStopLabel(const QString& label) { setStored(_stopLabel, lq::orEmpty(label), "setStopLabel:"); }
void XmlSlideshow::setShowBeforeAfterControls(bool show) { setStored(_showBeforeAfterControls, show, "setShowBeforeAfterControls:"); }
void XmlSlideshow::setBeforeLabel(const QString& label) { setStored(_beforeLabel, lq::orEmpty(label), "setBeforeLabel:"); }
void XmlSlideshow::setAfterLabel(const QString& label) { setStored(_afterLabel, lq::orEmpty(label), "setAfterLabel:"); }
void XmlSlideshow::setThumbRollovers(bool on) { setStored(_thumbRollovers, on, "setThumbRollovers:"); }
void XmlSlideshow::setSlideRollovers(bool on) { setStored(_slideRollovers, on, "setSlideRollovers:"); }
void XmlSlideshow::setReverseThumbs(bool on) { setStored(_reverseThumbs, on, "setReverseThumbs:"); }
void XmlSlideshow::setRandomOrder(bool on) { setStored(_randomOrder, on, "setRandomOrder:"); }
void XmlSlideshow::setShowIndexLabel(bool show) { setStored(_showIndexLabel, show, "setShowIndexLabel:"); }
void XmlSlideshow::setIndexLabel(const QString& label) { setStored(_indexLabel, lq::orEmpty(label), "setIndexLabel:"); }
void XmlSlideshow::setSeconds(int seconds) { setStored(_seconds, seconds, "setSeconds:"); }
void XmlSlideshow::setAutoStart(bool on) { setStored(_autoStart, on, "setAutoStart:"); }
void XmlSlideshow::setFade(bool on) { setStored(_fade, on, "setFade:"); }
void XmlSlideshow::setShowBkgndBox(bool show) { setStored(_showBkgndBox, show, "setShowBkgndBox:"); }
void XmlSlideshow::setAllowBkgndImage(bool allow) { setStored(_allowBkgndImage, allow, "setAllowBkgndImage:"); }
void XmlSlideshow::setTopAlignPic(bool on) { setStored(_topAlignPic, on, "setTopAlignPic:"); }
void XmlSlideshow::setLoopSlideshow(bool on) { setStored(_loopSlideshow, on, "setLoopSlideshow:"); }

void XmlSlideshow::setCaptionLines(int lines)
{
    setStored(_captionLines, std::clamp(lines, 1, 6), "setCaptionLines:");
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

XmlWebPhotoAlbum* XmlSlideshow::photoAlbum() const
{
    XmlStyleSheet* sheet = XmlStyleSheet::cast(_parent);
    if (!sheet)
        return nullptr;
    return XmlWebPhotoAlbum::cast(sheet->getElementWithName(QStringLiteral("Photo Album")).get());
}

int XmlSlideshow::firstPictureInSlideshow()
{
    return lq::modelFrame(this, "firstPictureInSlideshow", [&] {
        XmlWebPhotoAlbum* album = photoAlbum();
        return album ? album->firstPictureInSlideshow() : 0;
    });
}

QString XmlSlideshow::indexLink()
{
    return lq::modelFrame(this, "indexLink", [&] {
        XmlWebPhotoAlbum* album = photoAlbum();
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
        lq::Rect p = controlRect(PictureBox);
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
        if (!_topAlignPic && !fullSize)
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
        XmlWebPhotoAlbum* album = photoAlbum();
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
        if (index >= count || index < 0 || showCaptions() == 0)
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
        XmlWebPhotoAlbum* album = photoAlbum();
        return album ? album->textSubberPhoto(text, photo) : text;
    });
}

// --- Page output -------------------------------------------------------------------------------------

void XmlSlideshow::appendCSS(QString& css)
{
    SlideshowHtml(*this).appendCSS(css);
}

void XmlSlideshow::appendCSSWinIESuffix(QString& css, const QString& suffix)
{
    SlideshowHtml(*this).appendCSSWinIESuffix(css, suffix);
}

void XmlSlideshow::genCSSBitmap(QString& script)
{
    SlideshowHtml(*this).genCSSBitmap(script);
}

void XmlSlideshow::genCSSWinIEBitmap(QString& script)
{
    SlideshowHtml(*this).genCSSWinIEBitmap(script);
}

void XmlSlideshow::appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet)
{
    SlideshowHtml(*this).appendHTMLPagePassSheet(html, page, pass, sheet);
}
