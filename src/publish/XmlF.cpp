#include "publish/XmlF.h"

XmlF::XmlF(Key key)
    : XmlD(key)
{
}

std::shared_ptr<XmlF> XmlF::create()
{
    return make<XmlF>();
}

QString XmlF::elementName() const
{
    return QStringLiteral("QZF");
}
