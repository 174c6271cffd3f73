// The photo album on the layout canvas: drawing the thumbnails and
// captions, hit tests, and the clicks on a thumbnail or a caption's link.
#include "elements/XmlWebPhotoAlbum.h"

#include "elements/ElementHelpers.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlPhoto.h"
#include "platform/ExceptionFrame.h"
#include "platform/Resources.h"
#include "platform/Workspace.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "templates/XmlPictureFrame.h"

#include <QImage>
#include <QScopedValueRollback>
#include <QUrl>

using elements::isExactly;

namespace {

// A link of a caption: a page of the site is shown, anything else opened.
void openLink(XmlWebPhotoAlbum& album, const QString& link)
{
    if (album.showPageWithLink(link))
        return;
    const QUrl url(link);
    if (url.isValid())
        lq::openURL(url);
}

} // namespace

// --- Canvas -----------------------------------------------------------------------------------------------------

void XmlWebPhotoAlbum::drawObject()
{
    lq::modelFrame(this, "drawObject", [&] {
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return;
        if (_settings.afterDescription() == 2) {
            if (!_settings.hasCollage())
                return;
            const QScopedValueRollback<int> collageBox(_currentPhoto, -1);
            XmlWebText::drawObject(objectRect());
            return;
        }
        if (_settings.shownThumbnails(numberOfThumbnails(page->photoObjects())) != 0)
            XmlWebText::drawObject(objectRect());
    });
}

void XmlWebPhotoAlbum::drawText()
{
    lq::modelFrame(this, "drawText", [&] {
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return;
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        const XmlBaseList photos = page->photoObjects();
        const int count = _settings.cellCount(numberOfThumbnails(photos));
        const int collage = _settings.afterDescription() == 2 && _settings.hasCollage() ? _settings.collageNumberPhotos() : 0;

        QList<ThumbnailResize> resizing;
        for (int i = 0; i < count; ++i) {
            const int pindex = photoIndexForThumbnail(i);
            XmlPhoto* photo = photoAt(photos, pindex);
            if (!photo)
                continue;
            const auto [total, frameRect, thumb, caption] = cellRects(photos, pindex, i);
            if (isExactly<XmlGroup>(page.get()))
                photo->forceRedraw();
            const bool inCollage = i < collage;
            if (const std::optional<lq::Size> size =
                    photo->drawThumbNailAtFrameFrameRect(thumb, inCollage ? nullptr : _frame.get(), frameRect))
                resizing.append({ photo->UUID(), *size });
        }
        if (!resizing.isEmpty()) {
            if (DocumentBase* document = myDocument())
                document->resizeThumbnails(resizing);
        }

        if (!_settings.captionsOrCart() || !context)
            return;
        QImage button;
        if (_settings.hasCartButton() && _settings.thumbnailButton()) {
            const QString name = _settings.cartType() == CartType::BuyNow ? QStringLiteral("buynow.png") : QStringLiteral("addtocart.png");
            button = QImage(lq::resourcePath(QStringLiteral("styles/") + name));
        }
        for (int i = collage; i < count; ++i) {
            const int pindex = photoIndexForThumbnail(i);
            if (pindex >= static_cast<int>(_contentsArray.size()))
                continue;
            const auto [total, frameRect, thumb, captionRect] = cellRects(photos, pindex, i);
            CaptionText& caption = *_contentsArray[static_cast<std::size_t>(pindex)];
            const lq::Range glyphs = caption.layoutManager().glyphRangeForTextContainer(caption.textContainer().get());
            if (glyphs.length > 0)
                caption.layoutManager().drawGlyphsForGlyphRange(glyphs, captionRect.origin.toQPointF(), &context->painter());
            XmlPhoto* photo = photoAt(photos, pindex);
            if (!button.isNull() && photo && photo->canBePurchased()) {
                const QPointF at(captionRect.x() + (captionRect.width() - button.width()) * 0.5,
                                 captionRect.y() + captionRect.height());
                context->painter().drawImage(at, button);
            }
        }
    });
}

XmlCSSPtr XmlWebPhotoAlbum::objectAtPoint(const lq::Point& point)
{
    return lq::modelFrame(this, "objectAtPoint:", [&]() -> XmlCSSPtr {
        if (!visible())
            return nullptr;
        const auto self = std::static_pointer_cast<XmlCSS>(sharedFromThis());
        if (_settings.afterDescription() != 2)
            return objectRect().contains(point) ? self : nullptr;
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return nullptr;
        const XmlBaseList photos = page->photoObjects();
        const int count = numberOfThumbnails(photos);
        const int first = _settings.collageThumbnails(count);
        // The photo drawn last is on top.
        for (int i = _settings.floatingEnd(count) - 1; i >= first; --i) {
            const auto [total, frameRect, thumb, caption] = cellRects(photos, photoIndexForThumbnail(i), i);
            if (thumb.contains(point)) {
                _currentPhoto = i - first;
                return self;
            }
        }
        _currentPhoto = -1;
        if (_settings.hasCollage() && objectRect().contains(point))
            return self;
        return nullptr;
    });
}

bool XmlWebPhotoAlbum::hasNextSelectableObjectInside(bool backwards)
{
    return lq::modelFrame(this, "hasNextSelectableObjectInside:", [&] {
        if (_settings.afterDescription() != 2)
            return false;
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return false;
        const int count = numberOfThumbnails(page->photoObjects());
        const int first = _settings.collageThumbnails(count);
        const int end = _settings.floatingEnd(count);
        if (first >= end)
            return false;
        const int current = first + _currentPhoto;
        if (!backwards) {
            if (current + 1 < end) {
                _currentPhoto = current + 1 - first;
                return true;
            }
        } else if (_currentPhoto != -1 && current > first) {
            _currentPhoto = current - 1 - first;
            return true;
        }
        _currentPhoto = -1;
        return false;
    });
}

std::shared_ptr<XmlPhoto> XmlWebPhotoAlbum::photoForEditingAtPoint(const lq::Point& point)
{
    return lq::modelFrame(this, "objectForEditingAtPoint:", [&]() -> std::shared_ptr<XmlPhoto> {
        if (!visible())
            return nullptr;
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return nullptr;
        const XmlBaseList photos = page->photoObjects();
        const int count = _settings.cellCount(numberOfThumbnails(photos));
        for (int i = 0; i < count; ++i) {
            const int pindex = photoIndexForThumbnail(i);
            const auto [total, frameRect, thumb, caption] = cellRects(photos, pindex, i);
            if (thumb.contains(point)) {
                XmlPhoto* photo = photoAt(photos, pindex);
                return photo ? std::static_pointer_cast<XmlPhoto>(photo->sharedFromThis()) : nullptr;
            }
        }
        return nullptr;
    });
}

XmlBasePtr XmlWebPhotoAlbum::objectForEditingAtPoint(const lq::Point& point)
{
    return photoForEditingAtPoint(point);
}

void XmlWebPhotoAlbum::mouseClick(const QString& data)
{
    lq::modelFrame(this, "mouseClick:", [&] {
        const HotArea area = HotArea::fromString(data);
        DocumentBase* document = myDocument();
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (area.type == u"photo") {
            if (!page || !document)
                return;
            const int i = area.index;
            if (isExactly<XmlAlbum>(page.get()) && i >= _settings.firstPictureInSlideshow() && typeid(*this) == typeid(XmlWebPhotoAlbum)) {
                XmlPhoto* photo = XmlPhoto::cast(page->childAtIndex(i).get());
                if (_settings.clickOp() == ClickOperation::SlideshowPage || _settings.clickOp() == ClickOperation::SlideshowElement) {
                    document->selectWebPageIndex(page.get(), i);
                } else if (_settings.clickOp() == ClickOperation::NewWindow && photo) {
                    lq::openURL(QUrl::fromLocalFile(rootDir() + QStringLiteral("/pictures/image")
                                                    + QString::number(photo->imageSeqNumber()) + QStringLiteral(".jpg")));
                } else if (_settings.clickOp() == ClickOperation::CaptionLink && photo && photo->caption()) {
                    openLink(*this, photo->caption()->href());
                }
            } else if (isExactly<XmlGroup>(page.get())) {
                const XmlBaseList items = page->webItems();
                if (i >= 0 && i < items.size()) {
                    if (XmlAlbum* target = XmlAlbum::cast(items.at(i).get()))
                        document->selectWebPageIndex(target, -1);
                }
            }
        } else if (area.type == u"caption") {
            if (area.index < 0 || area.index >= static_cast<int>(_contentsArray.size()))
                return;
            const lq::StyledText& text = *_contentsArray[static_cast<std::size_t>(area.index)]->textStorage();
            const lq::Range range = lq::Range::fromString(area.range);
            if (range.location >= text.length())
                return;
            const QString link = text.attributesAt(range.location).value(lq::TextKey::linkLocation).toString();
            if (!link.isEmpty())
                openLink(*this, link);
        }
    });
}
