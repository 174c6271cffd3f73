#include "pipeline/XmlCSSProcessor.h"

#include "model/core/DocumentBase.h"
#include "pipeline/PageScripts.h"
#include "platform/ExceptionFrame.h"

XmlCSSProcessor::XmlCSSProcessor(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlCSSProcessor> XmlCSSProcessor::createForSheet(const QString& sheetUUID)
{
    auto step = make<XmlCSSProcessor>();
    step->_sheet = sheetUUID;
    return step;
}

bool XmlCSSProcessor::run()
{
    return lq::modelFrame(this, "run", [&] {
        if (_document && _document->site())
            lq::createCSSProcessor(*_document->site(), _sheet);
        return false;
    });
}
