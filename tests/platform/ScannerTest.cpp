#include "platform/CharacterSet.h"
#include "platform/Scanner.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

using lq::CharacterSet;
using lq::Scanner;

TEST(Scanner, SkipsBlanksBeforeEveryTokenAndKeepsTrailingOnes)
{
    Scanner s(QStringLiteral("  \n\t<tag  a=\"1\" >  text  </tag>"));
    EXPECT_TRUE(s.scanString(u"<"));
    QString tag;
    EXPECT_TRUE(s.scanCharactersFromSet(CharacterSet::alphanumericCharacters(), &tag));
    EXPECT_EQ(tag, QStringLiteral("tag"));
    QString attributes;
    EXPECT_TRUE(s.scanUpToString(u">", &attributes));
    EXPECT_EQ(attributes, QStringLiteral("a=\"1\" "));
    EXPECT_TRUE(s.scanString(u">"));
    QString text;
    EXPECT_TRUE(s.scanUpToString(u"<", &text));
    EXPECT_EQ(text, QStringLiteral("text  "));
    EXPECT_FALSE(s.isAtEnd());
    EXPECT_TRUE(s.scanUpToString(u"nowhere"));
    EXPECT_TRUE(s.isAtEnd());
    EXPECT_FALSE(s.scanUpToString(u"x"));
}

TEST(Scanner, FailedScansLeaveThePositionAlone)
{
    Scanner s(QStringLiteral("   abc"));
    EXPECT_FALSE(s.scanString(u"abd"));
    EXPECT_EQ(s.scanLocation(), 0);
    EXPECT_FALSE(s.scanCharactersFromSet(CharacterSet::characters(u"xyz")));
    EXPECT_EQ(s.scanLocation(), 0);
    EXPECT_FALSE(s.scanUpToString(u"a"));
    EXPECT_EQ(s.scanLocation(), 0);
    int i = -1;
    EXPECT_FALSE(s.scanInt(&i));
    EXPECT_EQ(i, -1);
}

TEST(Scanner, MatchesIgnoreCaseUnlessAskedNotTo)
{
    Scanner s(QStringLiteral("<![cdata[x"));
    EXPECT_TRUE(s.scanString(u"<![CDATA["));
    Scanner strict(QStringLiteral("<![cdata[x"));
    strict.setCaseSensitive(true);
    EXPECT_FALSE(strict.scanString(u"<![CDATA["));
}

TEST(Scanner, WithoutSkippingBlanksCount)
{
    Scanner s(QStringLiteral("  x"));
    s.setCharactersToBeSkipped(std::nullopt);
    EXPECT_FALSE(s.scanString(u"x"));
    QString blanks;
    EXPECT_TRUE(s.scanCharactersFromSet(CharacterSet::whitespaceCharacters(), &blanks));
    EXPECT_EQ(blanks, QStringLiteral("  "));
}

TEST(Scanner, Numbers)
{
    struct Case {
        const char* text;
        bool ok;
        unsigned hex;
    };
    const Case hexCases[] = {
        { "0x1F", true, 31 }, { "ff zz", true, 255 }, { "zz", false, 0 }, { "0xZ", true, 0 }, { "FFFFFFFFFF", true, 0xFFFFFFFFu },
    };
    for (const Case& c : hexCases) {
        Scanner s(QString::fromLatin1(c.text));
        unsigned value = 12345;
        EXPECT_EQ(s.scanHexInt(&value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.hex) << c.text;
        }
    }

    Scanner ints(QStringLiteral(" -12abc 99999999999"));
    int i = 0;
    EXPECT_TRUE(ints.scanInt(&i));
    EXPECT_EQ(i, -12);
    EXPECT_FALSE(ints.scanInt(&i));
    EXPECT_TRUE(ints.scanString(u"abc"));
    EXPECT_TRUE(ints.scanInt(&i));
    EXPECT_EQ(i, 2147483647);

    Scanner doubles(QStringLiteral("{1.5, -2e3}"));
    double d = 0;
    EXPECT_TRUE(doubles.scanString(u"{"));
    EXPECT_TRUE(doubles.scanDouble(&d));
    EXPECT_DOUBLE_EQ(d, 1.5);
    EXPECT_TRUE(doubles.scanString(u","));
    EXPECT_TRUE(doubles.scanDouble(&d));
    EXPECT_DOUBLE_EQ(d, -2000.0);
}

TEST(CharacterSet, ClassesFollowUnicode)
{
    const CharacterSet control = CharacterSet::controlCharacters();
    for (char16_t c : { u'\t', u'\r', u'\n', u'\x01', u'\x7f', u'\u200b', u'\ufeff' })
        EXPECT_TRUE(control.contains(QChar(c))) << int(c);
    for (char16_t c : { u'a', u' ', u'\u00e9' })
        EXPECT_FALSE(control.contains(QChar(c))) << int(c);

    const CharacterSet names = CharacterSet::alphanumericCharacters().united(CharacterSet::characters(u"-_:."));
    for (char16_t c : { u'a', u'Z', u'7', u'\u00e9', u'\u0301', u'-', u':', u'.' })
        EXPECT_TRUE(names.contains(QChar(c))) << int(c);
    for (char16_t c : { u' ', u'"', u'=', u'<', u'/' })
        EXPECT_FALSE(names.contains(QChar(c))) << int(c);

    const CharacterSet controlButNewline = control.without(u"\n");
    EXPECT_FALSE(controlButNewline.contains(QChar(u'\n')));
    EXPECT_TRUE(controlButNewline.contains(QChar(u'\t')));
}
