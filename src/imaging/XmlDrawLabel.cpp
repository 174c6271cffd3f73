#include "imaging/XmlDrawLabel.h"

XmlDrawLabel::XmlDrawLabel(Key key)
    : XmlDrawObject(key)
{
}

std::shared_ptr<XmlDrawLabel> XmlDrawLabel::create()
{
    return make<XmlDrawLabel>();
}

QString XmlDrawLabel::elementName() const
{
    return QStringLiteral("IWdrawlabel");
}
