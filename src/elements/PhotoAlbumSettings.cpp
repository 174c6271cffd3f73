#include "elements/PhotoAlbumSettings.h"

#include "elements/ElementHelpers.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"

#include <algorithm>

using namespace lq::literals;

namespace {

const QString defaultCollage = QStringLiteral("3,600,200,0,2|{{0, 0}, {199, 200}}|{{201, 0}, {198, 200}}|{{401, 0}, {199, 200}}");

} // namespace

using elements::toFloat;

PhotoAlbumSettings::PhotoAlbumSettings(XmlBase& album)
    : _album(&album)
{
    // Only the stored string and its parts: no document to mark yet.
    _collageString = defaultCollage;
    _collageRects = _collageString.split(QLatin1Char('|'));
}

// --- Attributes ------------------------------------------------------------------------------------

void PhotoAlbumSettings::appendAttributes(QString& xml) const
{
    xml += QString::asprintf(" taspect=\"%d\"", static_cast<int>(_thumbAspect));
    xml += QString::asprintf(" twidth=\"%d\" theight=\"%d\"", _thumbWidth, _thumbHeight);
    xml += QString::asprintf(" cols=\"%d\" rows=\"%d\"", _numCols, _numRows);
    xml += QString::asprintf(" hspace=\"%d\" vspace=\"%d\"", _spaceColumns, _spaceRows);
    xml += QString::asprintf(" showcaptions=\"%d\"", int(_showCaptions));
    xml += QString::asprintf(" showtooltips=\"%d\"", int(_showToolTips));
    xml += QString::asprintf(" click=\"%d\"", static_cast<int>(_clickOp));
    xml += QString::asprintf(" cabove=\"%d\"", int(_captionsAbove));
    xml += QString::asprintf(" cspace=\"%d\"", int(_captionSpace));
    xml += QString::asprintf(" after=\"%d\"", _afterDescription);
    xml += QString::asprintf(" asf=\"%d\"", _autoCropFreestyle);
    if (_fs_hasCollage)
        xml += QStringLiteral(" collage=\"") + lq::escape(_collageString) + QLatin1Char('"');
    if (_afterDescription == 2)
        xml += QStringLiteral(" floating=\"") + lq::escape(floatingString()) + QLatin1Char('"');
    xml += QString::asprintf(" carttype=\"%d\" buttontype=\"%d\"", static_cast<int>(_cartType), _buttonType);
    xml += QString::asprintf(" buttonwidth=\"%d\" buttonheight=\"%d\"", _buttonWidth, _buttonHeight);
    xml += QString::asprintf(" thumbcaption=\"%d\" slidecaption=\"%d\"", _thumbnailCaption, _slideshowCaption);
    xml += QString::asprintf(" thumbbutton=\"%d\" slidebutton=\"%d\"", _thumbnailButton, _slideshowButton);
}

bool PhotoAlbumSettings::setAttributeTo(const QString& key, const QString& value)
{
    const int number = value.toInt();
    // The flags take the value's low byte.
    const bool flag = (number & 0xff) != 0;
    if (key == u"twidth"_sv)
        setThumbWidth(number);
    else if (key == u"theight"_sv)
        setThumbHeight(number);
    else if (key == u"cols"_sv)
        setCols(number);
    else if (key == u"rows"_sv)
        setRows(number);
    else if (key == u"hspace"_sv)
        setSpaceColumns(number);
    else if (key == u"vspace"_sv)
        setSpaceRows(number);
    else if (key == u"showcaptions"_sv)
        setShowCaptions(flag);
    else if (key == u"showtooltips"_sv)
        setShowToolTips(flag);
    else if (key == u"click"_sv)
        setClickOp(static_cast<ClickOperation>(number));
    else if (key == u"taspect"_sv)
        setThumbAspect(static_cast<ThumbAspect>(number));
    else if (key == u"cabove"_sv)
        setCaptionsAbove(flag);
    else if (key == u"cspace"_sv)
        setCaptionSpace(number);
    else if (key == u"after"_sv)
        setAfterDescription(number);
    else if (key == u"collage"_sv) {
        setHasCollage(1);
        setCollageString(value);
    } else if (key == u"floating"_sv)
        setFloatingString(value);
    else if (key == u"asf"_sv)
        setAutoCropFreestyle(number);
    else if (key == u"carttype"_sv)
        setCartType(static_cast<CartType>(number));
    else if (key == u"buttontype"_sv)
        setButtonType(number);
    else if (key == u"buttonwidth"_sv)
        setButtonWidth(number);
    else if (key == u"buttonheight"_sv)
        setButtonHeight(number);
    else if (key == u"thumbcaption"_sv)
        setThumbnailCaption(number);
    else if (key == u"thumbbutton"_sv)
        setThumbnailButton(number);
    else if (key == u"slidecaption"_sv)
        setSlideshowCaption(number);
    else if (key == u"slidebutton"_sv)
        setSlideshowButton(number);
    else
        return false;
    return true;
}

// --- Settings --------------------------------------------------------------------------------------

void PhotoAlbumSettings::setThumbWidth(int width) { setStored(_thumbWidth, width, "setThumbWidth:"); }
void PhotoAlbumSettings::setThumbHeight(int height) { setStored(_thumbHeight, height, "setThumbHeight:"); }
void PhotoAlbumSettings::setThumbAspect(ThumbAspect aspect) { setStored(_thumbAspect, aspect, "setThumbAspect:"); }
void PhotoAlbumSettings::setCols(int cols) { setStored(_numCols, cols, "setCols:"); }
void PhotoAlbumSettings::setRows(int rows) { setStored(_numRows, rows, "setRows:"); }
void PhotoAlbumSettings::setSpaceColumns(int space) { setStored(_spaceColumns, space, "setSpaceColumns:"); }
void PhotoAlbumSettings::setSpaceRows(int space) { setStored(_spaceRows, space, "setSpaceRows:"); }
void PhotoAlbumSettings::setShowCaptions(bool show) { setStored(_showCaptions, show, "setShowCaptions:"); }
void PhotoAlbumSettings::setShowToolTips(bool show) { setStored(_showToolTips, show, "setShowToolTips:"); }
void PhotoAlbumSettings::setClickOp(ClickOperation op) { setStored(_clickOp, op, "setClickOp:"); }
void PhotoAlbumSettings::setCaptionsAbove(bool above) { setStored(_captionsAbove, above, "setCaptionsAbove:"); }
void PhotoAlbumSettings::setAfterDescription(int mode) { setStored(_afterDescription, mode, "setAfterDescription:"); }
void PhotoAlbumSettings::setAutoCropFreestyle(int crop) { setStored(_autoCropFreestyle, crop, "setAutoCropFreestyle:"); }
void PhotoAlbumSettings::setHasCollage(int has) { setStored(_fs_hasCollage, has, "setHasCollage:"); }
void PhotoAlbumSettings::setCartType(CartType type) { setStored(_cartType, type, "setCartType:"); }
void PhotoAlbumSettings::setButtonType(int type) { setStored(_buttonType, type, "setButtonType:"); }
void PhotoAlbumSettings::setButtonWidth(int width) { setStored(_buttonWidth, width, "setButtonWidth:"); }
void PhotoAlbumSettings::setButtonHeight(int height) { setStored(_buttonHeight, height, "setButtonHeight:"); }
void PhotoAlbumSettings::setThumbnailCaption(int on) { setStored(_thumbnailCaption, on, "setThumbnailCaption:"); }
void PhotoAlbumSettings::setThumbnailButton(int on) { setStored(_thumbnailButton, on, "setThumbnailButton:"); }
void PhotoAlbumSettings::setSlideshowCaption(int on) { setStored(_slideshowCaption, on, "setSlideshowCaption:"); }
void PhotoAlbumSettings::setSlideshowButton(int on) { setStored(_slideshowButton, on, "setSlideshowButton:"); }

void PhotoAlbumSettings::setCaptionSpace(int space)
{
    // A signed byte, as stored.
    setStored(_captionSpace, static_cast<qint8>(space), "setCaptionSpace:");
}

QString PhotoAlbumSettings::thumbSizeString() const
{
    const QString kind = _thumbAspect == ThumbAspect::SameSize     ? QStringLiteral("Same Size")
                         : _thumbAspect == ThumbAspect::SameAspect ? QStringLiteral("Same Aspect")
                                             : QStringLiteral("Centered Thumbnail");
    return QString::asprintf("%d x %d\n", _thumbWidth, _thumbHeight) + kind;
}

// --- Collage -------------------------------------------------------------------------------------------

void PhotoAlbumSettings::setCollageString(const QString& collage)
{
    lq::modelFrame(_album, "setCollageString:", [&] {
        _collageString = collage;
        _collageRects = collage.split(QLatin1Char('|'));
        const QStringList header = _collageRects.value(0).split(QLatin1Char(','));
        _fs_numberPhotos = header.value(0).trimmed().toInt();
        _fs_width = header.value(1).trimmed().toInt();
        _fs_height = header.value(2).trimmed().toInt();
        _fs_allowPhotos = header.size() > 5 ? header.value(5).trimmed().toInt() : 0;
        _album->docChanged();
    });
}

lq::Rect PhotoAlbumSettings::collageRect(int cell) const
{
    if (cell < 0 || cell + 1 >= _collageRects.size())
        return {};
    return lq::Rect::fromString(_collageRects.at(cell + 1));
}

// --- Floating photos -------------------------------------------------------------------------------------

QString PhotoAlbumSettings::floatingString() const
{
    return _floatingRects.join(QLatin1Char('|'));
}

void PhotoAlbumSettings::setFloatingString(const QString& floating)
{
    // An album without floating photos writes an empty list: it reads back
    // as no rectangle, not as one empty rectangle.
    _floatingRects = floating.isEmpty() ? QStringList() : floating.split(QLatin1Char('|'));
}

lq::Rect PhotoAlbumSettings::floatingRect(int index) const
{
    if (index < 0 || index >= _floatingRects.size())
        return {};
    return lq::Rect::fromString(_floatingRects.at(index));
}

void PhotoAlbumSettings::setFloatingRectForIndex(const lq::Rect& rect, int index)
{
    lq::modelFrame(_album, "setFloatingRect:forIndex:", [&] {
        if (index < 0 || index >= _floatingRects.size())
            return;
        _floatingRects[index] = lq::rectToString(rect);
        _album->docChanged();
    });
}

void PhotoAlbumSettings::addFloatingRect(const lq::Rect& rect)
{
    lq::modelFrame(_album, "addFloatingRect:", [&] {
        _floatingRects.append(lq::rectToString(rect));
        _album->docChanged();
    });
}

void PhotoAlbumSettings::removeFloatingRect()
{
    if (!_floatingRects.isEmpty())
        _floatingRects.removeLast();
}

void PhotoAlbumSettings::setNumFloatingRects(int count)
{
    lq::modelFrame(_album, "setNumFloatingRects:", [&] {
        while (numFloatingRects() < count)
            addFloatingRect(calcRawRect(numFloatingRects()));
        while (numFloatingRects() > std::max(count, 0))
            removeFloatingRect();
    });
}

lq::Rect PhotoAlbumSettings::calcRawRect(int index)
{
    return lq::Rect(toFloat((index % 6) * 100 + 100), toFloat((index / 6) * 100 + 100), toFloat(_thumbWidth),
                    toFloat(_thumbHeight));
}

// --- Thumbnail counts ------------------------------------------------------------------------------------

int PhotoAlbumSettings::shownThumbnails(int count) const
{
    if (_numRows == 0 && _numCols == 0)
        return 0;
    if (_numRows != 0)
        return std::min(count, _numRows * _numCols);
    return count;
}

int PhotoAlbumSettings::collageThumbnails(int count) const
{
    return _fs_hasCollage ? std::clamp(_fs_numberPhotos, 0, std::max(count, 0)) : 0;
}

int PhotoAlbumSettings::floatingEnd(int count) const
{
    return std::min(count, collageThumbnails(count) + numFloatingRects());
}

int PhotoAlbumSettings::cellCount(int count) const
{
    return _afterDescription == 2 ? floatingEnd(count) : shownThumbnails(count);
}

int PhotoAlbumSettings::firstPictureInSlideshow() const
{
    if (_afterDescription == 2 && _fs_hasCollage && _fs_allowPhotos == 0)
        return _fs_numberPhotos;
    return 0;
}
