#include "model/site/XmlFooter.h"

XmlFooter::XmlFooter(Key key)
    : XmlBase(key)
{
    setHaveContent(true);
}

std::shared_ptr<XmlFooter> XmlFooter::create()
{
    return make<XmlFooter>();
}

QString XmlFooter::elementName() const
{
    return QStringLiteral("QZfooter");
}
