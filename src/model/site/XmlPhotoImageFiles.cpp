// The images a photo derives from its stored picture: the internal images in
// "temp" (thumbnail, full size and icon) and the published ones under
// "homepage/pictures" (web image, thumbnail and slide).
#include "model/core/ElementFiles.h"
#include "model/site/XmlPhoto.h"

#include "model/site/PhotoFrame.h"
#include "model/imaging/XmlCanvas.h"
#include "model/imaging/XmlImage.h"
#include "model/core/ModelSettings.h"
#include "model/core/DocumentBase.h"
#include "model/core/SuppressedChanges.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlPhotoRep.h"
#include "model/site/XmlSite.h"
#include "platform/ConfinedFolder.h"
#include "platform/Exception.h"
#include "platform/ExceptionFrame.h"
#include "platform/FileHelpers.h"
#include "platform/ValueStrings.h"
#include "platform/graphics/GraphicsContext.h"


#include <algorithm>
#include <cmath>
#include <typeinfo>

namespace {

// The thumbnail and the icon of the internal images.
const lq::Size iconSize(120, 90);

// Holds the object's picture in memory while it lives.
class Backstore {
public:
    explicit Backstore(XmlBase* holder)
        : _holder(holder)
    {
        if (_holder)
            _holder->loadBackstore(nullptr);
    }
    ~Backstore()
    {
        if (_holder)
            _holder->releaseBackstore(nullptr);
    }
    Backstore(const Backstore&) = delete;
    Backstore& operator=(const Backstore&) = delete;

private:
    XmlBase* _holder;
};

// Holds the photo's picture in memory while it lives, for making the build's
// images with a thumbnail of the size (and a slide of the size).
class ImagesBackstore {
public:
    ImagesBackstore(XmlPhoto& photo, const lq::Size& thumbnail, const lq::Size& slide = lq::Size())
        : _photo(photo)
    {
        _photo.loadBackstoreForImages(thumbnail, slide);
    }
    ~ImagesBackstore() { _photo.releaseBackstore(nullptr); }
    ImagesBackstore(const ImagesBackstore&) = delete;
    ImagesBackstore& operator=(const ImagesBackstore&) = delete;

private:
    XmlPhoto& _photo;
};

// Writes the image at the application's JPEG factor (or as PNG) to the name
// below the photo's document folder, through its gateway, making its folder
// first; answers whether it was written, and why not.
bool writeImage(XmlPhoto& photo, const lq::GraphicsImage& image, const QString& name, QString* why = nullptr)
{
    return lq::saveImageInRootFolder(photo, image.toQImage(), name, 0.0f, why);
}

// The same for a picture of the built site: one that cannot be written
// fails the build step.
void publishImage(XmlPhoto& photo, const lq::GraphicsImage& image, const QString& name)
{
    QString why;
    if (!writeImage(photo, image, name, &why))
        lq::raiseWriteFailure(why);
}

// Replaces the target of the built site with a copy of the source (names
// below the document folder), making its folder first; a copy that cannot
// be written fails the build step. Without a source there is nothing to copy.
void publishCopy(XmlPhoto& photo, const QString& source, const QString& target)
{
    const std::shared_ptr<lq::ConfinedFolder> folder = lq::rootFolder(photo);
    if (!folder)
        lq::raiseWriteFailure(QStringLiteral("cannot write ") + photo.rootDir() + QLatin1Char('/') + target + QStringLiteral(": its folder cannot be opened"));
    QString why;
    const qsizetype slash = target.lastIndexOf(QLatin1Char('/'));
    if (!folder->makeFolder(target.left(slash), &why) || !folder->remove(target, &why))
        lq::raiseWriteFailure(why);
    if (folder->isFile(source) && !folder->copyTo(source, *folder, target, &why))
        lq::raiseWriteFailure(why);
}

} // namespace

lq::Size XmlPhoto::pictureLimit()
{
    constexpr int smallestLimit = 1024;
    const ModelSettings& settings = ModelSettings::shared();
    const auto limit = [](int value) { return value > 0 ? value : smallestLimit; };
    return lq::Size(static_cast<float>(limit(settings.maxPictureWidth())), static_cast<float>(limit(settings.maxPictureHeight())));
}

bool XmlPhoto::inSiteDocument()
{
    DocumentBase* document = myDocument();
    return document && document->site();
}

QString XmlPhoto::publishedName(const QString& prefix, const QString& extension) const
{
    return QStringLiteral("homepage/pictures/%1%2.%3").arg(prefix, QString::number(image_seq_number), extension);
}

void XmlPhoto::loadBackstoreForImages(const lq::Size& thumbnail, const lq::Size& slide)
{
    lq::modelFrame(this, "loadBackstoreForImages:slide:", [&] {
        ++_backstore;
        if (!_canvas->image()->image().isNull())
            return;
        // The canvas's geometry is the stored picture's, known before it is read.
        const lq::Size size = _canvas->image()->storedBodyRect().size;
        QSize whole;
        const lq::GraphicsImage picture = storedPictureAtScale(pictureName(), size, scaleOfImages(thumbnail, slide), &whole);
        if (picture.isNull())
            return;
        // Reading the picture back is not an edit.
        SuppressedChanges quiet(*this);
        if (picture.pixelsWide() == whole.width() && picture.pixelsHigh() == whole.height())
            setPicture(picture);
        else
            _canvas->image()->setReducedImage(picture, lq::Size(static_cast<float>(whole.width()), static_cast<float>(whole.height())));
    });
}

double XmlPhoto::scaleOfImages(const lq::Size& thumbnail, const lq::Size& slide)
{
    return lq::modelFrame(this, "scaleOfImages:slide:", [&] {
        const lq::Size limit = pictureLimit();
        double scale = _canvas->scaleOfImageWithLimitWidthAndLimitHeight(static_cast<int>(limit.width), static_cast<int>(limit.height));
        if (thumbnail.width > 0 && thumbnail.height > 0)
            scale = std::max(scale, _canvas->scaleOfThumbnailWithSize(thumbnail));
        scale = std::max(scale, _canvas->scaleOfIconImageWithMaxSize(iconSize));
        if (slide.width > 0 && slide.height > 0)
            scale = std::max(scale, _canvas->scaleOfImageWithLimitWidthAndLimitHeight(static_cast<int>(slide.width),
                                                                                    static_cast<int>(slide.height)));
        return scale;
    });
}

void XmlPhoto::createInternalImages()
{
    lq::modelFrame(this, "createInternalImages", [&] {
        ImagesBackstore held(*this, lq::Size(_canvas->thumbAspectX(), _canvas->thumbAspectY()));
        _thumbnail = lq::GraphicsImage();
        _iconImage = lq::GraphicsImage();
        _thumbnail = _canvas->createThumbnailWithSize(lq::Size(_canvas->thumbAspectX(), _canvas->thumbAspectY()));
        _iconImage = _canvas->createIconImageWithMaxSize(iconSize);
        if (!inSiteDocument())
            return;
        writeImage(*this, _thumbnail, thumbnailName(image_seq_number));
        writeImage(*this, _iconImage, iconName(image_seq_number));
        if (typeid(*this) != typeid(XmlPhotoRep)) {
            const lq::Size limit = pictureLimit();
            writeImage(*this, _canvas->makeImageWithLimitWidthAndLimitHeight(static_cast<int>(limit.width), static_cast<int>(limit.height)),
                       fullSizeName(image_seq_number));
        }
    });
}

lq::GraphicsImage XmlPhoto::thumbnail()
{
    return lq::modelFrame(this, "thumbnail", [&]() -> lq::GraphicsImage {
        if (!_thumbnail.isNull())
            return _thumbnail;
        if (inSiteDocument()) {
            _thumbnail = storedPicture(thumbnailName(image_seq_number));
            if (_thumbnail.isNull())
                createInternalImages();
            return _thumbnail;
        }
        return _canvas->createThumbnailWithSize(lq::Size(_canvas->thumbAspectX(), _canvas->thumbAspectY()));
    });
}

QImage XmlPhoto::iconImage()
{
    return lq::modelFrame(this, "iconImage", [&]() -> QImage {
        if (!_iconImage.isNull())
            return _iconImage.toQImage();
        if (inSiteDocument()) {
            _iconImage = storedPicture(iconName(image_seq_number));
            if (_iconImage.isNull())
                createInternalImages();
            return _iconImage.toQImage();
        }
        return _canvas->createIconImageWithMaxSize(iconSize).toQImage();
    });
}

void XmlPhoto::resizeThumbnail(const QString& text)
{
    lq::modelFrame(this, "resizeThumbnail:", [&] {
        const lq::Size size = lq::stringToSize(text);
        // The shape follows the album that shows the photo: working it out
        // (for a build, a preview, the layout) is no edit of the user's, and
        // is worked out the same way again when it is not saved.
        const SuppressedChanges quiet(*this);
        _canvas->setThumbAspectX(size.width);
        _canvas->setThumbAspectY(size.height);
        {
            ImagesBackstore held(*this, size);
            _thumbnail = _canvas->createThumbnailWithSize(size);
            // Without a document folder there is nowhere to keep it.
            if (!rootDir().isEmpty())
                writeImage(*this, _thumbnail, thumbnailName(image_seq_number));
        }
        _pendingResize = false;
    });
}

std::optional<lq::Size> XmlPhoto::drawThumbNailAtFrameFrameRect(const lq::Rect& rect, PhotoFrame* frame,
                                                                const lq::Rect& frameRect)
{
    return lq::modelFrame(this, "drawThumbNailAt:frame:frameRect:", [&]() -> std::optional<lq::Size> {
        if (_pendingResize)
            return std::nullopt;
        if (frame)
            frame->drawObjectBackground(frameRect, true);
        lq::GraphicsImage shown = thumbnail();
        if (_forceRedraw > 1 || shown.size() != rect.size) {
            if (_forceRedraw == 0) {
                _pendingResize = true;
                return rect.size;
            }
            falseAlarm(true);
            struct Resume {
                XmlPhoto* photo;
                ~Resume() { photo->falseAlarm(false); }
            } resume { this };
            _canvas->setThumbAspectX(rect.size.width);
            _canvas->setThumbAspectY(rect.size.height);
            _thumbnail = lq::GraphicsImage();
            ImagesBackstore held(*this, rect.size);
            _thumbnail = _canvas->createThumbnailWithSize(rect.size);
            shown = _thumbnail;
        }
        _forceRedraw = 0;

        if (lq::GraphicsContext* context = lq::GraphicsContext::current(); context && !shown.isNull()) {
            lq::GraphicsContext::SavedState saved;
            context->setImageInterpolation(lq::ImageInterpolation::High);
            const lq::Size size = shown.size();
            lq::guardDivisor(size.width, QStringLiteral("width = 0"));
            const float scale = rect.width() / size.width;
            shown.drawInRect(lq::Rect(rect.origin, lq::Size(size.width * scale, size.height * scale)), lq::Rect(),
                                  lq::CompositingOperation::SourceOver, 1.0f);
            context->setImageInterpolation(lq::ImageInterpolation::Default);
        }
        if (frame)
            frame->drawObjectBackground(frameRect, false);
        return std::nullopt;
    });
}

lq::Rect XmlPhoto::aspectThumbRectForSize(const lq::Rect& rect, const lq::Size& box)
{
    return lq::modelFrame(this, "aspectThumbRect:forSize:", [&] {
        const lq::Rect bounds = _showObjects ? _canvas->boundingRect(lq::Rect()) : _canvas->image()->boundingRect(lq::Rect());
        float w = std::trunc(bounds.width());
        float h = std::trunc(bounds.height());
        if (w > box.width) {
            lq::guardDivisor(w, QStringLiteral("width = 0"));
            h = std::trunc(box.width * h / w);
            w = std::trunc(box.width);
        }
        if (h > box.height) {
            lq::guardDivisor(h, QStringLiteral("height = 0"));
            w = std::trunc(box.height * w / h);
            h = std::trunc(box.height);
        }
        if (w == 0 || h == 0)
            lq::raise(QStringLiteral("Divide By 0"), QStringLiteral("width or height = 0"));
        float fw = box.width;
        float fh = box.height;
        if (box.width >= box.height * w / h)
            fw = std::ceil(w * box.height / h);
        else
            fh = std::ceil(h * box.width / w);
        return lq::Rect(std::ceil(rect.x() + (box.width - fw) * 0.5f), std::ceil(rect.y() + (box.height - fh) * 0.5f),
                        std::ceil(rect.width() - (box.width - fw)), std::ceil(rect.height() - (box.height - fh)));
    });
}

void XmlPhoto::createWebImageFullSizeFrameFrameRectThumbRect(const lq::Size& thumbSize, bool fullSize, PhotoFrame* frame,
                                                             const lq::Rect& frameRect, const lq::Rect& thumbRect)
{
    lq::modelFrame(this, "createWebImage:fullSize:frame:frameRect:thumbRect:", [&] {
        // Every file is reached through the document folder's gateway.
        const std::shared_ptr<lq::ConfinedFolder> folder = lq::rootFolder(*this);
        const auto isThere = [&](const QString& name) { return folder && folder->isFile(name); };
        const auto removeTarget = [&](const QString& name) {
            if (folder)
                folder->remove(name);
        };
        const QString thumbnail = thumbnailName(image_seq_number);
        if (fullSize) {
            DocumentBase* document = myDocument();
            XmlSite* site = document ? document->site() : nullptr;
            const QString source = site && site->disableImageWell() ? pictureName() : fullSizeName(image_seq_number);
            if (!isThere(source))
                createInternalImages();
            const QString target = publishedName(QStringLiteral("image"), QStringLiteral("jpg"));
            removeTarget(target);
            if (typeid(*this) != typeid(XmlPhotoRep) && parent() && typeid(*parent()) == typeid(XmlAlbum))
                publishCopy(*this, source, target);
        }
        if (thumbSize.width == 0 || thumbSize.height == 0)
            return;
        if (thumbSize != lq::Size(_canvas->thumbAspectX(), _canvas->thumbAspectY()))
            resizeThumbnail(lq::sizeToString(thumbSize));
        else if (XmlPhotoRep::cast(this))
            createInternalImages();

        if (!frame) {
            if (!isThere(thumbnail))
                createInternalImages();
            publishCopy(*this, thumbnail, publishedName(QStringLiteral("thumb"), QStringLiteral("jpg")));
            return;
        }
        // The frame is an element too: its pictures stay loaded while it draws.
        Backstore framed(dynamic_cast<XmlBase*>(frame));
        if (!isThere(thumbnail))
            createInternalImages();
        const QString target = publishedName(QStringLiteral("thumb"), QStringLiteral("png"));
        removeTarget(target);
        lq::GraphicsImage image = lq::GraphicsImage::withSize(frameRect.size);
        {
            lq::GraphicsImage::Focus focus(image);
            forceRedraw();
            drawThumbNailAtFrameFrameRect(thumbRect, frame, frameRect);
        }
        publishImage(*this, image, target);
    });
}

void XmlPhoto::createSlideImage(const lq::Size& size)
{
    lq::modelFrame(this, "createSlideImage:", [&] {
        ImagesBackstore held(*this, lq::Size(), size);
        const lq::GraphicsImage slide = _canvas->makeImageWithLimitWidthAndLimitHeight(static_cast<int>(size.width),
                                                                                      static_cast<int>(size.height));
        publishImage(*this, slide, publishedName(QStringLiteral("slide"), QStringLiteral("jpg")));
    });
}

void XmlPhoto::canSaveChanges()
{
    lq::modelFrame(this, "canSaveChanges", [&] { createInternalImages(); });
}
