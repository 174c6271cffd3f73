// The font records a box holds, and the site's page a box's link shows.
#include "templates/BoxModelText.h"

#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlWebItem.h"
#include "platform/ExceptionFrame.h"
#include "templates/XmlBoxModel.h"
#include "templates/XmlWebFont.h"

std::shared_ptr<XmlWebFont> BoxModelText::addFontName(const QString& tag, const QString& name)
{
    return lq::modelFrame(&_box, "addFont:name:", [&] {
        std::shared_ptr<XmlWebFont> record = XmlWebFont::createWithTagName(tag, name);
        _box.addChild(record);
        return record;
    });
}

std::shared_ptr<XmlWebFont> BoxModelText::defaultFont(const XmlBoxModel& box)
{
    return box.firstChildOfType<XmlWebFont>([](const XmlWebFont& f) { return f.name() == u"default"; });
}

bool BoxModelText::showPageWithLink(const QString& link)
{
    DocumentBase* document = _box.myDocument();
    if (!document)
        return false;
    for (const XmlBasePtr& item : document->webItems()) {
        XmlWebItem* page = XmlWebItem::cast(item.get());
        if (page && (page->externalLink() == link || page->linkAddress() == link)) {
            document->selectWebPageIndex(XmlAlbum::cast(page), -1);
            return true;
        }
    }
    return false;
}
