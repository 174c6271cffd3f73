#include "pipeline/XmlRSSProcessor.h"

#include "model/core/DocumentBase.h"
#include "platform/ExceptionFrame.h"

XmlRSSProcessor::XmlRSSProcessor(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlRSSProcessor> XmlRSSProcessor::create()
{
    return make<XmlRSSProcessor>();
}

bool XmlRSSProcessor::run()
{
    return lq::modelFrame(this, "run", [&] {
        if (_document)
            _document->createRSSProcessor();
        return false;
    });
}
