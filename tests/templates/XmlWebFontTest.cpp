#include "model/imaging/XmlShape.h"
#include "theme/XmlTheme.h"
#include "platform/ValueStrings.h"
#include "platform/text/Font.h"
#include "templates/XmlBoxModel.h"
#include "templates/XmlWebFont.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// The line height the canvas font of a face has at a size, as the record writes it.
int lineHeightOf(const QString& face, int size, bool bold = false, bool italic = false)
{
    return static_cast<int>(lq::Font(face, size).withBold(bold).withItalic(italic).defaultLineHeight());
}

QString fontCSS(XmlWebFont& record)
{
    QString css;
    record.appendCSSFontParameters(css);
    return css;
}

XmlWebFont* fontOf(const XmlBasePtr& element)
{
    return XmlWebFont::cast(element.get());
}

} // namespace

TEST(XmlWebFont, NewRecordWritesItsDefaultsInOrder)
{
    auto record = XmlWebFont::createWithTagName(QStringLiteral("ignored"), QStringLiteral("default"));
    EXPECT_EQ(record->name(), QStringLiteral("default"));
    EXPECT_EQ(record->elementName(), QStringLiteral("cssFont"));

    const int lineHeight = lineHeightOf(QStringLiteral("Helvetica"), 14);
    ASSERT_GT(lineHeight, 14) << "the canvas font must be installed";
    EXPECT_EQ(record->createXml(),
              QStringLiteral("<cssFont v=\"1\" v2=\"1\" name=\"default\" font=\"0\" fontSize=\"14\" fontColor=\"#000000\" "
                             "underline=\"0\" bold=\"0\" italic=\"0\" alignment=\"0\" linespacing=\"0\" lineHeight=\"%1\" "
                             "underlineLinks=\"1\" linkNormal=\"#00007F\" linkHover=\"#0000B2\" linkClicked=\"#333333\"/>\n")
                  .arg(lineHeight));

    EXPECT_EQ(record->fontColor(), lq::Colour(0, 0, 0, 1));
    EXPECT_EQ(record->linkNormal(), lq::Colour(0, 0, 0.5f, 1));
    EXPECT_EQ(record->linkHover(), lq::Colour(0, 0, 0.7f, 1));
    EXPECT_EQ(record->linkClicked(), lq::Colour(0.2f, 0.2f, 0.2f, 1));
    EXPECT_TRUE(record->underlineLinks());
    EXPECT_FALSE(record->underline() || record->bold() || record->italic());
    EXPECT_EQ(record->lineSpacing(), 0);
}

TEST(XmlWebFont, AttributesRoundTripAndTheLineHeightIsNeverReadBack)
{
    auto record = XmlWebFont::create();
    record->setName(QStringLiteral("heading"));
    record->setFont(9);
    record->setFontSize(22);
    record->setFontColor(lq::Colour(1, 0.5f, 0, 1));
    record->setUnderline(true);
    record->setBold(true);
    record->setItalic(true);
    record->setAlignment(XmlWebFont::Alignment::Right);
    record->setLineSpacing(4);
    record->setUnderlineLinks(false);
    record->setLinkNormal(lq::Colour(0.1f, 0.2f, 0.3f, 1));
    record->setLinkHover(lq::Colour(0.4f, 0.5f, 0.6f, 1));
    record->setLinkClicked(lq::Colour(0.7f, 0.8f, 0.9f, 1));
    const QString written = record->createXml();
    EXPECT_TRUE(written.contains(QStringLiteral(
        " font=\"9\" fontSize=\"22\" fontColor=\"#FF7F00\" underline=\"1\" bold=\"1\" italic=\"1\" alignment=\"2\" "
        "linespacing=\"4\" lineHeight=\"%1\" underlineLinks=\"0\" linkNormal=\"#19334C\" linkHover=\"#667F99\" "
        "linkClicked=\"#B2CCE5\"")
                                    .arg(lineHeightOf(QStringLiteral("Times-Roman"), 22, true, true))))
        << written.toStdString();

    const XmlBasePtr read = XmlBase::createWithXmlRootDir(written, QString());
    XmlWebFont* copy = fontOf(read);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->name(), QStringLiteral("heading"));
    EXPECT_EQ(copy->font(), 9);
    EXPECT_EQ(copy->fontSize(), 22);
    EXPECT_TRUE(copy->underline());
    EXPECT_TRUE(copy->bold());
    EXPECT_TRUE(copy->italic());
    EXPECT_EQ(copy->alignment(), XmlWebFont::Alignment::Right);
    EXPECT_EQ(copy->lineSpacing(), 4);
    EXPECT_FALSE(copy->underlineLinks());
    EXPECT_EQ(lq::colorToCSSString(copy->fontColor()), QStringLiteral("#FF7F00"));
    EXPECT_EQ(copy->createXml(), written);

    // A stale line height in the file is ignored: the font's own is written.
    const XmlBasePtr stale = XmlBase::createWithXmlRootDir(
        QStringLiteral("<cssFont fontSize=\"20\" lineHeight=\"99\" bold=\"1\"/>"), QString());
    ASSERT_NE(fontOf(stale), nullptr);
    EXPECT_EQ(fontOf(stale)->fontSize(), 20);
    EXPECT_TRUE(fontOf(stale)->bold());
    EXPECT_TRUE(stale->createXml().contains(
        QStringLiteral(" lineHeight=\"%1\" ").arg(lineHeightOf(QStringLiteral("Helvetica"), 20, true))));
    EXPECT_FALSE(stale->createXml().contains(QStringLiteral("\"99\"")));
}

TEST(XmlWebFont, ColoursLoseTheirAlphaAndUnreadableColoursAreBlack)
{
    auto record = XmlWebFont::create();
    record->setLinkNormal(lq::Colour(1, 0, 0, 0.25f));
    const XmlBasePtr read = XmlBase::createWithXmlRootDir(record->createXml(), QString());
    ASSERT_NE(fontOf(read), nullptr);
    EXPECT_EQ(fontOf(read)->linkNormal(), lq::Colour(1, 0, 0, 1));

    // Flags other than 0 read as set; a colour text too short to hold a
    // colour gives black.
    const XmlBasePtr odd = XmlBase::createWithXmlRootDir(
        QStringLiteral("<cssFont underline=\"2\" fontColor=\"#FFF\" linkHover=\"junk\"/>"), QString());
    XmlWebFont* oddFont = fontOf(odd);
    ASSERT_NE(oddFont, nullptr);
    EXPECT_TRUE(oddFont->underline());
    EXPECT_EQ(oddFont->fontColor(), lq::Colour::black());
    EXPECT_EQ(oddFont->linkHover(), lq::Colour::black());
    EXPECT_TRUE(odd->createXml().contains(QStringLiteral(" underline=\"1\" "))) << "flags are written as 0 or 1";
}

TEST(XmlWebFont, FaceTableGivesCanvasFaceAndCSSFamilyList)
{
    struct Case {
        int face;
        const char* faceName;
        const char* families;
    };
    const std::vector<Case> cases {
        { 0, "Helvetica", "Helvetica, Arial, sans-serif;" },
        { 1, "Monaco", "Monaco, \"Lucida Console\", monospace;" },
        { 2, "Arial Black", "\"Arial Black\", sans-serif;" },
        { 3, "Geneva", "Geneva, Tahoma, sans-serif;" },
        { 4, "Verdana", "Verdana, sans-serif;" },
        { 5, "Comic Sans MS", "\"Comic Sans MS\", cursive;" },
        { 6, "Courier New", "\"Courier New\", monospace;" },
        { 7, "Trebuchet MS", "\"Trebuchet MS\", sans-serif;" },
        { 8, "Georgia", "Georgia, Century, serif;" },
        { 9, "Times-Roman", "\"Times New Roman\", Times, serif;" },
        { 10, "Impact", "Impact, fantasy;" },
        { 11, "Andale Mono", "\"Andale Mono\", \"Lucida Console\", monospace;" },
        // Outside the table: Helvetica everywhere.
        { 12, "Helvetica", "Helvetica, Arial, sans-serif;" },
        { -1, "Helvetica", "Helvetica, Arial, sans-serif;" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        auto record = XmlWebFont::create();
        record->setFont(c.face);
        EXPECT_EQ(record->fontface(), QString::fromUtf8(c.faceName));

        const std::optional<lq::Font> font = record->createFont();
        ASSERT_TRUE(font.has_value());
        EXPECT_EQ(font->face(), QString::fromUtf8(c.faceName));
        EXPECT_EQ(font->pixelSize(), 14);

        const int lineHeight = lineHeightOf(QString::fromUtf8(c.faceName), 14);
        EXPECT_EQ(fontCSS(*record),
                  QStringLiteral("font-family: %1 font-size: 14px; line-height: %2px; font-style: normal; "
                                 "font-weight: normal; text-decoration: none; color: #000000; ")
                      .arg(QString::fromUtf8(c.families))
                      .arg(lineHeight));
        // The stored number stays as it was.
        EXPECT_TRUE(record->createXml().contains(QStringLiteral(" font=\"%1\" ").arg(c.face)));
    }
}

TEST(XmlWebFont, FontCSSFollowsTheStylesAndTheColourGiven)
{
    struct Case {
        bool bold;
        bool italic;
        bool underline;
        const char* styles;
    };
    const std::vector<Case> cases {
        { true, false, false, "font-style: normal; font-weight: bold; text-decoration: none; " },
        { false, true, false, "font-style: italic; font-weight: normal; text-decoration: none; " },
        { false, false, true, "font-style: normal; font-weight: normal; text-decoration: underline; " },
        { true, true, true, "font-style: italic; font-weight: bold; text-decoration: underline; " },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.styles);
        auto record = XmlWebFont::create();
        record->setFont(4);
        record->setFontSize(11);
        record->setBold(c.bold);
        record->setItalic(c.italic);
        record->setUnderline(c.underline);
        record->setFontColor(lq::Colour(0.2f, 0.4f, 0.6f, 1));
        // Line spacing belongs to the paragraph styles, not to the CSS.
        record->setLineSpacing(9);

        const QString expectedHead = QStringLiteral("font-family: Verdana, sans-serif; font-size: 11px; line-height: %1px; ")
                                         .arg(lineHeightOf(QStringLiteral("Verdana"), 11, c.bold, c.italic));
        EXPECT_EQ(fontCSS(*record), expectedHead + QString::fromUtf8(c.styles) + QStringLiteral("color: #336699; "));

        QString withColour;
        record->appendCSSFontParametersWithColor(withColour, lq::Colour(1, 1, 1, 1));
        EXPECT_EQ(withColour, expectedHead + QString::fromUtf8(c.styles) + QStringLiteral("color: #FFFFFF; "));

        const std::optional<lq::Font> font = record->createFont();
        ASSERT_TRUE(font.has_value());
        EXPECT_EQ(font->isBold(), c.bold);
        EXPECT_EQ(font->isItalic(), c.italic);
        EXPECT_EQ(*font, lq::Font(QStringLiteral("Verdana"), 11).withBold(c.bold).withItalic(c.italic))
            << "line spacing does not reach the font";
    }

    // The CSS appends to what is there.
    auto record = XmlWebFont::create();
    QString css = QStringLiteral("p { ");
    record->appendCSSFontParameters(css);
    EXPECT_TRUE(css.startsWith(QStringLiteral("p { font-family: Helvetica, Arial, sans-serif; font-size: 14px; ")));
}

TEST(XmlWebFont, BoxAlignment)
{
    const std::vector<std::pair<int, const char*>> cases {
        { 0, "text-align: left; " }, { 1, "text-align: center; " }, { 2, "text-align: right; " },
        { 3, "text-align: left; " }, { -1, "text-align: left; " },
    };
    for (const auto& [alignment, expected] : cases) {
        auto record = XmlWebFont::create();
        record->setAlignment(static_cast<XmlWebFont::Alignment>(alignment));
        QString css;
        record->appendCSSBoxFont(css);
        EXPECT_EQ(css, QString::fromUtf8(expected)) << alignment;
    }
}

TEST(XmlWebFont, LinkRules)
{
    auto record = XmlWebFont::create();
    QString css;
    record->appendCSSLinkParametersTag(css, QStringLiteral("#contentbox"));
    EXPECT_EQ(css, QStringLiteral("#contentbox a {text-decoration: underline; color: #00007F;}\n"
                                  "#contentbox a:hover {color: #0000B2;}\n"
                                  "#contentbox a:active {color: #333333;}\n"));

    record->setUnderlineLinks(false);
    record->setLinkNormal(lq::Colour(1, 0, 0, 0.5f));
    record->setLinkHover(lq::Colour(0, 1, 0, 1));
    record->setLinkClicked(lq::Colour(0, 0, 1, 1));
    css = QStringLiteral("x\n");
    record->appendCSSLinkParametersTag(css, QStringLiteral("#footer p"));
    EXPECT_EQ(css, QStringLiteral("x\n#footer p a {text-decoration: none; color: #FF0000;}\n"
                                  "#footer p a:hover {color: #00FF00;}\n"
                                  "#footer p a:active {color: #0000FF;}\n"));
}

TEST(XmlWebFont, SettersMarkTheDocumentChangedAndReadingDoesNot)
{
    FakeDocument document;
    auto theme = XmlTheme::create();
    theme->setDocument(&document);
    auto box = XmlBoxModel::create();
    theme->addChild(box);
    auto record = XmlWebFont::create();
    box->addChild(record);

    struct Case {
        const char* what;
        std::function<void(XmlWebFont&)> set;
    };
    const std::vector<Case> cases {
        { "setFont", [](XmlWebFont& f) { f.setFont(3); } },
        { "setFontSize", [](XmlWebFont& f) { f.setFontSize(9); } },
        { "setFontColor", [](XmlWebFont& f) { f.setFontColor(lq::Colour::white()); } },
        { "setUnderline", [](XmlWebFont& f) { f.setUnderline(true); } },
        { "setBold", [](XmlWebFont& f) { f.setBold(true); } },
        { "setItalic", [](XmlWebFont& f) { f.setItalic(true); } },
        { "setAlignment", [](XmlWebFont& f) { f.setAlignment(XmlWebFont::Alignment::Center); } },
        { "setLineSpacing", [](XmlWebFont& f) { f.setLineSpacing(2); } },
        { "setUnderlineLinks", [](XmlWebFont& f) { f.setUnderlineLinks(false); } },
        { "setLinkNormal", [](XmlWebFont& f) { f.setLinkNormal(lq::Colour::white()); } },
        { "setLinkHover", [](XmlWebFont& f) { f.setLinkHover(lq::Colour::white()); } },
        { "setLinkClicked", [](XmlWebFont& f) { f.setLinkClicked(lq::Colour::white()); } },
    };
    for (const Case& c : cases) {
        document.changes = 0;
        c.set(*record);
        EXPECT_EQ(document.changes, 1) << c.what;
    }

    document.changes = 0;
    ASSERT_TRUE(record->readAttributes(QStringLiteral(" font=\"5\" fontSize=\"30\" linkClicked=\"#102030\"")));
    EXPECT_EQ(document.changes, 0);
    EXPECT_EQ(record->font(), 5);
    EXPECT_EQ(record->fontSize(), 30);
    theme->setDocument(nullptr);
}

TEST(XmlWebFont, NumbersOutsideTheNamedValuesAreWrittenBackAsRead)
{
    // Border types, font alignments and shape kinds are named in the code but
    // stored as numbers: a number the program has no name for survives a save.
    auto record = XmlWebFont::create();
    record->setAttributeTo("alignment", "7");
    QString xml;
    record->appendAttributes(xml);
    EXPECT_TRUE(xml.contains(" alignment=\"7\"")) << xml.toStdString();

    auto box = XmlBoxModel::create();
    box->setAttributeTo("bType", "9");
    xml.clear();
    box->appendAttributes(xml);
    EXPECT_TRUE(xml.contains(" bType=\"9\"")) << xml.toStdString();

    auto shape = XmlShape::create();
    shape->setAttributeTo("shape", "-3");
    xml.clear();
    shape->appendAttributes(xml);
    EXPECT_TRUE(xml.contains(" shape=\"-3\"")) << xml.toStdString();
}
