// The XML property-list reader: every kind of value, nesting and order, and
// the texts it refuses with a reason instead of a half-read value.
#include "platform/PropertyList.h"

#include "platform/InputLimits.h"
#include "support/TestFiles.h"

#include <QDateTime>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray plist(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n"
        + body + "\n</plist>\n";
}

TEST(PropertyList, ReadsEveryKindOfValue)
{
    struct Case {
        const char* body;
        QVariant expected;
    };
    const std::vector<Case> cases {
        { "<string>a &lt; b &amp; c</string>", QString("a < b & c") },
        { "<string/>", QString() },
        { "<string>Caf\xc3\xa9</string>", QString::fromUtf8("Caf\xc3\xa9") },
        { "<integer> -42 </integer>", QVariant::fromValue<qlonglong>(-42) },
        { "<integer>9007199254740993</integer>", QVariant::fromValue<qlonglong>(9007199254740993LL) },
        { "<real>2.5</real>", 2.5 },
        { "<true/>", true },
        { "<false/>", false },
        { "<date>2008-03-01T12:30:00Z</date>", QDateTime(QDate(2008, 3, 1), QTime(12, 30), Qt::UTC) },
        { "<data>\n  aGVs\n  bG8=\n</data>", QByteArray("hello") },
        { "<array/>", QVariantList() },
        { "<dict/>", QVariantMap() },
    };
    for (const Case& c : cases) {
        QString error;
        const std::optional<QVariant> read = lq::readPropertyList(plist(c.body), &error);
        ASSERT_TRUE(read.has_value()) << c.body << ": " << error.toStdString();
        EXPECT_EQ(*read, c.expected) << c.body;
    }
}

TEST(PropertyList, NestsDictionariesAndArraysInOrder)
{
    const std::optional<QVariant> read = lq::readPropertyList(plist(R"(
<dict>
    <key>List of Albums</key>
    <array>
        <dict><key>AlbumName</key><string>Beach</string><key>KeyList</key><array><string>7</string><string>3</string></array></dict>
        <dict><key>AlbumName</key><string>Hills</string><key>AlbumId</key><integer>12</integer></dict>
    </array>
    <!-- a comment between entries -->
    <key>Master Image List</key>
    <dict><key>7</key><dict><key>ImagePath</key><string>/pictures/a.jpg</string></dict></dict>
    <key>Twice</key><string>first</string>
    <key>Twice</key><string>last</string>
</dict>)"));
    ASSERT_TRUE(read.has_value());
    const QVariantMap top = read->toMap();
    const QVariantList albums = top.value(QStringLiteral("List of Albums")).toList();
    ASSERT_EQ(albums.size(), 2);
    EXPECT_EQ(albums[0].toMap().value(QStringLiteral("AlbumName")).toString(), QStringLiteral("Beach"));
    EXPECT_EQ(albums[0].toMap().value(QStringLiteral("KeyList")).toStringList(), (QStringList { "7", "3" }));
    EXPECT_EQ(albums[1].toMap().value(QStringLiteral("AlbumId")).toInt(), 12);
    EXPECT_EQ(top.value(QStringLiteral("Master Image List")).toMap().value(QStringLiteral("7")).toMap().value(QStringLiteral("ImagePath")).toString(),
        QStringLiteral("/pictures/a.jpg"));
    EXPECT_EQ(top.value(QStringLiteral("Twice")).toString(), QStringLiteral("last"));
}

TEST(PropertyList, RefusesWhatIsNoPropertyListAndSaysWhy)
{
    struct Case {
        const char* what;
        QByteArray text;
        const char* reason;
    };
    QByteArray deep;
    for (int i = 0; i < 300; ++i)
        deep += "<array>";
    for (int i = 0; i < 300; ++i)
        deep += "</array>";
    const std::vector<Case> cases {
        { "no XML", "bplist00\x01\x02", "no property list" },
        { "another root", "<dict><key>a</key><string>b</string></dict>", "no property list" },
        { "an empty list", plist(""), "holds no value" },
        { "two values", plist("<string>a</string><string>b</string>"), "more than one value" },
        { "a key without a value", plist("<dict><key>lonely</key></dict>"), "\"lonely\" has no value" },
        { "a value without a key", plist("<dict><string>b</string></dict>"), "where a key belongs" },
        { "an unknown element", plist("<set/>"), "unknown element \"set\"" },
        { "a word for a number", plist("<integer>twelve</integer>"), "\"twelve\" is no integer" },
        { "a broken date", plist("<date>yesterday</date>"), "is no date" },
        { "broken base64", plist("<data>***</data>"), "no base64" },
        { "an element inside a string", plist("<string>a<b/>c</string>"), "line 4" },
        { "unclosed", "<plist><dict><key>a</key><string>b</string>", "line" },
        { "values nested too deeply", plist(deep), "nested too deeply" },
    };
    for (const Case& c : cases) {
        QString error;
        EXPECT_FALSE(lq::readPropertyList(c.text, &error).has_value()) << c.what;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.reason))) << c.what << ": " << error.toStdString();
        EXPECT_TRUE(error.startsWith(QStringLiteral("line "))) << c.what << ": " << error.toStdString();
    }
}

// A list that declares its own entities in its document type.
QByteArray withEntities(const QByteArray& declarations, const QByteArray& body, const QByteArray& version = "1.0")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist [\n" + declarations + "\n]>\n<plist version=\"" + version
        + "\">\n" + body + "\n</plist>\n";
}

QByteArray repeated(const QByteArray& text, int times)
{
    QByteArray result;
    for (int i = 0; i < times; ++i)
        result += text;
    return result;
}

// The XML reader bounds each entity, not how often it is used: every use of
// every entity together is bounded, before the list is read.
TEST(PropertyList, RefusesEntitiesThatExpandBeyondTheBoundAndReadsThoseWithin)
{
    const QByteArray big = "<!ENTITY e \"" + QByteArray(4000, 'x') + "\">";
    const QByteArray nested = "<!ENTITY e1 \"" + QByteArray(1000, 'y') + "\"><!ENTITY e2 \"&e1;&e1;&e1;&e1;\">";
    struct Case {
        const char* what;
        QByteArray text;
    };
    const std::vector<Case> refused {
        { "one entity used 40,000 times", withEntities(big, "<string>" + repeated("&e;", 40000) + "</string>") },
        { "uses spread over many values",
            withEntities(big, "<array>" + repeated("<string>&e;&e;&e;</string>", 100) + "</array>") },
        { "an entity made of entities", withEntities(nested, "<string>" + repeated("&e2;", 300) + "</string>") },
        { "uses in an attribute", withEntities(big, "<true/>", repeated("&e;", 300)) },
        { "an entity that uses itself", withEntities("<!ENTITY loop \"a&loop;\">", "<string>&loop;</string>") },
    };
    for (const Case& c : refused) {
        QString error;
        EXPECT_FALSE(lq::readPropertyList(c.text, &error).has_value()) << c.what;
        EXPECT_TRUE(error.contains(QStringLiteral("entities of the property list expand to more than 1048576 characters")))
            << c.what << ": " << error.toStdString();
        EXPECT_TRUE(error.startsWith(QStringLiteral("line 2: "))) << c.what << ": " << error.toStdString();
    }

    // Within the bound, entities are read as their text.
    QString error;
    const std::optional<QVariant> few = lq::readPropertyList(
        withEntities("<!ENTITY who \"Ann &amp; Bo\">", "<array><string>&who;</string><string>&who;, &who;</string></array>"), &error);
    ASSERT_TRUE(few.has_value()) << error.toStdString();
    EXPECT_EQ(few->toStringList(), (QStringList { "Ann & Bo", "Ann & Bo, Ann & Bo" }));
    const std::optional<QVariant> many = lq::readPropertyList(withEntities(big, "<string>" + repeated("&e;", 250) + "</string>"), &error);
    ASSERT_TRUE(many.has_value()) << error.toStdString();
    EXPECT_EQ(many->toString().size(), 1000000);
}

TEST(PropertyList, TheBoundsAreThoseInForce)
{
    const lq::InputLimits saved = lq::inputLimits();
    lq::InputLimits small = saved;
    small.propertyListBytes = 2048;
    small.propertyListExpansion = 100;
    lq::setInputLimits(small);

    const QByteArray word = "<!ENTITY w \"word\">";
    QString error;
    EXPECT_TRUE(lq::readPropertyList(withEntities(word, "<string>" + repeated("&w;", 25) + "</string>"), &error).has_value())
        << error.toStdString();
    EXPECT_FALSE(lq::readPropertyList(withEntities(word, "<string>" + repeated("&w;", 26) + "</string>"), &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("expand to more than 100 characters"))) << error.toStdString();

    const QByteArray large = plist("<string>" + QByteArray(2048, 'z') + "</string>");
    EXPECT_FALSE(lq::readPropertyList(large, &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("larger than 2 KB"))) << error.toStdString();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("AlbumData.xml"));
    writeAll(path, large);
    EXPECT_FALSE(lq::readPropertyListFile(path, &error).has_value());
    EXPECT_TRUE(error.contains(path) && error.contains(QStringLiteral("larger than 2 KB"))) << error.toStdString();

    lq::setInputLimits(saved);
}

// The bound counts characters as the reader decodes them, whatever the
// encoding of the list and whatever the entity's name.
TEST(PropertyList, TheEntityBoundHoldsInEveryEncoding)
{
    const lq::InputLimits saved = lq::inputLimits();
    lq::InputLimits small = saved;
    small.propertyListExpansion = 100;
    lq::setInputLimits(small);

    struct Case {
        const char* encoding;     // what the declaration names
        QStringConverter::Encoding bytes;
        bool byteOrderMark;
        QString name;             // the entity's name
        QString value;            // four characters
    };
    const Case cases[] = {
        { "UTF-8", QStringConverter::Utf8, false, QStringLiteral("é"), QStringLiteral("word") },
        { "UTF-8", QStringConverter::Utf8, false, QStringLiteral("w"), QStringLiteral("𝄞𝄞𝄞𝄞") },
        { "UTF-16", QStringConverter::Utf16LE, true, QStringLiteral("w"), QStringLiteral("word") },
        { "UTF-16", QStringConverter::Utf16BE, true, QStringLiteral("é"), QStringLiteral("𝄞ord") },
        { "ISO-8859-1", QStringConverter::Latin1, false, QStringLiteral("é"), QStringLiteral("wörd") },
    };
    for (const Case& c : cases) {
        for (const int uses : { 25, 26 }) {
            SCOPED_TRACE(std::string(c.encoding) + " &" + c.name.toStdString() + "; " + std::to_string(uses) + " times");
            QString references;
            for (int i = 0; i < uses; ++i)
                references += QLatin1Char('&') + c.name + QLatin1Char(';');
            const QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"") + QLatin1String(c.encoding)
                + QStringLiteral("\"?>\n<!DOCTYPE plist [\n<!ENTITY ") + c.name + QStringLiteral(" \"") + c.value
                + QStringLiteral("\">\n]>\n<plist version=\"1.0\">\n<string>") + references + QStringLiteral("</string>\n</plist>\n");
            QStringEncoder encoder(c.bytes, c.byteOrderMark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
            const QByteArray bytes = encoder.encode(text);
            ASSERT_FALSE(encoder.hasError());
            QString error;
            const std::optional<QVariant> read = lq::readPropertyList(bytes, &error);
            if (uses == 25) {
                ASSERT_TRUE(read.has_value()) << error.toStdString();
                EXPECT_EQ(read->toString(), c.value.repeated(25));
            } else {
                EXPECT_FALSE(read.has_value());
                EXPECT_TRUE(error.contains(QStringLiteral("expand to more than 100 characters"))) << error.toStdString();
            }
        }
    }
    lq::setInputLimits(saved);
}

TEST(PropertyList, ReadsFilesAndTellsWhenOneCannotBeRead)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("com.example.plist"));
    writeAll(path, plist("<dict><key>RootDirectory</key><string>~/Pictures/Library</string></dict>"));
    const std::optional<QVariant> read = lq::readPropertyListFile(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->toMap().value(QStringLiteral("RootDirectory")).toString(), QStringLiteral("~/Pictures/Library"));

    QString error;
    EXPECT_FALSE(lq::readPropertyListFile(folder.filePath(QStringLiteral("missing.plist")), &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("missing.plist"))) << error.toStdString();
}

} // namespace
