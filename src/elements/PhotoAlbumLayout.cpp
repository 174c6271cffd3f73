// The photo album's geometry: the cells of the thumbnails in the three
// placement modes, the laid-out captions and the click areas of the page.
#include "elements/PhotoAlbumLayout.h"

#include "elements/ElementHelpers.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlPhoto.h"
#include "platform/Exception.h"
#include "platform/ValueStrings.h"
#include "platform/text/LayoutManager.h"
#include "templates/XmlPictureFrame.h"
#include "templates/XmlWebFont.h"

#include <algorithm>
#include <initializer_list>

using elements::isExactly;
using elements::toFloat;

namespace {

// A sum of stored sizes, held within what a page can be: a site file may
// carry any number for a padding or a border, and the sums must not wrap.
int pageSum(std::initializer_list<qint64> parts)
{
    constexpr qint64 limit = qint64(1) << 24;
    qint64 sum = 0;
    for (qint64 part : parts)
        sum += part;
    return static_cast<int>(std::clamp(sum, -limit, limit));
}

} // namespace

XmlPhoto* PhotoAlbumLayout::photoAt(const XmlBaseList& photos, int index)
{
    if (index < 0 || index >= photos.size())
        return nullptr;
    return XmlPhoto::cast(photos.at(index).get());
}

int PhotoAlbumLayout::frameExtraWidth(const XmlWebPhotoAlbum& album)
{
    return pageSum({ album._frame->pl(), album._frame->pr(), album._frame->bl(), album._frame->br(), album._frame->dropShadow() ? XmlBoxModel::shadowStrip : 0 });
}

int PhotoAlbumLayout::frameExtraHeight(const XmlWebPhotoAlbum& album)
{
    return pageSum({ album._frame->pt(), album._frame->pb(), album._frame->bt(), album._frame->bb(), album._frame->dropShadow() ? XmlBoxModel::shadowStrip : 0 });
}

int PhotoAlbumLayout::boxExtraWidth(const XmlWebPhotoAlbum& album)
{
    return pageSum({ album._bl, album._pl, album._pr, album._br, album._dropShadow ? XmlBoxModel::shadowStrip : 0 });
}

int PhotoAlbumLayout::boxExtraHeight(const XmlWebPhotoAlbum& album)
{
    return pageSum({ album._bt, album._pt, album._pb, album._bb, album._dropShadow ? XmlBoxModel::shadowStrip : 0 });
}

void PhotoAlbumLayout::calcPhotoAlbum(const XmlWebPhotoAlbum& album)
{
    album._photoWidth = pageSum({ album._thumbWidth, frameExtraWidth(album) });
    album._photoHeight = pageSum({ album._thumbHeight, frameExtraHeight(album) });
}

int PhotoAlbumLayout::heightForCaption(const XmlWebPhotoAlbum& album, int index)
{
    if (!album.captionsOrCart())
        return 0;
    const int pindex = album.photoIndexForThumbnail(index);
    if (pindex < 0 || pindex >= static_cast<int>(album._contentsArray.size()))
        return 0;
    return album._contentsArray[static_cast<std::size_t>(pindex)]->usedHeight();
}

int PhotoAlbumLayout::heightForCaptionRow(const XmlWebPhotoAlbum& album, int row)
{
    if (!album.captionsOrCart())
        return 0;
    const int count = album.numberOfThumbnails(album.currentPhotos());
    int tallest = 0;
    for (int cell = album._numCols * row; cell < std::min(album._numCols * (row + 1), count); ++cell)
        tallest = std::max(tallest, heightForCaption(album, cell));
    return tallest;
}

bool PhotoAlbumLayout::editSelectedFloating(const std::function<void(lq::Rect&)>& edit)
{
    if (!_album.floatingSelected())
        return false;
    lq::Rect rect = _album.floatingRect(_album._currentPhoto);
    edit(rect);
    _album.setFloatingRectForIndex(rect, _album._currentPhoto);
    return true;
}

void PhotoAlbumLayout::calcPhotoObjectsPindexIndexTotalRectFrameRectThumbRectCaptionRect(
    const XmlBaseList& photos, int pindex, int index, lq::Rect& totalRect, lq::Rect& frameRect, lq::Rect& thumbRect,
    lq::Rect& captionRect)
{
    const lq::Rect fallback(0, 0, toFloat(_album._thumbWidth), toFloat(_album._thumbHeight));
    XmlPhoto* photo = photoAt(photos, pindex);
    if (!photo || pindex < 0) {
        thumbRect = frameRect = captionRect = fallback;
        return;
    }
    try {
        calcPhotoAlbum(_album);
        const bool captions = _album.captionsOrCart();
        const float frameLeft = toFloat(_album._frame->pl() + _album._frame->bl());
        const float frameTop = toFloat(_album._frame->pt() + _album._frame->bt());
        const float shadow = _album._frame->dropShadow() ? toFloat(XmlBoxModel::shadowStrip) : 0;
        const auto growByFrame = [&](const lq::Rect& rect) {
            return lq::Rect(rect.x() - frameLeft, rect.y() - frameTop,
                            rect.width() + toFloat(_album._frame->bl() + _album._frame->pl() + _album._frame->pr() + _album._frame->br()) + shadow,
                            rect.height() + toFloat(_album._frame->bt() + _album._frame->pt() + _album._frame->pb() + _album._frame->bb()) + shadow);
        };
        const lq::Size thumbSize(toFloat(_album._thumbWidth), toFloat(_album._thumbHeight));
        const auto placeCaption = [&](lq::Rect& caption, const lq::Rect& frame) {
            if (!captions)
                return;
            if (_album._showCaptions && _album._captionsAbove)
                caption.origin.y = frame.y() - toFloat(_album._captionSpace) - caption.height();
            else
                caption.origin.y = toFloat(lq::truncatedPixel(frame.y() + frame.height())) + toFloat(_album._captionSpace);
        };

        if (_album._afterDescription == 2) {
            const int collage = _album._fs_hasCollage ? _album._fs_numberPhotos : 0;
            if (index < collage) {
                frameRect = _album.collageRect(index).offset(toFloat(_album.left2() + _album._bl + _album._pl), toFloat(_album.top2() + _album._bt + _album._pt));
                thumbRect = frameRect;
                captionRect = lq::Rect(frameRect.x(), frameRect.y(), frameRect.width(), 0);
                totalRect = frameRect;
                return;
            }
            thumbRect = _album.floatingRect(index - collage);
            if (!_album._autoCropFreestyle)
                thumbRect = photo->aspectThumbRectForSize(thumbRect, thumbRect.size);
            frameRect = growByFrame(thumbRect);
            captionRect = lq::Rect(frameRect.x(), 0, frameRect.width(), toFloat(heightForCaption(_album, index)));
            placeCaption(captionRect, frameRect);
        } else {
            const int row = _album._numCols > 0 ? index / _album._numCols : 0;
            const int column = _album._numCols > 0 ? index % _album._numCols : index;
            const float cellLeft = toFloat(_album.internalLeft() + (_album._photoWidth + _album._spaceColumns) * column);
            const float cellTop = toFloat(_album.internalTop() + (_album._photoHeight + _album._spaceRows) * row);
            thumbRect = lq::Rect(cellLeft + frameLeft, cellTop + frameTop, thumbSize.width, thumbSize.height);
            if (_album._thumbAspect == XmlWebPhotoAlbum::ThumbAspect::SameSize) {
                frameRect = thumbRect;
            } else if (_album._thumbAspect == XmlWebPhotoAlbum::ThumbAspect::SameAspect) {
                thumbRect = photo->aspectThumbRectForSize(thumbRect, thumbSize);
                frameRect = thumbRect;
            } else if (_album._thumbAspect == XmlWebPhotoAlbum::ThumbAspect::Centred) {
                frameRect = thumbRect;
                thumbRect = photo->aspectThumbRectForSize(thumbRect, thumbSize);
            }
            frameRect = growByFrame(frameRect);
            if (captions) {
                for (int r = 0; r < row; ++r) {
                    const int down = heightForCaptionRow(_album, r) + _album._captionSpace;
                    if (down > 0) {
                        frameRect = frameRect.offset(0, toFloat(down));
                        thumbRect = thumbRect.offset(0, toFloat(down));
                    }
                }
            }
            captionRect = lq::Rect(cellLeft, 0, toFloat(_album._photoWidth), toFloat(heightForCaption(_album, index)));
            if (captions && _album._showCaptions && _album._captionsAbove) {
                const int down = heightForCaptionRow(_album, row) + _album._captionSpace;
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

XmlWebPhotoAlbum::Cell PhotoAlbumLayout::cellRects(const XmlBaseList& photos, int pindex, int index)
{
    XmlWebPhotoAlbum::Cell cell;
    calcPhotoObjectsPindexIndexTotalRectFrameRectThumbRectCaptionRect(photos, pindex, index, cell.total, cell.frame, cell.thumb,
                                                                     cell.caption);
    return cell;
}

lq::Rect PhotoAlbumLayout::calcRawAfterRectTop(int index, int top)
{
    return lq::modelFrame(&_album, "calcRawAfterRect:top:", [&] {
        _album.calcPhotoAlbum();
        const int row = _album._numCols > 0 ? index / _album._numCols : 0;
        const int column = _album._numCols > 0 ? index % _album._numCols : 0;
        return lq::Rect(toFloat(_album.left2() + (_album._photoWidth + _album._spaceColumns) * column),
                        toFloat((_album._photoHeight + _album._spaceRows) * row + top), toFloat(_album._thumbWidth),
                        toFloat(_album._thumbHeight));
    });
}

QStringList PhotoAlbumLayout::freestyleRects(bool totals)
{
    QStringList rects;
    const std::shared_ptr<XmlAlbum> page = _album.getCurrentAlbum();
    if (!page)
        return rects;
    if (_album._fs_hasCollage)
        rects.append(lq::rectToString(lq::Rect(toFloat(_album.left2()), toFloat(_album.top2()), toFloat(_album._fs_width + boxExtraWidth(_album)),
                                           toFloat(_album._fs_height + boxExtraHeight(_album)))));
    const XmlBaseList photos = page->photoObjects();
    const int count = _album.numberOfThumbnails(photos);
    for (int i = _album.collageThumbnails(count); i < _album.floatingEnd(count); ++i) {
        const XmlWebPhotoAlbum::Cell cell = cellRects(photos, _album.photoIndexForThumbnail(i), i);
        rects.append(lq::rectToString(totals ? cell.total : cell.frame));
    }
    return rects;
}

void PhotoAlbumLayout::layoutCaptions(XmlBase* given)
{
    if (given && !XmlAlbum::cast(given))
        return;
    std::shared_ptr<XmlAlbum> remembered;
    XmlBase* page = _album.pageOrCurrentAlbum(given, remembered);
    XmlAlbum* album = XmlAlbum::cast(page);
    if (!album)
        return;

    const QStringList captions = album->photoCaptions();
    const XmlBaseList photos = album->photoObjects();
    calcPhotoAlbum(_album);
    DocumentBase* document = _album.myDocument();
    if (document)
        document->clearTrackingDataForObject(_album.UUID());

    if (_album.captionsOrCart()) {
        const auto count = static_cast<std::size_t>(captions.size());
        while (_album._contentsArray.size() < count)
            _album._contentsArray.push_back(std::make_shared<XmlWebPhotoAlbum::CaptionText>());
        while (_album._contentsArray.size() > count)
            _album._contentsArray.pop_back();

        const std::shared_ptr<XmlWebFont> record = _album.font();
        _album.setNormalFont(record->createFont());
        int traits = record->underline() ? 4 : 0;
        if (record->italic())
            traits += 1;
        if (record->bold())
            traits += 2;
        const lq::TextAlignment alignment = record->textAlignment();
        const bool ba = _album.beforeAfter();
        const bool rollovers = _album.thumbrollovers();

        for (qsizetype i = 0; i < captions.size(); ++i) {
            XmlWebPhotoAlbum::CaptionText& caption = *_album._contentsArray[static_cast<std::size_t>(i)];
            XmlPhoto* photo = photoAt(photos, static_cast<int>(i));
            _album.clearLinks();
            QString text;
            if (_album._cartType == XmlWebPhotoAlbum::CartType::None) {
                text = captions.at(i);
            } else {
                if (_album._thumbnailCaption)
                    text = captions.at(i);
                if (photo && photo->canBePurchased()) {
                    for (const QString& line : _album.thumbnailText()->content().split(QLatin1Char('\n')))
                        text += QStringLiteral("<p>") + _album.textSubberPhoto(line, photo) + QStringLiteral("</p>");
                }
            }
            caption.textStorage()->setText(_album.getAttributedStringWithAlignmentAttr(text, alignment, traits));

            const int pindex = static_cast<int>(i);
            const int index = rollovers ? pindex / 3 : ba ? pindex / 2 : pindex;
            const auto [total, frameRect, thumb, captionRect] = cellRects(photos, pindex, index);
            const qreal width = _album._afterDescription == 2 ? captionRect.width() : _album._photoWidth;
            caption.textContainer()->setContainerSize(QSizeF(width, XmlBoxModel::unboundedExtent));
            lq::LayoutManager& manager = caption.layoutManager();
            manager.glyphRangeForTextContainer(caption.textContainer().get());

            if (!document)
                continue;
            for (const QString& link : _album.links()) {
                lq::Range rest = lq::Range::fromString(link);
                while (rest.length > 0) {
                    lq::Range actual;
                    const lq::Range glyphs = manager.glyphRangeForCharacterRange(rest, &actual);
                    const QRectF bounds = manager.boundingRectForGlyphRange(glyphs, caption.textContainer().get());
                    const lq::Rect area = lq::Rect(bounds).offset(captionRect.x(), captionRect.y());
                    document->addTrackingDataForObjectDataRect(_album.UUID(), XmlWebPhotoAlbum::HotArea{ QStringLiteral("caption"), pindex, link }.toString(),
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
    const int count = _album.cellCount(_album.numberOfThumbnails(photos));
    const XmlWebPhotoAlbum::ClickOperation op = isExactly<XmlGroup>(page) ? XmlWebPhotoAlbum::ClickOperation::CaptionLink : _album._clickOp;
    if (!_album.visible() || op == XmlWebPhotoAlbum::ClickOperation::Nothing)
        return;
    for (int i = 0; i < count; ++i) {
        const auto [total, frameRect, thumb, caption] = cellRects(photos, _album.photoIndexForThumbnail(i), i);
        document->addTrackingDataForObjectDataRect(_album.UUID(), XmlWebPhotoAlbum::HotArea{ QStringLiteral("photo"), i, QString() }.toString(), thumb);
    }
}
