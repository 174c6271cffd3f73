#include "model/feed/FeedElements.h"

#include "model/core/ElementFactory.h"
#include "model/feed/XmlRSS.h"
#include "model/feed/XmlRSSItem.h"

namespace lq {

void registerFeedElements()
{
    lq::addFactoryTags({
        { "QZrss", &lq::makeElement<XmlRSS> },
        { "QZrssitem", &lq::makeElement<XmlRSSItem> },
    });
}

} // namespace lq
