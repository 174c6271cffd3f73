#include "build/XmlProcessor.h"

XmlProcessor::XmlProcessor(Key key)
    : XmlBase(key)
{
    _have_children = true;
}

std::shared_ptr<XmlProcessor> XmlProcessor::create()
{
    return make<XmlProcessor>();
}

QString XmlProcessor::elementName() const
{
    return QStringLiteral("QZprocessor");
}
