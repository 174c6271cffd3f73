#include "model/site/XmlDescription.h"

XmlDescription::XmlDescription(Key key)
    : XmlBase(key)
{
    setHaveContent(true);
}

std::shared_ptr<XmlDescription> XmlDescription::create()
{
    return make<XmlDescription>();
}

QString XmlDescription::elementName() const
{
    return QStringLiteral("descriptionMETA");
}
