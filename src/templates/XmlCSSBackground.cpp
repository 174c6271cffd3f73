#include "templates/XmlCSSBackground.h"

XmlCSSBackground::XmlCSSBackground(Key key)
    : XmlCSS(key)
{
}

std::shared_ptr<XmlCSSBackground> XmlCSSBackground::create()
{
    return make<XmlCSSBackground>();
}

QString XmlCSSBackground::elementName() const
{
    return QStringLiteral("cssBackground");
}
