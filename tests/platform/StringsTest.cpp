#include "platform/StringTable.h"
#include "platform/Strings.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <climits>

TEST(Strings, NumericValuesReadWhatLeadsTheText)
{
    struct Case {
        const char* text;
        int intValue;
        double doubleValue;
    };
    const Case cases[] = {
        { "12abc", 12, 12 }, { "abc", 0, 0 }, { "  \t-7", -7, -7 }, { "+3.75x", 3, 3.75 },
        { "", 0, 0 }, { "99999999999", 2147483647, 99999999999.0 }, { "-99999999999", -2147483647 - 1, -99999999999.0 },
        { "1e3", 1, 1000 }, { "0.5", 0, 0.5 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lq::intValue(QString::fromLatin1(c.text)), c.intValue) << c.text;
        EXPECT_DOUBLE_EQ(lq::doubleValue(QString::fromLatin1(c.text)), c.doubleValue) << c.text;
    }
    EXPECT_TRUE(lq::boolValue(u"YES"));
    EXPECT_TRUE(lq::boolValue(u" 007"));
    EXPECT_FALSE(lq::boolValue(u"no"));
    EXPECT_FALSE(lq::boolValue(u"000"));
}

TEST(Strings, FormattingIsCLocale)
{
    QLocale::setDefault(QLocale(QLocale::German));
    EXPECT_EQ(QString::asprintf("%f %g %X %d", 0.5, 1.5, 255, -3), QStringLiteral("0.500000 1.5 FF -3"));
    EXPECT_DOUBLE_EQ(lq::doubleValue(u"0.25"), 0.25);
    QLocale::setDefault(QLocale::c());
}

TEST(Strings, AppendedDecimalsAreThoseQStringNumberWrites)
{
    QLocale::setDefault(QLocale(QLocale::German));
    for (const int value : { 0, 7, -5, 10, 1000000, -1024, INT_MAX, INT_MIN }) {
        QString text = QStringLiteral("top: ");
        lq::appendDecimal(text, value);
        EXPECT_EQ(text, QStringLiteral("top: ") + QString::number(value)) << value;
    }
    QLocale::setDefault(QLocale::c());
}

TEST(Strings, PathHelpers)
{
    struct Case {
        const char* path;
        const char* last;
        const char* extension;
        const char* withoutLast;
        const char* withoutExtension;
    };
    const Case cases[] = {
        { "/tmp/scratch.tiff", "scratch.tiff", "tiff", "/tmp", "/tmp/scratch" },
        { "/tmp/archive.tar.gz", "archive.tar.gz", "gz", "/tmp", "/tmp/archive.tar" },
        { "/tmp/", "tmp", "", "/", "/tmp" },
        { "scratch", "scratch", "", "", "scratch" },
        { "/", "/", "", "/", "/" },
        { "dir.d/file", "file", "", "dir.d", "dir.d/file" },
        { "/home/.hidden", ".hidden", "", "/home", "/home/.hidden" },
    };
    for (const Case& c : cases) {
        const QString path = QString::fromLatin1(c.path);
        EXPECT_EQ(lq::lastPathComponent(path), QString::fromLatin1(c.last)) << c.path;
        EXPECT_EQ(lq::pathExtension(path), QString::fromLatin1(c.extension)) << c.path;
        EXPECT_EQ(lq::stringByDeletingLastPathComponent(path), QString::fromLatin1(c.withoutLast)) << c.path;
        EXPECT_EQ(lq::stringByDeletingPathExtension(path), QString::fromLatin1(c.withoutExtension)) << c.path;
    }
    EXPECT_EQ(lq::stringByAppendingPathComponent(QStringLiteral("/a/"), QStringLiteral("b")), QStringLiteral("/a/b"));
    EXPECT_EQ(lq::stringByAppendingPathComponent(QStringLiteral("/"), QStringLiteral("b")), QStringLiteral("/b"));
    EXPECT_EQ(lq::stringByAppendingPathExtension(QStringLiteral("/a/b"), QStringLiteral("jpg")), QStringLiteral("/a/b.jpg"));
}

TEST(StringTable, ReadsQuotedEntriesAndSkipsTheRest)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.strings"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("// a comment\n"
               "\"OK\" = \"Okay\";\n"
               "  \"Quote\"=\"say \\\"hi\\\"\\n\";\n"
               "\"Bullet\" = \"\\u2022 \xc3\xa9\";\n"
               "garbage line\n"
               "\"Unterminated\" = \"oops\n"
               "\"Blank\" = \" \";\n");
    file.close();

    lq::StringTable table;
    ASSERT_TRUE(table.loadFile(path));
    EXPECT_EQ(table.value(QStringLiteral("OK"), QString()), QStringLiteral("Okay"));
    EXPECT_EQ(table.value(QStringLiteral("Quote"), QString()), QStringLiteral("say \"hi\"\n"));
    EXPECT_EQ(table.value(QStringLiteral("Bullet"), QString()), QStringLiteral("\u2022 \u00e9"));
    EXPECT_EQ(table.value(QStringLiteral("Blank"), QString()), QStringLiteral(" "));
    EXPECT_FALSE(table.contains(QStringLiteral("Unterminated")));
    EXPECT_FALSE(table.loadFile(dir.filePath(QStringLiteral("missing.strings"))));
    EXPECT_EQ(table.size(), 4);
}
