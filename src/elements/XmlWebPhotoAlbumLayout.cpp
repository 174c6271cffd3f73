// The photo album's box in its three placement modes and the questions of
// the layout canvas; the cells and captions are in XmlWebPhotoAlbumGeometry.cpp.
#include "elements/XmlWebPhotoAlbum.h"

#include "elements/ElementHelpers.h"
#include "model/site/XmlAlbum.h"
#include "platform/Exception.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/ValueStrings.h"

using elements::toFloat;

// --- Geometry --------------------------------------------------------------------------------------------

int XmlWebPhotoAlbum::internalWidth() const
{
    return lq::modelFrame(this, "internalWidth", [&] {
        calcPhotoAlbum();
        return (_photoWidth + _settings.spaceColumns()) * _settings.cols() - _settings.spaceColumns();
    });
}

int XmlWebPhotoAlbum::internalHeight() const
{
    return lq::modelFrame(this, "internalHeight", [&] {
        calcPhotoAlbum();
        if (_settings.cols() == 0)
            return 0;
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return 0;
        const int count = numberOfThumbnails(page->photoObjects());
        int usedRows = (count - 1) / _settings.cols() + 1;
        if (_settings.rows() != 0)
            usedRows = std::min(usedRows, _settings.rows());
        int total = (_photoHeight + _settings.spaceRows()) * usedRows - _settings.spaceRows();
        if (_settings.captionsOrCart()) {
            for (int row = 0; row < usedRows; ++row) {
                const int extra = heightForCaptionRow(row) + _settings.captionSpace();
                if (extra > 0)
                    total += extra;
            }
        }
        return total;
    });
}

int XmlWebPhotoAlbum::top() const
{
    return floatingSelected() ? lq::truncatedPixel(_settings.floatingRect(_currentPhoto).y()) : _top;
}

int XmlWebPhotoAlbum::left() const
{
    return floatingSelected() ? lq::truncatedPixel(_settings.floatingRect(_currentPhoto).x()) : _left;
}

int XmlWebPhotoAlbum::width() const
{
    return lq::modelFrame(this, "width", [&] {
        if (_settings.afterDescription() == 2) {
            if (_currentPhoto != -1)
                return lq::truncatedPixel(_settings.floatingRect(_currentPhoto).width());
            return _settings.collageWidth() + boxExtraWidth();
        }
        if (_settings.rows() == 0 && _settings.cols() == 0)
            return 0;
        return internalWidth() + boxExtraWidth();
    });
}

int XmlWebPhotoAlbum::height() const
{
    return lq::modelFrame(this, "height", [&] {
        if (_settings.afterDescription() == 2) {
            if (_currentPhoto != -1)
                return lq::truncatedPixel(_settings.floatingRect(_currentPhoto).height());
            return _settings.collageHeight() + boxExtraHeight();
        }
        if (_settings.rows() == 0 && _settings.cols() == 0)
            return 0;
        return internalHeight() + boxExtraHeight();
    });
}

void XmlWebPhotoAlbum::setTop(int top)
{
    lq::modelFrame(this, "setTop:", [&] {
        // In mode 1 the page layout places the grid.
        if (!editSelectedFloating([&](lq::Rect& rect) { rect.origin.y = toFloat(top); }) && _settings.afterDescription() != 1)
            XmlWebText::setTop(top);
    });
}

void XmlWebPhotoAlbum::setLeft(int left)
{
    lq::modelFrame(this, "setLeft:", [&] {
        if (!editSelectedFloating([&](lq::Rect& rect) { rect.origin.x = toFloat(left); }))
            XmlWebText::setLeft(left);
    });
}

void XmlWebPhotoAlbum::setWidth(int width)
{
    lq::modelFrame(this, "setWidth:", [&] {
        if (!editSelectedFloating([&](lq::Rect& rect) { rect.size.width = toFloat(width); }))
            XmlWebText::setWidth(width);
    });
}

void XmlWebPhotoAlbum::setHeight(int height)
{
    lq::modelFrame(this, "setHeight:", [&] {
        if (!editSelectedFloating([&](lq::Rect& rect) { rect.size.height = toFloat(height); }))
            XmlWebText::setHeight(height);
    });
}

bool XmlWebPhotoAlbum::heightFixed() const
{
    return floatingSelected() ? true : XmlWebText::heightFixed();
}

bool XmlWebPhotoAlbum::widthFixed() const
{
    return floatingSelected() ? true : XmlWebText::widthFixed();
}

int XmlWebPhotoAlbum::calcTop() const
{
    return lq::modelFrame(this, "calcTop", [&] {
        if (_settings.afterDescription() == 1)
            return _afterTop;
        return absolute() ? top() : XmlWebText::calcTop();
    });
}

int XmlWebPhotoAlbum::calcLeft() const
{
    return lq::modelFrame(this, "calcLeft", [&] { return absolute() ? left() : XmlWebText::calcLeft(); });
}

int XmlWebPhotoAlbum::calcWidth() const
{
    return lq::modelFrame(this, "calcWidth", [&] { return width(); });
}

int XmlWebPhotoAlbum::calcHeight() const
{
    return lq::modelFrame(this, "calcHeight", [&] { return height(); });
}

void XmlWebPhotoAlbum::setObjectRect(const lq::Rect& rect)
{
    lq::modelFrame(this, "setObjectRect:", [&] {
        if (floatingSelected()) {
            _settings.setFloatingRectForIndex(lq::Rect(toFloat(lq::truncatedPixel(rect.x())), toFloat(lq::truncatedPixel(rect.y())),
                                             toFloat(lq::truncatedPixel(rect.width())), toFloat(lq::truncatedPixel(rect.height()))),
                                    _currentPhoto);
            return;
        }
        setLeft(lq::truncatedPixel(rect.x()));
        setTop(lq::truncatedPixel(rect.y()));
    });
}

lq::Rect XmlWebPhotoAlbum::guideRect()
{
    return lq::modelFrame(this, "guideRect", [&] {
        if (floatingSelected()) {
            const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
            if (page) {
                const XmlBaseList photos = page->photoObjects();
                const int index = _currentPhoto + (_settings.hasCollage() ? _settings.collageNumberPhotos() : 0);
                const auto [total, frameRect, thumb, caption] = cellRects(photos, photoIndexForThumbnail(index), index);
                return frameRect;
            }
        }
        return objectRect();
    });
}

QStringList XmlWebPhotoAlbum::objectRectArray()
{
    return lq::modelFrame(this, "objectRectArray", [&] {
        if (_settings.afterDescription() != 2)
            return QStringList{ lq::rectToString(objectRect()) };
        return freestyleRects(true);
    });
}

// --- Caption layout and hot rectangles ----------------------------------------------------------------------

void XmlWebPhotoAlbum::relayoutFlags(XmlBase* page, int flags)
{
    // The layout runs while the canvas draws: a failure here is logged with
    // the album's XML and goes no further.
    try {
        if (flags != 0)
            return;
        layoutCaptions(page);
    } catch (const lq::Exception& failure) {
        lq::log(QStringLiteral("photoalbum error: ") + failure.name() + QStringLiteral(": ") + failure.reason());
        lq::log(createXml());
    }
}

void XmlWebPhotoAlbum::cleanup()
{
    lq::modelFrame(this, "cleanup", [&] {
        _contentsArray.clear();
        XmlWebText::cleanup();
    });
}
