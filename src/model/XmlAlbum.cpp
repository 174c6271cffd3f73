#include "model/XmlAlbum.h"

XmlAlbum::XmlAlbum(Key key)
    : XmlWebItem(key)
{
}

std::shared_ptr<XmlAlbum> XmlAlbum::create()
{
    return make<XmlAlbum>();
}

QString XmlAlbum::elementName() const
{
    return QStringLiteral("QZalbum");
}
