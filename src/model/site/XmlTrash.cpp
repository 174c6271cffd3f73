#include "model/site/XmlTrash.h"

#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "platform/ExceptionFrame.h"
#include "platform/Image.h"

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

QString XmlTrash::name() const
{
    return QStringLiteral("Trash");
}

QImage XmlTrash::iconImage()
{
    return lq::namedImage(QStringLiteral("trash"));
}

QStringList XmlTrash::picturesInSite()
{
    return lq::modelFrame(this, "picturesInSite", [&] {
        QStringList names;
        names.reserve(100);
        for (const XmlBasePtr& child : children()) {
            if (XmlPhoto* photo = XmlPhoto::cast(child.get()))
                names.append(QStringLiteral("image%1.jpg").arg(photo->imageSeqNumber()));
            else if (XmlAlbum* page = XmlAlbum::cast(child.get()))
                names.append(page->picturesInSite());
        }
        return names;
    });
}

void XmlTrash::setTemplateForUUID(int number, const QString& uuid)
{
    lq::modelFrame(this, "setTemplate:forUUID:", [&] {
        for (const auto& page : childrenOfType<XmlAlbum>())
            page->setTemplateForUUID(number, uuid);
    });
}
