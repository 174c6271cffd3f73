#include "publish/PublishElements.h"

#include "model/core/ElementFactory.h"
#include "publish/XmlD.h"
#include "publish/XmlF.h"
#include "publish/XmlLocation.h"

namespace lq {

void registerPublishElements()
{
    lq::addFactoryTags({
        { "QZlocation", &lq::makeElement<XmlLocation> },
        { "QZD", &lq::makeElement<XmlD> },
        { "QZF", &lq::makeElement<XmlF> },
    });
}

} // namespace lq
