// Renaming a page in its navigation menu item with the in-place text view,
// the way the layout canvas does it: the menu picks the item and its text
// area, the canvas lays the view over the area and attaches it to the item's
// container, and ending the edit stores the typed name.
#include "elements/XmlWebMenu.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "ui/widgets/TextView.h"
#include "templates/XmlStyleSheet.h"
#include "support/FakeDocument.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTextCursor>

TEST(MenuItemEditing, TypedNameOfASubmenuItemBecomesThePageName)
{
    FakeDocument document;
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
    menu->setWidth(160);
    menu->itemStyle().setNavTypeForGroup(2);

    const auto group = XmlGroup::create();
    group->setPageSeqNumber(1);
    group->setName(QStringLiteral("Travel"));
    site->homepage()->addChild(group);
    std::shared_ptr<XmlAlbum> pages[2];
    for (int i = 0; i < 2; ++i) {
        pages[i] = XmlAlbum::create();
        pages[i]->setPageSeqNumber(2 + i);
        pages[i]->setName(QStringLiteral("Page %1").arg(i + 1));
        group->addChild(pages[i]);
    }
    menu->relayoutFlags(pages[0].get(), 0);
    ASSERT_EQ(document.trackingAreas.size(), 3u);
    const lq::Rect second = document.trackingAreas[2].rect;
    ASSERT_EQ(document.trackingAreas[2].data, QString("1001"));

    lq::TextView view;
    view.resize(400, 100);
    view.show();
    ASSERT_TRUE(menu->startEditingAtPointTextView(lq::Point(second.x() + 2, second.y() + 2), &view));
    const lq::Rect frame = menu->editingFrame();
    view.setGeometry(QRectF(frame.x(), frame.y(), frame.width(), frame.height()).toAlignedRect());
    view.attachTextContainer(menu->editingTextContainer());
    EXPECT_EQ(view.toPlainText(), QString("Page 2"));

    view.selectAll();
    QTest::keyClicks(&view, QStringLiteral("Markets & food"));
    EXPECT_EQ(menu->subContentsArray()[1]->textStorage()->string(), QString("Markets & food"));

    view.detachTextStorage();
    menu->endEditingInView();
    EXPECT_EQ(pages[1]->name(), QString("Markets & food"));
    EXPECT_EQ(pages[0]->name(), QString("Page 1"));
    EXPECT_EQ(document.contentEditingEnded, 1);

    site->setDocument(nullptr);
    theme->setDocument(nullptr);
}
