// Lays a long page text (300 paragraphs by default, with bold, italic and
// linked words) into a template's content box round two other elements,
// registering a click area per link, and writes the page's text in both
// modes: positioned lines (pass 15) and flowing paragraphs with spacer divs
// (pass 3); prints the time of each step.
//
//     lumenquill_bench_content_box [paragraphs] [rounds]

#include "CountingDocument.h"
#include "elements/XmlWebContent.h"
#include "document/DocumentElements.h"
#include "application/MyApplication.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "templates/XmlStyleSheet.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace {


// A page element over the text.
class Obstacle : public XmlBoxModel {
public:
    explicit Obstacle(Key key)
        : XmlBoxModel(key)
    {
        _absolute = true;
        _widthFixed = true;
        _heightFixed = true;
    }
    static std::shared_ptr<Obstacle> create(int x, int y, int w, int h)
    {
        auto box = make<Obstacle>();
        box->setLeft(x);
        box->setTop(y);
        box->setWidth(w);
        box->setHeight(h);
        return box;
    }
};

QString storedText(int paragraphs)
{
    QString text;
    for (int p = 0; p < paragraphs; ++p) {
        text += (p % 9 == 0) ? QStringLiteral("<h1>") : QStringLiteral("<p>");
        for (int w = 0; w < 60; ++w) {
            if (w % 10 == 3)
                text += QStringLiteral("<b>bold</b> ");
            else if (w % 10 == 5)
                text += QStringLiteral("<i>slanted &amp; <b>strong</b></i> ");
            else if (w % 10 == 8)
                text += QStringLiteral("<a href=\"page%1.html\">linked words</a>&#009;after a tab ").arg(w);
            else
                text += QStringLiteral("word ");
        }
        text += (p % 9 == 0) ? QStringLiteral("</h1>") : QStringLiteral("</p>");
    }
    return text;
}


} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    MyApplication app;
    lq::registerDocumentElements();
    const int paragraphs = argc > 1 ? std::atoi(argv[1]) : 300;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;

    bench::CountingDocument document;
    const auto site = XmlSite::create();
    site->newDocument();
    const auto page = XmlAlbum::create();
    site->homepage()->addChild(page);
    page->webcontent()->setContent(storedText(paragraphs));
    const auto theme = XmlTheme::create();
    theme->setDocument(&document);
    const auto sheet = XmlStyleSheet::create();
    theme->addChild(sheet);
    sheet->setVerticalSpace(10);
    sheet->setHorizontalSpace(10);
    const auto box = XmlWebContent::create();
    box->newDocument();
    box->setLeft(20);
    box->setTop(100);
    box->setWidth(600);
    box->setHeight(400);
    sheet->addChild(box);
    sheet->addChild(Obstacle::create(20, 300, 200, 150));
    sheet->addChild(Obstacle::create(420, 900, 200, 400));

    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        sheet->relayoutFlags(page.get(), 0);
        const double laid = bench::milliseconds(timer);

        timer.restart();
        sheet->clearFontBag();
        QString positioned;
        box->appendHTMLPagePassSheet(positioned, page.get(), PagePass::ContentText, sheet.get());
        const double lines = bench::milliseconds(timer);

        sheet->setBrowserFlow(true);
        timer.restart();
        QString flowing;
        box->appendHTMLPagePassSheet(flowing, page.get(), PagePass::ContentBox, sheet.get());
        const double flow = bench::milliseconds(timer);
        sheet->setBrowserFlow(false);

        std::printf("round %d: %d paragraphs, %u characters, %d click areas, box %d px high: layout %.1f ms, "
                    "positioned lines %.1f ms (%lld characters), flowing text %.1f ms (%lld characters)\n",
                    round + 1, paragraphs, unsigned(box->textStorage()->length()), document.areas, box->actualHeight(),
                    laid, lines, static_cast<long long>(positioned.size()), flow,
                    static_cast<long long>(flowing.size()));
    }
    theme->setDocument(nullptr);
    return 0;
}
