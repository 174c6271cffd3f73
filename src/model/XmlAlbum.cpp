#include "model/XmlAlbum.h"

#include "model/XmlPhoto.h"
#include "platform/ExceptionFrame.h"

#include <typeinfo>

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

bool XmlAlbum::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        if (!child || isSelfOrDescendantOf(child))
            return false;
        return typeid(*child) == typeid(XmlPhoto);
    });
}
