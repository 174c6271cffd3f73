#include "model/XmlTrash.h"

#include "model/XmlAlbum.h"
#include "model/XmlHomePage.h"
#include "model/XmlPhoto.h"
#include "platform/ExceptionFrame.h"

#include <typeinfo>

XmlTrash::XmlTrash(Key key)
    : XmlBase(key)
{
    _have_children = true;
    _edit_name = false;
}

std::shared_ptr<XmlTrash> XmlTrash::create()
{
    return make<XmlTrash>();
}

QString XmlTrash::elementName() const
{
    return QStringLiteral("QZtrash");
}

bool XmlTrash::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        if (!child)
            return false;
        // Never the trash itself or anything it lies in.
        if (isSelfOrDescendantOf(child))
            return false;
        if (typeid(*child) == typeid(XmlHomePage))
            return false;
        return XmlAlbum::cast(child) != nullptr || XmlPhoto::cast(child) != nullptr;
    });
}
