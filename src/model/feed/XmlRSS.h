#pragma once

#include "model/core/XmlBase.h"

#include <QDateTime>

// The root of the feed settings: the channel of the site's RSS feed, whose
// children are the feed's items. A change inside it marks nothing: the feed
// root has no document change notices of its own.
class XmlRSS final : public XmlBase {
public:
    explicit XmlRSS(Key key);

    static std::shared_ptr<XmlRSS> create();
    static XmlRSS* cast(XmlBase* object) { return dynamic_cast<XmlRSS*>(object); }

    QString elementName() const override;
    bool canYouBeMyParent(XmlBase* child) override;
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;

    // The document whose pages the items announce; not owned.
    void setDocument(DocumentBase* document) { myDoc = document; }
    DocumentBase* document() const { return myDoc; }

    bool publish() const { return _publish; }
    void setPublish(bool publish);
    const QString& title() const { return _title; }
    void setTitle(const QString& title);
    const QString& link() const { return _link; }
    void setLink(const QString& link);
    const QString& description() const { return _description; }
    void setDescription(const QString& description);
    const QDateTime& pubDate() const { return _pubDate; }
    // The channel date becomes now; no change notice.
    void setPubDateNow();

    // The text of "rss.xml" (RSS 2.0), or a null string when the feed is not
    // published.
    QString rssString();

    const QString& password() const { return _password; }
    void setPassword(const QString& password);
    int langcode() const { return _langcode; }
    void setLangcode(int langcode);
    bool useDatabase() const { return _useDatabase; }
    void setUseDatabase(bool use);
    const QString& dbName() const { return _dbName; }
    void setDbName(const QString& name);
    const QString& dbHost() const { return _dbHost; }
    void setDbHost(const QString& host);
    const QString& dbUsername() const { return _dbUsername; }
    void setDbUsername(const QString& name);
    const QString& dbPassword() const { return _dbPassword; }
    void setDbPassword(const QString& password);
    bool uploadAdmin() const { return _uploadAdmin; }
    void setUploadAdmin(bool upload);
    bool uploadUsers() const { return _uploadUsers; }
    void setUploadUsers(bool upload);
    bool uploadContent() const { return _uploadContent; }
    void setUploadContent(bool upload);

    // Feed dates, in the element XML and the feed alike: "Tue, 08 Dec 2026
    // 23:05:00 +0100", English names whatever the user's locale. An invalid
    // date formats as "".
    static QString formatDate(const QDateTime& date);
    // The date of the text, or an invalid date when it does not parse.
    static QDateTime parseDate(const QString& text);

private:
    template <typename T>
    void store(T& field, const T& value)
    {
        field = value;
        docChanged();
    }

    bool _publish = false;
    QString _title = QStringLiteral("");
    QString _link = QStringLiteral("");
    QString _description = QStringLiteral("");
    QDateTime _pubDate;
    QString _password;
    int _langcode = 0;
    DocumentBase* myDoc = nullptr;
    bool _useDatabase = false;
    QString _dbName = QStringLiteral("");
    QString _dbHost;
    QString _dbUsername = QStringLiteral("");
    QString _dbPassword = QStringLiteral("");
    bool _uploadAdmin = false;
    bool _uploadUsers = false;
    bool _uploadContent = false;
};
