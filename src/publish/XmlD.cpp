#include "publish/XmlD.h"

#include "platform/ExceptionFrame.h"

XmlD::XmlD(Key key)
    : XmlBase(key)
{
    _have_children = true;
}

std::shared_ptr<XmlD> XmlD::create()
{
    return make<XmlD>();
}

QString XmlD::elementName() const
{
    return QStringLiteral("QZD");
}

bool XmlD::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlD::cast(child) != nullptr;
    });
}
