#include "publish/PublishElements.h"

#include "publish/XmlD.h"
#include "publish/XmlF.h"
#include "publish/XmlLocation.h"

namespace lq {

void registerPublishElements()
{
    XmlBase::addFactoryTags({
        { "QZlocation", &XmlBase::makeElement<XmlLocation> },
        { "QZD", &XmlBase::makeElement<XmlD> },
        { "QZF", &XmlBase::makeElement<XmlF> },
    });
}

} // namespace lq
