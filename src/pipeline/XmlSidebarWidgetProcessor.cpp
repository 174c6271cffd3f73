#include "pipeline/XmlSidebarWidgetProcessor.h"

#include "model/core/DocumentBase.h"
#include "model/site/XmlSite.h"
#include "platform/ExceptionFrame.h"

XmlSidebarWidgetProcessor::XmlSidebarWidgetProcessor(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlSidebarWidgetProcessor> XmlSidebarWidgetProcessor::createForWidget(const QString& widgetUUID)
{
    auto step = make<XmlSidebarWidgetProcessor>();
    step->_widget = widgetUUID;
    return step;
}

bool XmlSidebarWidgetProcessor::run()
{
    return lq::modelFrame(this, "run", [&] {
        if (_document && _document->site())
            _document->site()->createWidgetProcessor(_widget);
        return false;
    });
}
