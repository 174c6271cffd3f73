#include "build/XmlProcessor.h"

#include "build/XmlRun.h"
#include "platform/ExceptionFrame.h"

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

bool XmlProcessor::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlRun::cast(child) != nullptr;
    });
}
