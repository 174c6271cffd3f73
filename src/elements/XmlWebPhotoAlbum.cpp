#include "elements/XmlWebPhotoAlbum.h"

XmlWebPhotoAlbum::XmlWebPhotoAlbum(Key key)
    : XmlWebText(key)
{
}

std::shared_ptr<XmlWebPhotoAlbum> XmlWebPhotoAlbum::create()
{
    return make<XmlWebPhotoAlbum>();
}

QString XmlWebPhotoAlbum::elementName() const
{
    return QStringLiteral("cssPhotoAlbum");
}
