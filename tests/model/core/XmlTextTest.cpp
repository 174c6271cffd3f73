// The element XML text: writer layout, the tolerant reader and its legacy
// forms, files (plain, enciphered, atomic saving) and the copy operations.
#include "model/core/ElementFiles.h"
#include "platform/Codecs.h"
#include "model/site/XmlAlbum.h"
#include "model/core/XmlBase.h"
#include "model/core/XmlGarbageDump.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "model/core/XmlTextFormat.h"
#include "platform/Exception.h"
#include "platform/Scanner.h"
#include "publish/XmlD.h"
#include "support/ElementTrees.h"
#include "support/FakeDocument.h"
#include "support/LogCapture.h"
#include "support/Printers.h"
#include "support/StarterSite.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <functional>
#include <random>

namespace {

// A test element whose parts the tests set freely: owned-parts text,
// content and children flags, editable name, and a setter that can fail.
class Probe : public XmlBase {
public:
    explicit Probe(Key key)
        : XmlBase(key)
    {
    }
    static std::shared_ptr<Probe> create() { return make<Probe>(); }

    QString elementName() const override { return QStringLiteral("probe"); }
    QString writeXmlVorns() override
    {
        ++vornsAsked;
        if (renameInVorns)
            _name = QStringLiteral("set-by-vorns");
        return vorns;
    }
    XmlBasePtr createChildFromTag(const QString& tag) override
    {
        return tag == u"probe" ? XmlBasePtr(create()) : XmlBase::createChildFromTag(tag);
    }
    bool canYouBeMyParent(XmlBase*) override { return true; }
    void setAttributeTo(const QString& key, const QString& value) override
    {
        if (key == u"boom")
            lq::raise(QStringLiteral("Test"), QStringLiteral("attribute store failed"));
        XmlBase::setAttributeTo(key, value);
    }

    void setCanHaveChildren(bool value) { _have_children = value; }
    void setCanEditName(bool value) { _edit_name = value; }

    QString vorns;
    bool renameInVorns = false;
    int vornsAsked = 0;
};

XmlBasePtr readText(const QString& text)
{
    return XmlBase::createWithXmlRootDir(text, QString());
}

int treeDepth(const XmlBase& element)
{
    int depth = 1;
    for (XmlBasePtr node = element.firstChild(); node; node = node->firstChild())
        ++depth;
    return depth;
}

QString verbatim(const QString& text)
{
    return XmlTextFormat::verbatimMarker.toString() + text + XmlTextFormat::verbatimMarker.toString();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A three-level tree whose names need every kind of escaping.
XmlBasePtr makeTree()
{
    auto top = XmlD::create();
    top->setName(QStringLiteral("Tom & Jerry"));
    auto middle = XmlD::create();
    middle->setName(QStringLiteral("a < b > c \"quoted\""));
    auto leaf = XmlD::create();
    leaf->setName(QStringLiteral("My  Page été"));
    auto sibling = XmlD::create();
    top->addChild(middle);
    middle->addChild(leaf);
    top->addChild(sibling);
    return top;
}

} // namespace

// --- Writer ----------------------------------------------------------------------

struct LayoutCase {
    const char* label;
    std::function<XmlBasePtr()> build;
    QString expected;
};

TEST(XmlTextWriter, Layout)
{
    const std::vector<LayoutCase> cases = {
        { "self-closing line", [] {
             auto e = XmlBase::create();
             e->setName(QStringLiteral("Q"));
             return e;
         },
            QStringLiteral("<xmlbase name=\"Q\"/>\n") },
        { "empty name is not written", [] { return XmlBase::create(); }, QStringLiteral("<xmlbase/>\n") },
        { "name not editable is not written", [] {
             auto e = Probe::create();
             e->setName(QStringLiteral("hidden"));
             e->setCanEditName(false);
             return e;
         },
            QStringLiteral("<probe/>\n") },
        { "name is escaped", [] {
             auto e = XmlBase::create();
             e->setName(QStringLiteral("a\"b&c<d>"));
             return e;
         },
            QStringLiteral("<xmlbase name=\"a&quot;b&amp;c&lt;d&gt;\"/>\n") },
        { "content flag with empty content", [] {
             auto e = XmlBase::create();
             e->setHaveContent(true);
             return e;
         },
            QStringLiteral("<xmlbase><!-- x --><![CDATA[]]><!-- x --></xmlbase>\n") },
        { "content is written as it stands", [] {
             auto e = XmlBase::create();
             e->setHaveContent(true);
             e->setContent(QStringLiteral("<p>a & b</p>\nline"));
             return e;
         },
            QStringLiteral("<xmlbase><!-- x --><![CDATA[<p>a & b</p>\nline]]><!-- x --></xmlbase>\n") },
        { "content without the flag is not written", [] {
             auto e = XmlBase::create();
             e->setContent(QStringLiteral("kept in memory only"));
             return e;
         },
            QStringLiteral("<xmlbase/>\n") },
        { "element override replaces the tag", [] {
             auto e = XmlBase::create();
             e->setElementOverride(QStringLiteral("QZother"));
             e->setHaveContent(true);
             return e;
         },
            QStringLiteral("<QZother><!-- x --><![CDATA[]]><!-- x --></QZother>\n") },
        { "child at depth 1 is indented by one blank", [] {
             auto parent = XmlD::create();
             parent->setName(QStringLiteral("p"));
             auto child = XmlD::create();
             child->setName(QStringLiteral("c"));
             parent->addChild(child);
             return parent;
         },
            QStringLiteral("<QZD name=\"p\"> <QZD name=\"c\"/>\n</QZD>\n") },
        { "content then a child, element at depth 1", [] {
             auto top = XmlD::create();
             auto middle = XmlGarbageDump::create();
             middle->setContent(QStringLiteral("hi"));
             auto leaf = XmlBase::create();
             leaf->setName(QStringLiteral("g"));
             top->addChild(middle);
             middle->addChild(leaf);
             return top;
         },
            QStringLiteral("<QZD> <xmlbase><!-- x --><![CDATA[hi]]><!-- x -->  <xmlbase name=\"g\"/>\n </xmlbase>\n</QZD>\n") },
        { "empty owned parts give the long form", [] {
             auto e = Probe::create();
             e->vorns = QStringLiteral("");
             return e;
         },
            QStringLiteral("<probe></probe>\n") },
        { "owned parts before the children", [] {
             auto e = Probe::create();
             e->vorns = QStringLiteral("<QZimage/>");
             e->setCanHaveChildren(true);
             e->setHaveContent(true);
             e->setContent(QStringLiteral("c"));
             e->addChild(XmlBase::create());
             return e;
         },
            QStringLiteral("<probe><!-- x --><![CDATA[c]]><!-- x --><QZimage/> <xmlbase/>\n</probe>\n") },
        { "owned parts are asked before the start tag is written", [] {
             auto e = Probe::create();
             e->renameInVorns = true;
             return e;
         },
            QStringLiteral("<probe name=\"set-by-vorns\"/>\n") },
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.label);
        XmlBasePtr element = c.build();
        EXPECT_EQ(element->createXml(), c.expected);
    }
}

TEST(XmlTextWriter, SubtreeKeepsItsRealIndentationAndDataIsNeverWritten)
{
    auto top = XmlD::create();
    auto middle = XmlD::create();
    auto leaf = XmlD::create();
    top->addChild(middle);
    middle->addChild(leaf);
    leaf->setName(QStringLiteral("leaf"));
    EXPECT_EQ(leaf->createXml(), QStringLiteral("  <QZD name=\"leaf\"/>\n"));

    QString xml = QStringLiteral("before|");
    middle->writeXmlInString(xml);
    EXPECT_EQ(xml, QStringLiteral("before| <QZD>  <QZD name=\"leaf\"/>\n </QZD>\n"));

    XmlBasePtr withData = readText(QStringLiteral("<xmlbase name=\"d\"><!-- data -->SGVsbG8=<!-- data --></xmlbase>"));
    ASSERT_TRUE(withData);
    EXPECT_EQ(withData->data(), QByteArray("Hello"));
    EXPECT_EQ(withData->createXml(), QStringLiteral("<xmlbase name=\"d\"/>\n"));
}

TEST(XmlTextWriter, OwnedPartsAreAskedOncePerWrite)
{
    auto e = Probe::create();
    e->createXml();
    EXPECT_EQ(e->vornsAsked, 1);
}

// --- Reader ----------------------------------------------------------------------

struct ReadCase {
    const char* label;
    QString text;
    bool expectElement;
    QString expectedName;
};

TEST(XmlTextReader, RootAndAttributeTolerances)
{
    const std::vector<ReadCase> cases = {
        { "quoted name", QStringLiteral("<xmlbase name=\"Q\"/>"), true, QStringLiteral("Q") },
        { "missing opening quote", QStringLiteral("<xmlbase name=Q\"/>"), true, QStringLiteral("Q") },
        { "zero without its opening quote", QStringLiteral("<xmlbase name=0\"/>"), true, QStringLiteral("0") },
        { "empty attribute is not stored", QStringLiteral("<xmlbase name=\"\"/>"), true, QStringLiteral("") },
        { "blank before the slash", QStringLiteral("<xmlbase name=\"Q\" />"), true, QStringLiteral("Q") },
        { "leading white space of a value is dropped", QStringLiteral("<xmlbase name=\"  Q \"/>"), true, QStringLiteral("Q ") },
        { "missing closing quote runs to the end", QStringLiteral("<xmlbase name=\"Q></xmlbase>"), true, QStringLiteral("Q") },
        { "last of two wins", QStringLiteral("<xmlbase name=\"a\" name=\"b\"/>"), true, QStringLiteral("b") },
        { "unknown attributes are ignored", QStringLiteral("<xmlbase zz=\"1\" name=\"n\"/>"), true, QStringLiteral("n") },
        { "white space before the root", QStringLiteral("  \n\t<xmlbase name=\"w\"/>"), true, QStringLiteral("w") },
        { "start tag cut short still gives the root", QStringLiteral("<xmlbase name=\"cut\""), true, QStringLiteral("cut") },
        { "names are unescaped exactly once", QStringLiteral("<xmlbase name=\"My&#160; Page &amp;lt; &eacute;\"/>"), true,
            QStringLiteral("My  Page &lt; \u00e9") },
        { "xml declaration first", QStringLiteral("<?xml version=\"1.0\"?><xmlbase name=\"Q\"/>"), false, QString() },
        { "comment first", QStringLiteral("<!-- c --><xmlbase/>"), false, QString() },
        { "element known only to a parent", QStringLiteral("<QZcaption/>"), false, QString() },
        { "unknown element", QStringLiteral("<foo name=\"x\"/>"), false, QString() },
        { "tags are case-sensitive", QStringLiteral("<XMLBASE/>"), false, QString() },
        { "no tag at all", QStringLiteral("just text"), false, QString() },
        { "empty text", QStringLiteral(""), false, QString() },
        { "null text", QString(), false, QString() },
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.label);
        XmlBasePtr element = readText(c.text);
        ASSERT_EQ(element != nullptr, c.expectElement);
        if (element) {
            EXPECT_EQ(element->elementName(), QStringLiteral("xmlbase"));
            EXPECT_EQ(element->name(), c.expectedName);
            EXPECT_EQ(element->parent(), nullptr);
        }
    }
}

TEST(XmlTextReader, ChildAttributesFollowTheSameTolerances)
{
    // A child's attribute text is read where it stands in the document.
    struct Case {
        const char* label;
        QString attributes;
        QString expectedName;
    };
    const std::vector<Case> cases = {
        { "quoted name", QStringLiteral(" name=\"Q\""), QStringLiteral("Q") },
        { "missing opening quote", QStringLiteral(" name=Q\""), QStringLiteral("Q") },
        { "empty attribute is not stored", QStringLiteral(" name=\"\""), QStringLiteral("") },
        { "leading white space of a value is dropped", QStringLiteral(" name=\"\n\t Q \""), QStringLiteral("Q ") },
        { "value with a greater-than sign", QStringLiteral(" name=\"a &gt; b\""), QStringLiteral("a > b") },
        { "last of two wins", QStringLiteral(" name=\"a\"\nname=\"b\""), QStringLiteral("b") },
        { "unknown attributes are ignored", QStringLiteral(" zz=\"1\" name=\"n\" md5=\"2\""), QStringLiteral("n") },
        { "no attributes", QString(), QStringLiteral("") },
        { "names are unescaped exactly once", QStringLiteral(" name=\"My&#160; Page &amp;lt; &eacute;\""),
            QStringLiteral("My  Page &lt; \u00e9") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto parent = Probe::create();
        parent->setCanHaveChildren(true);
        lq::Scanner scanner(QStringLiteral("<probe") + c.attributes + QStringLiteral("/><probe name=\"next\"/></probe>"));
        EXPECT_TRUE(parent->parseXml(scanner));
        ASSERT_EQ(parent->numberChildren(), 2);
        EXPECT_EQ(parent->firstChild()->name(), c.expectedName);
        EXPECT_EQ(parent->lastChild()->name(), QStringLiteral("next"));
    }
}

struct ContentCase {
    const char* label;
    QString body;
    QString expected;
};

TEST(XmlTextReader, ContentBlocks)
{
    const std::vector<ContentCase> cases = {
        { "leading blanks skipped, tab and carriage return deleted",
            QStringLiteral("<!-- x --><![CDATA[  one\ttwo\r\nthree]]><!-- x -->"), QStringLiteral("onetwo\nthree") },
        { "trailing white space kept", QStringLiteral("<!-- x --><![CDATA[abc  ]]><!-- x -->"), QStringLiteral("abc  ") },
        { "a bare CDATA end inside the block", QStringLiteral("<!-- x --><![CDATA[a]]>b]]><!-- x -->"), QStringLiteral("a]]>b") },
        { "two blocks are joined", QStringLiteral("<!-- x --><![CDATA[one]]><!-- x --><!-- x --><![CDATA[two]]><!-- x -->"),
            QStringLiteral("onetwo") },
        { "block then bare CDATA", QStringLiteral("<!-- x --><![CDATA[one]]><!-- x --> <![CDATA[two]]>"), QStringLiteral("onetwo") },
        { "bare CDATA", QStringLiteral("<![CDATA[<b>bold</b>]]>"), QStringLiteral("<b>bold</b>") },
        { "other control characters deleted", QStringLiteral("<![CDATA[a\u0001b\u200Bc\u0085d]]>"), QStringLiteral("abcd") },
        { "verbatim block with markup", verbatim(QStringLiteral("<p class=\"x\">Hi & bye</p>")),
            QStringLiteral("<p class=\"x\">Hi & bye</p>") },
        { "verbatim block keeps CDATA markers as text", verbatim(QStringLiteral("a ]]> <![CDATA[ b")),
            QStringLiteral("a ]]> <![CDATA[ b") },
        { "comments and instructions between blocks", QStringLiteral("<!-- note --><?pi x?><![CDATA[z]]>"), QStringLiteral("z") },
    };
    for (const ContentCase& c : cases) {
        SCOPED_TRACE(c.label);
        XmlBasePtr element = readText(QStringLiteral("<xmlbase name=\"n\">") + c.body + QStringLiteral("</xmlbase>"));
        ASSERT_TRUE(element);
        EXPECT_EQ(element->content(), c.expected);
        EXPECT_EQ(element->name(), QStringLiteral("n"));
    }
}

// Page texts are long and almost all printable ASCII: a character to delete
// is found wherever it stands, at the edges of the stretches the reader
// passes over whole as well as inside them, among characters it keeps.
TEST(XmlTextReader, ContentDeletesControlCharactersWhereverTheyStandInALongText)
{
    QString plain;
    for (int i = 0; i < 160; ++i)
        plain += i % 41 == 40 ? QChar(u'\n') : QChar(u'!' + i % 90);
    struct Case {
        const char* label;
        QList<qsizetype> at;
        QList<char16_t> characters;
    };
    const std::vector<Case> cases = {
        { "at the very start", { 0 }, { u'\t' } },
        { "last of the first stretch", { 31 }, { u'\r' } },
        { "first of the second stretch", { 32 }, { 0x7f } },
        { "inside a stretch", { 45 }, { 0x200B } },
        { "at the very end", { 159 }, { 0x0001 } },
        { "several, around kept letters beyond ASCII", { 10, 11, 64, 100, 140 },
            { 0x0085, 0x00AD, u'\t', 0xFEFF, 0x001F } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        QString text = plain;
        // Letters that are kept: beyond ASCII, in the stretches around.
        text[5] = QChar(0x00E9);
        text[70] = QChar(0x2022);
        text[130] = QChar(0x00A0);
        const QString expected = text;
        for (qsizetype i = c.at.size() - 1; i >= 0; --i)
            text.insert(c.at[i], QChar(c.characters[i]));
        auto element = Probe::create();
        element->appendContent(text);
        EXPECT_EQ(element->content(), expected);
    }
    // A text with nothing to delete is kept as it was given.
    auto element = Probe::create();
    element->appendContent(plain);
    EXPECT_EQ(element->content(), plain);
}

TEST(XmlTextReader, EmptyBlocksDoNotSwallowTheRestOfTheText)
{
    const QStringList bodies = {
        verbatim(QString()),
        verbatim(QStringLiteral("   ")),
        QStringLiteral("<!-- data --><!-- data -->"),
        QStringLiteral("<!-- x --><![CDATA[]]><!-- x -->"),
        QStringLiteral("<![CDATA[]]>"),
    };
    for (const QString& body : bodies) {
        SCOPED_TRACE(body.toStdString());
        XmlBasePtr root = readText(QStringLiteral("<QZD name=\"r\"><QZD name=\"a\">") + body
            + QStringLiteral("</QZD><QZD name=\"b\"/></QZD>"));
        ASSERT_TRUE(root);
        EXPECT_EQ(childNames(*root), QStringList({ QStringLiteral("a"), QStringLiteral("b") }));
        EXPECT_TRUE(root->childAtIndex(0)->content().isEmpty());
    }
}

TEST(XmlTextReader, DataBlockDecodesAndReplaces)
{
    XmlBasePtr e = readText(QStringLiteral(
        "<xmlbase><!-- data -->AAEC<!-- data --><!-- data -->\r\nSGVsbG8=<!-- data --><![CDATA[c]]></xmlbase>"));
    ASSERT_TRUE(e);
    EXPECT_EQ(e->data(), QByteArray("Hello"));
    EXPECT_EQ(e->content(), QStringLiteral("c"));
}

TEST(XmlTextReader, ContentReplacesADefault)
{
    auto e = Probe::create();
    e->setDefaultContent(QStringLiteral("default"));
    lq::Scanner scanner(QStringLiteral("<![CDATA[new]]><![CDATA[ more]]></probe>"));
    EXPECT_TRUE(e->parseXml(scanner));
    // The second block's leading blank is skipped like any block's.
    EXPECT_EQ(e->content(), QStringLiteral("newmore"));
    EXPECT_FALSE(e->isDefaultContent());
}

struct StructureCase {
    const char* label;
    QString text;
    QStringList rootChildren;
};

TEST(XmlTextReader, ChildrenAndSkippedElements)
{
    const std::vector<StructureCase> cases = {
        { "unknown subtree between two accepted siblings",
            QStringLiteral("<QZD name=\"r\"><QZD name=\"a\"/><foo name=\"f\"><bar><baz/><![CDATA[x]]></bar></foo><QZD name=\"b\"/></QZD>"),
            { QStringLiteral("a"), QStringLiteral("b") } },
        { "element the parent does not accept, with its subtree",
            QStringLiteral("<QZD><QZD name=\"a\"/><xmlbase name=\"no\"><QZD name=\"inner\"/></xmlbase><QZD name=\"b\"/></QZD>"),
            { QStringLiteral("a"), QStringLiteral("b") } },
        { "self-closing with a blank does not swallow the sibling",
            QStringLiteral("<QZD><QZD name=\"a\" /><QZD name=\"b\"/></QZD>"), { QStringLiteral("a"), QStringLiteral("b") } },
        { "mismatched end tag closes the current element",
            QStringLiteral("<QZD><QZD name=\"a\"></wrong><QZD name=\"b\"/></QZD>"), { QStringLiteral("a"), QStringLiteral("b") } },
        { "comments and instructions between children",
            QStringLiteral("<QZD>\n <!-- note -->\n <?pi?> <!DOCTYPE x><QZD name=\"a\"/></QZD>"), { QStringLiteral("a") } },
        { "tag without its closing angle bracket stops the reading",
            QStringLiteral("<QZD><QZD name=\"a\"/><QZD name=\"b\""), { QStringLiteral("a") } },
        { "file-node children are accepted by a folder",
            QStringLiteral("<QZD><QZF name=\"f\"/></QZD>"), { QStringLiteral("f") } },
    };
    for (const StructureCase& c : cases) {
        SCOPED_TRACE(c.label);
        XmlBasePtr root = readText(c.text);
        ASSERT_TRUE(root);
        EXPECT_EQ(childNames(*root), c.rootChildren);
        for (const XmlBasePtr& child : root->children())
            EXPECT_EQ(child->parent(), root.get());
    }
}

TEST(XmlTextReader, ElementThatCannotHoldChildrenReadsThemAndDropsThem)
{
    XmlBasePtr root = readText(QStringLiteral("<xmlbase name=\"p\"><QZD name=\"c\"><QZD name=\"d\"/></QZD><![CDATA[after]]></xmlbase>"));
    ASSERT_TRUE(root);
    EXPECT_EQ(root->numberChildren(), 0);
    EXPECT_EQ(root->content(), QStringLiteral("after"));
    // The content is kept in memory, but an element without the content flag does not write it.
    EXPECT_FALSE(root->haveContent());
    EXPECT_EQ(root->createXml(), QStringLiteral("<xmlbase name=\"p\"/>\n"));
}

TEST(XmlTextReader, TextCutInsideAChildKeepsWhatWasRead)
{
    XmlBasePtr root = readText(QStringLiteral(
        "<QZD name=\"r\"><QZD name=\"a\"><QZD name=\"b\"/><![CDATA[partial text"));
    ASSERT_TRUE(root);
    EXPECT_EQ(childNames(*root), QStringList({ QStringLiteral("a") }));
    XmlBasePtr a = root->firstChild();
    EXPECT_EQ(childNames(*a), QStringList({ QStringLiteral("b") }));
    EXPECT_EQ(a->content(), QStringLiteral("partial text"));

    lq::Scanner scanner(QStringLiteral("<QZD name=\"x\"><QZD name=\"y\">"));
    auto live = XmlD::create();
    EXPECT_FALSE(live->parseXml(scanner));
    EXPECT_EQ(treeDepth(*live), 3);
}

TEST(XmlTextReader, ParseXmlAnswersWhetherTheEndTagWasRead)
{
    struct Case {
        QString body;
        bool complete;
        int children;
    };
    const std::vector<Case> cases = {
        { QStringLiteral("</probe> <probe/>"), true, 0 },
        { QStringLiteral("<probe/><probe></probe></anything>"), true, 2 },
        { QStringLiteral("<probe/>"), false, 1 },
        { QStringLiteral(""), false, 0 },
        { QStringLiteral("<probe"), false, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body.toStdString());
        auto e = Probe::create();
        e->setCanHaveChildren(true);
        lq::Scanner scanner(c.body);
        EXPECT_EQ(e->parseXml(scanner), c.complete);
        EXPECT_EQ(e->numberChildren(), c.children);
    }
}

TEST(XmlTextReader, ReadingIntoADocumentTreeDoesNotMarkTheDocument)
{
    FakeDocument document;
    auto site = XmlSite::create();
    site->setDocument(&document);
    auto group = XmlGroup::create();
    site->addChild(group);
    const int changesBefore = document.changes;

    lq::Scanner scanner(QStringLiteral("<QZalbum name=\"A\"/><QZalbum name=\"B &amp; C\"></QZalbum></QZgroup>"));
    EXPECT_TRUE(group->parseXml(scanner));

    EXPECT_EQ(childNames(*group), QStringList({ QStringLiteral("A"), QStringLiteral("B & C") }));
    EXPECT_EQ(document.changes, changesBefore);
    EXPECT_EQ(document.suppressed, 0);
    EXPECT_GT(document.notices, 0); // the notices arrived, and were dropped

    // An edit after reading does mark the document.
    group->firstChild()->setName(QStringLiteral("edited"));
    EXPECT_EQ(document.changes, changesBefore + 1);
}

TEST(XmlTextReader, FailingAttributeStoreLeavesChangeMarkingOn)
{
    FakeDocument document;
    auto site = XmlSite::create();
    site->setDocument(&document);
    auto holder = Probe::create();
    holder->setCanHaveChildren(true);
    site->addChild(holder);

    LogCapture log;
    lq::Scanner scanner(QStringLiteral("<probe name=\"a\" boom=\"1\"/></probe>"));
    EXPECT_THROW(holder->parseXml(scanner), lq::Exception);
    EXPECT_EQ(document.suppressed, 0);
    EXPECT_TRUE(log.lines.join(u'\n').contains(QStringLiteral("attribute store failed")));
}

TEST(XmlTextReader, DeepNestingStopsAtTheLimit)
{
    constexpr int levels = 100000;
    const int limit = XmlTextFormat::maxNestingDepth;
    {
        LogCapture log;
        XmlBasePtr root = readText(QStringLiteral("<QZD name=\"top\">").repeated(levels));
        ASSERT_TRUE(root);
        EXPECT_EQ(root->name(), QStringLiteral("top"));
        EXPECT_EQ(treeDepth(*root), limit);
        EXPECT_EQ(log.lines.size(), 1);
    }
    {
        // A deep unknown subtree is swallowed up to the limit as well.
        LogCapture log;
        XmlBasePtr root = readText(QStringLiteral("<QZD name=\"r\">") + QStringLiteral("<foo>").repeated(levels));
        ASSERT_TRUE(root);
        EXPECT_EQ(root->numberChildren(), 0);
    }
    {
        // Exactly at the limit everything is read.
        XmlBasePtr root = readText(QStringLiteral("<QZD>").repeated(limit) + QStringLiteral("</QZD>").repeated(limit)
            + QStringLiteral("trailing"));
        ASSERT_TRUE(root);
        EXPECT_EQ(treeDepth(*root), limit);
    }
}

// --- Round trips and copies ---------------------------------------------------------

TEST(XmlTextRoundTrip, WriteReadWriteGivesTheSameText)
{
    XmlBasePtr tree = makeTree();
    const QString first = tree->createXml();
    XmlBasePtr back = readText(first);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->createXml(), first);

    // The names come back as they were, also after a second cycle.
    XmlBasePtr again = readText(back->createXml());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->name(), QStringLiteral("Tom & Jerry"));
    EXPECT_EQ(again->firstChild()->name(), QStringLiteral("a < b > c \"quoted\""));
    EXPECT_EQ(again->firstChild()->firstChild()->name(), QStringLiteral("My  Page été"));
    EXPECT_EQ(again->createXml(), first);
}

TEST(XmlTextRoundTrip, VerbatimBlockWrittenByAScriptWriter)
{
    // Script writers put HTML between two marker comments.
    const QString html = QStringLiteral("<p>\"quotes\" & <b>markup</b> ]]><!-- x --></p>");
    XmlBasePtr e = readText(QStringLiteral("<xmlbase>") + verbatim(html) + QStringLiteral("</xmlbase>"));
    ASSERT_TRUE(e);
    EXPECT_EQ(e->content(), html);
}

TEST(XmlTextRoundTrip, ContentHoldingTheBlockEndMarkerComesBackWhole)
{
    // Markup after an early end marker would end the caption, the photo and
    // add photos of its own.
    const QString caption = QStringLiteral(
        "<p>see ]]><!-- x --></QZcaption></QZphoto><QZphoto name=\"injected\"/><QZphoto>x</p>");
    auto album = XmlAlbum::create();
    auto photo = XmlPhoto::create();
    photo->caption()->setContent(caption);
    album->addChild(photo);
    const QString xml = album->createXml();

    XmlBasePtr back = readText(xml);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->children().size(), 1);
    auto backPhoto = std::dynamic_pointer_cast<XmlPhoto>(back->firstChild());
    ASSERT_TRUE(backPhoto);
    EXPECT_EQ(backPhoto->caption()->content(), caption);
    EXPECT_EQ(back->createXml(), xml);
}

namespace {

// Random texts made of the block markers, pieces of them in other letter
// cases, markup of the document around them, white space and control characters.
QString randomText(std::mt19937& random)
{
    static const QStringList pieces = {
        XmlTextFormat::contentClose.toString(), XmlTextFormat::contentOpen.toString(),
        XmlTextFormat::verbatimMarker.toString(), QStringLiteral("]]><!-- X -->"),
        QStringLiteral("<!-- LUMENQUILL-verbatim-7q2 -->"), QStringLiteral("]]>"), QStringLiteral("]]"),
        QStringLiteral("]"), QStringLiteral(">"), QStringLiteral("<"), QStringLiteral("--"), QStringLiteral("<!-- x -->"),
        QStringLiteral("<![CDATA["), QStringLiteral("</xmlbase>"), QStringLiteral("<QZD name=\"injected\"/>"),
        QStringLiteral("a"), QStringLiteral("é"), QStringLiteral(" "), QStringLiteral("\n"), QStringLiteral("\t"),
        QStringLiteral("\u0001"), QStringLiteral("\u200B"),
    };
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<qsizetype> pick(0, pieces.size() - 1);
    QString text;
    for (int n = length(random); n > 0; --n)
        text += pieces.at(pick(random));
    return text;
}

// The caption texts of an album's photos.
QStringList captions(const XmlBase& album)
{
    QStringList texts;
    for (const XmlBasePtr& child : album.children()) {
        if (auto photo = std::dynamic_pointer_cast<XmlPhoto>(child))
            texts.append(photo->caption()->content());
    }
    return texts;
}

// A photo's caption text written with its album reads back whole when the
// format carries it whole (XmlTextFormat::carriesWhole), beside the caption
// after it; whatever the format cannot carry, one save makes the text stable.
void expectCaptionRoundTrip(const QString& text)
{
    SCOPED_TRACE(text.toStdString());
    auto root = XmlAlbum::create();
    auto photo = XmlPhoto::create();
    photo->caption()->setContent(text);
    auto after = XmlPhoto::create();
    after->caption()->setContent(QStringLiteral("after"));
    root->addChild(photo);
    root->addChild(after);
    const QString xml = root->createXml();
    if (!text.contains(XmlTextFormat::contentClose, Qt::CaseInsensitive)) {
        ASSERT_TRUE(xml.contains(XmlTextFormat::contentOpen.toString() + text + XmlTextFormat::contentClose.toString()));
    }

    XmlBasePtr back = readText(xml);
    ASSERT_TRUE(back);
    const bool whole = XmlTextFormat::carriesWhole(text);
    ASSERT_EQ(captions(*back), QStringList({ whole ? text : captions(*back).first(), QStringLiteral("after") }));
    const QString backXml = back->createXml();
    if (whole) {
        EXPECT_EQ(backXml, xml);
    }
    XmlBasePtr again = readText(backXml);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->createXml(), backXml);
}

} // namespace

TEST(XmlTextRoundTrip, HardContentTextsComeBackWhole)
{
    const QString close = XmlTextFormat::contentClose.toString();
    const QString open = XmlTextFormat::contentOpen.toString();
    const QString marker = XmlTextFormat::verbatimMarker.toString();
    const QStringList texts = {
        QString(),
        // The block's own markers, whole, doubled, in other letter cases and cut.
        close,
        close + close,
        open + QStringLiteral("a") + close,
        QStringLiteral("]]><!-- X -->"),
        QStringLiteral("x]]><!-- x -->y]]><!-- X -->z"),
        QStringLiteral("]]"),
        QStringLiteral("]]]>"),
        QStringLiteral("]") + close,
        close.left(close.size() - 1),
        QStringLiteral("<![CDATA[") + close,
        // The verbatim marker and markup of the document around the text.
        marker,
        QStringLiteral("<!-- LUMENQUILL-verbatim-7q2 -->") + marker,
        QStringLiteral("</xmlbase></QZcaption></QZphoto><QZphoto name=\"injected\"/>"),
        QStringLiteral("<QZD name=\"injected\"/>--><!-- x -->"),
        QStringLiteral("<>--<!-- x -->"),
        // White space and characters the format does not carry.
        QStringLiteral(" leading"),
        QStringLiteral("\n\tindented"),
        QStringLiteral("trailing \n"),
        QStringLiteral("a\u0001b"),
        QStringLiteral("a\u200Bb") + close,
        QStringLiteral("é\né"),
    };
    for (const QString& text : texts)
        expectCaptionRoundTrip(text);
}

TEST(XmlTextRoundTrip, AnyContentTextComesBackWhole)
{
    // A few hundred random texts of the pieces above; the text fuzz target
    // searches much further.
    std::mt19937 random(20261209);
    for (int round = 0; round < 300; ++round)
        expectCaptionRoundTrip(randomText(random));
}

TEST(XmlTextRoundTrip, AnyTextInAVerbatimBlockComesBackWhole)
{
    std::mt19937 random(7);
    for (int round = 0; round < 4000; ++round) {
        const QString text = randomText(random);
        if (!XmlTextFormat::carriesWhole(text))
            continue;
        SCOPED_TRACE(text.toStdString());
        QString body;
        XmlTextFormat::appendVerbatimBlock(body, text);
        if (!text.contains(XmlTextFormat::verbatimMarker, Qt::CaseInsensitive)) {
            ASSERT_EQ(body, verbatim(text));
        }
        XmlBasePtr root = readText(QStringLiteral("<QZalbum><QZphoto><QZcaption>") + body
            + QStringLiteral("</QZcaption></QZphoto><QZphoto><QZcaption><![CDATA[after]]></QZcaption></QZphoto></QZalbum>"));
        ASSERT_TRUE(root);
        EXPECT_EQ(captions(*root), QStringList({ text, QStringLiteral("after") }));
    }
}

TEST(XmlTextRoundTrip, WhatTheFormatCannotCarryIsStableAfterOneSave)
{
    // Texts whose values hold what the writer drops or the reader skips:
    // leading blanks made by entities, line feeds and control characters.
    const QStringList texts = {
        QStringLiteral("<xmlbase name=\"&#160;Intro\"/>"),
        QStringLiteral("<xmlbase name=\"&#009;&#160; Intro\"/>"),
        QStringLiteral("<xmlbase name=\"\u0001\u0002\"/>"),
        QStringLiteral("<xmlbase name=\"\u0001 a\"/>"),
        QStringLiteral("<xmlbase name=\"a \n b\"/>"),
        QStringLiteral("<xmlbase name=\"a\u200B&#160;b\"/>"),
        QStringLiteral("<QZD name=\"r\"><file filename=\"&#160;x.txt\"/><xmlbase name=\"&nbsp;\u0085y\"/></QZD>"),
        // The writer would put the "=" right after the separator, where the
        // reader takes it for part of it.
        QStringLiteral("<QZimage imageuuid=\" =\"/>"),
        QStringLiteral("<xmlbase name=\"\u0001= =x\"/>"),
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        XmlBasePtr first = readText(text);
        ASSERT_TRUE(first);
        const QString once = first->createXml();
        XmlBasePtr second = readText(once);
        ASSERT_TRUE(second);
        EXPECT_EQ(second->createXml(), once);
    }

    // Names set in the program lose what the format cannot carry at the first save.
    const std::vector<std::pair<QString, QString>> names = {
        { QStringLiteral(" Intro"), QStringLiteral("Intro") },
        { QStringLiteral("a \n b"), QStringLiteral("a b") },
        { QStringLiteral("My  Page"), QStringLiteral("My  Page") },
        { QStringLiteral("\u0001"), QString() },
    };
    for (const auto& [name, carried] : names) {
        SCOPED_TRACE(name.toStdString());
        auto element = XmlBase::create();
        element->setName(name);
        XmlBasePtr back = readText(element->createXml());
        ASSERT_TRUE(back);
        EXPECT_EQ(back->name(), carried);
        XmlBasePtr again = readText(back->createXml());
        ASSERT_TRUE(again);
        EXPECT_EQ(again->createXml(), back->createXml());
    }
}

// A site the program made and saved, read back from its file's text.
class XmlTextReadingASite : public StarterSiteTest {
protected:
    XmlTextReadingASite()
        : StarterSiteTest(QStringLiteral("Reading.lqxl"))
    {
    }
};

TEST_F(XmlTextReadingASite, ElementsOutliveTheTextTheyWereReadFromAndMoveToOtherTrees)
{
    auto page = addPage(home(), 1, QStringLiteral("Garden &  roses <\u00e9t\u00e9>"));
    ASSERT_TRUE(document.saveFileWithComment(folder, QString())) << document.lastError().toStdString();
    const QString saved = QString::fromUtf8(readFile(folder + QStringLiteral("/site.xmlbase")));
    ASSERT_FALSE(saved.isEmpty());

    XmlBasePtr read;
    {
        // The text is overwritten before it goes: nothing read may still
        // point into it.
        QString text = saved;
        text.detach();
        read = readText(text);
        text.fill(u'#');
    }
    ASSERT_TRUE(read);
    EXPECT_EQ(read->createXml(), saved);

    XmlBasePtr readPage;
    for (const XmlBasePtr& child : read->homepage()->children())
        if (child->name() == page->name())
            readPage = child;
    ASSERT_TRUE(readPage);
    EXPECT_EQ(readPage->name(), QStringLiteral("Garden &  roses <\u00e9t\u00e9>"));

    // The page goes to a tree of its own, and the tree it was read with goes.
    readPage->removeFromParentWithoutDeletingChildren();
    read.reset();
    auto elsewhere = XmlGroup::create();
    elsewhere->addChild(readPage);
    auto original = XmlGroup::create();
    page->removeFromParentWithoutDeletingChildren();
    original->addChild(page);
    EXPECT_EQ(readPage->createXml(), page->createXml());
    EXPECT_EQ(readPage->parent(), elsewhere.get());
}

TEST(XmlTextCopy, CopyHasTheSameTextFreshIdentityAndNoParent)
{
    XmlBasePtr tree = makeTree();
    XmlBasePtr copy = tree->copyWithZone();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->createXml(), tree->createXml());
    EXPECT_NE(copy->UUID(), tree->UUID());
    EXPECT_NE(copy->firstChild()->UUID(), tree->firstChild()->UUID());
    EXPECT_NE(copy->firstChild().get(), tree->firstChild().get());
    EXPECT_EQ(copy->parent(), nullptr);
    EXPECT_EQ(XmlBase::UUID(copy->UUID()), copy);
    EXPECT_NE(XmlD::cast(copy.get()), nullptr);

    // A subtree's copy stands alone.
    XmlBasePtr middle = tree->firstChild();
    XmlBasePtr middleCopy = middle->copyWithZone();
    ASSERT_TRUE(middleCopy);
    EXPECT_EQ(middleCopy->parent(), nullptr);
    EXPECT_EQ(middleCopy->name(), middle->name());
    EXPECT_EQ(childNames(*middleCopy), childNames(*middle));
}

TEST(XmlTextCopy, ElementKnownOnlyToItsParentCopiesToNothing)
{
    auto caption = XmlBase::create();
    caption->setElementOverride(QStringLiteral("QZcaption"));
    caption->setName(QStringLiteral("c"));
    EXPECT_EQ(caption->copyWithZone(), nullptr);
}

TEST(XmlTextCopy, ReplaceChildWithCopyOf)
{
    auto parent = XmlD::create();
    auto a = XmlD::create();
    a->setName(QStringLiteral("a"));
    auto b = XmlD::create();
    b->setName(QStringLiteral("b"));
    parent->addChild(a);
    parent->addChild(b);
    XmlBasePtr source = makeTree();

    parent->replaceChildWithCopyOf(a.get(), source.get());
    ASSERT_EQ(parent->numberChildren(), 2);
    XmlBasePtr placed = parent->childAtIndex(0);
    EXPECT_NE(placed, source);
    EXPECT_EQ(placed->parent(), parent.get());
    EXPECT_EQ(placed->name(), QStringLiteral("Tom & Jerry"));
    EXPECT_EQ(childNames(*placed), childNames(*source));
    EXPECT_EQ(a->parent(), nullptr);
    EXPECT_EQ(parent->childAtIndex(1), b);

    // A source that cannot be copied leaves the child in its place.
    auto caption = XmlBase::create();
    caption->setElementOverride(QStringLiteral("QZcaption"));
    parent->replaceChildWithCopyOf(b.get(), caption.get());
    EXPECT_EQ(parent->childAtIndex(1), b);
}

// --- Files -----------------------------------------------------------------------------

TEST(XmlTextFiles, SaveAndReadBack)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("site.xmlbase"));
    XmlBasePtr tree = makeTree();
    ASSERT_TRUE(lq::saveToFile(*tree, path));
    // UTF-8 with no declaration and no byte-order mark.
    EXPECT_EQ(readFile(path), tree->createXml().toUtf8());

    XmlBasePtr back = lq::createWithFile(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->createXml(), tree->createXml());

    // Saving again replaces the file.
    tree->setName(QStringLiteral("renamed"));
    ASSERT_TRUE(lq::saveToFile(*tree, path));
    EXPECT_EQ(lq::createWithFile(path)->name(), QStringLiteral("renamed"));
}

struct FileCase {
    const char* label;
    QByteArray bytes;
    bool expectElement;
    QString expectedName;
};

TEST(XmlTextFiles, ReadingFiles)
{
    const QByteArray key = "0123456789abcdef";
    const QByteArray enciphered = lq::blowfishEncryptBase64(QByteArray("<xmlbase name=\"secret \xc3\xa9\"/>"), key);
    ASSERT_FALSE(enciphered.isEmpty());

    // A document of a megabyte, read a piece at a time: its characters of
    // two, three and four bytes stand across the ends of the pieces.
    QString longName;
    for (int i = 0; i < 100000; ++i)
        longName += QStringLiteral("\u00e9\u20ac\U0001F600a");
    const QByteArray large = "<xmlbase name=\"" + longName.toUtf8() + "\"/>";
    QByteArray largeInvalid = large;
    largeInvalid[700001] = '\xff';

    const std::vector<FileCase> cases = {
        { "plain UTF-8", QByteArray("<xmlbase name=\"caf\xc3\xa9\"/>"), true, QStringLiteral("caf\u00e9") },
        { "large, characters across the pieces it is read in", large, true, longName },
        { "large, invalid UTF-8 far into it", largeInvalid, false, QString() },
        { "large, a sequence cut at the end", large + "\xf0\x9f\x98", false, QString() },
        { "enciphered", ':' + enciphered + key, true, QStringLiteral("secret \u00e9") },
        { "empty file", QByteArray(), false, QString() },
        { "invalid UTF-8", QByteArray("<xmlbase name=\"\xff\xfe\"/>"), false, QString() },
        { "UTF-8 sequence cut at the end", QByteArray("<xmlbase name=\"x\"/>\xc3"), false, QString() },
        { "Latin-1 text", QByteArray("<xmlbase name=\"caf\xe9\"/>"), false, QString() },
        { "enciphered of 16 characters", QByteArray(":123456789abcdef"), false, QString() },
        { "enciphered of 17 characters, no cipher text", ':' + key, false, QString() },
        { "enciphered under another key", ':' + enciphered + QByteArray("fedcba9876543210"), false, QString() },
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int index = 0;
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.label);
        const QString path = dir.filePath(QStringLiteral("case%1.xmlbase").arg(index++));
        ASSERT_TRUE(writeFile(path, c.bytes));
        XmlBasePtr element = lq::createWithFile(path);
        ASSERT_EQ(element != nullptr, c.expectElement);
        if (element) {
            EXPECT_EQ(element->name(), c.expectedName);
        }
    }
    EXPECT_EQ(lq::createWithFile(dir.filePath(QStringLiteral("missing.xmlbase"))), nullptr);
}

namespace {

bool canCreateFileIn(const QString& folder)
{
    QFile probe(folder + QStringLiteral("/.probe"));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.close();
    probe.remove();
    return true;
}

bool setImmutable(const QString& folder, bool immutable)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

// Makes a folder read-only for the time of a test. A privileged user writes
// into folders regardless of their permissions; for one, the folder is made
// immutable instead where the file system allows it.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(QString folder)
        : _folder(std::move(folder))
    {
        QFile::setPermissions(_folder, QFile::ReadOwner | QFile::ExeOwner);
        if (canCreateFileIn(_folder))
            _immutable = setImmutable(_folder, true);
    }
    ~ReadOnlyFolder()
    {
        if (_immutable)
            setImmutable(_folder, false);
        QFile::setPermissions(_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool effective() const { return !canCreateFileIn(_folder); }

private:
    QString _folder;
    bool _immutable = false;
};

} // namespace

TEST(XmlTextFiles, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("doc"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString path = folder + QStringLiteral("/site.xmlbase");
    const QByteArray old = "<xmlbase name=\"old\"/>\n";
    ASSERT_TRUE(writeFile(path, old));

    ReadOnlyFolder readOnly(folder);
    if (!readOnly.effective())
        GTEST_SKIP() << "the folder cannot be made read-only here";

    LogCapture log;
    auto e = XmlBase::create();
    e->setName(QStringLiteral("new"));
    EXPECT_FALSE(lq::saveToFile(*e, path));
    EXPECT_EQ(readFile(path), old);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({ QStringLiteral("site.xmlbase") }));
    ASSERT_FALSE(log.lines.isEmpty());
    EXPECT_TRUE(log.lines.last().contains(path));
}

TEST(XmlTextFiles, SaveToAnUnwritablePathFails)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString existingFolder = dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkdir(existingFolder));
    const QStringList paths = {
        existingFolder,                                          // the target is a folder
        dir.filePath(QStringLiteral("missing/site.xmlbase")),    // the folder does not exist
    };
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        LogCapture log;
        EXPECT_FALSE(lq::saveToFile(*XmlBase::create(), path));
        EXPECT_EQ(log.lines.size(), 1);
    }
    EXPECT_TRUE(QFileInfo(existingFolder).isDir());
}
