#include "build/XmlCreate.h"

XmlCreate::XmlCreate(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlCreate> XmlCreate::create()
{
    return make<XmlCreate>();
}

QString XmlCreate::elementName() const
{
    return QStringLiteral("QZcreate");
}
