#include "elements/QZTextContainer.h"
#include "elements/XmlWebContent.h"
#include "elements/XmlWebFooter.h"
#include "ui/editors/text/QZTextEditor.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlFooter.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/text/LayoutManager.h"
#include "ui/widgets/MyTextView.h"
#include "ui/widgets/TextView.h"
#include "support/FakeDocument.h"
#include "support/FixedBox.h"
#include "support/Printers.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <QComboBox>

#include <QTest>

#include <gtest/gtest.h>

namespace {

// A page of a site and a template in a recording document.
class ContentBoxEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        site->newDocument();
        site->homepage()->addChild(album);
        album->setPageSeqNumber(12);
        album->setFileName(QStringLiteral("page.html"));
        document.pages = { album };
        site->setDocument(&document);
        theme->setDocument(&document);
        theme->addChild(sheet);
    }
    void TearDown() override
    {
        theme->setDocument(nullptr);
        site->setDocument(nullptr);
    }
    template <typename Box>
    std::shared_ptr<Box> addBox()
    {
        const auto box = Box::create();
        box->newDocument();
        box->setLeft(50);
        box->setTop(100);
        box->setWidth(400);
        box->setHeight(200);
        sheet->addChild(box);
        return box;
    }

    FakeDocument document;
    std::shared_ptr<XmlSite> site = XmlSite::create();
    std::shared_ptr<XmlAlbum> album = XmlAlbum::create();
    std::shared_ptr<XmlTheme> theme = XmlTheme::create();
    std::shared_ptr<XmlStyleSheet> sheet = XmlStyleSheet::create();
};

// The same with a document whose rich-text editor has the usual controls.
class EditingWithTheDocumentsEditor : public ContentBoxEditing {
protected:
    void SetUp() override
    {
        ContentBoxEditing::SetUp();
        editor.setControls(QZTextEditor::buildControls(&bar, {}));
        editor.setDocument(&document);
        document.textEditor = &editor;
    }

    QWidget bar;
    QZTextEditor editor;
    MyTextView view;
};

} // namespace

// What the layout canvas does with the content box when the user edits it
// in place without the document's editor: start the edit, attach the text
// view to the box's container over the editing frame, type, take the view
// away and end the edit.
TEST_F(ContentBoxEditing, TheViewEditsTheBoxsTextInAPlainRectangleAndTheWrappingComesBack)
{
    album->webcontent()->setContent(QStringLiteral("<p>one <b>two</b></p>"));
    const auto box = addBox<XmlWebContent>();
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
}

// The edit goes through the document's editor: the view shows the page's
// stored text as the editor reads it (links by page number, paragraph
// kinds), the editor's controls apply, and the end of the edit stores what
// the editor writes.
TEST_F(EditingWithTheDocumentsEditor, TheContentBoxKeepsPageLinks)
{
    album->webcontent()->setContent(QStringLiteral("<h1>Title</h1><p>see <a pseq=\"12\">the page</a></p>"));
    const auto box = addBox<XmlWebContent>();
    box->heading()->setLineSpacing(7);
    sheet->relayoutFlags(album.get(), 0);
    // Laid out on the page, the link is the page's address.
    EXPECT_EQ(box->textStorage()->attributesAt(10).value(lq::TextKey::linkLocation), QVariant(QStringLiteral("page.html")));
    document.changes = 0;

    ASSERT_TRUE(box->startEditingAtPointTextView(lq::Point(60, 110), &view));
    EXPECT_EQ(editor.ctv(), &view);
    EXPECT_EQ(box->textContainer()->textView(), &view);
    EXPECT_EQ(editor.controls().fStyle->count(), 6);
    const lq::StyledText shown = box->textStorage()->substring({ 0, box->textStorage()->length() });
    EXPECT_EQ(shown.string(), QStringLiteral("Title\nsee the page"));
    EXPECT_EQ(shown.attributesAt(10).value(lq::TextKey::link), QVariant(12));
    EXPECT_EQ(shown.attributesAt(0).value(lq::TextKey::paragraphKind), QVariant(1));
    EXPECT_EQ(shown.attributesAt(0).paragraphStyle->lineSpacing, 7);
    EXPECT_EQ(shown.attributesAt(0).font, box->heading()->createFont());
    EXPECT_EQ(document.changes, 0);

    view.setGeometry(box->editingFrame().toQRectF().toRect());
    view.show();
    view.setFocus();
    view.setSelectedRange({ 6, 3 }); // "see"
    editor.bold();
    view.setSelectedRange({ 5, 0 });
    QTest::keyClicks(&view, QStringLiteral("! "));
    EXPECT_GE(document.changes, 1);

    box->endEditingInView();
    EXPECT_EQ(album->webcontent()->content(),
              QStringLiteral("<h1>Title! </h1><p><b>see</b> <a pseq=\"12\">the page</a></p>"));
    EXPECT_EQ(editor.ctv(), nullptr);
    EXPECT_FALSE(view.isAttached());
    EXPECT_EQ(document.contentEditingEnded, 1);
    // Laid out again from the stored text.
    EXPECT_EQ(box->textStorage()->string(), QStringLiteral("Title! \nsee the page"));
}

TEST_F(EditingWithTheDocumentsEditor, TheFooterEditsTheSitesFooterWithOneStyle)
{
    site->homepage()->footer()->setContent(QStringLiteral("<p class=\"center\">(c) me</p>"));
    album->webcontent()->setContent(QStringLiteral("<p>page text</p>"));
    const auto footer = addBox<XmlWebFooter>();
    sheet->relayoutFlags(album.get(), 0);

    ASSERT_TRUE(footer->startEditingAtPointTextView(lq::Point(60, 110), &view));
    EXPECT_EQ(editor.controls().fStyle->count(), 1);
    EXPECT_EQ(editor.controls().fStyle->itemText(0), QStringLiteral("Footer"));
    EXPECT_EQ(view.styledText().string(), QStringLiteral("(c) me"));
    view.setSelectedRange({ 6, 0 });
    view.show();
    view.setFocus();
    QTest::keyClicks(&view, QStringLiteral("!"));
    footer->endEditingInView();
    EXPECT_EQ(site->homepage()->footer()->content(), QStringLiteral("<p class=\"center\">(c) me!</p>"));
    EXPECT_EQ(album->webcontent()->content(), QStringLiteral("<p>page text</p>"));
}
