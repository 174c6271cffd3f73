#include "elements/XmlWebContent.h"
#include "model/site/XmlAlbum.h"
#include "support/Printers.h"
#include "templates/XmlSideBar.h"
#include "templates/XmlStyleSheet.h"

#include <gtest/gtest.h>

TEST(XmlSideBarTest, NewSidebarIsAFixedWidthBoxWithoutHtmlOrEditing)
{
    const auto sidebar = XmlSideBar::create();
    EXPECT_EQ(sidebar->elementName(), QStringLiteral("cssSidebar"));
    EXPECT_EQ(sidebar->width(), 150);
    EXPECT_TRUE(sidebar->widthFixed());
    EXPECT_FALSE(sidebar->heightFixed());
    EXPECT_TRUE(sidebar->absolute());
    EXPECT_FALSE(sidebar->enabled());
    EXPECT_FALSE(sidebar->canDoubleClick());
    sidebar->setName(QStringLiteral("Left column"));
    EXPECT_EQ(sidebar->name(), QStringLiteral("Sidebar"));

    sidebar->setBt(2);
    sidebar->setBb(3);
    sidebar->setPt(4);
    sidebar->setPb(5);
    EXPECT_EQ(sidebar->internalHeight(), -14);
    EXPECT_EQ(sidebar->calcHeight(), 0);

    const auto page = XmlAlbum::create();
    const auto sheet = XmlStyleSheet::create();
    sheet->addChild(sidebar);
    for (int pass = int(PagePass::HeadScript); pass <= int(PagePass::Steps); ++pass) {
        QString html;
        sidebar->appendHTMLPagePassSheet(html, page.get(), static_cast<PagePass>(pass), sheet.get());
        EXPECT_TRUE(html.isEmpty()) << pass;
    }
    QString css;
    sidebar->appendCSS(css);
    sidebar->appendCSSWinIESuffix(css, QStringLiteral("0p1"));
    EXPECT_TRUE(css.isEmpty());

    // Not among the elements the template counts or lists.
    EXPECT_EQ(sheet->setPageView(page.get(), XmlStyleSheet::View::Page), 0);
    EXPECT_TRUE(sheet->visibleElements().isEmpty());
}

TEST(XmlSideBarTest, InnerHeightIsTheLargerOfItsContentAndThePageBounds)
{
    const auto sidebar = XmlSideBar::create();
    sidebar->setTop(100);
    sidebar->setBt(1);
    sidebar->setBb(1);
    sidebar->setPt(4);
    sidebar->setPb(4);
    sidebar->setSidebarHeight(200);
    sidebar->addSidebarHeight(50);
    EXPECT_EQ(sidebar->sidebarHeight(), 250);
    EXPECT_EQ(sidebar->internalHeight(), 240);
    sidebar->setPageBounds(lq::Rect(0, 20, 800, 500.9f));
    EXPECT_EQ(sidebar->internalHeight(), 520 - 110);
    EXPECT_EQ(sidebar->calcHeight(), 410 + 10);
}
