#include "templates/XmlCSSImage.h"

#include "imaging/XmlImage.h"
#include "model/core/HeldBackstore.h"
#include "model/core/SuppressedChanges.h"
#include "platform/ExceptionFrame.h"
#include "platform/ConfinedFolder.h"
#include "platform/FileHelpers.h"
#include "platform/ImageFiles.h"
#include "platform/Log.h"
#include "platform/Strings.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/GraphicsImage.h"
#include "templates/XmlCSSBackground.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cmath>

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

// The folder of the generated site's bitmaps, below the site folder.
const QString siteBitmaps = QStringLiteral("homepage/bitmaps");

// A picture of the generated site that cannot be written fails the build step.
void writeSitePicture(lq::ConfinedFolder& folder, const QString& name, const QImage& image)
{
    QString why;
    const QByteArray bytes = XmlBase::imageDataFilenameCompression(image, name, 0.0f);
    if (bytes.isEmpty())
        why = QStringLiteral("cannot write ") + folder.pathOf(name) + QStringLiteral(": the picture cannot be encoded");
    if (bytes.isEmpty() || !folder.writeFileAtomically(name, bytes, &why))
        lq::raiseWriteFailure(why);
}

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
        if (tag == u"IWimage")
            return _image;
        return XmlBase::createChildFromTag(tag);
    });
}

void XmlCSSImage::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"iseq")
            image_seq_number = lq::intValue(value);
        else if (key == u"ow")
            _ow = static_cast<unsigned int>(std::max(0, lq::intValue(value)));
        else if (key == u"oh")
            _oh = static_cast<unsigned int>(std::max(0, lq::intValue(value)));
        else if (key == u"itype")
            setIType(lq::intValue(value));
        else if (key == u"imageuuid")
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
        xml += QStringLiteral(" imageuuid=\"%1\"").arg(escape(_imageUUID));
        xml += QString::asprintf(" itype=\"%d\"", _iType);
        xml += QString::asprintf(" ow=\"%d\" oh=\"%d\"", static_cast<int>(_ow), static_cast<int>(_oh));
    });
}

// --- The picture -------------------------------------------------------------------------------

bool XmlCSSImage::setNewImageFromFile(const QString& path, QString* whyNot)
{
    // A file the user chose, read once: what is taken is what was read.
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    QString reason;
    if (bytes.isEmpty())
        reason = QFileInfo(path).isFile() ? QStringLiteral("the file is empty or cannot be read") : QStringLiteral("there is no such file");
    return takePicture(bytes, lq::pathExtension(path), path, reason, whyNot);
}

bool XmlCSSImage::takePicture(const QByteArray& bytes, const QString& extension, const QString& from, const QString& unread, QString* whyNot)
{
    bool taken = false;
    lq::modelFrame(this, "setNewImageFromFile:", [&] {
        const auto refuse = [&](const QString& reason) {
            if (whyNot)
                *whyNot = reason;
            lq::log(QStringLiteral("XmlCSSImage setNewImageFromFile: ") + from + QStringLiteral(" refused: ") + reason);
        };
        if (!unread.isEmpty()) {
            refuse(unread);
            return;
        }
        // Only a picture goes into "bitmaps2": never the bytes of anything else.
        QImage picture = lq::pictureFromData(bytes);
        if (picture.isNull()) {
            refuse(QStringLiteral("the file is not a picture of a known format"));
            return;
        }

        const QString uuid = makeUUID();
        int type = 0;
        if (extension == u"gif")
            type = 1;
        else if (extension == u"png")
            type = 2;
        const QString suffix = type == 0 ? QStringLiteral(".jpg") : type == 2 ? QStringLiteral(".png") : QStringLiteral(".gif");
        const QString name = QStringLiteral("bitmaps2/") + uuid + suffix;
        // Never written through a link out of the document.
        QString why;
        const std::shared_ptr<lq::ConfinedFolder> folder = siteFolder(&why);
        if (!folder || !folder->makeFolder(QStringLiteral("bitmaps2"), &why)) {
            refuse(why);
            return;
        }

        if (extension == u"jpg" || extension == u"gif" || extension == u"png") {
            // A picture of a web format is kept byte for byte.
            if (!folder->writeNewFile(name, bytes, &why)) {
                refuse(QStringLiteral("the picture cannot be copied: ") + why);
                return;
            }
        } else {
            // Anything else is stored as JPEG, and what is kept in memory is
            // what the file now holds.
            const QByteArray stored = imageDataFilenameCompression(picture, name, 0.0f);
            if (stored.isEmpty() || !folder->writeNewFile(name, stored, &why)) {
                refuse(QStringLiteral("the picture cannot be written: ") + why);
                return;
            }
            picture = lq::pictureFromData(stored);
            if (picture.isNull()) {
                refuse(QStringLiteral("the picture written to ") + folder->pathOf(name) + QStringLiteral(" cannot be read back"));
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

QString XmlCSSImage::storedPictureName()
{
    return QStringLiteral("bitmaps2/") + imageFileName();
}

std::shared_ptr<lq::ConfinedFolder> XmlCSSImage::siteFolder(QString* why)
{
    const QString root = rootDir();
    if (root.isEmpty()) {
        if (why)
            *why = QStringLiteral("the picture belongs to no site folder");
        return nullptr;
    }
    return lq::ConfinedFolder::open(root, why);
}

std::shared_ptr<lq::ConfinedFolder> XmlCSSImage::siteBitmapsFolder()
{
    QString why;
    std::shared_ptr<lq::ConfinedFolder> folder = siteFolder(&why);
    if (!folder || !folder->makeFolder(siteBitmaps, &why))
        lq::raiseWriteFailure(why);
    return folder;
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
        const std::shared_ptr<lq::ConfinedFolder> folder = siteBitmapsFolder();
        const QString destination = siteBitmaps + QLatin1Char('/') + imageFileName();
        QString why;
        if (!folder->remove(destination, &why))
            lq::raiseWriteFailure(why);
        // Without its stored file there is nothing to copy; a copy that
        // cannot be written fails the build step. A link in the stored
        // file's place is never read.
        const QString source = storedPictureName();
        if (folder->status(source).kind == lq::ConfinedFolder::Kind::File && !folder->copyTo(source, *folder, destination, &why))
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
        const std::shared_ptr<lq::ConfinedFolder> folder = siteBitmapsFolder();

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
            writeSitePicture(*folder, QStringLiteral("%1/%2%3%4.jpg").arg(siteBitmaps, digit, _imageUUID, QString::number(named)), slice.toQImage());
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
        writeSitePicture(*siteBitmapsFolder(), siteBitmaps + QLatin1Char('/') + filename, bitmap.toQImage());
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
                // Read through the site's gateway: a link in the picture's
                // place, or on the way to it, is never read.
                if (const std::shared_ptr<lq::ConfinedFolder> folder = hasUsablePictureName() ? siteFolder() : nullptr) {
                    const QString name = storedPictureName();
                    const std::optional<QByteArray> bytes = folder->readFile(name, -1);
                    if (bytes)
                        loaded = lq::GraphicsImage(lq::imageFromFileData(*bytes, folder->pathOf(name)));
                }
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
        const QString uuid = makeUUID();
        const QString target = folder + QStringLiteral("/bitmaps2");
        // Never written through a link out of the folder.
        if (!lq::makeFoldersBelow(folder, target))
            return;
        const QString path = target + QLatin1Char('/') + uuid + (type == 0 ? QStringLiteral(".jpg") : QStringLiteral(".png"));
        // The record names the new file only once it has been written.
        if (!saveImageFilenameCompression(picture.toQImage(), path, 0.0f))
            return;
        setImageUUID(uuid);
        if (type != _iType)
            setIType(type);
    });
}

void XmlCSSImage::convert1_2Bitmaps()
{
    lq::modelFrame(this, "convert1_2Bitmaps", [&] {
        const std::shared_ptr<lq::ConfinedFolder> folder = siteFolder();
        if (!folder)
            return;
        const QString base = QStringLiteral("bitmaps/bitmap") + QString::number(image_seq_number);
        static const std::array<const char*, 4> extensions { "tiff", "png", "jpg", "gif" };
        for (const char* extension : extensions) {
            const QString candidate = base + QLatin1Char('.') + QLatin1String(extension);
            if (folder->status(candidate).exists()) {
                // Read through the gateway: a link there is never followed.
                QString why;
                const std::optional<QByteArray> bytes = folder->readFile(candidate, -1, &why);
                takePicture(bytes.value_or(QByteArray()), QLatin1String(extension), folder->pathOf(candidate), bytes ? QString() : why);
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
