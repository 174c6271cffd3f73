#include "model/imaging/XmlDrawObjects.h"

#include "model/imaging/XmlDrawObject.h"
#include "platform/ExceptionFrame.h"

XmlDrawObjects::XmlDrawObjects(Key key)
    : XmlDraw(key)
{
    _have_children = true;
}

std::shared_ptr<XmlDrawObjects> XmlDrawObjects::create()
{
    return make<XmlDrawObjects>();
}

QString XmlDrawObjects::elementName() const
{
    return QStringLiteral("IWdrawobjects");
}

bool XmlDrawObjects::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlDrawObject::cast(child) != nullptr;
    });
}
