#include "ui/editors/iphoto/iPhotoAlbum.h"

#include "platform/Image.h"

iPhotoAlbum::iPhotoAlbum(Key key)
    : XmlBase(key)
{
    _have_children = true;
    _have_content = true;
    _edit_name = false;
}

std::shared_ptr<iPhotoAlbum> iPhotoAlbum::create(Kind kind)
{
    auto album = make<iPhotoAlbum>();
    album->_kind = kind;
    return album;
}

std::optional<iPhotoAlbum::Kind> iPhotoAlbum::kindOfAlbumType(const QString& type)
{
    if (type.isNull() || type == QLatin1String("Regular"))
        return Kind::Regular;
    if (type == QLatin1String("Folder"))
        return Kind::Folder;
    if (type == QLatin1String("Smart"))
        return Kind::Smart;
    if (type == QLatin1String("Book"))
        return Kind::Book;
    if (type == QLatin1String("Slideshow"))
        return Kind::Slideshow;
    return std::nullopt;
}

QString iPhotoAlbum::elementName() const
{
    return QStringLiteral("iPhotoAlbum");
}

QImage iPhotoAlbum::iconImage()
{
    switch (_kind) {
    case Kind::Regular: break;
    case Kind::Folder: return lq::namedImage(QStringLiteral("iphotofolder"));
    case Kind::Smart: return lq::namedImage(QStringLiteral("iphotosmart"));
    case Kind::Book: return lq::namedImage(QStringLiteral("iphotobook"));
    case Kind::Slideshow: return lq::namedImage(QStringLiteral("iphotoslideshow"));
    }
    return lq::namedImage(QStringLiteral("iphotoalbum"));
}

void iPhotoAlbum::writeXmlInString(QString&)
{
}

iPhotoAlbum* iPhotoAlbum::getPhotoAlbumWithId(int albumId)
{
    return lq::modelFrame(this, "getPhotoAlbumWithId:", [&]() -> iPhotoAlbum* {
        if (_albumId == albumId)
            return this;
        for (const XmlBasePtr& child : children()) {
            if (iPhotoAlbum* album = cast(child.get()); album) {
                if (iPhotoAlbum* found = album->getPhotoAlbumWithId(albumId))
                    return found;
            }
        }
        return nullptr;
    });
}

void iPhotoAlbum::addPhotosFromMaster(const QVariantList& keys, const QVariantMap& master)
{
    lq::modelFrame(this, "addPhotos:fromMaster:", [&] {
        _photos.clear();
        _photos.reserve(keys.size());
        for (const QVariant& key : keys) {
            const auto record = master.constFind(key.toString());
            if (record == master.constEnd())
                continue;
            const QVariantMap fields = record->toMap();
            const QString mediaType = fields.value(QStringLiteral("MediaType"), QStringLiteral("Image")).toString();
            const QString path = fields.value(QStringLiteral("ImagePath")).toString();
            if (mediaType == QLatin1String("Image") && !path.isEmpty())
                _photos.append(path);
        }
    });
}
