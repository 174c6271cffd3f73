#include "platform/CharacterSet.h"
#include "platform/Scanner.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

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

// A scanner over a whole document reads the document's text where it
// stands: none of its scans makes a copy of it.
TEST(Scanner, ReadsTheTextItWasGivenInPlace)
{
    const QString text = QString::fromUtf8("  <a b=\"1\">text 12 0x1F -3.5<!-- x --></a>");
    Scanner s(text);
    EXPECT_TRUE(s.scanString(u"<"));
    EXPECT_TRUE(s.scanCharactersFromSet(CharacterSet::alphanumericCharacters()));
    EXPECT_TRUE(s.scanUpToString(u">"));
    EXPECT_TRUE(s.scanString(u">"));
    EXPECT_TRUE(s.scanString(u"text"));
    int i = 0;
    EXPECT_TRUE(s.scanInt(&i));
    unsigned hex = 0;
    EXPECT_TRUE(s.scanHexInt(&hex));
    double d = 0;
    EXPECT_TRUE(s.scanDouble(&d));
    EXPECT_FALSE(s.isAtEnd());
    EXPECT_EQ(s.string().constData(), text.constData());
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

// Numbers in files are read as strtod reads their bytes in the C locale,
// to the last bit and the last character, whether or not the text takes the
// short way for plain decimals.
TEST(CNumbers, TextsReadAsStrtodReadsTheirBytes)
{
    QStringList texts = {
        QStringLiteral("0.500000"), QStringLiteral("1.000000"), QStringLiteral("320.000000"), QStringLiteral("-0"),
        QStringLiteral("-0.000000"), QStringLiteral("+.5"), QStringLiteral("."), QStringLiteral("-"),
        QStringLiteral("1."), QStringLiteral("007"), QStringLiteral("1e5"), QStringLiteral("1e"),
        QStringLiteral("2.5E-3x"), QStringLiteral("0x1p3"), QStringLiteral("00x1"), QStringLiteral("0X1A"),
        QStringLiteral("inf"), QStringLiteral("-Infinity"), QStringLiteral("nan"), QStringLiteral(" 5"),
        QStringLiteral("\v5"), QStringLiteral("123456789012345"), QStringLiteral("1234567890123456"),
        QStringLiteral("0.0000000000000000000001"), QStringLiteral("0.00000000000000000000001"),
        QStringLiteral("9007199254740993"), QStringLiteral("0.1"), QStringLiteral("0.3"),
        QStringLiteral("2.675"), QStringLiteral("1.7976931348623157e308"), QStringLiteral("5\u00e9"),
        QStringLiteral("4.5\u00e9e3"), QStringLiteral("12,5"), QStringLiteral("1-2"), QStringLiteral("--1"),
        QStringLiteral("0.000000001234567890123"), QStringLiteral("99999999999999.9"), QString(),
    };
    // Values as the writers print them ("%f", "%g") and digit runs of every
    // length, from a fixed seed.
    quint64 state = 0x9E3779B97F4A7C15ull;
    const auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int i = 0; i < 3000; ++i) {
        const double value = static_cast<double>(next() % 100000000) / std::pow(10.0, static_cast<double>(next() % 12));
        const double signedValue = next() % 2 ? -value : value;
        texts << QString::asprintf("%f", signedValue) << QString::asprintf("%g", signedValue)
              << QString::asprintf("%.*f", static_cast<int>(next() % 24), signedValue);
        QString digits;
        for (quint64 length = next() % 20; length > 0; --length)
            digits += QChar(u'0' + static_cast<char16_t>(next() % 10));
        texts << digits << digits + QStringLiteral(".") + digits.left(static_cast<qsizetype>(next() % 20));
    }
    for (const QString& text : texts) {
        QByteArray bytes;
        for (QChar c : text) {
            if (c.unicode() >= 128)
                break;
            bytes.append(static_cast<char>(c.unicode()));
        }
        double expected = 0;
        double read = 0;
        EXPECT_EQ(lq::parseCNumber(QStringView(text), &read), lq::parseCNumber(bytes, &expected)) << bytes.constData();
        EXPECT_EQ(std::bit_cast<quint64>(read), std::bit_cast<quint64>(expected)) << bytes.constData();
    }
}
