// The page template's generation framework, with page elements of the test's
// own that record the passes they are asked for.
#include "elements/XmlVornBox.h"
#include "model/core/XmlTextFormat.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "support/FakeDocument.h"
#include "templates/XmlCSS.h"
#include "templates/XmlStyleSheet.h"

#include <gtest/gtest.h>

namespace {

// Writes "[name pass]" in every pass, one rule, and, when asked to, fix-up
// rules and a fix-up script.
class RecordingElement : public XmlCSS {
public:
    explicit RecordingElement(Key key) : XmlCSS(key) {}
    static std::shared_ptr<RecordingElement> create(const QString& name, bool fixups = false)
    {
        auto element = make<RecordingElement>();
        element->setName(name);
        element->fixups = fixups;
        return element;
    }
    void appendHTMLPagePassSheet(QString& html, XmlBase*, PagePass pass, XmlStyleSheet*) override
    {
        html += QStringLiteral("[") + name() + QLatin1Char(' ') + QString::number(static_cast<int>(pass)) + QStringLiteral("]");
    }
    void appendCSS(QString& css) override { css += QStringLiteral("#") + name() + QStringLiteral(" { }\n"); }
    void appendCSSWinIESuffix(QString& css, const QString& suffix) override
    {
        if (fixups)
            css += QStringLiteral("#") + name() + suffix + QStringLiteral(" { }\n");
    }
    void appendJavascriptWinIE(QString& script) override
    {
        if (fixups)
            script += QStringLiteral("fix_") + name() + QStringLiteral("();\n");
    }
    bool fixups = false;
};

class XmlStyleSheetGenerationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        site->newDocument();
        site->setDocument(&document);
        document.siteRoot = site.get();
        theme->setDocument(&document);
        theme->addChild(sheet);
        sheet->setTemplateSeqNum(2);
        sheet->setBkgndColor(lq::Colour::white());
        site->homepage()->addChild(page);
        page->setFileName(QStringLiteral("walks.html"));
        page->setPageSeqNumber(15);
    }
    void TearDown() override
    {
        site->setDocument(nullptr);
        theme->setDocument(nullptr);
    }
    QString pageScript()
    {
        QString html;
        sheet->genHTMLForPageViewHtmlFlags(page.get(), 0, html, 0);
        return html;
    }

    FakeDocument document;
    std::shared_ptr<XmlSite> site = XmlSite::create();
    std::shared_ptr<XmlTheme> theme = XmlTheme::create();
    std::shared_ptr<XmlStyleSheet> sheet = XmlStyleSheet::create();
    std::shared_ptr<XmlAlbum> page = XmlAlbum::create();
};

TEST_F(XmlStyleSheetGenerationTest, PassesRunInOrderChildByChildAndHiddenElementsSkipThem)
{
    sheet->addChild(RecordingElement::create(QStringLiteral("a")));
    auto hidden = RecordingElement::create(QStringLiteral("h"));
    hidden->setVisible(false);
    sheet->addChild(hidden);
    sheet->addChild(RecordingElement::create(QStringLiteral("b")));
    const QString html = pageScript();
    EXPECT_FALSE(html.contains(QStringLiteral("[h ")));
    // -1 in the head script, 0 after it, 1 to 17 in the body, 18 after the
    // page block, 19 after the page step.
    const qsizetype head = html.indexOf(QStringLiteral("[a -1][b -1]\n// -->\n</script>\n[a 0][b 0]"));
    EXPECT_GT(head, 0);
    QString body;
    for (int pass = 1; pass <= 17; ++pass)
        body += QStringLiteral("[a %1][b %1]").arg(pass);
    const qsizetype layers = html.indexOf(QStringLiteral("<body id=\"lqpage\" bgcolor=\"#FFFFFF\">\n") + body + QStringLiteral("[a 18][b 18]"));
    EXPECT_GT(layers, head) << html.toStdString();
    const QString marker = XmlTextFormat::verbatimMarker.toString();
    EXPECT_TRUE(html.endsWith(QStringLiteral("</html>") + marker + QStringLiteral("</QZcreate>")
                              + QStringLiteral("<QZcopy dir=\"homepage\" filename=\"lumenquill.js\" /><QZcopy dir=\"homepage/bitmaps\" filename=\"blank.gif\" />")
                              + QStringLiteral("[a 19][b 19]")));
    // Without fix-up rules: no loader, no transparent.gif, no fix-up sheet.
    EXPECT_FALSE(html.contains(QStringLiteral("appVersion")));
    EXPECT_FALSE(html.contains(QStringLiteral("transparent.gif")));
    EXPECT_FALSE(html.contains(QStringLiteral("iefix")));
}

TEST_F(XmlStyleSheetGenerationTest, FixupRulesOfEveryElementMakeTheLoaderTheScriptAndTheFixupSheet)
{
    auto hidden = RecordingElement::create(QStringLiteral("h"), true);
    hidden->setVisible(false);
    sheet->addChild(hidden);
    const QString html = pageScript();
    const QString condition = QStringLiteral("var appVersion = navigator.appVersion;\nif ((appVersion.indexOf(\"MSIE\") != -1) &&\n"
                                             " (appVersion.indexOf(\"Macintosh\") == -1)) {\n");
    EXPECT_TRUE(html.contains(condition + QStringLiteral(" document.write('<link rel=\"stylesheet\" type=\"text/css\" media=\"all\" href=\"iefix2p15.css\">');\n}\n")));
    EXPECT_TRUE(html.contains(condition + QStringLiteral("fix_h();\n}\n\n// -->\n</script>\n</body>\n</html>")));
    const QString marker = XmlTextFormat::verbatimMarker.toString();
    EXPECT_TRUE(html.contains(QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"transparent.gif\" />"
                                             "<QZcreate dir=\"homepage\" filename=\"iefix2p15.css\">")
                              + marker + QStringLiteral("#h2p15 { }\n") + marker + QStringLiteral("</QZcreate>")));
}

TEST_F(XmlStyleSheetGenerationTest, TheStyleSheetHoldsTheFixedRulesThenEveryChildsRules)
{
    const QString marker = XmlTextFormat::verbatimMarker.toString();
    const QString fixed = QStringLiteral("body { background-color: #FFFFFF; padding: 0px; margin: 0px;}\n"
                                         ".empty { position: absolute; display: block; padding: 0px; margin: 0px;}\n"
                                         "div#counter {top: 0px; left: 0px; width: 800px; height: 100px; position: absolute; display: block; }\n"
                                         "div#noscript {top: 0px; left: 0px; width: 800px; height: 50px; position: fixed; display: block; "
                                         "background-color: #FFFF00; color: #000000; text-align: center;  z-index: 99; }\n");
    sheet->setBkgnd(1);
    QString css;
    sheet->genCSS(css);
    EXPECT_EQ(css, QStringLiteral("<QZcreate dir=\"homepage\" filename=\"theme2.css\">") + marker + fixed + marker + QStringLiteral("</QZcreate>")) << css.toStdString();

    auto hidden = RecordingElement::create(QStringLiteral("h"));
    hidden->setVisible(false);
    hidden->setVisibleInSlideshow(false);
    sheet->addChild(hidden);
    sheet->setTemplateSeqNum(0);
    css.clear();
    sheet->genCSS(css);
    EXPECT_EQ(css, QStringLiteral("<QZcreate dir=\"homepage\" filename=\"theme.css\">") + marker + fixed + QStringLiteral("#h { }\n") + marker
                       + QStringLiteral("</QZcreate>"));
}

TEST_F(XmlStyleSheetGenerationTest, NothingWithoutASiteAndOnlyPlainFileNames)
{
    document.siteRoot = nullptr;
    EXPECT_EQ(pageScript(), QString());
    document.siteRoot = site.get();
    EXPECT_FALSE(pageScript().isEmpty());
    for (const char* name : { "../x.html", "a/b.html", "a\\b.html", "..", "." })
        EXPECT_FALSE(XmlStyleSheet::isPlainFileName(QString::fromLatin1(name))) << name;
    for (const char* name : { "x.html", "my page.html", "..x.html" })
        EXPECT_TRUE(XmlStyleSheet::isPlainFileName(QString::fromLatin1(name))) << name;
}

TEST_F(XmlStyleSheetGenerationTest, VerticalCentringMovesTheVornBoxesOfTypeZero)
{
    auto moved = XmlVornBox::create();
    moved->setVornSeqNum(7);
    moved->settings().setType(0);
    moved->settings().setExternalType(0);
    auto other = XmlVornBox::create();
    other->setVornSeqNum(8);
    other->settings().setType(1);
    sheet->addChild(moved);
    sheet->addChild(other);
    sheet->setCenterVert(true);
    const QString html = pageScript();
    EXPECT_TRUE(html.contains(QStringLiteral("   var vornbox, xbtop;\n   vornbox = document.getElementById(\"vorn7\");\n   xbtop = top + ")
                              + QString::number(moved->calcTop()) + QStringLiteral(";\n   vornbox.style.top = xbtop+\"px\";\n}\n")))
        << html.toStdString();
    const qsizetype start = html.indexOf(QStringLiteral("function centerpage () {\n"));
    ASSERT_GE(start, 0);
    const QString function = html.mid(start, html.indexOf(QStringLiteral("\n}\n"), start) - start);
    EXPECT_FALSE(function.contains(QStringLiteral("vorn8")));
    EXPECT_TRUE(html.contains(QStringLiteral("centerpage();\nwindow.onresize = centerpage;\n")));
}

} // namespace
