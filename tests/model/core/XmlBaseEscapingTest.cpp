#include "application/MyApplication.h"
#include "model/core/XmlBase.h"
#include "platform/Escaping.h"
#include "platform/XmlCharacterSets.h"
#include "platform/Exception.h"
#include "support/LogCapture.h"
#include "support/Printers.h"

#include <QSet>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A text from UTF-8 source; nullptr gives nothing (a null string).
QString s(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

struct Case {
    QString input;
    QString expected;
};

// Runs the operation over the table; a null expected answer must be null, not
// merely empty.
void expectAll(QString (*operation)(const QString&), const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.isNull() ? std::string("<null>") : '"' + c.input.toStdString() + '"');
        const QString answer = operation(c.input);
        EXPECT_EQ(answer, c.expected);
        EXPECT_EQ(answer.isNull(), c.expected.isNull());
    }
}

QString allEntityCharacters()
{
    return MyApplication::shared().localized(QStringLiteral("moreEscapeChars")).left(XmlCharacterSets::EntityCount);
}

} // namespace

TEST(XmlBaseEscaping, EscapeMarkupControlsAndBlanks)
{
    expectAll(&lq::escape, {
        { s("Tom & <b>"), s("Tom &amp; &lt;b&gt;") },
        { s("say \"hi\""), s("say &quot;hi&quot;") },
        { s("a\tb"), s("a&#009;b") },
        { s("a\t\tb"), s("a&#009;&#009;b") },
        { s("\t-item"), s("&#009;&#149;item") },
        { s("one\ntwo"), s("onetwo") },
        { s("x-y"), s("x-y") },
        { s("a  b"), s("a&#160; b") },
        { s("a   b"), s("a&#160;&#160; b") },
        { s("a    b"), s("a&#160; &#160; b") },
        { s("é"), s("&eacute;") },
        { s("Crème brûlée & “more”"), s("Cr&egrave;me br&ucirc;l&eacute;e &amp; &ldquo;more&rdquo;") },
        // The bullet: by the markup step when a trigger character is present,
        // by the entity table otherwise; both write the same entity.
        { s("\u2022 & x"), s("&#149; &amp; x") },
        { s("a\u2022b"), s("a&#149;b") },
        // Blanks that meet only because a newline or control character went
        // stay plain blanks.
        { s("a \n b"), s("a  b") },
        { s("a \x01 b"), s("a  b") },
        { s("a \r b"), s("a  b") },
        // Control (Cc) and format (Cf) characters are dropped.
        { s("a\rb\x7f" "c\u200Ed"), s("abcd") },
        // Characters outside the table pass as they are.
        { s("€ 5"), s("€ 5") },
        { s(""), s("") },
        { QString(), s("") },
    });
}

TEST(XmlBaseEscaping, UnescapeEntitiesTabsAndBlanks)
{
    expectAll(&lq::unescape, {
        { s("a   b"), s("a b") },
        { s("a&#160; b"), s("a  b") },
        { s("&amp;lt;"), s("&lt;") },
        { s("a\nb"), s("a\nb") },
        { s("a\tb"), s("ab") },
        { s("&quot;x&quot; &lt;y&gt;"), s("\"x\" <y>") },
        { s("&#009;"), s("\t") },
        { s("&#149;|&middot;"), s("\u2022|\u2022") },
        { s("&nbsp;"), s(" ") },
        { s("&eacute;&Uuml;&yuml;"), s("éÜÿ") },
        { s("Tom &amp; Jerry"), s("Tom & Jerry") },
        // A literal entity text written as "&amp;..." reads back literally.
        { s("&amp;eacute;"), s("&eacute;") },
        { s("&amp;amp;"), s("&amp;") },
        { s("&amp;#160;"), s("&#160;") },
        { s("&amp;middot;"), s("&middot;") },
        { s("&unknown; & x"), s("&unknown; & x") },
        { s(""), s("") },
        { QString(), QString() },
    });
}

TEST(XmlBaseEscaping, UnescapeReadsEachEntityWhereItStandsOnce)
{
    expectAll(&lq::unescape, {
        // Entities side by side, at both ends, and inside words.
        { s("&lt;&gt;&amp;&quot;"), s("<>&\"") },
        { s("x&eacute;&egrave;y"), s("xéèy") },
        // What a replacement leaves never joins the text around it into an entity.
        { s("&l&gt;t;"), s("&l>t;") },
        { s("&&lt;lt;"), s("&<lt;") },
        { s("&amp&amp;lt;"), s("&amp&lt;") },
        { s("&#1&#160;60;"), s("&#1 60;") },
        // An ampersand without an entity, one cut short, and unknown ones stay.
        { s("a & b &amp c &lt"), s("a & b &amp c &lt") },
        { s("&;&#;&LT;&Eacute"), s("&;&#;&LT;&Eacute") },
        { s("&verylongunknownentity;&gt;"), s("&verylongunknownentity;>") },
        { s("&"), s("&") },
        // Tabs go and blank pairs close before entities are read: those the
        // entities give back stay.
        { s("&l\tt;"), s("<") },
        { s("a  &#160;  b"), s("a   b") },
        { s("&#0\t09;x"), s("\tx") },
    });
}

TEST(XmlBaseEscaping, EscapeAndUnescapeAnswerTheirArgumentWhenNothingChanges)
{
    // Texts built at run time, so that their data lives in its own allocation.
    const QString plain = QString::fromUtf8("Plain text, one blank between words; 100% €");
    const QString escaped = lq::escape(plain);
    EXPECT_TRUE(escaped.isSharedWith(plain));
    EXPECT_EQ(escaped.constData(), plain.constData());

    const QString unescaped = lq::unescape(plain);
    EXPECT_TRUE(unescaped.isSharedWith(plain));
    EXPECT_EQ(unescaped.constData(), plain.constData());

    // Texts that need work come back as new strings; the argument is untouched.
    const QString markup = QString::fromUtf8("a & b");
    EXPECT_EQ(lq::escape(markup), s("a &amp; b"));
    EXPECT_EQ(markup, s("a & b"));
    const QString entity = QString::fromUtf8("a &amp; b");
    EXPECT_EQ(lq::unescape(entity), s("a & b"));
    EXPECT_EQ(entity, s("a &amp; b"));
}

TEST(XmlBaseEscaping, EscapeThenUnescapeGivesTheTextBack)
{
    const QString entityCharacters = allEntityCharacters();
    ASSERT_EQ(entityCharacters.size(), XmlCharacterSets::EntityCount);

    std::vector<QString> texts = {
        entityCharacters,
        s("Tom & <b>Jerry</b> \"quoted\""),
        s("x-y - z"),
        s("\u2022 first point & \u2022 second"),
        s("a\u2022b"),
        s("&eacute; &amp; &lt; &#160; &nbsp; &middot; &#149; &#009; &quot;"),
        s("€ 5, ≤ 7, 日本"),
        s(""),
    };
    for (QChar c : entityCharacters)
        texts.push_back(QStringLiteral("<") + c + QStringLiteral("> x") + c);

    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        const QString escaped = lq::escape(text);
        EXPECT_EQ(lq::unescape(escaped), text);
    }

    // Every table character is written as plain ASCII, and as its own entity.
    const QString escaped = lq::escape(entityCharacters);
    for (QChar c : escaped)
        EXPECT_LT(c.unicode(), 0x80) << "left unescaped: U+" << std::hex << int(c.unicode());
    QStringList entities;
    for (QChar c : entityCharacters)
        entities.append(lq::escape(QString(c)));
    EXPECT_EQ(entities.size(), QSet<QString>(entities.begin(), entities.end()).size()) << "two characters share an entity";
    EXPECT_EQ(entities.at(16), s("&#149;"));
    EXPECT_EQ(entities.at(7), s("&ldquo;"));
    EXPECT_EQ(entities.at(81), s("&yuml;"));

    // A tab survives the round trip only as its entity.
    EXPECT_EQ(lq::unescape(lq::escape(s("a\tb"))), s("a\tb"));
    EXPECT_EQ(lq::unescape(s("a\tb")), s("ab"));
}

TEST(XmlBaseEscaping, EscapeForDemo)
{
    expectAll(&lq::escapeForDemo, {
        { s(" "), s("&nbsp;") },
        { s("  "), s("&#160; ") },
        { s("a < b"), s("a &lt; b") },
        { s("é"), s("&eacute;") },
        { QString(), s("") },
    });
}

TEST(XmlBaseEscaping, ScriptStringEscapes)
{
    expectAll(&lq::javascriptEscape, {
        { s("it's"), s("it\\'s") },
        { s("a\\b"), s("a\\\\b") },
        // An escaped quote in the input must not close the string.
        { s("a\\'b"), s("a\\\\\\'b") },
        { s("line1\nline2"), s("line1\\nline2") },
        { s("a\r\nb"), s("a\\r\\nb") },
        { s("a\u2028b\u2029c"), s("a\\u2028b\\u2029c") },
        { s("say \"hi\""), s("say \"hi\"") },
        { s(""), s("") },
        { QString(), QString() },
    });
    expectAll(&lq::doubleQuoteEscape, {
        { s("say \"hi\""), s("say \\\"hi\\\"") },
        { s("it's a\\b"), s("it's a\\b") },
        { QString(), QString() },
    });
}

// The escapes for where a text lands in a built site: XML text, a URL path
// segment, a script string inside a page.
TEST(XmlBaseEscaping, EachPlaceATextLandsInHasItsEscape)
{
    expectAll(&lq::xmlEscape, {
        { s("Tom's \"best\" <walks> & more"), s("Tom&apos;s &quot;best&quot; &lt;walks&gt; &amp; more") },
        { s("caf\u00e9 \U0001F600"), s("caf\u00e9 \U0001F600") },
        // What XML cannot hold goes; tabs and line ends stay.
        { s("a\x01" "b\tc\nd\uFFFEe"), s("ab\tc\nde") },
        { s("x") + QChar(0xD800) + s("y"), s("xy") },
        { s(""), s("") },
    });
    expectAll(&lq::urlPathSegmentEscape, {
        { s("page3.html"), s("page3.html") },
        { s("#a.html"), s("%23a.html") },
        { s("?b.html"), s("%3Fb.html") },
        { s("%41c.html"), s("%2541c.html") },
        { s("d&e f/g.html"), s("d%26e%20f%2Fg.html") },
        { s("\"<>\\"), s("%22%3C%3E%5C") },
        { s("caf\u00e9.html"), s("caf%C3%A9.html") },
        { s("it's(1)+2,3;x=y:z@w!$*~"), s("it's(1)+2,3;x=y:z@w!$*~") },
    });
    expectAll(&lq::scriptStringEscape, {
        { s("q\"'<b>pl0"), s("q\\\"\\'\\u003Cb\\u003Epl0") },
        { s("</script><!--"), s("\\u003C/script\\u003E\\u003C!--") },
        { s("a&b\\c"), s("a\\u0026b\\\\c") },
        { s("line1\nline2\r\x01"), s("line1\\nline2\\r\\u0001") },
        { s("a\u2028b"), s("a\\u2028b") },
        { s("page3.html"), s("page3.html") },
    });
}

TEST(XmlBaseEscaping, UrlEscape)
{
    expectAll(&lq::urlEscape, {
        { s("100%"), s("100%25") },
        { s("a b"), s("a%20b") },
        { s("http://host/path?q=1&r=2#top"), s("http://host/path?q=1&r=2#top") },
        // Reserved and unreserved characters pass.
        { s(";/?:@&=+$,-_.!~*'()"), s(";/?:@&=+$,-_.!~*'()") },
        { s("AZaz09"), s("AZaz09") },
        // What a URL may not hold, each as upper-case hexadecimal.
        { s("\"<>[\\]^`{|}"), s("%22%3C%3E%5B%5C%5D%5E%60%7B%7C%7D") },
        { s("a\tb\x7f"), s("a%09b%7F") },
        { s("é€"), s("%C3%A9%E2%82%AC") },
        { s("\U0001F600"), s("%F0%9F%98%80") },
        { s(""), s("") },
        { QString(), QString() },
    });
}

TEST(XmlBaseEscaping, UrlUnescape)
{
    expectAll(&lq::urlUnescape, {
        { s("a%20b"), s("a b") },
        { s("100%25"), s("100%") },
        { s("%C3%A9"), s("é") },
        { s("%c3%a9"), s("é") },
        { s("%F0%9F%98%80"), s("\U0001F600") },
        { s("é + ?"), s("é + ?") },
        { s(""), s("") },
        // Bytes that are not UTF-8: a lone byte, a cut sequence, a sequence
        // split by a plain character, an over-long form, a surrogate.
        { s("%FF"), QString() },
        { s("a%C3"), QString() },
        { s("%C3x%A9"), QString() },
        { s("%C0%AF"), QString() },
        { s("%ED%A0%80"), QString() },
        // Malformed escapes.
        { s("%"), QString() },
        { s("50%"), QString() },
        { s("%4"), QString() },
        { s("%G1"), QString() },
        { QString(), QString() },
    });

    for (const QString& text : { s("a b/c?d=e&f#g"), s("100% \"é\" {x}"), s("\U0001F600 日本") }) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(lq::urlUnescape(lq::urlEscape(text)), text);
    }
}

TEST(XmlBaseEscaping, ParamEscapeAndMagicLinks)
{
    expectAll(&lq::paramEscape, {
        { s("a b+c&d"), s("a+b%2Bc%26d") },
        { s("x=1?y"), s("x=1?y") },
        { s("100% é"), s("100%25+%C3%A9") },
        { QString(), QString() },
    });
    expectAll(&lq::magicLinkMaker, {
        { s("index.html"), s("index.html") },
        { s("me@x.org"), s("mailto:me@x.org") },
        { s("http://x y"), s("http://x%20y") },
        { s("mailto:me@x.org"), s("mailto:me@x.org") },
        { s("http://user@host/"), s("http://user@host/") },
        { s("https://a@b"), s("https://a@b") },
        { s("./a@b"), s("./a@b") },
        { s("../a@b"), s("../a@b") },
        { s("javascript:go('a@b')"), s("javascript:go('a@b')") },
        // The prefixes are matched with their letter case.
        { s("HTTP://me@x"), s("mailto:HTTP://me@x") },
        { QString(), QString() },
    });
}

TEST(XmlBaseEscaping, ReverseWord)
{
    expectAll(&lq::reverseWord, {
        { s("abcd"), s("dbca") },
        { s("ab"), s("ba") },
        { s("a"), s("a") },
        { s(""), s("") },
    });
}

TEST(XmlCharacterSets, ReaderSets)
{
    const XmlCharacterSets& sets = XmlCharacterSets::shared();
    struct SetCase {
        const lq::CharacterSet XmlCharacterSets::*set;
        const char* name;
        QString in;
        QString out;
    };
    const std::vector<SetCase> cases = {
        { &XmlCharacterSets::lessThan, "lessThan", s("<"), s(">/\" a") },
        { &XmlCharacterSets::greaterThan, "greaterThan", s(">"), s("</\" a") },
        { &XmlCharacterSets::slash, "slash", s("/"), s("<>\\ a") },
        { &XmlCharacterSets::quoteOrEquals, "quoteOrEquals", s("\"="), s("' a<") },
        { &XmlCharacterSets::quote, "quote", s("\""), s("'= a") },
        { &XmlCharacterSets::nameCharacters, "nameCharacters", s("azAZ09-_:.éß日"), s(" =\"<>/\t'") },
        { &XmlCharacterSets::controlCharacters, "controlCharacters", s("\t\r\x01\x7f\u200B\u200E"), s("\n a-") },
        { &XmlCharacterSets::escapeTriggers, "escapeTriggers", s("\"&<>\n\t-"), s(" a'\r") },
    };
    for (const SetCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (QChar ch : c.in)
            EXPECT_TRUE((sets.*c.set).contains(ch)) << "U+" << std::hex << int(ch.unicode());
        for (QChar ch : c.out)
            EXPECT_FALSE((sets.*c.set).contains(ch)) << "U+" << std::hex << int(ch.unicode());
    }
    EXPECT_EQ(sets.bullet, s("\u2022"));
    ASSERT_EQ(sets.entityTable.size(), XmlCharacterSets::EntityCount);
    EXPECT_EQ(sets.entityTable.at(16).character, QChar(0x2022));
}

TEST(XmlCharacterSets, TooFewEntityCharactersFailTheSetUp)
{
    const QString entry = allEntityCharacters();
    for (const QString& tooShort : { s(" "), entry.left(XmlCharacterSets::EntityCount - 1) }) {
        LogCapture log;
        bool raised = false;
        try {
            XmlCharacterSets sets(tooShort);
        } catch (const lq::Exception& e) {
            raised = true;
            EXPECT_TRUE(e.isTrace());
        }
        EXPECT_TRUE(raised);
        ASSERT_EQ(log.lines.size(), 2) << log.lines.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(log.lines.at(0), s("Error: ----------------------------------"));
        EXPECT_TRUE(log.lines.at(1).startsWith(s("Catch:XmlBase +initialize Invalid Resource: ")))
            << log.lines.at(1).toStdString();
    }

    LogCapture log;
    const XmlCharacterSets sets(entry);
    EXPECT_EQ(sets.entityTable.size(), XmlCharacterSets::EntityCount);
    EXPECT_TRUE(log.lines.isEmpty());
}
