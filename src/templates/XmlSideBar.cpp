#include "templates/XmlSideBar.h"

XmlSideBar::XmlSideBar(Key key)
    : XmlBoxModel(key)
{
}

std::shared_ptr<XmlSideBar> XmlSideBar::create()
{
    return make<XmlSideBar>();
}

QString XmlSideBar::elementName() const
{
    return QStringLiteral("cssSidebar");
}
