#include "build/XmlCopy.h"

XmlCopy::XmlCopy(Key key)
    : XmlCreate(key)
{
}

std::shared_ptr<XmlCopy> XmlCopy::create()
{
    return make<XmlCopy>();
}

QString XmlCopy::elementName() const
{
    return QStringLiteral("QZcopy");
}
