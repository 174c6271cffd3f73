#include "model/XmlFiles.h"

XmlFiles::XmlFiles(Key key)
    : XmlBase(key)
{
    _have_children = true;
    _edit_name = false;
}

std::shared_ptr<XmlFiles> XmlFiles::create()
{
    return make<XmlFiles>();
}

QString XmlFiles::elementName() const
{
    return QStringLiteral("files");
}
