#include "model/feed/FeedElements.h"

#include "model/feed/XmlRSS.h"
#include "model/feed/XmlRSSItem.h"

namespace lq {

void registerFeedElements()
{
    XmlBase::addFactoryTags({
        { "QZrss", &XmlBase::makeElement<XmlRSS> },
        { "QZrssitem", &XmlBase::makeElement<XmlRSSItem> },
    });
}

} // namespace lq
