#pragma once

#include "model/core/XmlBase.h"

#include <QDateTime>

// One item of the site's feed: announces one page of the site, named by the
// page's kept identity (its pageUUID).
class XmlRSSItem final : public XmlBase {
public:
    explicit XmlRSSItem(Key key);

    static std::shared_ptr<XmlRSSItem> create();
    static XmlRSSItem* cast(XmlBase* object) { return dynamic_cast<XmlRSSItem*>(object); }

    QString elementName() const override;
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;

    const QString& title() const { return _title; }
    void setTitle(const QString& title);
    // The pageUUID of the announced page.
    const QString& link() const { return _link; }
    void setLink(const QString& link);
    const QString& description() const { return _description; }
    void setDescription(const QString& description);
    const QDateTime& pubDate() const { return _pubDate; }

    // Appends the item to the feed text, its link joined to the channel
    // link; nothing when the feed has no document or the page is gone.
    void appendRSSLink(QString& text, const QString& channelLink);

private:
    QString _title = QStringLiteral("");
    QString _link = QStringLiteral("");
    QString _description = QStringLiteral("");
    QDateTime _pubDate;
};
