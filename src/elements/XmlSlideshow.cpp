#include "elements/XmlSlideshow.h"

#include "templates/XmlPictureFrame.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "imaging/XmlCanvas.h"
#include "model/core/ModelSettings.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "platform/DelayedCall.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <QImage>

#include <algorithm>
#include <cmath>

namespace {

constexpr int numberOfControls = 6;
// The caption container's height: tall enough for any caption.
constexpr qreal captionContainerHeight = 10000.0;
// Seconds between two ticks of the editor preview.
constexpr double tickSeconds = 0.1;

float toFloat(int value)
{
    return static_cast<float>(value);
}

int truncated(double value)
{
    return static_cast<int>(value);
}

// The preview's ticks on the main run loop.
class RunLoopClock final : public XmlSlideshow::AnimationClock {
public:
    void performAfter(const void* target, double seconds, std::function<void()> call) override
    {
        lq::performAfter(target, QStringLiteral("animation:"), seconds, std::move(call));
    }
    void cancel(const void* target) override { lq::cancel(target, QStringLiteral("animation:")); }
};

// The text of one of the album's text parts ("" without the part).
QString contentOf(XmlBase* part)
{
    return part ? part->content() : QStringLiteral("");
}

} // namespace

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
            setStyle(number);
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

void XmlSlideshow::postload()
{
    lq::modelFrame(this, "postload", [&] {
        _frame->postload();
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

void XmlSlideshow::setFlag(bool& field, bool value)
{
    field = value;
    docChanged();
}

void XmlSlideshow::setNumber(int& field, int value)
{
    field = value;
    docChanged();
}

void XmlSlideshow::setLabel(QString& field, const QString& value)
{
    field = value.isNull() ? QStringLiteral("") : value;
    docChanged();
}

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
        if (album && album->cartType() != 0)
            return 1;
        return _showCaptions;
    });
}

void XmlSlideshow::setStyle(int style) { lq::modelFrame(this, "setStyle:", [&] { setNumber(_style, style); }); }
void XmlSlideshow::setShowCaptions(int show) { lq::modelFrame(this, "setShowCaptions:", [&] { setNumber(_showCaptions, show); }); }
void XmlSlideshow::setShowPrevNextControls(bool show) { lq::modelFrame(this, "setShowPrevNextControls:", [&] { setFlag(_showPrevNextControls, show); }); }
void XmlSlideshow::setNextLabel(const QString& label) { lq::modelFrame(this, "setNextLabel:", [&] { setLabel(_nextLabel, label); }); }
void XmlSlideshow::setPrevLabel(const QString& label) { lq::modelFrame(this, "setPrevLabel:", [&] { setLabel(_prevLabel, label); }); }
void XmlSlideshow::setShowPlayControls(bool show) { lq::modelFrame(this, "setShowPlayControls:", [&] { setFlag(_showPlayControls, show); }); }
void XmlSlideshow::setPlayLabel(const QString& label) { lq::modelFrame(this, "setPlayLabel:", [&] { setLabel(_playLabel, label); }); }
void XmlSlideshow::setStopLabel(const QString& label) { lq::modelFrame(this, "setStopLabel:", [&] { setLabel(_stopLabel, label); }); }
void XmlSlideshow::setShowBeforeAfterControls(bool show) { lq::modelFrame(this, "setShowBeforeAfterControls:", [&] { setFlag(_showBeforeAfterControls, show); }); }
void XmlSlideshow::setBeforeLabel(const QString& label) { lq::modelFrame(this, "setBeforeLabel:", [&] { setLabel(_beforeLabel, label); }); }
void XmlSlideshow::setAfterLabel(const QString& label) { lq::modelFrame(this, "setAfterLabel:", [&] { setLabel(_afterLabel, label); }); }
void XmlSlideshow::setThumbRollovers(bool on) { lq::modelFrame(this, "setThumbRollovers:", [&] { setFlag(_thumbRollovers, on); }); }
void XmlSlideshow::setSlideRollovers(bool on) { lq::modelFrame(this, "setSlideRollovers:", [&] { setFlag(_slideRollovers, on); }); }
void XmlSlideshow::setReverseThumbs(bool on) { lq::modelFrame(this, "setReverseThumbs:", [&] { setFlag(_reverseThumbs, on); }); }
void XmlSlideshow::setRandomOrder(bool on) { lq::modelFrame(this, "setRandomOrder:", [&] { setFlag(_randomOrder, on); }); }
void XmlSlideshow::setShowIndexLabel(bool show) { lq::modelFrame(this, "setShowIndexLabel:", [&] { setFlag(_showIndexLabel, show); }); }
void XmlSlideshow::setIndexLabel(const QString& label) { lq::modelFrame(this, "setIndexLabel:", [&] { setLabel(_indexLabel, label); }); }
void XmlSlideshow::setSeconds(int seconds) { lq::modelFrame(this, "setSeconds:", [&] { setNumber(_seconds, seconds); }); }
void XmlSlideshow::setAutoStart(bool on) { lq::modelFrame(this, "setAutoStart:", [&] { setFlag(_autoStart, on); }); }
void XmlSlideshow::setFade(bool on) { lq::modelFrame(this, "setFade:", [&] { setFlag(_fade, on); }); }
void XmlSlideshow::setShowBkgndBox(bool show) { lq::modelFrame(this, "setShowBkgndBox:", [&] { setFlag(_showBkgndBox, show); }); }
void XmlSlideshow::setAllowBkgndImage(bool allow) { lq::modelFrame(this, "setAllowBkgndImage:", [&] { setFlag(_allowBkgndImage, allow); }); }
void XmlSlideshow::setTopAlignPic(bool on) { lq::modelFrame(this, "setTopAlignPic:", [&] { setFlag(_topAlignPic, on); }); }
void XmlSlideshow::setLoopSlideshow(bool on) { lq::modelFrame(this, "setLoopSlideshow:", [&] { setFlag(_loopSlideshow, on); }); }

void XmlSlideshow::setCaptionLines(int lines)
{
    lq::modelFrame(this, "setCaptionLines:", [&] { setNumber(_captionLines, std::clamp(lines, 1, 6)); });
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

// --- Box geometry --------------------------------------------------------------------------------

int XmlSlideshow::top() const
{
    if (!controlSelected())
        return XmlWebText::top();
    return truncated(controlRect(_currentControl).y());
}

int XmlSlideshow::left() const
{
    if (!controlSelected())
        return XmlWebText::left();
    return truncated(controlRect(_currentControl).x());
}

int XmlSlideshow::width() const
{
    if (!controlSelected())
        return XmlWebText::width();
    return truncated(controlRect(_currentControl).width());
}

int XmlSlideshow::height() const
{
    if (!controlSelected())
        return XmlWebText::height();
    return truncated(controlRect(_currentControl).height());
}

bool XmlSlideshow::controlSelected() const
{
    const int shownStyle = foldedStyle();
    return _currentControl != -1 && shownStyle != 0 && shownStyle != 2;
}

void XmlSlideshow::setSelectedControlComponent(int component, int value)
{
    lq::Rect rect = controlRect(_currentControl);
    switch (component) {
    case 0:
        rect.origin.y = toFloat(value);
        break;
    case 1:
        rect.origin.x = toFloat(value);
        break;
    case 2:
        rect.size.width = toFloat(value);
        break;
    default:
        rect.size.height = toFloat(value);
        break;
    }
    setControlRectForIndex(rect, _currentControl);
}

void XmlSlideshow::setTop(int top)
{
    lq::modelFrame(this, "setTop:", [&] {
        if (!controlSelected())
            XmlWebText::setTop(top);
        else
            setSelectedControlComponent(0, top);
    });
}

void XmlSlideshow::setLeft(int left)
{
    lq::modelFrame(this, "setLeft:", [&] {
        if (!controlSelected())
            XmlWebText::setLeft(left);
        else
            setSelectedControlComponent(1, left);
    });
}

void XmlSlideshow::setWidth(int width)
{
    lq::modelFrame(this, "setWidth:", [&] {
        if (!controlSelected())
            XmlWebText::setWidth(width);
        else
            setSelectedControlComponent(2, width);
    });
}

void XmlSlideshow::setHeight(int height)
{
    lq::modelFrame(this, "setHeight:", [&] {
        if (!controlSelected())
            XmlWebText::setHeight(height);
        else
            setSelectedControlComponent(3, height);
    });
}

template <class F>
auto XmlSlideshow::onOwnBox(F&& body) -> decltype(body())
{
    const int selected = _currentControl;
    _currentControl = -1;
    struct Restore {
        int& field;
        int value;
        ~Restore() { field = value; }
    } restore { _currentControl, selected };
    return body();
}

// --- Controls ----------------------------------------------------------------------------------

lq::Rect XmlSlideshow::controlRect(int index) const
{
    if (index < 0 || index >= _controlRects.size())
        return lq::Rect();
    return stringToRect(_controlRects.at(index));
}

void XmlSlideshow::setControlRectForIndex(const lq::Rect& rect, int index)
{
    lq::modelFrame(this, "setControlRect:forIndex:", [&] {
        if (index >= 0 && index < _controlRects.size())
            _controlRects[index] = rectToString(rect);
    });
}

QString XmlSlideshow::controlString() const
{
    return _controlRects.join(QLatin1Char('|'));
}

void XmlSlideshow::setControlString(const QString& text)
{
    _controlRects = text.split(QLatin1Char('|'));
}

std::shared_ptr<XmlWebFont> XmlSlideshow::controlFont() const
{
    for (const XmlBasePtr& child : children()) {
        if (XmlWebFont::cast(child.get()) && child->name() == u"control")
            return std::static_pointer_cast<XmlWebFont>(child);
    }
    return nullptr;
}

void XmlSlideshow::calcControlObjects()
{
    lq::modelFrame(this, "calcControlObjects", [&] {
        const int shownStyle = style();
        if (shownStyle == 1 || shownStyle == 3)
            return;
        // An element read before its control font was made measures its own font.
        std::shared_ptr<XmlWebFont> record = controlFont();
        if (!record)
            record = font();
        const int lineHeight = record->lineHeight();
        const int rowHeight = truncated(lineHeight * 1.5);
        const int captionHeight = showCaptions() == 0 ? rowHeight : lineHeight * (_captionLines - 1) + rowHeight;

        _controlRects.clear();
        const bool playShown = (shownStyle == 0 && _showPlayControls) || (shownStyle == 2 && _showBeforeAfterControls);
        const int mask = (_showPrevNextControls ? 1 : 0) + (playShown ? 2 : 0) + (_showIndexLabel ? 4 : 0);
        // Columns per mask: count, then previous, next, index link, play.
        static constexpr int columns[8][5] = {
            { 4, 2, 3, 1, 0 }, { 2, 0, 1, 1, 0 }, { 4, 2, 3, 1, 0 }, { 3, 1, 2, 1, 0 },
            { 1, 2, 3, 0, 0 }, { 3, 1, 2, 0, 0 }, { 2, 2, 3, 1, 0 }, { 4, 2, 3, 1, 0 },
        };
        const int* row = columns[mask];
        const int count = row[0];
        const lq::Rect inner = internalRect();
        const int innerWidth = internalWidth();
        const int innerLeft = internalLeft();
        for (int control = 0; control < 4; ++control) {
            const int x = innerLeft + (innerWidth * row[control + 1]) / count;
            _controlRects.append(rectToString(lq::Rect(toFloat(x), inner.y(), toFloat(innerWidth / count), toFloat(rowHeight))));
        }
        _controlRects.append(rectToString(lq::Rect(toFloat(innerLeft), toFloat(internalTop() + internalHeight() - captionHeight),
                                                   toFloat(innerWidth), toFloat(captionHeight))));
        lq::Rect picture = inner;
        if (playShown || _showPrevNextControls || _showIndexLabel) {
            picture.origin.y += toFloat(rowHeight);
            picture.size.height -= toFloat(rowHeight);
        }
        if (showCaptions() != 0)
            picture.size.height -= toFloat(captionHeight);
        _controlRects.append(rectToString(picture));
    });
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
            w = truncated(bounds.width());
            h = truncated(bounds.height());
        }
        const bool fullSize = disableImageWell();
        if (!fullSize && photo && photo->canvas())
            photo->canvas()->adjustImageWithLimitWidthAndLimitHeightNewWidthNewHeight(truncated(p.width()), truncated(p.height()),
                                                                                      &w, &h);
        p.origin.x += (p.width() - toFloat(w)) * 0.5f;
        if (!_topAlignPic && !fullSize)
            p.origin.y += toFloat(truncated((p.height() - toFloat(h)) * 0.5f));
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
        if (!album || album->cartType() == 0)
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

// --- Visibility and layout -----------------------------------------------------------------------

bool XmlSlideshow::baseVisibility()
{
    return lq::modelFrame(this, "baseVisibility", [&] {
        const std::shared_ptr<XmlAlbum> album = getCurrentAlbum();
        if (!album || album->numberPhotos() == 0)
            return false;
        if (typeid(*album) == typeid(XmlGroup))
            return false;
        XmlWebPhotoAlbum* element = photoAlbum();
        return element && element->visible() && element->clickOp() == 4;
    });
}

bool XmlSlideshow::visible()
{
    return lq::modelFrame(this, "visible", [&] {
        const std::shared_ptr<XmlAlbum> album = getCurrentAlbum();
        if (!album || album->numberPhotos() == 0)
            return false;
        XmlStyleSheet* sheet = XmlStyleSheet::cast(_parent);
        if (sheet && sheet->view() == XmlStyleSheet::View::Slideshow)
            return true;
        return baseVisibility();
    });
}

void XmlSlideshow::makeTextSystems()
{
    if (!_lm) {
        _contents = std::make_shared<lq::StyledText>();
        _lm = std::make_unique<lq::LayoutManager>();
        _lm->setTextStorage(_contents);
        _tc = std::make_shared<lq::TextContainer>(QSizeF(1000000.0, 1000000.0));
        _tc->setLineFragmentPadding(0);
        _lm->addTextContainer(_tc);
    }
    if (!_prev) {
        _prev = std::make_unique<TextSystem>();
        _link = std::make_unique<TextSystem>();
        _next = std::make_unique<TextSystem>();
        _play = std::make_unique<TextSystem>();
    }
}

XmlSlideshow::TextSystem* XmlSlideshow::controlText(int index) const
{
    switch (index) {
    case Previous:
        return _prev.get();
    case Next:
        return _next.get();
    case IndexLink:
        return _link.get();
    case Play:
        return _play.get();
    default:
        return nullptr;
    }
}

void XmlSlideshow::setControlText(TextSystem& system, const QString& label)
{
    std::shared_ptr<XmlWebFont> record = controlFont();
    if (!record)
        record = font();
    lq::ParagraphStyle paragraph = lq::ParagraphStyle::defaultStyle();
    paragraph.alignment = lq::TextAlignment::Center;
    lq::TextAttributes attributes;
    attributes.paragraphStyle = paragraph;
    attributes.font = record->createFont();
    attributes.foregroundColour = record->fontColor();
    attributes.underlineStyle = record->underline() ? 1 : 0;
    system.textStorage()->setText(lq::StyledText(label, attributes));
}

void XmlSlideshow::setCaptionText(const QString& caption)
{
    const std::shared_ptr<XmlWebFont> record = font();
    const int bits = (record->underline() ? 4 : 0) + (record->italic() ? 1 : 0) + (record->bold() ? 2 : 0);
    normalFont = record->createFont();
    clearLinks();
    _contents->setText(getAttributedStringWithAlignmentAttr(caption, record->textAlignment(), bits));
}

void XmlSlideshow::relayoutFlags(XmlBase* page, int flags)
{
    // The canvas lays the element out while it draws: a failure is logged
    // with the element's XML and goes no further.
    try {
        layoutRelayout(page, flags);
    } catch (const lq::Exception& failure) {
        lq::log(QStringLiteral("slideshow error: ") + failure.name() + QStringLiteral(": ") + failure.reason());
        lq::log(createXml());
    }
}

void XmlSlideshow::layoutRelayout(XmlBase* page, int flags)
{
    if (flags != 0)
        return;
    std::shared_ptr<XmlAlbum> current;
    if (!page) {
        current = getCurrentAlbum();
        page = current.get();
    }
    if (!page)
        return;
    setCurrentAlbum(page);
    calcControlObjects();
    const int first = firstPictureInSlideshow();
    if (first >= numberChildren(page))
        return;
    makeTextSystems();

    const int shownStyle = style();
    setControlText(*_prev, _prevLabel);
    setControlText(*_link, _indexLabel);
    setControlText(*_next, _nextLabel);
    setControlText(*_play, shownStyle == 0 || shownStyle == 1 ? _playLabel : _afterLabel);
    setCaptionText(textCaption());

    for (int index : { Previous, IndexLink, Next, Play }) {
        TextSystem* system = controlText(index);
        const lq::Rect rect = controlRect(index);
        system->textContainer()->setContainerSize(QSizeF(rect.width(), rect.height()));
        system->layoutManager().glyphRangeForTextContainer(system->textContainer().get());
    }
    _tc->setContainerSize(QSizeF(controlRect(Caption).width(), captionContainerHeight));
    _lm->glyphRangeForTextContainer(_tc.get());

    DocumentBase* document = myDocument();
    if (document) {
        document->clearTrackingDataForObject(UUID());
        const auto track = [&](int index, const char* word) {
            TextSystem* system = controlText(index);
            if (system->textStorage()->isEmpty())
                return;
            lq::LayoutManager& lm = system->layoutManager();
            const lq::Range glyphs = lm.glyphRangeForTextContainer(system->textContainer().get());
            QRectF bounds = lm.boundingRectForGlyphRange(glyphs, system->textContainer().get());
            const lq::Rect rect = controlRect(index);
            bounds.translate(rect.x(), rect.y());
            document->addTrackingDataForObjectDataRect(UUID(), QLatin1String(word), lq::Rect(bounds));
        };
        if (_showIndexLabel)
            track(IndexLink, "link");
        if (_showPrevNextControls) {
            track(Previous, "prev");
            track(Next, "next");
        }
        if ((shownStyle == 0 || shownStyle == 1) && _showPlayControls)
            track(Play, "play");
    }

    _slideA = -1;
    const int selected = document ? document->globalIndex() : -1;
    _slideB = selected == -1 ? first : selected;
}

// --- Hit testing -----------------------------------------------------------------------------------

XmlCSSPtr XmlSlideshow::objectAtPoint(const lq::Point& point)
{
    return lq::modelFrame(this, "objectAtPoint:", [&]() -> XmlCSSPtr {
        if (!visible())
            return nullptr;
        _currentControl = -1;
        const int shownStyle = style();
        const auto self = [&] { return std::static_pointer_cast<XmlCSS>(sharedFromThis()); };
        if (shownStyle == 1 || shownStyle == 3) {
            const auto hit = [&](int index) {
                if (!controlRect(index).contains(point))
                    return false;
                _currentControl = index;
                return true;
            };
            if ((_showPrevNextControls && (hit(Previous) || hit(Next))) || (_showIndexLabel && hit(IndexLink))
                || (shownStyle == 1 && _showPlayControls && hit(Play)) || (showCaptions() != 0 && hit(Caption))
                || hit(PictureBox))
                return self();
        }
        if (objectRect().contains(point))
            return self();
        return nullptr;
    });
}

QStringList XmlSlideshow::objectRectArray()
{
    return lq::modelFrame(this, "objectRectArray", [&] {
        QStringList rects;
        rects.append(rectToString(onOwnBox([&] { return objectRect(); })));
        const int shownStyle = style();
        if (shownStyle == 1 || shownStyle == 3) {
            if (_showPrevNextControls) {
                rects.append(rectToString(controlRect(Previous)));
                rects.append(rectToString(controlRect(Next)));
            }
            if (_showIndexLabel)
                rects.append(rectToString(controlRect(IndexLink)));
            if (shownStyle == 1 && _showPlayControls)
                rects.append(rectToString(controlRect(Play)));
            if (showCaptions() != 0)
                rects.append(rectToString(controlRect(Caption)));
            if (_showBkgndBox)
                rects.append(rectToString(controlRect(PictureBox)));
        }
        return rects;
    });
}

bool XmlSlideshow::canDoubleClick()
{
    return false;
}

// --- Editor clicks and preview ---------------------------------------------------------------------

void XmlSlideshow::handOverSlides()
{
    _slideA = _slideB;
    _imageA = _imageB;
    _imageB = lq::GraphicsImage();
}

void XmlSlideshow::redisplayAll()
{
    if (DocumentBase* document = myDocument())
        document->redisplayRect(lq::Rect());
}

void XmlSlideshow::mouseClick(const QString& data)
{
    lq::modelFrame(this, "mouseClick:", [&] {
        const std::shared_ptr<XmlAlbum> album = getCurrentAlbum();
        if (!album)
            return;
        const int count = album->numberChildren();
        const int first = firstPictureInSlideshow();
        if (data == u"link") {
            DocumentBase* document = myDocument();
            if (!document)
                return;
            XmlWebPhotoAlbum* element = photoAlbum();
            XmlGroup* group = XmlGroup::cast(album->parent());
            if (element && element->clickOp() == 4 && group)
                document->selectWebPageIndex(group, -1);
            else
                document->selectWebPageIndex(album.get(), -1);
        } else if (data == u"prev") {
            handOverSlides();
            _slideB = _slideB == first ? count - 1 : _slideB - 1;
            _mixer = 0;
            _playingSlides = false;
        } else if (data == u"next") {
            handOverSlides();
            // The click goes round whatever the loop setting says.
            _slideB = _slideB >= count - 1 ? first : _slideB + 1;
            if (_slideB >= count)
                return;
            _mixer = 0;
            _playingSlides = false;
        } else if (data == u"play") {
            _playingSlides = !_playingSlides;
            redisplayAll();
        }
    });
}

void XmlSlideshow::setAnimationClock(std::shared_ptr<AnimationClock> clock)
{
    if (!clock)
        return;
    _clock->cancel(this);
    _clock = std::move(clock);
}

void XmlSlideshow::scheduleAnimation()
{
    // The element cancels its tick before it goes, so the tick never outlives it.
    _clock->performAfter(this, tickSeconds, [this] { animation(); });
}

void XmlSlideshow::startAnimations()
{
    lq::modelFrame(this, "startAnimations", [&] {
        _clock->cancel(this);
        if (!visible())
            return;
        scheduleAnimation();
        if (_autoStart)
            _playingSlides = true;
    });
}

void XmlSlideshow::stopAnimations()
{
    lq::modelFrame(this, "stopAnimations", [&] {
        _clock->cancel(this);
        if (_mixer != 1.0f) {
            _mixer = 1.0f;
            redisplayAll();
        }
        _waitTime = 0;
        _playingSlides = false;
        _imageA = lq::GraphicsImage();
        _imageB = lq::GraphicsImage();
    });
}

void XmlSlideshow::animation()
{
    lq::modelFrame(this, "animation:", [&] {
        if (_mixer < 1.0f) {
            if (_fade)
                _mixer = static_cast<float>(static_cast<double>(_mixer) + 0.1);
            else
                _mixer = 1.0f;
            _mixer = std::min(_mixer, 1.0f);
            if (_mixer == 1.0f || disableImageWell()) {
                redisplayAll();
            } else if (DocumentBase* document = myDocument()) {
                document->redisplayRect(controlRect(PictureBox));
            }
        } else if (_playingSlides) {
            if (_waitTime == 0)
                _waitTime = 2 * _seconds;
            --_waitTime;
            const std::shared_ptr<XmlAlbum> album = getCurrentAlbum();
            if (_waitTime == 0 && album) {
                const int count = album->numberChildren();
                handOverSlides();
                if (_slideB >= count - 1) {
                    if (_loopSlideshow)
                        _slideB = firstPictureInSlideshow();
                } else {
                    ++_slideB;
                }
                _mixer = 0;
            }
        }
        scheduleAnimation();
    });
}

// --- Canvas drawing --------------------------------------------------------------------------------

void XmlSlideshow::drawObject()
{
    lq::modelFrame(this, "drawObject", [&] {
        if (!_showBkgndBox)
            return;
        const lq::Rect box = onOwnBox([&] { return objectRect(); });
        XmlBoxModel::drawObject(box);
    });
}

void XmlSlideshow::drawText()
{
    lq::modelFrame(this, "drawText", [&] {
        const std::shared_ptr<XmlAlbum> album = getCurrentAlbum();
        const int first = firstPictureInSlideshow();
        const int count = numberChildren(album.get());
        if (first >= count)
            return;
        if (_slideB >= count || _slideB < first)
            _slideB = first;
        XmlPhoto* slide = photoAt(_slideB);
        if (!slide)
            return;
        lq::GraphicsContext* context = lq::GraphicsContext::current();

        slide->loadBackstore(this);
        lq::Rect frameB;
        lq::Rect photoB;
        calcPhotoRectFrameRectThumbRect(slide, frameB, photoB);
        _frame->drawObject(frameB);
        if (_mixer == 1.0f) {
            if (slide->canvas())
                slide->canvas()->drawImageWithWidthAndHeightAtPoint(truncated(photoB.width()), truncated(photoB.height()),
                                                                    photoB.origin);
        } else if (context) {
            if (_slideA >= first && _slideA < count) {
                if (XmlPhoto* previous = photoAt(_slideA)) {
                    lq::Rect frameA;
                    lq::Rect photoA;
                    calcPhotoRectFrameRectThumbRect(previous, frameA, photoA);
                    if (_imageA.isNull() && previous->canvas()) {
                        previous->loadBackstore(this);
                        _imageA = previous->canvas()->makeImageWithWidthAndHeight(truncated(photoA.width()),
                                                                                   truncated(photoA.height()));
                        previous->releaseBackstore(this);
                    }
                    _frame->drawObject(frameA);
                    context->drawImage(_imageA.toQImage(), photoA, lq::Rect(), lq::CompositingOperation::SourceOver,
                                       1.0f - _mixer);
                }
            }
            if (_imageB.isNull() && slide->canvas())
                _imageB = slide->canvas()->makeImageWithWidthAndHeight(truncated(photoB.width()), truncated(photoB.height()));
            context->drawImage(_imageB.toQImage(), photoB, lq::Rect(), lq::CompositingOperation::SourceOver, _mixer);
        }
        slide->releaseBackstore(this);
        drawText2();
    });
}

void XmlSlideshow::drawText2()
{
    lq::modelFrame(this, "drawText2", [&] {
        if (!_lm)
            relayoutFlags(nullptr, 0);
        const std::shared_ptr<XmlAlbum> album = getCurrentAlbum();
        if (!_lm || !_prev || firstPictureInSlideshow() >= numberChildren(album.get()))
            return;
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (!context)
            return;
        const int shownStyle = style();
        setCaptionText(textCaption());
        if (shownStyle == 0 || shownStyle == 1)
            setControlText(*_play, _playingSlides ? _stopLabel : _playLabel);
        else
            setControlText(*_play, _beforeLabel);

        const auto drawControl = [&](int index) {
            TextSystem* system = controlText(index);
            if (system->textStorage()->isEmpty())
                return;
            lq::LayoutManager& lm = system->layoutManager();
            const lq::Range glyphs = lm.glyphRangeForTextContainer(system->textContainer().get());
            lm.drawGlyphsForGlyphRange(glyphs, controlRect(index).origin.toQPointF(), &context->painter());
        };
        if (_showIndexLabel)
            drawControl(IndexLink);
        if (_showPrevNextControls) {
            drawControl(Previous);
            drawControl(Next);
        }
        if (((shownStyle == 0 || shownStyle == 1) && _showPlayControls)
            || ((shownStyle == 2 || shownStyle == 3) && _showBeforeAfterControls))
            drawControl(Play);

        if (showCaptions() == 0)
            return;
        const lq::Rect caption = controlRect(Caption);
        const lq::Range glyphs = _lm->glyphRangeForTextContainer(_tc.get());
        _lm->drawGlyphsForGlyphRange(glyphs, caption.origin.toQPointF(), &context->painter());
        const int textHeight = _contents->isEmpty() ? 0 : truncated(_lm->boundingRectForGlyphRange(glyphs, _tc.get()).height());
        XmlWebPhotoAlbum* element = photoAlbum();
        const int cart = element ? element->cartType() : 0;
        if ((cart != 1 && cart != 2) || !(element->slideshowButton() != 0))
            return;
        const int count = numberChildren(album.get());
        XmlPhoto* photo = photoAt(_slideB < count ? _slideB : firstPictureInSlideshow());
        if (!photo || !photo->canBePurchased())
            return;
        const QImage button(lq::resourcePath(QStringLiteral("site/") + (cart == 1 ? QStringLiteral("buynow.png")
                                                                                     : QStringLiteral("addtocart.png"))));
        if (button.isNull())
            return;
        const float x = caption.x() + (caption.width() - toFloat(button.width())) * 0.5f;
        const float y = caption.y() + toFloat(textHeight);
        context->drawImage(button, lq::Rect(x, y, toFloat(button.width()), toFloat(button.height())), lq::Rect(),
                           lq::CompositingOperation::SourceOver, 1.0f);
    });
}

// --- Passed on to the frame --------------------------------------------------------------------------

void XmlSlideshow::loadBackstore(void* context)
{
    _frame->loadBackstore(context);
    XmlWebText::loadBackstore(context);
}

void XmlSlideshow::releaseBackstore(void* context)
{
    _frame->releaseBackstore(context);
    XmlWebText::releaseBackstore(context);
}

void XmlSlideshow::listOfBitmaps(QStringList& names)
{
    _frame->listOfBitmaps(names);
    XmlWebText::listOfBitmaps(names);
}

void XmlSlideshow::unpackToDirectory(const QString& folder)
{
    _frame->unpackToDirectory(folder);
    XmlWebText::unpackToDirectory(folder);
}

void XmlSlideshow::convert1_2Bitmaps()
{
    _frame->convert1_2Bitmaps();
    XmlWebText::convert1_2Bitmaps();
}

void XmlSlideshow::changeImageUUID(const QHash<QString, QString>& uuids)
{
    _frame->changeImageUUID(uuids);
    XmlWebText::changeImageUUID(uuids);
}

// --- Page output -------------------------------------------------------------------------------------

void XmlSlideshow::appendCSS(QString& css)
{
    lq::modelFrame(this, "appendCSS:", [&] {
        css += QStringLiteral("#ssbackground {position: absolute; font-size: 0px; line-height: 0px; display: block; "
                              "margin: 0px; padding: 0px; ");
        appendCSSBackground(css);
        appendCSSBorders(css);
        css += QStringLiteral("}\n");

        css += QStringLiteral("img.ssviewer {position: absolute; font-size: 0px; line-height: 0px; display: block; "
                              "margin: 0px; ");
        _frame->appendCSSBackground(css);
        _frame->appendCSSPadding(css);
        _frame->appendCSSBorders(css);
        css += QStringLiteral("}\n");

        const std::shared_ptr<XmlWebFont> record = font();
        css += QStringLiteral("p.sscaption {z-index: 200; display: block; position: absolute; margin: 0px; "
                              "white-space: nowrap; ");
        record->appendCSSFontParameters(css);
        css += QStringLiteral("}\n");

        css += QStringLiteral("p.sscaption a {color: ") + colorToCSSString(record->fontColor())
            + QStringLiteral("; text-decoration: underline; }\n");

        css += QStringLiteral("a.sscontrol {display: block; position: absolute; margin: 0px; white-space: nowrap; ");
        std::shared_ptr<XmlWebFont> control = controlFont();
        if (!control)
            control = record;
        control->appendCSSFontParameters(css);
        css += QStringLiteral("}\n");
    });
}

void XmlSlideshow::appendCSSWinIESuffix(QString& css, const QString& suffix)
{
    lq::modelFrame(this, "appendCSSWinIE:suffix:", [&] {
        appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("#ssbackground"), suffix);
        _frame->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("img.ssviewer"), suffix);
    });
}

void XmlSlideshow::genCSSBitmap(QString& script)
{
    lq::modelFrame(this, "genCSSBitmap:", [&] {
        XmlWebText::genCSSBitmap(script);
        _frame->genCSSBitmap(script);
    });
}

void XmlSlideshow::genCSSWinIEBitmap(QString& script)
{
    lq::modelFrame(this, "genCSSWinIEBitmap:", [&] {
        _frame->genCSSWinIEBitmap(script);
        XmlWebText::genCSSWinIEBitmap(script);
    });
}

void XmlSlideshow::listOfFilesToCopyAll(QStringList& files, bool all)
{
    lq::modelFrame(this, "listOfFilesToCopy:all:", [&] {
        _frame->listOfFilesToCopyAll(files, all);
        XmlWebText::listOfFilesToCopyAll(files, all);
    });
}

XmlSlideshow::SlideValues XmlSlideshow::slideValues(XmlPhoto* photo)
{
    SlideValues values;
    lq::Rect frameRect;
    photo->loadBackstore(nullptr);
    calcPhotoRectFrameRectThumbRect(photo, frameRect, values.photoRect);
    values.sequence = photo->imageSeqNumber();
    values.y = truncated(frameRect.y());
    values.x = truncated(frameRect.x());
    values.w = truncated(values.photoRect.width());
    values.h = truncated(values.photoRect.height());
    return values;
}

void XmlSlideshow::addImageStep(XmlPhoto* photo, const lq::Rect& photoRect, int d)
{
    if (d == 1) {
        createImagesProcess += QStringLiteral("<QZcreateWebImage photo=\"") + photo->UUID()
            + QStringLiteral("\" fullSize=\"1\" />");
    } else {
        const lq::Size size(toFloat(truncated(photoRect.width())), toFloat(truncated(photoRect.height())));
        createImagesProcess += QStringLiteral("<QZcreateSlide photo=\"") + photo->UUID() + QStringLiteral("\" size=\"")
            + sizeToString(size) + QStringLiteral("\" />");
    }
}

void XmlSlideshow::appendScriptSetUp(QString& html, XmlBase* page)
{
    XmlAlbum* album = XmlAlbum::cast(page);
    std::shared_ptr<XmlWebFont> control = controlFont();
    const std::shared_ptr<XmlWebFont> record = font();
    if (!control)
        control = record;
    html += QString::asprintf("fc.addfs(\"sscon\", %d, %d, \"a.sscontrol\");\n", control->lineHeight(), control->fontSize());
    html += QString::asprintf("fc.addfs(\"sscap\", %d, %d, \"p.sscaption\");\n", record->lineHeight(), record->fontSize());

    createImagesProcess = QStringLiteral("");
    const int shownStyle = style();
    const bool slideshow = shownStyle == 0 || shownStyle == 1;
    const auto label = [&](const char* property, const QString& text) {
        html += QStringLiteral("ss.") + QLatin1String(property) + QStringLiteral(" = '") + javascriptEscape(text)
            + QStringLiteral("';\n");
    };
    if (slideshow) {
        html += QStringLiteral("ss = new slideshow(\"ss\");\n");
        label("playLabel", _playLabel);
        label("stopLabel", _stopLabel);
        if (_autoStart)
            html += QStringLiteral("ss.autoPlay = 1;\n");
        html += QString::asprintf("ss.timeout = %d000;\n", _seconds);
        if (_fade)
            html += QStringLiteral("ss.fade = 1;\n");
    } else {
        html += QStringLiteral("ss = new beforeafter(\"ss\");\n");
        label("beforeLabel", _beforeLabel);
        label("afterLabel", _afterLabel);
        if (_slideRollovers)
            html += QStringLiteral("ss.rollovers = 1;\n");
    }
    if (!_loopSlideshow)
        html += QStringLiteral("ss.repeat = false;\n");
    if (_randomOrder)
        html += QStringLiteral("ss.random = true;\n");

    if (!album)
        return;
    const int d = disableImageWell() ? 1 : 0;
    QList<XmlPhoto*> photos;
    for (const XmlBasePtr& object : album->photoObjects()) {
        if (XmlPhoto* photo = XmlPhoto::cast(object.get()))
            photos.append(photo);
    }
    if (slideshow) {
        for (XmlPhoto* photo : photos) {
            const SlideValues v = slideValues(photo);
            html += QString::asprintf("ss.add_slide(%d,%d,%d,%d,%d,%d);\n", v.sequence, d, v.y, v.x, v.w, v.h);
            addImageStep(photo, v.photoRect, d);
            photo->releaseBackstore(nullptr);
        }
        return;
    }
    const qsizetype step = _thumbRollovers ? 3 : 2;
    for (qsizetype i = 0; i < photos.size(); i += step) {
        XmlPhoto* before = photos.at(i);
        XmlPhoto* after = i + 1 < photos.size() ? photos.at(i + 1) : nullptr;
        const SlideValues a = slideValues(before);
        const SlideValues b = after ? slideValues(after) : a;
        html += QString::asprintf("ss.add_slide(%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d);\n", a.sequence, d, a.y, a.x, a.w, a.h,
                                  b.sequence, b.y, b.x, b.w, b.h);
        addImageStep(before, a.photoRect, d);
        if (after)
            addImageStep(after, b.photoRect, d);
        before->releaseBackstore(nullptr);
        if (after)
            after->releaseBackstore(nullptr);
    }
}

void XmlSlideshow::appendControlsAndCaptions(QString& html, XmlBase* page)
{
    html += QStringLiteral("<noscript><div id=\"noscript\"><p>Error: This website requires JavaScript to view the "
                           "Slideshow.</p></div></noscript>\n");
    html += QStringLiteral("<a id=\"sscon\" class=\"sscontrol\" href=\"#\" style=\"top:0px; left:-9999px;\">&nbsp;</a>\n");
    html += QStringLiteral("<p id=\"sscap\" class=\"sscaption\" style=\"top:0px; left:-9999px;\">&nbsp;</p>\n");

    if (!_prev || !_lm)
        relayoutFlags(page, 0);
    if (!_prev || !_lm)
        return;
    const int shownStyle = style();
    const auto writeControl = [&](int index, const QString& pre) {
        TextSystem* system = controlText(index);
        appendHTMLFromLayoutManagerPrePostOffset(html, &system->layoutManager(), pre, QStringLiteral("</a>\n"),
                                                 controlRect(index).origin);
    };
    if (_showPrevNextControls) {
        writeControl(Previous, QStringLiteral("<a id=\"ssprev\" class=\"sscontrol\" href=\"javascript:ss.previous()\""));
        writeControl(Next, QStringLiteral("<a id=\"ssnext\" class=\"sscontrol\" href=\"javascript:ss.next()\""));
    }
    if (_showIndexLabel)
        writeControl(IndexLink, QStringLiteral("<a class=\"sscontrol\" href=\"") + attributeEscape(indexLink())
                                    + QLatin1Char('"'));
    if ((shownStyle == 0 || shownStyle == 1) && _showPlayControls)
        writeControl(Play, QStringLiteral("<a id=\"ssplay\" class=\"sscontrol\" href=\"javascript:ss.play()\""));
    if ((shownStyle == 2 || shownStyle == 3) && _showBeforeAfterControls)
        writeControl(Play, QStringLiteral("<a id=\"ssbeforeafter\" class=\"sscontrol\" href=\"javascript:ss.beforeafter()\""));

    XmlAlbum* album = XmlAlbum::cast(page);
    if (showCaptions() != 0 && album) {
        const lq::Rect caption = controlRect(Caption);
        XmlWebPhotoAlbum* element = photoAlbum();
        const int cart = element ? element->cartType() : 0;
        const bool buttons = (cart == 1 || cart == 2) && (element->slideshowButton() != 0);
        for (const XmlBasePtr& object : album->photoObjects()) {
            XmlPhoto* photo = XmlPhoto::cast(object.get());
            if (!photo)
                continue;
            setCaptionText(captionForPhoto(photo));
            html += QString::asprintf("<div id=\"stext%d\" style=\"display: none;\">", photo->imageSeqNumber());
            appendHTMLFromLayoutManagerPrePostOffset(html, _lm.get(), QStringLiteral("<p class=\"sscaption\""),
                                                     QStringLiteral("</p>\n"), caption.origin);
            if (buttons && photo->canBePurchased()) {
                const lq::Range glyphs = _lm->glyphRangeForTextContainer(_tc.get());
                const int textHeight =
                    _contents->isEmpty() ? 0 : truncated(_lm->boundingRectForGlyphRange(glyphs, _tc.get()).height());
                html += QString::asprintf(
                    "<div style=\"display: block; position: absolute; top: %dpx; left: %dpx; width: %dpx;\">\n",
                    truncated(textHeight + caption.y()), truncated(caption.x()), truncated(caption.width()));
                html += textSubberPhoto(contentOf(element->buttonHTML()), photo);
                html += QStringLiteral("</div>\n");
            }
            html += QStringLiteral("</div>");
        }
        html += QStringLiteral("\n");
    }

    html += QStringLiteral("<img class=\"ssviewer\" id=\"ssviewerA\" alt=\"\" src=\"\" border=\"\" style=\"display:none\" />\n");
    html += QStringLiteral("<img class=\"ssviewer\" id=\"ssviewerB\" alt=\"\" src=\"\" border=\"\" style=\"display:none\" />\n");
    if ((shownStyle == 2 || shownStyle == 3) && _slideRollovers)
        html += QStringLiteral("<img class=\"ssviewer\" id=\"ssrollover\" alt=\"\" src=\"bitmaps/transparent.gif\" border=\"\" "
                               "style=\"display:none\" />\n");
}

void XmlSlideshow::appendHTMLPagePassSheet(QString& html, XmlBase* page, int pass, XmlStyleSheet*)
{
    lq::modelFrame(this, "appendHTML:page:pass:sheet:", [&] {
        if (!page || firstPictureInSlideshow() >= page->numberChildren())
            return;
        switch (pass) {
        case -1:
            appendScriptSetUp(html, page);
            break;
        case 6:
            if (_showBkgndBox)
                html += htmlDivTagsVornStyle(QStringLiteral("ssbackground"), QString());
            break;
        case 12:
            appendControlsAndCaptions(html, page);
            break;
        case 18:
            html += QStringLiteral("<script language=\"JavaScript\" type=\"text/javascript\">\n<!--\n"
                                   "if (document.images)\n{\n");
            html += QString::asprintf("ss.firstslide = %d;\n", firstPictureInSlideshow());
            html += QStringLiteral("ss.init();\n}\n// -->\n</script>\n");
            break;
        case 19:
            if (createImagesProcess.isNull())
                break;
            html += createImagesProcess;
            createImagesProcess = QString();
            if ((style() == 2 || style() == 3) && _slideRollovers)
                html += QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"transparent.gif\" />");
            break;
        default:
            break;
        }
    });
}
