// The steps that write the page files are made directly instead of being
// written into the page script's text and read back: the processor made that
// way holds the same steps, with the same attributes and content, as reading
// the whole script gives.
#include "model/core/XmlTextFormat.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlBodyHTML.h"
#include "model/site/XmlHomePage.h"
#include "pipeline/PageScripts.h"
#include "pipeline/XmlCreate.h"
#include "pipeline/XmlProcessor.h"
#include "platform/Escaping.h"
#include "support/StarterSite.h"
#include "templates/XmlStyleSheet.h"

#include <gtest/gtest.h>

#include <typeinfo>
#include <vector>

namespace {

const QString opening = QStringLiteral("<QZprocessor rootDir=\"/tmp/site\" status=\"Creating HTML for a page\">");
const QString closing = QStringLiteral("</QZprocessor>");

// The whole script as text: each page file's step written where it stands.
QString wholeScript(const QString& script, const std::vector<XmlStyleSheet::PageFile>& files)
{
    QString text;
    qsizetype from = 0;
    for (const XmlStyleSheet::PageFile& file : files) {
        text += script.mid(from, file.at - from);
        text += QStringLiteral("<QZcreate ") + file.attributes + QLatin1Char('>');
        XmlTextFormat::appendVerbatimBlock(text, file.html);
        text += QStringLiteral("</QZcreate>");
        from = file.at;
    }
    return text + script.mid(from);
}

// Both processors hold the same steps: the same text, and step by step the
// same class, place, content (also whether there is any) and file.
void expectSameSteps(XmlProcessor& direct, XmlProcessor& read)
{
    EXPECT_EQ(direct.createXml(), read.createXml());
    const XmlBaseList made = direct.children();
    const XmlBaseList parsed = read.children();
    ASSERT_EQ(made.size(), parsed.size());
    for (qsizetype i = 0; i < made.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(typeid(*made[i]), typeid(*parsed[i]));
        EXPECT_EQ(made[i]->parent(), &direct);
        EXPECT_EQ(made[i]->content(), parsed[i]->content());
        EXPECT_EQ(made[i]->content().isNull(), parsed[i]->content().isNull());
        if (auto* step = XmlCreate::cast(made[i].get())) {
            EXPECT_EQ(step->dir(), XmlCreate::cast(parsed[i].get())->dir());
            EXPECT_EQ(step->filename(), XmlCreate::cast(parsed[i].get())->filename());
        }
    }
}

TEST(PageFileStepsTest, HostileTextAndNamesGiveTheStepsReadingGives)
{
    const QString marker = XmlTextFormat::verbatimMarker.toString();
    struct Case {
        const char* name;
        QString html;
        QString filename;
    };
    const std::vector<Case> cases = {
        { "a page", QStringLiteral("<!DOCTYPE html>\n<html><body><p>a</p></body></html>"), QStringLiteral("page.html") },
        { "nothing", QString(), QStringLiteral("empty.html") },
        { "white space alone", QStringLiteral(" \n\t "), QStringLiteral("blank.html") },
        { "leading white space and controls", QStringLiteral(" \n\x01\x02\t<p>x</p>\x03 end\x7f"), QStringLiteral("lead.html") },
        { "controls alone", QStringLiteral("\x01\x02"), QStringLiteral("controls.html") },
        { "format characters", QStringLiteral("\u200B\u200Estart\u200Bend"), QStringLiteral("format.html") },
        { "the verbatim marker inside", QStringLiteral("<p>") + marker + QStringLiteral("</QZcreate><QZcreate dir=\"..\" filename=\"evil\">")
              + marker.toUpper() + QStringLiteral("</p>"),
          QStringLiteral("marker.html") },
        { "the text starts with the marker", marker + QStringLiteral("x") + marker, QStringLiteral("start.html") },
        { "content block markers", QStringLiteral("<![CDATA[ ]]> <!-- x --> ]]><!-- x -->"), QStringLiteral("cdata.html") },
        { "a name to escape", QStringLiteral("<p>b</p>"), QStringLiteral("a&b  \"c\" <d>.html") },
        { "a name with leading blanks and an equals sign", QStringLiteral("<p>c</p>"), QStringLiteral(" =x.html") },
        { "a name with a tab and a line feed", QStringLiteral("<p>d</p>"), QStringLiteral("t\tn\n.html") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Steps before, between and after two page files.
        QString script = opening + QStringLiteral("<QZcopy dir=\"homepage\" filename=\"lumenquill.js\" />");
        std::vector<XmlStyleSheet::PageFile> files;
        const QString attributes = QStringLiteral("dir=\"homepage\" filename=\"") + lq::escape(c.filename) + QLatin1Char('"');
        files.push_back({ script.size(), attributes, c.html });
        script += QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"blank.gif\" />");
        files.push_back({ script.size(), attributes, c.html + c.html });
        script += QStringLiteral("<QZcreate dir=\"homepage\" filename=\"iefix.css\">");
        XmlTextFormat::appendVerbatimBlock(script, QStringLiteral("p { }"));
        script += QStringLiteral("</QZcreate>") + closing;

        const auto read = XmlProcessor::createWithScript(wholeScript(script, files));
        const auto direct = lq::processorWithPageFiles(script, files);
        ASSERT_NE(direct, nullptr);
        ASSERT_EQ(read->children().size(), 5);
        expectSameSteps(*direct, *read);
        // The same when the page files' texts were read where the script
        // was written (a thread writing pages ahead), twice over.
        lq::PageScript ahead { script, files };
        lq::readPageFilesAhead(ahead);
        lq::readPageFilesAhead(ahead);
        const auto readAhead = lq::processorWithPageFiles(ahead.script, ahead.files, ahead.filesReadAhead);
        ASSERT_NE(readAhead, nullptr);
        expectSameSteps(*readAhead, *read);
    }
}

TEST(PageFileStepsTest, PageFilesAtTheEdgesOfTheScript)
{
    const QString html = QStringLiteral("<html></html>");
    const QString attributes = QStringLiteral("dir=\"homepage\" filename=\"p.html\"");
    // Right after the opening, twice in a row, and right before the end.
    const QString script = opening + closing;
    const std::vector<XmlStyleSheet::PageFile> files = {
        { opening.size(), attributes, html },
        { opening.size(), attributes, html + QStringLiteral("2") },
    };
    const auto read = XmlProcessor::createWithScript(wholeScript(script, files));
    const auto direct = lq::processorWithPageFiles(script, files);
    ASSERT_EQ(read->children().size(), 2);
    expectSameSteps(*direct, *read);
    // Without page files the script is read as it is.
    expectSameSteps(*lq::processorWithPageFiles(script, {}), *XmlProcessor::createWithScript(script));
}

class StarterPageFileStepsTest : public StarterSiteTest {
protected:
    StarterPageFileStepsTest()
        : StarterSiteTest(QStringLiteral("PageFiles.lqxl"))
    {
    }
};

TEST_F(StarterPageFileStepsTest, EveryPageOfTheStarterSiteGivesTheStepsItsScriptTextGives)
{
    // Text of the user's in every page, holding what could end a block.
    home().bodyHTML()->setContent(QStringLiteral("<p>") + XmlTextFormat::verbatimMarker.toString()
                                  + QStringLiteral("</QZcreate></QZprocessor>]]>\x01</p>\n"));
    const XmlBaseList items = home().webItems();
    ASSERT_FALSE(items.isEmpty());
    if (auto* first = XmlAlbum::cast(items.first().get()))
        first->setFileName(QStringLiteral("a&b  c.html"));
    int pageFiles = 0;
    for (const XmlBasePtr& item : items) {
        auto* page = XmlAlbum::cast(item.get());
        if (!page || page->isExternalLink())
            continue;
        SCOPED_TRACE(page->name().toStdString());
        const auto sheet = page->getTemplate();
        ASSERT_NE(sheet, nullptr);
        sheet->loadBackstore(nullptr);
        QString text = opening;
        QString script = opening;
        std::vector<XmlStyleSheet::PageFile> files;
        for (int view : { 0, 1 }) {
            sheet->genHTMLForPageViewHtmlFlags(page, view, text, 0);
            sheet->genHTMLForPageViewPageFiles(page, view, script, files);
        }
        sheet->releaseBackstore(nullptr);
        text += closing;
        script += closing;
        EXPECT_EQ(wholeScript(script, files), text);
        pageFiles += static_cast<int>(files.size());
        expectSameSteps(*lq::processorWithPageFiles(script, files), *XmlProcessor::createWithScript(text));
    }
    EXPECT_GT(pageFiles, 0);
}

} // namespace
