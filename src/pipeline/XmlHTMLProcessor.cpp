#include "pipeline/XmlHTMLProcessor.h"

#include "model/core/DocumentBase.h"
#include "model/site/XmlSite.h"
#include "platform/ExceptionFrame.h"

XmlHTMLProcessor::XmlHTMLProcessor(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlHTMLProcessor> XmlHTMLProcessor::createForAlbumWithTemplate(const QString& pageUUID, const QString& sheetUUID)
{
    auto step = make<XmlHTMLProcessor>();
    step->_album = pageUUID;
    step->_sheet = sheetUUID;
    return step;
}

bool XmlHTMLProcessor::run()
{
    return lq::modelFrame(this, "run", [&] {
        if (_document && _document->site())
            _document->site()->createHTMLProcessorSheet(_album, _sheet);
        return false;
    });
}
