#include "model/site/XmlPhotoRep.h"

#include "model/core/DocumentBase.h"
#include "model/core/ElementFiles.h"
#include "model/site/XmlSite.h"
#include "platform/ExceptionFrame.h"
#include "platform/Image.h"

XmlPhotoRep::XmlPhotoRep(Key key)
    : XmlPhoto(key)
{
}

std::shared_ptr<XmlPhotoRep> XmlPhotoRep::create()
{
    return make<XmlPhotoRep>();
}

std::shared_ptr<XmlPhotoRep> XmlPhotoRep::createFromFile(const QString& path)
{
    return lq::classFrame("XmlPhotoRep +createFromFile:", [&] {
        return photoFromFile<XmlPhotoRep>(path);
    });
}

std::shared_ptr<XmlPhotoRep> XmlPhotoRep::createFromData(const QByteArray& bytes)
{
    return lq::classFrame("XmlPhotoRep +createFromData:", [&] {
        return photoWithPicture<XmlPhotoRep>(importedPictureOfData(bytes));
    });
}

std::shared_ptr<XmlPhotoRep> XmlPhotoRep::createNoImage()
{
    return lq::classFrame("XmlPhotoRep +createNoImage", [&] {
        // Loaded once and kept for the rest of the run; each placeholder gets
        // its own copy (images share their pixels until one is drawn into).
        static const lq::GraphicsImage noImage(lq::namedImage(QStringLiteral("noimage")));
        std::shared_ptr<XmlPhotoRep> placeholder = create();
        placeholder->setPicture(noImage);
        return placeholder;
    });
}

QString XmlPhotoRep::elementName() const
{
    return QStringLiteral("QZphotoRep");
}

void XmlPhotoRep::setNewImageFromFile(const QString& path)
{
    lq::modelFrame(this, "setNewImageFromFile:", [&] {
        const std::optional<QByteArray> bytes = lq::readFileAt(*this, path);
        const lq::GraphicsImage picture = bytes ? importedPictureOfData(*bytes) : lq::GraphicsImage();
        if (picture.isNull())
            return;
        // Number 0 means "no picture": stored under it, the picture would
        // share one file with every other page without a picture and would
        // never be shown. Such a picture first draws its own number.
        if (image_seq_number == 0) {
            DocumentBase* document = myDocument();
            if (XmlSite* site = document ? document->site() : nullptr)
                setImageSeqNumber(site->imageSeqNumber());
        }
        _backstore = 0;
        setPicture(picture);
        saveOriginalImageFrom(path);
        // The thumbnail and icon show the new picture.
        createInternalImages();
        setPicture(lq::GraphicsImage());
        docChanged();
    });
}
