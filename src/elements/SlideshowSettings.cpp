// The slideshow's stored settings and their attributes.
#include "elements/SlideshowSettings.h"

#include "elements/XmlWebPhotoAlbum.h"
#include "model/core/ModelSettings.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"
#include "templates/XmlStyleSheet.h"

#include <algorithm>

using namespace lq::literals;

SlideshowSettings::SlideshowSettings(XmlBase& element)
    : _element(element)
{
}

template <class Field, class Value>
void SlideshowSettings::setStored(Field& field, Value&& value, const char* operation)
{
    lq::modelFrame(&_element, operation, [&] {
        field = std::forward<Value>(value);
        _element.docChanged();
    });
}

// --- Stored form -------------------------------------------------------------------------------

bool SlideshowSettings::setAttributeTo(const QString& key, const QString& value)
{
    {
        const int number = lq::intValue(value);
        // Flags are kept in one byte: only the low byte of the number counts.
        const bool flag = static_cast<qint8>(number & 0xFF) != 0;
        if (key == u"style"_sv)
            // Four styles exist; any other stored number is read as the first,
            // so that what is read is written back the same.
            setStyle(number >= 0 && number <= 3 ? number : 0);
        else if (key == u"showCaptions"_sv)
            setShowCaptions(number);
        else if (key == u"prevLabel"_sv)
            setPrevLabel(value);
        else if (key == u"nextLabel"_sv)
            setNextLabel(value);
        else if (key == u"showPrevNext"_sv)
            setShowPrevNextControls(flag);
        else if (key == u"showIndex"_sv)
            setShowIndexLabel(flag);
        else if (key == u"showBkgndBox"_sv)
            setShowBkgndBox(flag);
        else if (key == u"showPlayControls"_sv)
            setShowPlayControls(flag);
        else if (key == u"playLabel"_sv)
            setPlayLabel(value);
        else if (key == u"indexLabel"_sv)
            setIndexLabel(value);
        else if (key == u"stopLabel"_sv)
            setStopLabel(value);
        else if (key == u"showBeforeAfterControls"_sv)
            setShowBeforeAfterControls(flag);
        else if (key == u"beforeLabel"_sv)
            setBeforeLabel(value);
        else if (key == u"afterLabel"_sv)
            setAfterLabel(value);
        else if (key == u"seconds"_sv)
            setSeconds(number);
        else if (key == u"autoStart"_sv)
            setAutoStart(flag);
        else if (key == u"fade"_sv)
            setFade(flag);
        else if (key == u"allowBkgnd"_sv)
            setAllowBkgndImage(flag);
        else if (key == u"topAlign"_sv)
            setTopAlignPic(flag);
        else if (key == u"loop"_sv)
            setLoopSlideshow(flag);
        else if (key == u"clines"_sv)
            setCaptionLines(number);
        else if (key == u"controls"_sv)
            setControlString(value);
        else if (key == u"thumbRollovers"_sv)
            setThumbRollovers(flag);
        else if (key == u"slideRollovers"_sv)
            setSlideRollovers(flag);
        else if (key == u"randomOrder"_sv)
            setRandomOrder(flag);
        else if (key == u"reverseThumbs"_sv)
            setReverseThumbs(flag);
        else
            return false;
        return true;
    }
}

void SlideshowSettings::appendAttributes(QString& xml)
{
    {
        const int shownStyle = style();
        const auto text = [](const QString& label) { return lq::escape(label); };
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
            xml += QStringLiteral(" controls=\"") + lq::escape(controlString()) + QLatin1Char('"');
        xml += QString::asprintf(" loop=\"%d\"", _loopSlideshow ? 1 : 0);
        xml += QString::asprintf(" thumbRollovers=\"%d\" slideRollovers=\"%d\"", _thumbRollovers ? 1 : 0,
                                 _slideRollovers ? 1 : 0);
        xml += QString::asprintf(" reverseThumbs=\"%d\" randomOrder=\"%d\"", _reverseThumbs ? 1 : 0,
                                 _randomOrder ? 1 : 0);
    }
}

// --- Settings ---------------------------------------------------------------------------------------

int SlideshowSettings::foldedStyle() const
{
    if (ModelSettings::shared().enableBeforeAfter() == 0 && _style > 1)
        return _style - 2;
    return _style;
}

int SlideshowSettings::style() const
{
    return lq::modelFrame(&_element, "style", [&] { return foldedStyle(); });
}

int SlideshowSettings::showCaptions()
{
    return lq::modelFrame(&_element, "showCaptions", [&] {
        XmlWebPhotoAlbum* album = photoAlbum();
        if (album && album->cartType() != XmlWebPhotoAlbum::CartType::None)
            return 1;
        return _showCaptions;
    });
}

void SlideshowSettings::setStyle(int style) { setStored(_style, style, "setStyle:"); }
void SlideshowSettings::setShowCaptions(int show) { setStored(_showCaptions, show, "setShowCaptions:"); }
void SlideshowSettings::setShowPrevNextControls(bool show) { setStored(_showPrevNextControls, show, "setShowPrevNextControls:"); }
void SlideshowSettings::setNextLabel(const QString& label) { setStored(_nextLabel, lq::orEmpty(label), "setNextLabel:"); }
void SlideshowSettings::setPrevLabel(const QString& label) { setStored(_prevLabel, lq::orEmpty(label), "setPrevLabel:"); }
void SlideshowSettings::setShowPlayControls(bool show) { setStored(_showPlayControls, show, "setShowPlayControls:"); }
void SlideshowSettings::setPlayLabel(const QString& label) { setStored(_playLabel, lq::orEmpty(label), "setPlayLabel:"); }
void SlideshowSettings::setStopLabel(const QString& label) { setStored(_stopLabel, lq::orEmpty(label), "setStopLabel:"); }
void SlideshowSettings::setShowBeforeAfterControls(bool show) { setStored(_showBeforeAfterControls, show, "setShowBeforeAfterControls:"); }
void SlideshowSettings::setBeforeLabel(const QString& label) { setStored(_beforeLabel, lq::orEmpty(label), "setBeforeLabel:"); }
void SlideshowSettings::setAfterLabel(const QString& label) { setStored(_afterLabel, lq::orEmpty(label), "setAfterLabel:"); }
void SlideshowSettings::setThumbRollovers(bool on) { setStored(_thumbRollovers, on, "setThumbRollovers:"); }
void SlideshowSettings::setSlideRollovers(bool on) { setStored(_slideRollovers, on, "setSlideRollovers:"); }
void SlideshowSettings::setReverseThumbs(bool on) { setStored(_reverseThumbs, on, "setReverseThumbs:"); }
void SlideshowSettings::setRandomOrder(bool on) { setStored(_randomOrder, on, "setRandomOrder:"); }
void SlideshowSettings::setShowIndexLabel(bool show) { setStored(_showIndexLabel, show, "setShowIndexLabel:"); }
void SlideshowSettings::setIndexLabel(const QString& label) { setStored(_indexLabel, lq::orEmpty(label), "setIndexLabel:"); }
void SlideshowSettings::setSeconds(int seconds) { setStored(_seconds, seconds, "setSeconds:"); }
void SlideshowSettings::setAutoStart(bool on) { setStored(_autoStart, on, "setAutoStart:"); }
void SlideshowSettings::setFade(bool on) { setStored(_fade, on, "setFade:"); }
void SlideshowSettings::setShowBkgndBox(bool show) { setStored(_showBkgndBox, show, "setShowBkgndBox:"); }
void SlideshowSettings::setAllowBkgndImage(bool allow) { setStored(_allowBkgndImage, allow, "setAllowBkgndImage:"); }
void SlideshowSettings::setTopAlignPic(bool on) { setStored(_topAlignPic, on, "setTopAlignPic:"); }
void SlideshowSettings::setLoopSlideshow(bool on) { setStored(_loopSlideshow, on, "setLoopSlideshow:"); }

void SlideshowSettings::setCaptionLines(int lines)
{
    setStored(_captionLines, std::clamp(lines, 1, 6), "setCaptionLines:");
}

// --- Controls ----------------------------------------------------------------------------------

lq::Rect SlideshowSettings::controlRect(int index) const
{
    if (index < 0 || index >= _controlRects.size())
        return lq::Rect();
    return lq::stringToRect(_controlRects.at(index));
}

void SlideshowSettings::setControlRectForIndex(const lq::Rect& rect, int index)
{
    lq::modelFrame(&_element, "setControlRect:forIndex:", [&] {
        if (index >= 0 && index < _controlRects.size())
            _controlRects[index] = lq::rectToString(rect);
    });
}

QString SlideshowSettings::controlString() const
{
    return _controlRects.join(QLatin1Char('|'));
}

void SlideshowSettings::setControlRects(const QStringList& rects)
{
    _controlRects = rects;
}

void SlideshowSettings::setControlString(const QString& text)
{
    _controlRects = text.split(QLatin1Char('|'));
}

XmlWebPhotoAlbum* SlideshowSettings::photoAlbum() const
{
    XmlStyleSheet* sheet = XmlStyleSheet::cast(_element.parent());
    if (!sheet)
        return nullptr;
    return XmlWebPhotoAlbum::cast(sheet->getElementWithName(QStringLiteral("Photo Album")).get());
}
