#include "model/XmlAlbum.h"

XmlAlbum::XmlAlbum(Key key)
    : XmlWebItem(key)
{
    // Its children are its photos; it also carries a content text.
    _have_children = true;
    setHaveContent(true);
}

std::shared_ptr<XmlAlbum> XmlAlbum::create()
{
    return make<XmlAlbum>();
}

QString XmlAlbum::elementName() const
{
    return QStringLiteral("QZalbum");
}
