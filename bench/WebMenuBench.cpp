// Lays out a navigation menu of many pages (40 top-level pages and a group
// of 20 by default, the group's pages as a vertical submenu), then times a
// layout, a change of the item under the pointer, the page links and the
// canvas drawing.
//
//     lumenquill_bench_menu [pages] [group pages] [rounds]

#include "CountingDocument.h"
#include "elements/XmlWebMenu.h"
#include "document/DocumentElements.h"
#include "application/MyApplication.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/graphics/GraphicsImage.h"
#include "templates/XmlStyleSheet.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {



} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    MyApplication app;
    lq::registerDocumentElements();
    const int pages = argc > 1 ? std::atoi(argv[1]) : 40;
    const int groupPages = argc > 2 ? std::atoi(argv[2]) : 20;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;

    bench::CountingDocument document;
    const auto site = XmlSite::create();
    site->newDocument();
    document.siteRoot = site.get();
    site->setDocument(&document);
    const auto theme = XmlTheme::create();
    theme->setDocument(&document);
    const auto sheet = XmlStyleSheet::create();
    theme->addChild(sheet);
    const auto menu = XmlWebMenu::create();
    sheet->addChild(menu);
    menu->newDocument();
    menu->setWidth(180);
    menu->itemStyle().setMipt(3);
    menu->itemStyle().setMipb(3);
    menu->itemStyle().setMibb(1);
    menu->itemStyle().setMispace(2);
    menu->itemStyle().setNavTypeForGroup(2);

    int seq = 1;
    const auto group = XmlGroup::create();
    group->setPageSeqNumber(seq++);
    group->setName(QStringLiteral("Group"));
    site->homepage()->addChild(group);
    std::shared_ptr<XmlAlbum> shown;
    for (int i = 0; i < groupPages; ++i) {
        auto page = XmlAlbum::create();
        page->setPageSeqNumber(seq++);
        page->setName(QStringLiteral("Group page %1").arg(i + 1));
        page->setFileName(QStringLiteral("page%1.html").arg(page->pageSeqNumber()));
        group->addChild(page);
        if (!shown)
            shown = page;
    }
    for (int i = 0; i < pages - 1; ++i) {
        auto page = XmlAlbum::create();
        page->setPageSeqNumber(seq++);
        page->setName(QStringLiteral("Page number %1").arg(i + 1));
        page->setFileName(QStringLiteral("page%1.html").arg(page->pageSeqNumber()));
        site->homepage()->addChild(page);
    }

    lq::GraphicsImage canvas = lq::GraphicsImage::withSize(lq::Size(400, 4000));
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        menu->relayoutFlags(shown.get(), 0);
        const double laid = bench::milliseconds(timer);

        timer.restart();
        menu->mouseEntered(QStringLiteral("3"));
        const double hover = bench::milliseconds(timer);

        timer.restart();
        QString html;
        menu->appendHTMLPagePassSheet(html, shown.get(), PagePass::NavigationItems, sheet.get());
        const double links = bench::milliseconds(timer);

        timer.restart();
        {
            lq::GraphicsImage::Focus focus(canvas);
            menu->drawObject();
            menu->drawText();
        }
        const double drawn = bench::milliseconds(timer);

        std::printf("round %d: %zu items, %zu submenu items, %d click areas: layout %.1f ms, hover %.1f ms, "
                    "page links %.1f ms (%lld characters), drawing %.1f ms\n",
                    round + 1, menu->contentsArray().size(), menu->subContentsArray().size(), document.areas, laid,
                    hover, links, static_cast<long long>(html.size()), drawn);
    }
    site->setDocument(nullptr);
    theme->setDocument(nullptr);
    return 0;
}
