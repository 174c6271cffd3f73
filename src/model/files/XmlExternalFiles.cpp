#include "model/files/XmlExternalFiles.h"

XmlExternalFiles::XmlExternalFiles(Key key)
    : XmlFiles(key)
{
}

std::shared_ptr<XmlExternalFiles> XmlExternalFiles::create()
{
    return make<XmlExternalFiles>();
}
