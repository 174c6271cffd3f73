#include "templates/XmlCSSImage.h"

#include "model/core/ElementFiles.h"
#include "model/core/ElementRegistry.h"
#include "model/imaging/XmlImage.h"
#include "model/core/HeldBackstore.h"
#include "model/core/SuppressedChanges.h"
#include "platform/ConfinedFolder.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/FileHelpers.h"
#include "platform/ImageFiles.h"
#include "platform/Log.h"
#include "platform/Strings.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/GraphicsImage.h"
#include "templates/XmlCSSBackground.h"
#include "model/core/ModelSettings.h"


#include <algorithm>
#include <array>
#include <cmath>

using namespace lq::literals;

namespace {

// A measured dimension as stored: whole pixels, never negative.
unsigned int toPixels(float value)
{
    return value > 0 ? static_cast<unsigned int>(value) : 0u;
}

// A name that stays inside the folder it is joined to.
bool isPlainFileName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && name != u"." && name != u"..";
}

// The folder of the generated site's bitmaps, below the document folder.
const QString siteBitmaps = QStringLiteral("homepage/bitmaps");

} // namespace

XmlCSSImage::XmlCSSImage(Key key)
    : XmlBase(key)
    , _image(XmlImage::create())
{
    _edit_name = false;
    _image->setParent(this);
}

XmlCSSImage::~XmlCSSImage()
{
    if (_image)
        _image->setParent(nullptr);
}

std::shared_ptr<XmlCSSImage> XmlCSSImage::create()
{
    return make<XmlCSSImage>();
}

QString XmlCSSImage::elementName() const
{
    return QStringLiteral("QZimage");
}

// --- Element protocol --------------------------------------------------------------------------

QString XmlCSSImage::writeXmlVorns()
{
    return lq::modelFrame(this, "writeXmlVorns", [&]() -> QString {
        return _image->createXml();
    });
}

XmlBaseList XmlCSSImage::ownedParts() const
{
    return { _image };
}

XmlBasePtr XmlCSSImage::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        if (tag == u"IWimage"_sv)
            return _image;
        return XmlBase::createChildFromTag(tag);
    });
}

void XmlCSSImage::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"iseq"_sv)
            image_seq_number = lq::intValue(value);
        else if (key == u"ow"_sv)
            _ow = static_cast<unsigned int>(std::max(0, lq::intValue(value)));
        else if (key == u"oh"_sv)
            _oh = static_cast<unsigned int>(std::max(0, lq::intValue(value)));
        else if (key == u"itype"_sv)
            setIType(lq::intValue(value));
        else if (key == u"imageuuid"_sv)
            setImageUUID(value);
        else
            XmlBase::setAttributeTo(key, value);
    });
}

void XmlCSSImage::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBase::appendAttributes(xml);
        // Escaped, so that a picture UUID read from a foreign file cannot
        // break the element's text; a generated UUID is written as it is.
        xml += QStringLiteral(" imageuuid=\"%1\"").arg(lq::escape(_imageUUID));
        xml += QString::asprintf(" itype=\"%d\"", _iType);
        xml += QString::asprintf(" ow=\"%d\" oh=\"%d\"", static_cast<int>(_ow), static_cast<int>(_oh));
    });
}

// --- The picture -------------------------------------------------------------------------------

bool XmlCSSImage::setNewImageFromFile(const QString& path, QString* whyNot)
{
    bool taken = false;
    lq::modelFrame(this, "setNewImageFromFile:", [&] {
        const auto refuse = [&](const QString& reason) {
            if (whyNot)
                *whyNot = reason;
            lq::log(QStringLiteral("XmlCSSImage setNewImageFromFile: ") + path + QStringLiteral(" refused: ") + reason);
        };
        // Only a picture goes into "bitmaps2": never the bytes of anything
        // else. A file of the site is read through its gateway.
        QString notAPicture;
        const std::optional<QByteArray> bytes = lq::readFileAt(*this, path, -1, &notAPicture);
        QImage picture = bytes ? lq::loadPictureData(*bytes, &notAPicture) : QImage();
        if (picture.isNull()) {
            refuse(notAPicture);
            return;
        }

        const QString uuid = ElementRegistry::makeUUID();
        const QString extension = lq::pathExtension(path);
        int type = 0;
        if (extension == u"gif")
            type = 1;
        else if (extension == u"png")
            type = 2;
        const QString suffix = type == 0 ? QStringLiteral(".jpg") : type == 2 ? QStringLiteral(".png") : QStringLiteral(".gif");
        const QString destination = QStringLiteral("bitmaps2/") + uuid + suffix;
        // Never written through a link out of the document.
        const std::shared_ptr<lq::ConfinedFolder> folder = lq::rootFolder(*this);
        QString unsafe = QStringLiteral("the document folder cannot be opened");
        if (!folder || !folder->makeFolder(QStringLiteral("bitmaps2"), &unsafe)) {
            refuse(unsafe);
            return;
        }

        if (extension == u"jpg" || extension == u"gif" || extension == u"png") {
            // A picture of a web format is kept byte for byte.
            QString why;
            if (!folder->writeFileAtomically(destination, *bytes, &why)) {
                refuse(QStringLiteral("the picture cannot be copied: ") + why);
                return;
            }
        } else {
            // Anything else is stored as JPEG, and what is kept in memory is
            // what the file now holds.
            QString why;
            if (!lq::saveImageInRootFolder(*this, picture, destination, 0.0f, &why)) {
                refuse(QStringLiteral("the picture cannot be written: ") + why);
                return;
            }
            const std::optional<QByteArray> written = folder->readFile(destination, -1);
            picture = written ? lq::loadPictureData(*written) : QImage();
            if (picture.isNull()) {
                refuse(QStringLiteral("the picture written to ") + folder->pathOf(destination) + QStringLiteral(" cannot be read back"));
                return;
            }
        }

        // The record changes only once its file is in place.
        setImageUUID(uuid);
        setIType(type);
        // The picture is in memory from now on: at least one hold.
        _backstore = std::max(_backstore, 1);
        const lq::GraphicsImage loaded(picture);
        _image->setImage(loaded);
        // Measured at once, so that the slice names the page writer computes
        // from size() agree with the slices made from the new picture.
        _ow = toPixels(loaded.size().width);
        _oh = toPixels(loaded.size().height);
        taken = true;
    });
    return taken;
}

void XmlCSSImage::setIType(int type)
{
    setStored(_iType, type, "setIType:");
}

void XmlCSSImage::setImageUUID(const QString& uuid)
{
    _imageUUID = uuid;
}

QString XmlCSSImage::imageFileName() const
{
    return lq::modelFrame(this, "imageFileName", [&] {
        if (_iType == 0)
            return _imageUUID + QStringLiteral(".jpg");
        if (_iType == 2)
            return _imageUUID + QStringLiteral(".png");
        return _imageUUID + QStringLiteral(".gif");
    });
}

lq::Size XmlCSSImage::size()
{
    return lq::modelFrame(this, "size", [&] {
        if (_ow == 0 || _oh == 0) {
            const lq::Size measured = _image->image().size();
            _ow = toPixels(measured.width);
            _oh = toPixels(measured.height);
        }
        return lq::Size(static_cast<float>(_ow), static_cast<float>(_oh));
    });
}

bool XmlCSSImage::hasUsablePictureName() const
{
    return isPlainFileName(_imageUUID);
}

// --- Build steps -------------------------------------------------------------------------------

void XmlCSSImage::createWebImage()
{
    lq::modelFrame(this, "createWebImage", [&] {
        if (!hasUsablePictureName())
            return;
        // Copied through the document folder's gateway. Without its stored
        // file there is nothing to copy; a copy that cannot be written fails
        // the build step.
        const std::shared_ptr<lq::ConfinedFolder> folder = lq::rootFolder(*this);
        const QString destination = siteBitmaps + QLatin1Char('/') + imageFileName();
        const QString source = QStringLiteral("bitmaps2/") + imageFileName();
        QString why;
        if (!folder)
            lq::raiseWriteFailure(QStringLiteral("cannot write ") + rootDir() + QLatin1Char('/') + destination + QStringLiteral(": its folder cannot be opened"));
        if (!folder->makeFolder(siteBitmaps, &why) || !folder->remove(destination, &why))
            lq::raiseWriteFailure(why);
        if (folder->isFile(source) && !folder->copyTo(source, *folder, destination, &why))
            lq::raiseWriteFailure(why);
    });
}

void XmlCSSImage::createBitmapSlicesBottom(int top, int bottom)
{
    lq::modelFrame(this, "createBitmapSlices:bottom:", [&] {
        if (!hasUsablePictureName())
            return;
        const HeldBackstore held(*this);
        const lq::GraphicsImage picture = _image->image();
        if (picture.isNull())
            return;
        const float iw = picture.size().width;
        const float ih = picture.size().height;
        const int middle = static_cast<int>(ih - static_cast<float>(top) - static_cast<float>(bottom));

        const XmlCSSBackground* background = XmlCSSBackground::cast(_parent);
        const lq::Colour colour = background ? background->bkgndColor() : lq::Colour::white();

        const auto writeSlice = [&](float height, const lq::Rect& source, QChar digit, int named) {
            lq::GraphicsImage slice = lq::GraphicsImage::withSize(lq::Size(iw, height));
            if (slice.isNull())
                return;
            {
                lq::GraphicsImage::Focus focus(slice);
                focus.context().setFillColor(colour);
                focus.context().fillRect(lq::Rect(0, 0, iw, height));
                picture.drawInRect(lq::Rect(0, 0, iw, height), source, lq::CompositingOperation::SourceOver, 1.0f);
            }
            const QString name = QStringLiteral("%1/%2%3%4.jpg").arg(siteBitmaps, digit, _imageUUID, QString::number(named));
            QString why;
            if (!lq::saveImageInRootFolder(*this, slice.toQImage(), name, 0.0f, &why))
                lq::raiseWriteFailure(why);
        };

        const float topHeight = std::min(ih, static_cast<float>(top));
        if (top > 0)
            writeSlice(topHeight, lq::Rect(0, 0, iw, topHeight), QLatin1Char('1'), top);
        if (middle > 0)
            writeSlice(static_cast<float>(middle), lq::Rect(0, topHeight, iw, static_cast<float>(middle)),
                       QLatin1Char('2'), middle);
        if (bottom > 0)
            writeSlice(static_cast<float>(bottom), lq::Rect(0, ih - static_cast<float>(bottom), iw, static_cast<float>(bottom)),
                       QLatin1Char('3'), bottom);
    });
}

void XmlCSSImage::createWinIEBitmapSizeTypeXY(const QString& filename, const lq::Size& size, int type, int x, int y)
{
    lq::modelFrame(this, "createWinIEBitmap:size:type:x:y:", [&] {
        // The name comes from a processor script and may carry an element's
        // name: it must not lead out of the site's bitmap folder.
        if (!isPlainFileName(filename)) {
            lq::log(QStringLiteral("XmlCSSImage createWinIEBitmap: refused file name %1").arg(filename));
            return;
        }
        const HeldBackstore held(*this);
        const lq::GraphicsImage picture = _image->image();
        const float iw = picture.size().width;
        const float ih = picture.size().height;

        lq::GraphicsImage bitmap = lq::GraphicsImage::withSize(size);
        if (bitmap.isNull())
            return;
        if (!picture.isNull() && iw > 0 && ih > 0) {
            lq::GraphicsImage::Focus focus(bitmap);
            if (type == 0) {
                const int width = static_cast<int>(size.width);
                const int height = static_cast<int>(size.height);
                for (int row = 0; row < height; row = static_cast<int>(static_cast<float>(row) + ih)) {
                    for (int column = 0; column < width; column = static_cast<int>(static_cast<float>(column) + iw))
                        picture.drawAtPoint(lq::Point(static_cast<float>(column), static_cast<float>(row)), lq::Rect(),
                                            lq::CompositingOperation::SourceOver, 1.0f);
                }
            } else if (type == 1) {
                const float left = std::max(0.0f, std::floor(static_cast<float>(x) * (size.width - iw) / 100.0f));
                const float topEdge = std::max(0.0f, std::floor(static_cast<float>(y) * (size.height - ih) / 100.0f));
                picture.drawAtPoint(lq::Point(left, topEdge), lq::Rect(), lq::CompositingOperation::SourceOver, 1.0f);
            }
        }
        QString why;
        if (!lq::saveImageInRootFolder(*this, bitmap.toQImage(), siteBitmaps + QLatin1Char('/') + filename, 0.0f, &why))
            lq::raiseWriteFailure(why);
    });
}

// --- Counted loading ---------------------------------------------------------------------------

void XmlCSSImage::loadBackstore(void* context)
{
    lq::modelFrame(this, "loadBackstore:", [&] {
        ++_backstore;
        {
            // Reading the picture is no change to the document.
            const SuppressedChanges quiet(*this);
            if (_image->image().isNull()) {
                lq::GraphicsImage loaded;
                // Read through the document folder's gateway.
                const std::shared_ptr<lq::ConfinedFolder> folder = hasUsablePictureName() ? lq::rootFolder(*this) : nullptr;
                const QString name = QStringLiteral("bitmaps2/") + imageFileName();
                if (const std::optional<QByteArray> bytes = folder ? folder->readFile(name, -1) : std::nullopt)
                    loaded = lq::GraphicsImage(lq::loadImageData(*bytes, folder->pathOf(name)));
                _image->setImage(loaded);
                _ow = toPixels(loaded.size().width);
                _oh = toPixels(loaded.size().height);
            }
        }
        XmlBase::loadBackstore(context);
    });
}

void XmlCSSImage::releaseBackstore(void*)
{
    lq::modelFrame(this, "releaseBackstore:", [&] {
        --_backstore;
        if (_backstore <= 0) {
            _image->setImage(lq::GraphicsImage());
            _backstore = 0;
        }
    });
}

// --- Bitmap housekeeping -----------------------------------------------------------------------

void XmlCSSImage::listOfBitmaps(QStringList& names)
{
    lq::modelFrame(this, "listOfBitmaps:", [&] {
        if (!_imageUUID.isEmpty())
            names.append(_imageUUID);
    });
}

void XmlCSSImage::listOfFilesToCopyAll(QStringList& files, bool)
{
    lq::modelFrame(this, "listOfFilesToCopy:all:", [&] {
        files.append(QStringLiteral("bitmaps2/") + imageFileName());
    });
}

void XmlCSSImage::unpackToDirectory(const QString& folder)
{
    lq::modelFrame(this, "unpackToDirectory:", [&] {
        if (_image->indata() == 0)
            return;
        const lq::GraphicsImage picture = _image->image();
        if (picture.isNull())
            return;
        // GIF cannot be written: such a picture is kept as PNG.
        const int type = _iType == 0 ? 0 : 2;
        const QString uuid = ElementRegistry::makeUUID();
        // Never written through a link out of the folder.
        const std::shared_ptr<lq::ConfinedFolder> into = lq::ConfinedFolder::open(folder);
        if (!into || !into->makeFolder(QStringLiteral("bitmaps2")))
            return;
        const QString name = QStringLiteral("bitmaps2/") + uuid + (type == 0 ? QStringLiteral(".jpg") : QStringLiteral(".png"));
        // The record names the new file only once it has been written.
        const QByteArray bytes = lq::imageFileData(picture.toQImage(), name, ModelSettings::shared().jpgCompressionFactor());
        if (bytes.isEmpty() || !into->writeFileAtomically(name, bytes))
            return;
        setImageUUID(uuid);
        if (type != _iType)
            setIType(type);
    });
}

void XmlCSSImage::convert1_2Bitmaps()
{
    lq::modelFrame(this, "convert1_2Bitmaps", [&] {
        const QString base = QStringLiteral("bitmaps/bitmap") + QString::number(image_seq_number);
        const std::shared_ptr<lq::ConfinedFolder> folder = lq::rootFolder(*this);
        static const std::array<const char*, 4> extensions { ".tiff", ".png", ".jpg", ".gif" };
        for (const char* extension : extensions) {
            const QString candidate = base + QLatin1String(extension);
            if (folder && folder->isFile(candidate)) {
                setNewImageFromFile(folder->pathOf(candidate));
                return;
            }
        }
    });
}

void XmlCSSImage::changeImageUUID(const QHash<QString, QString>& uuids)
{
    lq::modelFrame(this, "changeImageUUID:", [&] {
        const auto found = uuids.constFind(_imageUUID);
        if (found != uuids.constEnd())
            setImageUUID(found.value());
    });
}

void XmlCSSImage::postload()
{
}
