#include "pipeline/XmlHTMLProcessor.h"

#include "model/core/DocumentBase.h"
#include "pipeline/PageMaker.h"
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
        XmlSite* site = _document ? _document->site() : nullptr;
        if (!site)
            return false;
        if (_maker && _maker->queueMadeAhead(*site, _index, _album, _sheet))
            return false;
        lq::createHTMLProcessorSheet(*site, _album, _sheet);
        if (_maker)
            _maker->notePageMadeHere(*site, _index);
        return false;
    });
}
