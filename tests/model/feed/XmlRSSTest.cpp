#include "application/MyApplication.h"
#include "model/feed/XmlRSS.h"
#include "model/feed/XmlRSSItem.h"
#include "model/site/XmlAlbum.h"
#include "support/FakeDocument.h"

#include <QRegularExpression>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

// A feed of the document's pages: page3.html and an external page.
class XmlRSSTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        page->setFileName(QStringLiteral("page3.html"));
        page->setPageUUID(QStringLiteral("AAAA000000000001"));
        document.pages = { page };
        feed->setDocument(&document);
        feed->setPublish(true);
        feed->setTitle(QStringLiteral("Tom & Ann"));
        feed->setLink(QStringLiteral("http://example.org/site"));
        feed->setDescription(QStringLiteral("Our walks"));
    }

    std::shared_ptr<XmlRSSItem> item(const QString& pageUUID, const QString& title)
    {
        auto entry = XmlRSSItem::create();
        entry->setLink(pageUUID);
        entry->setTitle(title);
        entry->setDescription(title + QStringLiteral(" described"));
        feed->addChild(entry);
        return entry;
    }

    FakeDocument document;
    std::shared_ptr<XmlAlbum> page = XmlAlbum::create();
    std::shared_ptr<XmlRSS> feed = XmlRSS::create();
};

TEST_F(XmlRSSTest, AFeedOfTwoItemsIsRss20WithDatesThatReadBack)
{
    item(QStringLiteral("AAAA000000000001"), QStringLiteral("First"));
    item(QStringLiteral("AAAA000000000001"), QStringLiteral("Second"));
    const QString text = feed->rssString();
    // The title is escaped for XML: the feed stays well-formed.
    ASSERT_TRUE(text.startsWith(QStringLiteral("<?xml version=\"1.0\" ?>\n<rss version=\"2.0\">\n<channel>\n<title>Tom &amp; Ann</title>\n"
                                               "<link>http://example.org/site</link>\n<description>Our walks</description>\n<lastBuildDate>")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("</item>\n\n</channel>\n</rss>\n")));
    EXPECT_EQ(text.count(QStringLiteral("<item>\n")), 2);
    EXPECT_TRUE(text.contains(QStringLiteral("<item>\n<title>First</title>\n<link>http://example.org/site/page3.html</link>\n"
                                             "<description>First described</description>\n<pubDate>")));

    // Every date is in the RFC 822 form with a numeric zone and reads back
    // to the same moment.
    static const QRegularExpression date(QStringLiteral("<(?:pubDate|lastBuildDate)>([^<]*)</"));
    int dates = 0;
    for (const QRegularExpressionMatch& match : date.globalMatch(text)) {
        const QString written = match.captured(1);
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^(Mon|Tue|Wed|Thu|Fri|Sat|Sun), \\d\\d (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                                                      "\\d{4} \\d\\d:\\d\\d:\\d\\d [+-]\\d{4}$"))
                        .match(written)
                        .hasMatch())
            << written.toStdString();
        const QDateTime back = XmlRSS::parseDate(written);
        ASSERT_TRUE(back.isValid()) << written.toStdString();
        EXPECT_EQ(XmlRSS::formatDate(back), written);
        ++dates;
    }
    EXPECT_EQ(dates, 4);
}

TEST_F(XmlRSSTest, DatesKeepTheirZoneAndEnglishNames)
{
    const QDateTime moment(QDate(2026, 3, 1), QTime(7, 5, 9), QTimeZone(-(3 * 3600 + 30 * 60)));
    EXPECT_EQ(XmlRSS::formatDate(moment), QStringLiteral("Sun, 01 Mar 2026 07:05:09 -0330"));
    EXPECT_EQ(XmlRSS::parseDate(QStringLiteral("Sun, 01 Mar 2026 07:05:09 -0330")), moment);
    EXPECT_FALSE(XmlRSS::parseDate(QStringLiteral("yesterday")).isValid());
    EXPECT_EQ(XmlRSS::formatDate(QDateTime()), QStringLiteral(""));
}

TEST_F(XmlRSSTest, UnpublishedFeedsMissingPagesAndChannelLinksEndingInASlash)
{
    item(QStringLiteral("GONE000000000000"), QStringLiteral("Deleted page"));
    EXPECT_FALSE(feed->rssString().contains(QStringLiteral("<item>")));
    EXPECT_TRUE(feed->rssString().contains(QStringLiteral("</pubDate>\n</channel>")));

    item(QStringLiteral("AAAA000000000001"), QStringLiteral("Kept"));
    feed->setLink(QStringLiteral("http://example.org/"));
    EXPECT_TRUE(feed->rssString().contains(QStringLiteral("<link>http://example.org//page3.html</link>")));

    feed->setPublish(false);
    EXPECT_TRUE(feed->rssString().isNull());
}

TEST_F(XmlRSSTest, TheSettingsReadBackFromTheirXml)
{
    item(QStringLiteral("AAAA000000000001"), QStringLiteral("A & B"));
    feed->setLangcode(9);
    feed->setDbHost(QStringLiteral("db.example.org"));
    feed->setUploadUsers(true);
    const QString xml = feed->createXml();
    EXPECT_TRUE(xml.contains(QStringLiteral(" publish=\"1\" title=\"Tom &amp; Ann\"")));
    const auto copy = std::dynamic_pointer_cast<XmlRSS>(XmlBase::createWithXmlRootDir(xml, QString()));
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->publish());
    EXPECT_EQ(copy->title(), QStringLiteral("Tom & Ann"));
    EXPECT_EQ(copy->langcode(), 9);
    EXPECT_EQ(copy->dbHost(), QStringLiteral("db.example.org"));
    EXPECT_TRUE(copy->uploadUsers());
    EXPECT_EQ(XmlRSS::formatDate(copy->pubDate()), XmlRSS::formatDate(feed->pubDate()));
    ASSERT_EQ(copy->numberChildren(), 1);
    auto* entry = XmlRSSItem::cast(copy->firstChild().get());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->title(), QStringLiteral("A & B"));
    EXPECT_EQ(entry->link(), QStringLiteral("AAAA000000000001"));

    // A new feed: nothing published, empty texts, the loopback host.
    const QString fresh = XmlRSS::create()->createXml();
    EXPECT_TRUE(fresh.contains(QStringLiteral(" publish=\"0\" title=\"\" link=\"\" description=\"\"")));
    EXPECT_TRUE(fresh.contains(QStringLiteral(" pw=\"\" useDb=\"0\" dbHost=\"localhost\"")));
}

} // namespace

TEST(XmlRSSDates, ADateThatCannotBeReadIsStableAfterOneSave)
{
    // An unreadable date keeps the element's own: one save writes it, and
    // reading that back gives the same text again.
    for (const QString& xml : { QStringLiteral("<QZrssitem name=\"a\" pubDate=\"Thu, 10 Dec 2026 00:41:50 +0Ming000\"/>"),
                                QStringLiteral("<QZrss name=\"f\" pubDate=\"yesterday\"/>") }) {
        SCOPED_TRACE(xml.toStdString());
        const XmlBasePtr first = XmlBase::createWithXmlRootDir(xml, QString());
        ASSERT_NE(first, nullptr);
        const QString once = first->createXml();
        EXPECT_FALSE(once.contains(QStringLiteral("pubDate=\"\"")));
        const XmlBasePtr second = XmlBase::createWithXmlRootDir(once, QString());
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(second->createXml(), once);
    }
}
