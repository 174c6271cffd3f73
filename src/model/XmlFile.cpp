#include "model/XmlFile.h"

XmlFile::XmlFile(Key key)
    : XmlBase(key)
{
    _edit_name = false;
}

std::shared_ptr<XmlFile> XmlFile::create()
{
    return make<XmlFile>();
}

QString XmlFile::elementName() const
{
    return QStringLiteral("file");
}

XmlBasePtr XmlFile::createChildFromTag(const QString&)
{
    return nullptr;
}
