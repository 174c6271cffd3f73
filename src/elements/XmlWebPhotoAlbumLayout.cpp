// The photo album's geometry: the box in its three placement modes, the
// cells of the thumbnails, the laid-out captions and the hot rectangles the
// canvas answers clicks from.
#include "elements/XmlWebPhotoAlbum.h"

#include "elements/ElementHelpers.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlPhoto.h"
#include "platform/Exception.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/text/LayoutManager.h"
#include "templates/XmlPictureFrame.h"
#include "templates/XmlWebFont.h"

#include <algorithm>
#include <cmath>

using elements::isExactly;
using elements::toFloat;

// --- Geometry --------------------------------------------------------------------------------------------

int XmlWebPhotoAlbum::frameExtraWidth() const
{
    return _frame->pl() + _frame->pr() + _frame->bl() + _frame->br() + (_frame->dropShadow() ? shadowStrip : 0);
}

int XmlWebPhotoAlbum::frameExtraHeight() const
{
    return _frame->pt() + _frame->pb() + _frame->bt() + _frame->bb() + (_frame->dropShadow() ? shadowStrip : 0);
}

int XmlWebPhotoAlbum::boxExtraWidth() const
{
    return _bl + _pl + _pr + _br + (_dropShadow ? shadowStrip : 0);
}

int XmlWebPhotoAlbum::boxExtraHeight() const
{
    return _bt + _pt + _pb + _bb + (_dropShadow ? shadowStrip : 0);
}

void XmlWebPhotoAlbum::calcPhotoAlbum() const
{
    _photoWidth = _thumbWidth + frameExtraWidth();
    _photoHeight = _thumbHeight + frameExtraHeight();
}

int XmlWebPhotoAlbum::internalWidth() const
{
    return lq::modelFrame(this, "internalWidth", [&] {
        calcPhotoAlbum();
        return (_photoWidth + _spaceColumns) * _numCols - _spaceColumns;
    });
}

int XmlWebPhotoAlbum::internalHeight() const
{
    return lq::modelFrame(this, "internalHeight", [&] {
        calcPhotoAlbum();
        if (_numCols == 0)
            return 0;
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return 0;
        const int count = numberOfThumbnails(page->photoObjects());
        int usedRows = (count - 1) / _numCols + 1;
        if (_numRows != 0)
            usedRows = std::min(usedRows, _numRows);
        int total = (_photoHeight + _spaceRows) * usedRows - _spaceRows;
        if (captionsOrCart()) {
            for (int row = 0; row < usedRows; ++row) {
                const int extra = heightForCaptionRow(row) + _captionSpace;
                if (extra > 0)
                    total += extra;
            }
        }
        return total;
    });
}

int XmlWebPhotoAlbum::top() const
{
    return floatingSelected() ? lq::truncatedPixel(floatingRect(_currentPhoto).y()) : _top;
}

int XmlWebPhotoAlbum::left() const
{
    return floatingSelected() ? lq::truncatedPixel(floatingRect(_currentPhoto).x()) : _left;
}

int XmlWebPhotoAlbum::width() const
{
    return lq::modelFrame(this, "width", [&] {
        if (_afterDescription == 2) {
            if (_currentPhoto != -1)
                return lq::truncatedPixel(floatingRect(_currentPhoto).width());
            return _fs_width + boxExtraWidth();
        }
        if (_numRows == 0 && _numCols == 0)
            return 0;
        return internalWidth() + boxExtraWidth();
    });
}

int XmlWebPhotoAlbum::height() const
{
    return lq::modelFrame(this, "height", [&] {
        if (_afterDescription == 2) {
            if (_currentPhoto != -1)
                return lq::truncatedPixel(floatingRect(_currentPhoto).height());
            return _fs_height + boxExtraHeight();
        }
        if (_numRows == 0 && _numCols == 0)
            return 0;
        return internalHeight() + boxExtraHeight();
    });
}

bool XmlWebPhotoAlbum::editSelectedFloating(const std::function<void(lq::Rect&)>& edit)
{
    if (!floatingSelected())
        return false;
    lq::Rect rect = floatingRect(_currentPhoto);
    edit(rect);
    setFloatingRectForIndex(rect, _currentPhoto);
    return true;
}

void XmlWebPhotoAlbum::setTop(int top)
{
    lq::modelFrame(this, "setTop:", [&] {
        // In mode 1 the page layout places the grid.
        if (!editSelectedFloating([&](lq::Rect& rect) { rect.origin.y = toFloat(top); }) && _afterDescription != 1)
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
        if (_afterDescription == 1)
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
            setFloatingRectForIndex(lq::Rect(toFloat(lq::truncatedPixel(rect.x())), toFloat(lq::truncatedPixel(rect.y())),
                                             toFloat(lq::truncatedPixel(rect.width())), toFloat(lq::truncatedPixel(rect.height()))),
                                    _currentPhoto);
            return;
        }
        setLeft(lq::truncatedPixel(rect.x()));
        setTop(lq::truncatedPixel(rect.y()));
    });
}

void XmlWebPhotoAlbum::calcPhotoObjectsPindexIndexTotalRectFrameRectThumbRectCaptionRect(
    const XmlBaseList& photos, int pindex, int index, lq::Rect& totalRect, lq::Rect& frameRect, lq::Rect& thumbRect,
    lq::Rect& captionRect)
{
    const lq::Rect fallback(0, 0, toFloat(_thumbWidth), toFloat(_thumbHeight));
    XmlPhoto* photo = photoAt(photos, pindex);
    if (!photo || pindex < 0) {
        thumbRect = frameRect = captionRect = fallback;
        return;
    }
    try {
        calcPhotoAlbum();
        const bool captions = captionsOrCart();
        const float frameLeft = toFloat(_frame->pl() + _frame->bl());
        const float frameTop = toFloat(_frame->pt() + _frame->bt());
        const float shadow = _frame->dropShadow() ? toFloat(shadowStrip) : 0;
        const auto growByFrame = [&](const lq::Rect& rect) {
            return lq::Rect(rect.x() - frameLeft, rect.y() - frameTop,
                            rect.width() + toFloat(_frame->bl() + _frame->pl() + _frame->pr() + _frame->br()) + shadow,
                            rect.height() + toFloat(_frame->bt() + _frame->pt() + _frame->pb() + _frame->bb()) + shadow);
        };
        const lq::Size thumbSize(toFloat(_thumbWidth), toFloat(_thumbHeight));
        const auto placeCaption = [&](lq::Rect& caption, const lq::Rect& frame) {
            if (!captions)
                return;
            if (_showCaptions && _captionsAbove)
                caption.origin.y = frame.y() - toFloat(_captionSpace) - caption.height();
            else
                caption.origin.y = toFloat(lq::truncatedPixel(frame.y() + frame.height())) + toFloat(_captionSpace);
        };

        if (_afterDescription == 2) {
            const int collage = _fs_hasCollage ? _fs_numberPhotos : 0;
            if (index < collage) {
                frameRect = collageRect(index).offset(toFloat(left2() + _bl + _pl), toFloat(top2() + _bt + _pt));
                thumbRect = frameRect;
                captionRect = lq::Rect(frameRect.x(), frameRect.y(), frameRect.width(), 0);
                totalRect = frameRect;
                return;
            }
            thumbRect = floatingRect(index - collage);
            if (!_autoCropFreestyle)
                thumbRect = photo->aspectThumbRectForSize(thumbRect, thumbRect.size);
            frameRect = growByFrame(thumbRect);
            captionRect = lq::Rect(frameRect.x(), 0, frameRect.width(), toFloat(heightForCaption(index)));
            placeCaption(captionRect, frameRect);
        } else {
            const int row = _numCols > 0 ? index / _numCols : 0;
            const int column = _numCols > 0 ? index % _numCols : index;
            const float cellLeft = toFloat(internalLeft() + (_photoWidth + _spaceColumns) * column);
            const float cellTop = toFloat(internalTop() + (_photoHeight + _spaceRows) * row);
            thumbRect = lq::Rect(cellLeft + frameLeft, cellTop + frameTop, thumbSize.width, thumbSize.height);
            if (_thumbAspect == ThumbAspect::SameSize) {
                frameRect = thumbRect;
            } else if (_thumbAspect == ThumbAspect::SameAspect) {
                thumbRect = photo->aspectThumbRectForSize(thumbRect, thumbSize);
                frameRect = thumbRect;
            } else if (_thumbAspect == ThumbAspect::Centred) {
                frameRect = thumbRect;
                thumbRect = photo->aspectThumbRectForSize(thumbRect, thumbSize);
            }
            frameRect = growByFrame(frameRect);
            if (captions) {
                for (int r = 0; r < row; ++r) {
                    const int down = heightForCaptionRow(r) + _captionSpace;
                    if (down > 0) {
                        frameRect = frameRect.offset(0, toFloat(down));
                        thumbRect = thumbRect.offset(0, toFloat(down));
                    }
                }
            }
            captionRect = lq::Rect(cellLeft, 0, toFloat(_photoWidth), toFloat(heightForCaption(index)));
            if (captions && _showCaptions && _captionsAbove) {
                const int down = heightForCaptionRow(row) + _captionSpace;
                frameRect = frameRect.offset(0, toFloat(down));
                thumbRect = thumbRect.offset(0, toFloat(down));
            }
            placeCaption(captionRect, frameRect);
        }
        totalRect = captions ? frameRect.united(captionRect) : frameRect;
    } catch (const lq::Exception&) {
        thumbRect = frameRect = captionRect = fallback;
    }
}

XmlWebPhotoAlbum::Cell XmlWebPhotoAlbum::cellRects(const XmlBaseList& photos, int pindex, int index)
{
    Cell cell;
    calcPhotoObjectsPindexIndexTotalRectFrameRectThumbRectCaptionRect(photos, pindex, index, cell.total, cell.frame, cell.thumb,
                                                                     cell.caption);
    return cell;
}

int XmlWebPhotoAlbum::heightForCaption(int index) const
{
    if (!captionsOrCart())
        return 0;
    const int pindex = photoIndexForThumbnail(index);
    if (pindex < 0 || pindex >= static_cast<int>(_contentsArray.size()))
        return 0;
    return _contentsArray[static_cast<std::size_t>(pindex)]->usedHeight();
}

int XmlWebPhotoAlbum::heightForCaptionRow(int row) const
{
    if (!captionsOrCart())
        return 0;
    const int count = numberOfThumbnails(currentPhotos());
    int tallest = 0;
    for (int cell = _numCols * row; cell < std::min(_numCols * (row + 1), count); ++cell)
        tallest = std::max(tallest, heightForCaption(cell));
    return tallest;
}

lq::Rect XmlWebPhotoAlbum::guideRect()
{
    return lq::modelFrame(this, "guideRect", [&] {
        if (floatingSelected()) {
            const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
            if (page) {
                const XmlBaseList photos = page->photoObjects();
                const int index = _currentPhoto + (_fs_hasCollage ? _fs_numberPhotos : 0);
                const auto [total, frameRect, thumb, caption] = cellRects(photos, photoIndexForThumbnail(index), index);
                return frameRect;
            }
        }
        return objectRect();
    });
}

QStringList XmlWebPhotoAlbum::freestyleRects(bool totals)
{
    QStringList rects;
    const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
    if (!page)
        return rects;
    if (_fs_hasCollage)
        rects.append(rectToString(lq::Rect(toFloat(left2()), toFloat(top2()), toFloat(_fs_width + boxExtraWidth()),
                                           toFloat(_fs_height + boxExtraHeight()))));
    const XmlBaseList photos = page->photoObjects();
    const int count = numberOfThumbnails(photos);
    for (int i = collageThumbnails(count); i < floatingEnd(count); ++i) {
        const Cell cell = cellRects(photos, photoIndexForThumbnail(i), i);
        rects.append(rectToString(totals ? cell.total : cell.frame));
    }
    return rects;
}

QStringList XmlWebPhotoAlbum::guideRectArray()
{
    return lq::modelFrame(this, "guideRectArray", [&] {
        if (_afterDescription != 2)
            return QStringList{ rectToString(objectRect()) };
        return freestyleRects(false);
    });
}

QStringList XmlWebPhotoAlbum::objectRectArray()
{
    return lq::modelFrame(this, "objectRectArray", [&] {
        if (_afterDescription != 2)
            return QStringList{ rectToString(objectRect()) };
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

void XmlWebPhotoAlbum::layoutCaptions(XmlBase* given)
{
    if (given && !XmlAlbum::cast(given))
        return;
    std::shared_ptr<XmlAlbum> remembered;
    XmlBase* page = pageOrCurrentAlbum(given, remembered);
    XmlAlbum* album = XmlAlbum::cast(page);
    if (!album)
        return;

    const QStringList captions = album->photoCaptions();
    const XmlBaseList photos = album->photoObjects();
    calcPhotoAlbum();
    DocumentBase* document = myDocument();
    if (document)
        document->clearTrackingDataForObject(UUID());

    if (captionsOrCart()) {
        const auto count = static_cast<std::size_t>(captions.size());
        while (_contentsArray.size() < count)
            _contentsArray.push_back(std::make_shared<CaptionText>());
        while (_contentsArray.size() > count)
            _contentsArray.pop_back();

        const std::shared_ptr<XmlWebFont> record = font();
        setNormalFont(record->createFont());
        int traits = record->underline() ? 4 : 0;
        if (record->italic())
            traits += 1;
        if (record->bold())
            traits += 2;
        const lq::TextAlignment alignment = record->textAlignment();
        const bool ba = beforeAfter();
        const bool rollovers = thumbrollovers();

        for (qsizetype i = 0; i < captions.size(); ++i) {
            CaptionText& caption = *_contentsArray[static_cast<std::size_t>(i)];
            XmlPhoto* photo = photoAt(photos, static_cast<int>(i));
            clearLinks();
            QString text;
            if (_cartType == CartType::None) {
                text = captions.at(i);
            } else {
                if (_thumbnailCaption)
                    text = captions.at(i);
                if (photo && photo->canBePurchased()) {
                    for (const QString& line : thumbnailText()->content().split(QLatin1Char('\n')))
                        text += QStringLiteral("<p>") + textSubberPhoto(line, photo) + QStringLiteral("</p>");
                }
            }
            caption.textStorage()->setText(getAttributedStringWithAlignmentAttr(text, alignment, traits));

            const int pindex = static_cast<int>(i);
            const int index = rollovers ? pindex / 3 : ba ? pindex / 2 : pindex;
            const auto [total, frameRect, thumb, captionRect] = cellRects(photos, pindex, index);
            const qreal width = _afterDescription == 2 ? captionRect.width() : _photoWidth;
            caption.textContainer()->setContainerSize(QSizeF(width, unboundedExtent));
            lq::LayoutManager& manager = caption.layoutManager();
            manager.glyphRangeForTextContainer(caption.textContainer().get());

            if (!document)
                continue;
            for (const QString& link : links()) {
                lq::Range rest = lq::Range::fromString(link);
                while (rest.length > 0) {
                    lq::Range actual;
                    const lq::Range glyphs = manager.glyphRangeForCharacterRange(rest, &actual);
                    const QRectF bounds = manager.boundingRectForGlyphRange(glyphs, caption.textContainer().get());
                    const lq::Rect area = lq::Rect(bounds).offset(captionRect.x(), captionRect.y());
                    document->addTrackingDataForObjectDataRect(UUID(), HotArea{ QStringLiteral("caption"), pindex, link }.toString(),
                                                               area);
                    if (actual.length == 0 || actual.end() >= rest.end())
                        break;
                    rest = lq::Range{ quint32(actual.end()), quint32(rest.end() - actual.end()) };
                }
            }
        }
    }

    if (!document)
        return;
    const int count = cellCount(numberOfThumbnails(photos));
    const ClickOperation op = isExactly<XmlGroup>(page) ? ClickOperation::CaptionLink : _clickOp;
    if (!visible() || op == ClickOperation::Nothing)
        return;
    for (int i = 0; i < count; ++i) {
        const auto [total, frameRect, thumb, caption] = cellRects(photos, photoIndexForThumbnail(i), i);
        document->addTrackingDataForObjectDataRect(UUID(), HotArea{ QStringLiteral("photo"), i, QString() }.toString(), thumb);
    }
}

void XmlWebPhotoAlbum::cleanup()
{
    lq::modelFrame(this, "cleanup", [&] {
        _contentsArray.clear();
        XmlWebText::cleanup();
    });
}
