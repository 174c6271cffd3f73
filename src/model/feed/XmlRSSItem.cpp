#include "model/feed/XmlRSSItem.h"

#include "model/core/DocumentBase.h"
#include "model/feed/XmlRSS.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"

using namespace lq::literals;

XmlRSSItem::XmlRSSItem(Key key)
    : XmlBase(key)
    , _pubDate(QDateTime::currentDateTime())
{
}

std::shared_ptr<XmlRSSItem> XmlRSSItem::create()
{
    return make<XmlRSSItem>();
}

QString XmlRSSItem::elementName() const
{
    return QStringLiteral("QZrssitem");
}

void XmlRSSItem::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"title"_sv)
            _title = value;
        else if (key == u"link"_sv)
            _link = value;
        else if (key == u"description"_sv)
            _description = value;
        else if (key == u"pubDate"_sv) {
            // A date that cannot be read keeps the item's own (its creation
            // time): an empty date would read back as a new one at every load.
            const QDateTime date = XmlRSS::parseDate(value);
            if (date.isValid())
                _pubDate = date;
        }
        else
            XmlBase::setAttributeTo(key, value);
    });
}

void XmlRSSItem::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBase::appendAttributes(xml);
        xml += QStringLiteral(" title=\"") + lq::escape(_title) + QStringLiteral("\"");
        xml += QStringLiteral(" link=\"") + lq::escape(_link) + QStringLiteral("\"");
        xml += QStringLiteral(" description=\"") + lq::escape(_description) + QStringLiteral("\"");
        xml += QStringLiteral(" pubDate=\"") + XmlRSS::formatDate(_pubDate) + QStringLiteral("\"");
    });
}

void XmlRSSItem::setTitle(const QString& title)
{
    _title = title;
    docChanged();
}

void XmlRSSItem::setLink(const QString& link)
{
    _link = link;
    docChanged();
}

void XmlRSSItem::setDescription(const QString& description)
{
    _description = description;
    docChanged();
}

void XmlRSSItem::appendRSSLink(QString& text, const QString& channelLink)
{
    lq::modelFrame(this, "appendRSS:link:", [&] {
        XmlRSS* feed = XmlRSS::cast(parent());
        DocumentBase* document = feed ? feed->document() : nullptr;
        if (!document)
            return;
        for (const XmlBasePtr& item : document->webItems()) {
            const QString page = item->pageUUID();
            if (page.isEmpty() || page != _link)
                continue;
            // Every text is escaped for XML; an external link is the item's
            // link as it stands, a page of the site its file below the channel.
            const QString link = item->isExternalLink() ? item->linkAddress() : channelLink + QStringLiteral("/") + item->linkAddress();
            text += QStringLiteral("<item>\n");
            text += QStringLiteral("<title>") + lq::xmlEscape(_title) + QStringLiteral("</title>\n");
            text += QStringLiteral("<link>") + lq::xmlEscape(link) + QStringLiteral("</link>\n");
            text += QStringLiteral("<description>") + lq::xmlEscape(_description) + QStringLiteral("</description>\n");
            text += QStringLiteral("<pubDate>") + XmlRSS::formatDate(_pubDate) + QStringLiteral("</pubDate>\n");
            text += QStringLiteral("</item>\n\n");
            return;
        }
    });
}
