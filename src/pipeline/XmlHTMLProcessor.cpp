#include "pipeline/XmlHTMLProcessor.h"

#include "model/core/DocumentBase.h"
#include "pipeline/PageScripts.h"
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
            lq::createHTMLProcessorSheet(*_document->site(), _album, _sheet);
        return false;
    });
}
