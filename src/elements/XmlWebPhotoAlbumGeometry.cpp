// The photo album's geometry: the cells of the thumbnails in the three
// placement modes, the laid-out captions and the click areas of the page.
#include "elements/XmlWebPhotoAlbum.h"

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

XmlPhoto* XmlWebPhotoAlbum::photoAt(const XmlBaseList& photos, int index)
{
    if (index < 0 || index >= photos.size())
        return nullptr;
    return XmlPhoto::cast(photos.at(index).get());
}

int XmlWebPhotoAlbum::frameExtraWidth() const
{
    return pageSum({ _frame->pl(), _frame->pr(), _frame->bl(), _frame->br(), _frame->dropShadow() ? XmlBoxModel::shadowStrip : 0 });
}

int XmlWebPhotoAlbum::frameExtraHeight() const
{
    return pageSum({ _frame->pt(), _frame->pb(), _frame->bt(), _frame->bb(), _frame->dropShadow() ? XmlBoxModel::shadowStrip : 0 });
}

int XmlWebPhotoAlbum::boxExtraWidth() const
{
    return pageSum({ _bl, _pl, _pr, _br, _dropShadow ? XmlBoxModel::shadowStrip : 0 });
}

int XmlWebPhotoAlbum::boxExtraHeight() const
{
    return pageSum({ _bt, _pt, _pb, _bb, _dropShadow ? XmlBoxModel::shadowStrip : 0 });
}

void XmlWebPhotoAlbum::calcPhotoAlbum() const
{
    _photoWidth = pageSum({ _settings.thumbWidth(), frameExtraWidth() });
    _photoHeight = pageSum({ _settings.thumbHeight(), frameExtraHeight() });
}

int XmlWebPhotoAlbum::heightForCaption(int index) const
{
    if (!_settings.captionsOrCart())
        return 0;
    const int pindex = photoIndexForThumbnail(index);
    if (pindex < 0 || pindex >= static_cast<int>(_contentsArray.size()))
        return 0;
    return _contentsArray[static_cast<std::size_t>(pindex)]->usedHeight();
}

int XmlWebPhotoAlbum::heightForCaptionRow(int row) const
{
    if (!_settings.captionsOrCart())
        return 0;
    const int count = numberOfThumbnails(currentPhotos());
    int tallest = 0;
    for (int cell = _settings.cols() * row; cell < std::min(_settings.cols() * (row + 1), count); ++cell)
        tallest = std::max(tallest, heightForCaption(cell));
    return tallest;
}

bool XmlWebPhotoAlbum::editSelectedFloating(const std::function<void(lq::Rect&)>& edit)
{
    if (!floatingSelected())
        return false;
    lq::Rect rect = _settings.floatingRect(_currentPhoto);
    edit(rect);
    _settings.setFloatingRectForIndex(rect, _currentPhoto);
    return true;
}

void XmlWebPhotoAlbum::calcPhotoObjectsPindexIndexTotalRectFrameRectThumbRectCaptionRect(
    const XmlBaseList& photos, int pindex, int index, lq::Rect& totalRect, lq::Rect& frameRect, lq::Rect& thumbRect,
    lq::Rect& captionRect)
{
    const lq::Rect fallback(0, 0, toFloat(_settings.thumbWidth()), toFloat(_settings.thumbHeight()));
    XmlPhoto* photo = photoAt(photos, pindex);
    if (!photo || pindex < 0) {
        thumbRect = frameRect = captionRect = fallback;
        return;
    }
    try {
        calcPhotoAlbum();
        const bool captions = _settings.captionsOrCart();
        const float frameLeft = toFloat(_frame->pl() + _frame->bl());
        const float frameTop = toFloat(_frame->pt() + _frame->bt());
        const float shadow = _frame->dropShadow() ? toFloat(XmlBoxModel::shadowStrip) : 0;
        const auto growByFrame = [&](const lq::Rect& rect) {
            return lq::Rect(rect.x() - frameLeft, rect.y() - frameTop,
                            rect.width() + toFloat(_frame->bl() + _frame->pl() + _frame->pr() + _frame->br()) + shadow,
                            rect.height() + toFloat(_frame->bt() + _frame->pt() + _frame->pb() + _frame->bb()) + shadow);
        };
        const lq::Size thumbSize(toFloat(_settings.thumbWidth()), toFloat(_settings.thumbHeight()));
        const auto placeCaption = [&](lq::Rect& caption, const lq::Rect& frame) {
            if (!captions)
                return;
            if (_settings.showCaptions() && _settings.captionsAbove())
                caption.origin.y = frame.y() - toFloat(_settings.captionSpace()) - caption.height();
            else
                caption.origin.y = toFloat(lq::truncatedPixel(frame.y() + frame.height())) + toFloat(_settings.captionSpace());
        };

        if (_settings.afterDescription() == 2) {
            const int collage = _settings.hasCollage() ? _settings.collageNumberPhotos() : 0;
            if (index < collage) {
                frameRect = _settings.collageRect(index).offset(toFloat(left2() + _bl + _pl), toFloat(top2() + _bt + _pt));
                thumbRect = frameRect;
                captionRect = lq::Rect(frameRect.x(), frameRect.y(), frameRect.width(), 0);
                totalRect = frameRect;
                return;
            }
            thumbRect = _settings.floatingRect(index - collage);
            if (!_settings.autoCropFreestyle())
                thumbRect = photo->aspectThumbRectForSize(thumbRect, thumbRect.size);
            frameRect = growByFrame(thumbRect);
            captionRect = lq::Rect(frameRect.x(), 0, frameRect.width(), toFloat(heightForCaption(index)));
            placeCaption(captionRect, frameRect);
        } else {
            const int row = _settings.cols() > 0 ? index / _settings.cols() : 0;
            const int column = _settings.cols() > 0 ? index % _settings.cols() : index;
            const float cellLeft = toFloat(internalLeft() + (_photoWidth + _settings.spaceColumns()) * column);
            const float cellTop = toFloat(internalTop() + (_photoHeight + _settings.spaceRows()) * row);
            thumbRect = lq::Rect(cellLeft + frameLeft, cellTop + frameTop, thumbSize.width, thumbSize.height);
            if (_settings.thumbAspect() == XmlWebPhotoAlbum::ThumbAspect::SameSize) {
                frameRect = thumbRect;
            } else if (_settings.thumbAspect() == XmlWebPhotoAlbum::ThumbAspect::SameAspect) {
                thumbRect = photo->aspectThumbRectForSize(thumbRect, thumbSize);
                frameRect = thumbRect;
            } else if (_settings.thumbAspect() == XmlWebPhotoAlbum::ThumbAspect::Centred) {
                frameRect = thumbRect;
                thumbRect = photo->aspectThumbRectForSize(thumbRect, thumbSize);
            }
            frameRect = growByFrame(frameRect);
            if (captions) {
                for (int r = 0; r < row; ++r) {
                    const int down = heightForCaptionRow(r) + _settings.captionSpace();
                    if (down > 0) {
                        frameRect = frameRect.offset(0, toFloat(down));
                        thumbRect = thumbRect.offset(0, toFloat(down));
                    }
                }
            }
            captionRect = lq::Rect(cellLeft, 0, toFloat(_photoWidth), toFloat(heightForCaption(index)));
            if (captions && _settings.showCaptions() && _settings.captionsAbove()) {
                const int down = heightForCaptionRow(row) + _settings.captionSpace();
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
    XmlWebPhotoAlbum::Cell cell;
    calcPhotoObjectsPindexIndexTotalRectFrameRectThumbRectCaptionRect(photos, pindex, index, cell.total, cell.frame, cell.thumb,
                                                                     cell.caption);
    return cell;
}

lq::Rect XmlWebPhotoAlbum::calcRawAfterRectTop(int index, int top)
{
    return lq::modelFrame(this, "calcRawAfterRect:top:", [&] {
        calcPhotoAlbum();
        const int row = _settings.cols() > 0 ? index / _settings.cols() : 0;
        const int column = _settings.cols() > 0 ? index % _settings.cols() : 0;
        return lq::Rect(toFloat(left2() + (_photoWidth + _settings.spaceColumns()) * column),
                        toFloat((_photoHeight + _settings.spaceRows()) * row + top), toFloat(_settings.thumbWidth()),
                        toFloat(_settings.thumbHeight()));
    });
}

QStringList XmlWebPhotoAlbum::freestyleRects(bool totals)
{
    QStringList rects;
    const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
    if (!page)
        return rects;
    if (_settings.hasCollage())
        rects.append(lq::rectToString(lq::Rect(toFloat(left2()), toFloat(top2()), toFloat(_settings.collageWidth() + boxExtraWidth()),
                                           toFloat(_settings.collageHeight() + boxExtraHeight()))));
    const XmlBaseList photos = page->photoObjects();
    const int count = numberOfThumbnails(photos);
    for (int i = _settings.collageThumbnails(count); i < _settings.floatingEnd(count); ++i) {
        const XmlWebPhotoAlbum::Cell cell = cellRects(photos, photoIndexForThumbnail(i), i);
        rects.append(lq::rectToString(totals ? cell.total : cell.frame));
    }
    return rects;
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

    if (_settings.captionsOrCart()) {
        const auto count = static_cast<std::size_t>(captions.size());
        while (_contentsArray.size() < count)
            _contentsArray.push_back(std::make_shared<XmlWebPhotoAlbum::CaptionText>());
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
            XmlWebPhotoAlbum::CaptionText& caption = *_contentsArray[static_cast<std::size_t>(i)];
            XmlPhoto* photo = photoAt(photos, static_cast<int>(i));
            clearLinks();
            QString text;
            if (_settings.cartType() == XmlWebPhotoAlbum::CartType::None) {
                text = captions.at(i);
            } else {
                if (_settings.thumbnailCaption())
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
            const qreal width = _settings.afterDescription() == 2 ? captionRect.width() : _photoWidth;
            caption.textContainer()->setContainerSize(QSizeF(width, XmlBoxModel::unboundedExtent));
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
                    document->addTrackingDataForObjectDataRect(UUID(), XmlWebPhotoAlbum::HotArea{ QStringLiteral("caption"), pindex, link }.toString(),
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
    const int count = _settings.cellCount(numberOfThumbnails(photos));
    const XmlWebPhotoAlbum::ClickOperation op = isExactly<XmlGroup>(page) ? XmlWebPhotoAlbum::ClickOperation::CaptionLink : _settings.clickOp();
    if (!visible() || op == XmlWebPhotoAlbum::ClickOperation::Nothing)
        return;
    for (int i = 0; i < count; ++i) {
        const auto [total, frameRect, thumb, caption] = cellRects(photos, photoIndexForThumbnail(i), i);
        document->addTrackingDataForObjectDataRect(UUID(), XmlWebPhotoAlbum::HotArea{ QStringLiteral("photo"), i, QString() }.toString(), thumb);
    }
}
