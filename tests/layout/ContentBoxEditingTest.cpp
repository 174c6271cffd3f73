#include "elements/QZTextContainer.h"
#include "elements/XmlWebContent.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "model/theme/XmlTheme.h"
#include "platform/text/LayoutManager.h"
#include "platform/widgets/TextView.h"
#include "support/FakeDocument.h"
#include "support/FixedBox.h"
#include "support/Printers.h"
#include "templates/XmlStyleSheet.h"

#include <QTest>

#include <gtest/gtest.h>

// What the layout canvas does with the content box when the user edits it
// in place: start the edit, attach the text view to the box's container over
// the editing frame, type, take the view away and end the edit.
TEST(ContentBoxEditing, TheViewEditsTheBoxsTextInAPlainRectangleAndTheWrappingComesBack)
{
    FakeDocument document;
    const auto site = XmlSite::create();
    site->newDocument();
    const auto album = XmlAlbum::create();
    site->homepage()->addChild(album);
    album->webcontent()->setContent(QStringLiteral("<p>one <b>two</b></p>"));
    const auto theme = XmlTheme::create();
    theme->setDocument(&document);
    const auto sheet = XmlStyleSheet::create();
    theme->addChild(sheet);
    const auto box = XmlWebContent::create();
    box->newDocument();
    box->setLeft(50);
    box->setTop(100);
    box->setWidth(400);
    box->setHeight(200);
    sheet->addChild(box);
    sheet->addChild(FixedBox::create(50, 100, 100, 300));
    sheet->relayoutFlags(album.get(), 0);
    ASSERT_EQ(box->layoutManager()->lineFragments().front().rect.x(), 100);

    lq::TextView view;
    ASSERT_TRUE(box->startEditingAtPointTextView(lq::Point(60, 110), &view));
    view.setGeometry(box->editingFrame().toQRectF().toRect());
    view.attachTextContainer(box->textContainer());
    EXPECT_TRUE(box->isEditing());
    EXPECT_EQ(box->textContainer()->textView(), &view);
    // The view wraps at the whole text area: the obstacle is set aside.
    EXPECT_EQ(view.lineWrapColumnOrWidth(), 400);
    EXPECT_EQ(box->layoutManager()->lineFragments().front().rect.x(), 0);

    view.show();
    view.setFocus();
    view.setSelectedRange({ 0, 0 });
    QTest::keyClicks(&view, QStringLiteral("New "));
    EXPECT_EQ(box->textStorage()->string(), QStringLiteral("New one two"));

    view.detachTextStorage();
    box->endEditingInView();
    EXPECT_FALSE(box->isEditing());
    EXPECT_EQ(document.contentEditingEnded, 1);
    EXPECT_EQ(album->webcontent()->content(), QStringLiteral("<p>New one <b>two</b></p>"));
    EXPECT_EQ(box->layoutManager()->lineFragments().front().rect.x(), 100);
    theme->setDocument(nullptr);
}
