#include "model/feed/XmlRSS.h"

#include "model/feed/XmlRSSItem.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTimeZone>

#include <typeinfo>

using namespace lq::literals;

XmlRSS::XmlRSS(Key key)
    : XmlBase(key)
    , _pubDate(QDateTime::currentDateTime())
    , _dbHost(QStringLiteral("localhost"))
{
    _have_children = true;
}

std::shared_ptr<XmlRSS> XmlRSS::create()
{
    return make<XmlRSS>();
}

QString XmlRSS::elementName() const
{
    return QStringLiteral("QZrss");
}

bool XmlRSS::canYouBeMyParent(XmlBase* child)
{
    // Items only, and exactly items: the feed is written from them as they are.
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return child != nullptr && typeid(*child) == typeid(XmlRSSItem);
    });
}

QString XmlRSS::formatDate(const QDateTime& date)
{
    if (!date.isValid())
        return QStringLiteral("");
    const int offset = date.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    const QString zone = QStringLiteral("%1%2%3")
                             .arg(offset < 0 ? QStringLiteral("-") : QStringLiteral("+"))
                             .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                             .arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return QLocale::c().toString(date, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")) + zone;
}

QDateTime XmlRSS::parseDate(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\w{3}, \\d{1,2} \\w{3} \\d{4} \\d{2}:\\d{2}:\\d{2}) ([+-])(\\d{2})(\\d{2})\\s*$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return QDateTime();
    QDateTime local = QLocale::c().toDateTime(match.captured(1), QStringLiteral("ddd, d MMM yyyy HH:mm:ss"));
    if (!local.isValid())
        return QDateTime();
    const int sign = match.captured(2) == u"-" ? -1 : 1;
    const int offset = sign * (match.captured(3).toInt() * 3600 + match.captured(4).toInt() * 60);
    return QDateTime(local.date(), local.time(), QTimeZone(offset));
}

void XmlRSS::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"publish"_sv)
            _publish = value.toInt() != 0;
        else if (key == u"title"_sv)
            _title = value;
        else if (key == u"link"_sv)
            _link = value;
        else if (key == u"description"_sv)
            _description = value;
        else if (key == u"pw"_sv)
            _password = value;
        else if (key == u"lc"_sv)
            _langcode = value.toInt();
        else if (key == u"useDb"_sv)
            _useDatabase = value.toInt() != 0;
        else if (key == u"dbHost"_sv)
            _dbHost = value;
        else if (key == u"dbName"_sv)
            _dbName = value;
        else if (key == u"dbUsername"_sv)
            _dbUsername = value;
        else if (key == u"dbPassword"_sv)
            _dbPassword = value;
        else if (key == u"upA"_sv)
            _uploadAdmin = value.toInt() != 0;
        else if (key == u"upU"_sv)
            _uploadUsers = value.toInt() != 0;
        else if (key == u"upC"_sv)
            _uploadContent = value.toInt() != 0;
        else if (key == u"pubDate"_sv) {
            // A date that cannot be read keeps the feed's own (its creation time).
            const QDateTime date = parseDate(value);
            if (date.isValid())
                _pubDate = date;
        } else
            XmlBase::setAttributeTo(key, value);
    });
}

void XmlRSS::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBase::appendAttributes(xml);
        xml += QStringLiteral(" publish=\"") + QString::number(_publish ? 1 : 0) + QStringLiteral("\"");
        xml += QStringLiteral(" title=\"") + lq::escape(_title) + QStringLiteral("\"");
        xml += QStringLiteral(" link=\"") + lq::escape(_link) + QStringLiteral("\"");
        xml += QStringLiteral(" description=\"") + lq::escape(_description) + QStringLiteral("\"");
        xml += QStringLiteral(" pubDate=\"") + formatDate(_pubDate) + QStringLiteral("\"");
        xml += QStringLiteral(" lc=\"") + QString::number(_langcode) + QStringLiteral("\"");
        xml += QStringLiteral(" pw=\"") + lq::escape(_password) + QStringLiteral("\"");
        xml += QStringLiteral(" useDb=\"") + QString::number(_useDatabase ? 1 : 0) + QStringLiteral("\"");
        xml += QStringLiteral(" dbHost=\"") + lq::escape(_dbHost) + QStringLiteral("\"");
        xml += QStringLiteral(" dbName=\"") + lq::escape(_dbName) + QStringLiteral("\"");
        xml += QStringLiteral(" dbUsername=\"") + lq::escape(_dbUsername) + QStringLiteral("\"");
        xml += QStringLiteral(" dbPassword=\"") + lq::escape(_dbPassword) + QStringLiteral("\"");
        xml += QStringLiteral(" upA=\"%1\" upU=\"%2\" upC=\"%3\"")
                   .arg(_uploadAdmin ? 1 : 0)
                   .arg(_uploadUsers ? 1 : 0)
                   .arg(_uploadContent ? 1 : 0);
    });
}

void XmlRSS::setPublish(bool publish) { store(_publish, publish); }
void XmlRSS::setTitle(const QString& title) { store(_title, title); }
void XmlRSS::setLink(const QString& link) { store(_link, link); }
void XmlRSS::setDescription(const QString& description) { store(_description, description); }
void XmlRSS::setPubDateNow() { _pubDate = QDateTime::currentDateTime(); }
void XmlRSS::setPassword(const QString& password) { store(_password, password); }
void XmlRSS::setLangcode(int langcode) { store(_langcode, langcode); }
void XmlRSS::setUseDatabase(bool use) { store(_useDatabase, use); }
void XmlRSS::setDbName(const QString& name) { store(_dbName, name); }
void XmlRSS::setDbHost(const QString& host) { store(_dbHost, host); }
void XmlRSS::setDbUsername(const QString& name) { store(_dbUsername, name); }
void XmlRSS::setDbPassword(const QString& password) { store(_dbPassword, password); }
void XmlRSS::setUploadAdmin(bool upload) { store(_uploadAdmin, upload); }
void XmlRSS::setUploadUsers(bool upload) { store(_uploadUsers, upload); }
void XmlRSS::setUploadContent(bool upload) { store(_uploadContent, upload); }

QString XmlRSS::rssString()
{
    return lq::modelFrame(this, "rssString", [&]() -> QString {
        if (!_publish)
            return QString();
        const QString date = formatDate(_pubDate);
        QString text;
        text += QStringLiteral("<?xml version=\"1.0\" ?>\n");
        text += QStringLiteral("<rss version=\"2.0\">\n");
        text += QStringLiteral("<channel>\n");
        // The settings are the user's text: escaped, they keep the feed well-formed.
        text += QStringLiteral("<title>") + lq::xmlEscape(_title) + QStringLiteral("</title>\n");
        text += QStringLiteral("<link>") + lq::xmlEscape(_link) + QStringLiteral("</link>\n");
        text += QStringLiteral("<description>") + lq::xmlEscape(_description) + QStringLiteral("</description>\n");
        text += QStringLiteral("<lastBuildDate>") + date + QStringLiteral("</lastBuildDate>\n");
        text += QStringLiteral("<pubDate>") + date + QStringLiteral("</pubDate>\n");
        for (const XmlBasePtr& child : children())
            if (XmlRSSItem* item = XmlRSSItem::cast(child.get()))
                item->appendRSSLink(text, _link);
        text += QStringLiteral("</channel>\n");
        text += QStringLiteral("</rss>\n");
        return text;
    });
}
