#include "platform/text/Font.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <QFontInfo>

#include <cmath>

using lq::Font;

TEST(TextFont, FacesAreDrawnWithTheirSubstituteFamilies)
{
    const Font times(QStringLiteral("Times-Roman"), 14);
    EXPECT_EQ(times.face(), QStringLiteral("Times-Roman"));
    EXPECT_EQ(times.familyName(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(times.pixelSize(), 14);
    const QFont qfont = times.toQFont();
    EXPECT_EQ(qfont.pixelSize(), 14);
    EXPECT_EQ(qfont.styleHint(), QFont::Serif);
    EXPECT_EQ(QFontInfo(qfont).family(), QStringLiteral("Liberation Serif"));

    // Every face of the table is installed (the build installs the packages).
    for (const QString& face : Font::faceNames()) {
        const Font font(face, 14);
        EXPECT_EQ(font.face(), face);
        EXPECT_TRUE(font.isInstalled()) << face.toStdString() << " needs " << font.familyName().toStdString();
        EXPECT_EQ(QFontInfo(font.toQFont()).family(), font.familyName()) << face.toStdString();
    }
    EXPECT_EQ(Font::faceNames().size(), 12);
}

TEST(TextFont, NamesWithTraitsAndUnknownNames)
{
    struct Case {
        const char* name;
        const char* face;
        bool bold;
        bool italic;
    };
    const Case cases[] = {
        { "Helvetica", "Helvetica", false, false },
        { "Helvetica-Bold", "Helvetica", true, false },
        { "Helvetica Bold", "Helvetica", true, false },
        { "Helvetica-BoldOblique", "Helvetica", true, true },
        { "Times Roman", "Times-Roman", false, false },
        { "Times-Italic", "Times-Roman", false, true },
        { "Courier New Bold Italic", "Courier New", true, true },
        { "Arial Black", "Arial Black", false, false },
    };
    for (const Case& c : cases) {
        const std::optional<Font> font = Font::withName(QString::fromLatin1(c.name), 12);
        ASSERT_TRUE(font.has_value()) << c.name;
        EXPECT_EQ(font->face(), QString::fromLatin1(c.face)) << c.name;
        EXPECT_EQ(font->isBold(), c.bold) << c.name;
        EXPECT_EQ(font->isItalic(), c.italic) << c.name;
    }

    EXPECT_FALSE(Font::withName(QStringLiteral("Lucida Grande"), 12).has_value());
    EXPECT_FALSE(Font::withName(QStringLiteral("helvetica"), 12).has_value()) << "names are compared exactly";
    const Font unknown(QStringLiteral("Lucida Grande"), 13);
    EXPECT_EQ(unknown.face(), QStringLiteral("Helvetica"));
    EXPECT_EQ(unknown.familyName(), Font::substituteFamily(QStringLiteral("Helvetica")));
    EXPECT_EQ(unknown.pixelSize(), 13);
    EXPECT_TRUE(Font::substituteFamily(QStringLiteral("Lucida Grande")).isNull());
    EXPECT_EQ(Font(QStringLiteral("Helvetica"), 0).pixelSize(), 12) << "size 0 is the default size";
}

TEST(TextFont, TraitConversionKeepsFaceAndSize)
{
    const Font georgia(QStringLiteral("Georgia"), 17);
    const Font boldItalic = georgia.withBold(true).withItalic(true);
    EXPECT_EQ(boldItalic.face(), georgia.face());
    EXPECT_EQ(boldItalic.familyName(), georgia.familyName());
    EXPECT_EQ(boldItalic.pixelSize(), 17);
    EXPECT_TRUE(boldItalic.isBold());
    EXPECT_TRUE(boldItalic.isItalic());
    EXPECT_EQ(boldItalic.toQFont().weight(), QFont::Bold);
    EXPECT_TRUE(boldItalic.toQFont().italic());
    EXPECT_EQ(boldItalic.withBold(false).withItalic(false), georgia);
    EXPECT_EQ(georgia.withPixelSize(9).face(), georgia.face());

    // From a Qt font back to a face: the first face drawn with its family.
    EXPECT_EQ(Font::fromQFont(boldItalic.toQFont()).face(), QStringLiteral("Comic Sans MS"));
    EXPECT_EQ(Font::fromQFont(Font(QStringLiteral("Courier New"), 11).withBold(true).toQFont()),
        Font(QStringLiteral("Courier New"), 11).withBold(true));
}

TEST(TextFont, DefaultLineHeightIsAWholeNumberFromDesignMetrics)
{
    const Font helvetica = Font::helvetica(14);
    const qreal height = helvetica.defaultLineHeight();
    EXPECT_EQ(height, std::floor(height));
    EXPECT_GE(height, 14);
    EXPECT_EQ(height, helvetica.ascent() + helvetica.descent() + helvetica.leading());
    // Asked again, and for an equal font made anew, the same number.
    EXPECT_EQ(Font(QStringLiteral("Helvetica"), 14).defaultLineHeight(), height);
    // Larger sizes give taller lines.
    EXPECT_GT(Font::helvetica(28).defaultLineHeight(), height);
    for (const QString& face : Font::faceNames()) {
        const Font font(face, 14);
        EXPECT_GE(font.defaultLineHeight(), 14) << face.toStdString();
        EXPECT_GT(font.ascent(), font.descent()) << face.toStdString();
    }
}
