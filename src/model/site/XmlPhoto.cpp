#include "model/site/XmlPhoto.h"

#include "model/core/ElementFiles.h"
#include "model/imaging/XmlCanvas.h"
#include "model/imaging/XmlImage.h"
#include "model/core/DocumentBase.h"
#include "model/core/SuppressedChanges.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlPayPalData.h"
#include "model/site/XmlSite.h"
#include "platform/ConfinedFolder.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Image.h"
#include "platform/Log.h"
#include "platform/Strings.h"


#include <cmath>

using namespace lq::literals;

namespace {

// The stored picture's JPEG factor.
constexpr float storedPictureCompression = 0.98f;

QChar letter(char base, int offset)
{
    return QChar(static_cast<char16_t>(base + offset));
}

} // namespace

XmlPhoto::XmlPhoto(Key key)
    : XmlBase(key)
    , _caption(XmlCaption::create())
    , _canvas(XmlCanvas::create())
    , _paypal(XmlPayPalData::create())
{
    // The name is the caption's; it is never written.
    _edit_name = false;
    _canvas->setFillBackground(1);
    _caption->setParent(this);
    _canvas->setParent(this);
    _paypal->setParent(this);
}

XmlPhoto::~XmlPhoto()
{
    // The parts may outlive the photo in other hands; they must not point back at it.
    for (XmlBase* part : { static_cast<XmlBase*>(_caption.get()), static_cast<XmlBase*>(_canvas.get()),
             static_cast<XmlBase*>(_paypal.get()) }) {
        if (part)
            part->setParent(nullptr);
    }
}

std::shared_ptr<XmlPhoto> XmlPhoto::create()
{
    return make<XmlPhoto>();
}

std::shared_ptr<XmlPhoto> XmlPhoto::createFromFile(const QString& path, lq::PictureRefusal* refusal)
{
    return lq::classFrame("XmlPhoto +createFromFile:", [&] {
        return photoFromFile<XmlPhoto>(path, refusal);
    });
}

QString XmlPhoto::elementName() const
{
    return QStringLiteral("QZphoto");
}

void XmlPhoto::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"iseq"_sv)
            setImageSeqNumber(lq::intValue(value));
        else if (key == u"t"_sv)
            legacy1_0Rect.origin.y = static_cast<float>(lq::intValue(value));
        else if (key == u"l"_sv)
            legacy1_0Rect.origin.x = static_cast<float>(lq::intValue(value));
        else if (key == u"w"_sv)
            legacy1_0Rect.size.width = static_cast<float>(lq::intValue(value));
        else if (key == u"h"_sv)
            legacy1_0Rect.size.height = static_cast<float>(lq::intValue(value));
        else if (key == u"s"_sv)
            setShowObjects(lq::intValue(value) != 0);
        else if (key == u"alt"_sv)
            setAltText(value);
        else
            XmlBase::setAttributeTo(key, value);
    });
}

void XmlPhoto::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBase::appendAttributes(xml);
        xml += QStringLiteral(" iseq=\"%1\" s=\"%2\" alt=\"%3\"")
                   .arg(QString::number(image_seq_number), QString::number(_showObjects ? 1 : 0), lq::escape(_altText));
    });
}

XmlBasePtr XmlPhoto::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        if (tag == u"IWcanvas"_sv)
            return _canvas;
        if (tag == u"QZcaption"_sv)
            return _caption;
        if (tag == u"QZpaypal"_sv)
            return _paypal;
        return XmlBase::createChildFromTag(tag);
    });
}

QString XmlPhoto::writeXmlVorns()
{
    return lq::modelFrame(this, "writeXmlVorns", [&] {
        return _caption->createXml() + _canvas->createXml() + _paypal->createXml();
    });
}

XmlBaseList XmlPhoto::ownedParts() const
{
    return { _caption, _canvas, _paypal };
}

QString XmlPhoto::name() const
{
    return lq::modelFrame(this, "name", [&] {
        const QString caption = _caption->shortCaption();
        if (caption.size() > 15)
            return QStringLiteral("%1...").arg(caption.left(16));
        return caption;
    });
}

// --- Numbering ---------------------------------------------------------------------------------

bool XmlPhoto::newDocument(const QString& path, QString* error)
{
    return lq::modelFrame(this, "newDocument:", [&] {
        DocumentBase* document = myDocument();
        XmlSite* site = document ? document->site() : nullptr;
        return !site || newDocumentSite(path, site, error);
    });
}

bool XmlPhoto::newDocumentSite(const QString& path, XmlSite* site, QString* error)
{
    return lq::modelFrame(this, "newDocument:site:", [&] {
        if (!site)
            return true;
        setImageSeqNumber(site->imageSeqNumber());
        const bool stored = saveOriginalImageFrom(path, error);
        setPicture(lq::GraphicsImage());
        _backstore = 0;
        return stored;
    });
}

void XmlPhoto::setImageSeqNumber(int number)
{
    setStored(image_seq_number, number, "setImageSeqNumber:");
}

// --- The stored picture ------------------------------------------------------------------------

QString XmlPhoto::originalFilename()
{
    return lq::modelFrame(this, "originalFilename", [&] {
        return rootDir() + QLatin1Char('/') + pictureName();
    });
}

QString XmlPhoto::pictureName() const
{
    return QStringLiteral("pictures/image") + QString::number(image_seq_number) + QStringLiteral(".jpg");
}

bool XmlPhoto::saveOriginalImageFrom(const QString&, QString* error)
{
    return lq::modelFrame(this, "saveOriginalImageFrom:", [&] {
        // Imported pictures are always normalised and limited to the
        // picture size, so what is stored is the picture in memory,
        // re-encoded, never the file as it was.
        return saveOriginalImage(error);
    });
}

bool XmlPhoto::saveOriginalImage(QString* error)
{
    return lq::modelFrame(this, "saveOriginalImage", [&]() -> bool {
        const lq::GraphicsImage picture = _canvas->image()->image();
        // A reduced picture was decoded from the stored file, which holds it whole.
        if (picture.isNull() || _canvas->image()->isReduced())
            return true;
        // Through the document folder's gateway, making "pictures" when it
        // is missing (a document without it would lose the picture, which
        // is dropped from memory once stored): a "pictures" that is a link
        // is never written through.
        QString why;
        if (lq::saveImageInRootFolder(*this, picture.toQImage(), pictureName(), storedPictureCompression, &why))
            return true;
        lq::log(why);
        if (error)
            *error = why;
        return false;
    });
}

void XmlPhoto::loadBackstore(void*)
{
    lq::modelFrame(this, "loadBackstore:", [&] {
        ++_backstore;
        // A picture decoded reduced for the build's images is read again whole.
        if (!_canvas->image()->image().isNull() && !_canvas->image()->isReduced())
            return;
        const lq::GraphicsImage picture = storedPicture(pictureName());
        if (picture.isNull())
            return;
        // Reading the picture back is not an edit.
        SuppressedChanges quiet(*this);
        setPicture(picture);
    });
}

void XmlPhoto::releaseBackstore(void*)
{
    lq::modelFrame(this, "releaseBackstore:", [&] {
        --_backstore;
        // A photo without a document folder has nowhere to read its picture
        // back from: it keeps it in memory.
        if (_backstore <= 0 && !rootDir().isEmpty()) {
            setPicture(lq::GraphicsImage());
            _backstore = 0;
        }
    });
}

void XmlPhoto::setNewImage(const lq::GraphicsImage& image)
{
    lq::modelFrame(this, "setNewImage:", [&] {
        deleteFiles();
        QString why;
        if (!lq::saveImageInRootFolder(*this, image.toQImage(), pictureName(), storedPictureCompression, &why)) {
            lq::log(why);
            if (DocumentBase* document = myDocument())
                document->addActivityString(QStringLiteral("The picture could not be stored: ") + why);
        }
        setPicture(lq::GraphicsImage());
        _backstore = 0;
        _thumbnail = lq::GraphicsImage();
        _iconImage = lq::GraphicsImage();
        loadBackstore(nullptr);
    });
}

lq::GraphicsImage XmlPhoto::storedPicture(const QString& name)
{
    return lq::modelFrame(this, "storedPicture:", [&]() -> lq::GraphicsImage {
        const std::shared_ptr<lq::ConfinedFolder> folder = lq::rootFolder(*this);
        const std::optional<QByteArray> bytes = folder ? folder->readFile(name, -1) : std::nullopt;
        return bytes ? pictureOfData(*bytes) : lq::GraphicsImage();
    });
}

lq::GraphicsImage XmlPhoto::pictureOfData(const QByteArray& bytes)
{
    return lq::classFrame("XmlPhoto +pictureOfData:", [&]() -> lq::GraphicsImage {
        QList<QImage> representations = lq::decodeImageRepresentations(bytes);
        if (representations.isEmpty())
            return lq::GraphicsImage();
        // Handed over, not shared: a shared picture would be copied whole
        // to take its resolution and its layout.
        return lq::GraphicsImage(lq::atPixelSize(std::move(representations.first())));
    });
}

lq::GraphicsImage XmlPhoto::pictureOfDataForLimit(const QByteArray& bytes, const lq::Size& limit, lq::PictureRefusal* refusal)
{
    return lq::classFrame("XmlPhoto +pictureOfDataForLimit:", [&]() -> lq::GraphicsImage {
        QImage picture = lq::decodeImageAtLeast(bytes, [&](const QSize& full) {
            const lq::Size kept = XmlImage::limitedSize(lq::Size(static_cast<float>(full.width()), static_cast<float>(full.height())), limit);
            return QSize(static_cast<int>(kept.width), static_cast<int>(kept.height));
        });
        if (picture.isNull()) {
            if (refusal)
                *refusal = { lq::PictureFault::Damaged, QStringLiteral("the picture in it cannot be decoded") };
            return lq::GraphicsImage();
        }
        return lq::GraphicsImage(lq::atPixelSize(std::move(picture)));
    });
}

lq::GraphicsImage XmlPhoto::storedPictureAtScale(const QString& name, const lq::Size& size, double scale, QSize* whole)
{
    return lq::modelFrame(this, "storedPictureAtScale:size:scale:", [&]() -> lq::GraphicsImage {
        const std::shared_ptr<lq::ConfinedFolder> folder = lq::rootFolder(*this);
        const std::optional<QByteArray> bytes = folder ? folder->readFile(name, -1) : std::nullopt;
        if (!bytes)
            return lq::GraphicsImage();
        QSize full;
        QImage picture = lq::decodeImageAtLeast(*bytes, [&](const QSize& fileSize) {
            full = fileSize;
            // A file of another size than the picture the canvas knows is not
            // the picture the scale was worked out for: it is read whole.
            if (fileSize != QSize(static_cast<int>(size.width), static_cast<int>(size.height)) || !(scale > 0) || scale >= 1)
                return fileSize;
            return QSize(static_cast<int>(std::ceil(fileSize.width() * scale)), static_cast<int>(std::ceil(fileSize.height() * scale)));
        });
        if (picture.isNull())
            return lq::GraphicsImage();
        *whole = full.isValid() ? full : picture.size();
        return lq::GraphicsImage(lq::atPixelSize(std::move(picture)));
    });
}

lq::GraphicsImage XmlPhoto::importedPicture(const QString& path, lq::PictureRefusal* refusal)
{
    return lq::classFrame("XmlPhoto +importedPicture:", [&]() -> lq::GraphicsImage {
        // A file the user chose, outside every site.
        const lq::PictureFileBytes file = lq::readPictureFileBytes(path);
        if (file.refusal) {
            if (refusal)
                *refusal = file.refusal;
            return lq::GraphicsImage();
        }
        return importedPictureOfData(file.bytes, refusal);
    });
}

lq::GraphicsImage XmlPhoto::importedPictureOfData(const QByteArray& bytes, lq::PictureRefusal* refusal)
{
    return lq::classFrame("XmlPhoto +importedPictureOfData:", [&]() -> lq::GraphicsImage {
        const lq::Size limit = pictureLimit();
        const lq::GraphicsImage picture = pictureOfDataForLimit(bytes, limit, refusal);
        if (picture.isNull())
            return picture;
        return XmlImage::resizeImageToLimitSize(picture, limit);
    });
}

void XmlPhoto::setPicture(const lq::GraphicsImage& image)
{
    _canvas->image()->setImage(image);
}

// --- Parts -------------------------------------------------------------------------------------

void XmlPhoto::setCanvas(const std::shared_ptr<XmlCanvas>& canvas)
{
    lq::modelFrame(this, "setCanvas:", [&] {
        // A photo always has a canvas: nothing is no canvas to take.
        if (!canvas)
            return;
        // The editor may hand back the canvas it edited in place; its picture
        // is stored all the same.
        if (canvas != _canvas) {
            _canvas->setParent(nullptr);
            _canvas = canvas;
            _canvas->setParent(this);
        }
        saveOriginalImage();
        createInternalImages();
    });
}

bool XmlPhoto::canBePurchased() const
{
    return _paypal && _paypal->canBePurchased();
}

// --- Settings ----------------------------------------------------------------------------------

void XmlPhoto::setAltText(const QString& text)
{
    setStored(_altText, text, "setAltText:");
}

XmlWatermark* XmlPhoto::pageWatermark() const
{
    XmlAlbum* album = XmlAlbum::cast(parent());
    return album ? album->watermark().get() : nullptr;
}

void XmlPhoto::setShowObjects(bool show)
{
    setStored(_showObjects, show, "setShowObjects:");
}

// --- Files -------------------------------------------------------------------------------------

void XmlPhoto::listOfFilesToCopyAll(QStringList& files, bool all)
{
    lq::modelFrame(this, "listOfFilesToCopy:all:", [&] {
        files.append(QStringLiteral("pictures/image%1.jpg").arg(image_seq_number));
        if (all) {
            files.append(thumbnailName(image_seq_number));
            files.append(fullSizeName(image_seq_number));
            files.append(iconName(image_seq_number));
        }
    });
}

void XmlPhoto::deleteFiles()
{
    lq::modelFrame(this, "deleteFiles", [&] {
        DocumentBase* document = myDocument();
        if (!document || !document->site())
            return;
        if (const std::shared_ptr<lq::ConfinedFolder> folder = lq::rootFolder(*this))
            for (const QString& name : { thumbnailName(image_seq_number), fullSizeName(image_seq_number), iconName(image_seq_number) })
                folder->remove(name);
    });
}

// The picture number is taken as unsigned, so that a damaged negative number
// still names files of letters and hexadecimal digits.
QString XmlPhoto::thumbnailName(int number)
{
    const unsigned n = static_cast<unsigned>(number);
    return QStringLiteral("temp/%1%2%3.jpg")
        .arg(letter('A', static_cast<int>(n % 26)))
        .arg(QString::number(n, 16).toUpper())
        .arg(letter('Z', -static_cast<int>(n % 13)));
}

QString XmlPhoto::fullSizeName(int number)
{
    const unsigned n = static_cast<unsigned>(number);
    return QStringLiteral("temp/%1%2%3.jpg")
        .arg(letter('Z', -static_cast<int>(n % 26)))
        .arg(letter('E', static_cast<int>(n % 11)))
        .arg(QString::number(n, 16).toUpper());
}

QString XmlPhoto::iconName(int number)
{
    const unsigned n = static_cast<unsigned>(number);
    return QStringLiteral("temp/%1%2%3.jpg")
        .arg(letter('A', static_cast<int>(n % 26)))
        .arg(letter('W', -static_cast<int>(n % 7)))
        .arg(QString::number(n, 16).toUpper());
}

QString XmlPhoto::inDocument(const QString& relative)
{
    return QStringLiteral("%1/%2").arg(rootDir(), relative);
}

QString XmlPhoto::thumbnailFilename()
{
    return lq::modelFrame(this, "thumbnailFilename", [&] { return inDocument(thumbnailName(image_seq_number)); });
}

QString XmlPhoto::fullSizeFilename()
{
    return lq::modelFrame(this, "fullSizeFilename", [&] { return inDocument(fullSizeName(image_seq_number)); });
}

QString XmlPhoto::iconFilename()
{
    return lq::modelFrame(this, "iconFilename", [&] { return inDocument(iconName(image_seq_number)); });
}
