// The rich-text editor over a bare text view: stored text in and out, the
// actions on the selection, links, change marks and pasting.
#include "ui/editors/text/EasyLinkOpener.h"
#include "ui/editors/text/LinkTarget.h"
#include "ui/editors/text/QZTextEditor.h"
#include "model/core/SuppressedChanges.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlHomePage.h"
#include "ui/widgets/MyTextView.h"
#include "support/Printers.h"
#include "support/SiteInDocument.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

const QStringList kindTitles { QStringLiteral("Normal"), QStringLiteral("Heading"), QStringLiteral("Subheading"),
                               QStringLiteral("Caption"), QStringLiteral("Alternate"), QStringLiteral("Alternate 2") };

// An editor with its controls and view in a window, bound to a site in a
// recording document, with two pages whose texts it can load.
class TextEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        auto* bar = new QWidget(&window);
        layout->addWidget(bar);
        layout->addWidget(view);
        editor.setControls(QZTextEditor::buildControls(bar, {}));
        editor.setFontStyles(kindTitles);
        editor.setDocument(&site.document);
        editor.setCtv(view);
        for (auto* page : { &pageA, &pageB }) {
            *page = XmlAlbum::create();
            site.site->homepage()->addChild(*page);
        }
        site.document.pages = { pageA, pageB };
        site.document.changes = 0;
    }

    // Loads the text into the view through page A and answers what the
    // editor writes back.
    QString roundTrip(const QString& stored)
    {
        {
            const SuppressedChanges quiet(*pageA);
            pageA->webcontent()->setContent(stored);
        }
        editor.loadMyTextView(pageA->webcontent().get());
        return editor.createContent();
    }
    void type(const QString& keys)
    {
        window.show();
        view->setFocus();
        QTest::keyClicks(view, keys);
    }
    const QZTextEditor::Controls& controls() const { return editor.controls(); }

    SiteInDocument site;
    std::shared_ptr<XmlAlbum> pageA;
    std::shared_ptr<XmlAlbum> pageB;
    QWidget window;
    MyTextView* view = new MyTextView(&window);
    QZTextEditor editor;
};

} // namespace

// --- Stored text in and out --------------------------------------------------------------------

TEST_F(TextEditorTest, LoadedTextIsWrittenBackAsItWasStored)
{
    const QString stored = QStringLiteral("<h1 class=\"center\">Title</h1><p>One <b>bold</b> word</p>");
    EXPECT_EQ(roundTrip(stored), stored);

    const lq::StyledText text = view->styledText();
    EXPECT_EQ(text.string(), QStringLiteral("Title\nOne bold word"));
    const lq::TextAttributes title = text.attributesAt(0);
    ASSERT_TRUE(title.paragraphStyle);
    EXPECT_EQ(title.paragraphStyle->alignment, lq::TextAlignment::Center);
    EXPECT_EQ(title.value(lq::TextKey::paragraphKind), QVariant(1));
    EXPECT_EQ(title.font, lq::Font::helvetica(18));
    EXPECT_EQ(text.attributesAt(10).font, lq::Font::helvetica(12).withBold(true));
    EXPECT_EQ(text.attributesAt(6).value(lq::TextKey::paragraphKind), QVariant(0));
}

TEST_F(TextEditorTest, RoundTripsReduceTextToTheStoredSubset)
{
    const struct {
        const char* stored;
        const char* written;
    } cases[] = {
        { "<h3>x</h3>", "<h1>x</h1>" },
        { "<p class=\"center\" class=\"right\">x</p>", "<p class=\"right\">x</p>" },
        { "<p>&nbsp;</p>", "<p> </p>" },
        { "<p><a pseq=\"12\" target=\"_blank\">go</a></p>", "<p><a pseq=\"12\" target=\"_blank\">go</a></p>" },
        { "<p><a href=\"http://example.com/?a=1&b=2\">go</a> on</p>", "<p><a href=\"http://example.com/?a=1&b=2\">go</a> on</p>" },
        { "", "" },
        { "<p><b><i>both</i></b><i>italic</i></p>", "<p><b><i>both</i></b><i>italic</i></p>" },
        { "<p dir=\"rtl\" class=\"center\">x</p><h2>s</h2><h4>c</h4><h5>a</h5><h6>b</h6>",
          "<p dir=\"rtl\" class=\"center\">x</p><h2>s</h2><h4>c</h4><h5>a</h5><h6>b</h6>" },
        // Text between paragraphs, closing tags at the top level and comments go.
        { "lost<p>a</p></p><!-- note --><p>b<font>c</font>d</p><p>1 &lt; 2</p>", "<p>a</p><p>bd</p><p>1 &lt; 2</p>" },
        // An element without its closing tag takes the next closing tag with it.
        { "<p>b<br>c</p><p>d</p>", "<p>b</p>" },
        { "<p><u>under</u> <a href=\"x\"><b>bold link</b></a></p>", "<p><u>under</u> <a href=\"x\"><b>bold link</b></a></p>" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(roundTrip(QString::fromUtf8(c.stored)), QString::fromUtf8(c.written)) << c.stored;

    roundTrip(QStringLiteral("<p><a pseq=\"12\" target=\"_blank\">go</a></p>"));
    const lq::TextAttributes link = view->styledText().attributesAt(0);
    EXPECT_EQ(link.value(lq::TextKey::link), QVariant(12));
    EXPECT_EQ(link.value(lq::TextKey::linkNewWindow), QVariant(1));
    EXPECT_EQ(link.foregroundColour, lq::Colour(0, 0, 1, 1)); // shown as a link
}

TEST_F(TextEditorTest, ReadingTheEmptyTextLeavesNormalLeftAlignedTyping)
{
    roundTrip(QStringLiteral("<h1 class=\"center\">Title</h1>"));
    EXPECT_EQ(roundTrip(QString()), QString());
    EXPECT_TRUE(view->styledText().isEmpty());
    const lq::TextAttributes typing = view->typingAttributes();
    EXPECT_EQ(typing.value(lq::TextKey::paragraphKind), QVariant(0));
    EXPECT_EQ(typing.font, lq::Font::helvetica(12));
    ASSERT_TRUE(typing.paragraphStyle);
    EXPECT_EQ(typing.paragraphStyle->alignment, lq::TextAlignment::Left);
    EXPECT_TRUE(controls().pLeft->isChecked());
    EXPECT_TRUE(controls().pNormal->isChecked());
    EXPECT_FALSE(controls().pHeading->isChecked());
}

TEST(TextEditorKinds, AnEditorWithoutKindControlsKeepsEveryParagraphNormal)
{
    QWidget bar;
    MyTextView view;
    QZTextEditor editor;
    editor.setControls(QZTextEditor::buildControls(&bar, { .kindButtons = false, .kindPopUp = false }));
    editor.setCtv(&view);
    const auto element = XmlBase::create();
    element->setHaveContent(true);
    element->setContent(QStringLiteral("<h1>x</h1><h2 class=\"right\">y</h2>"));
    editor.loadMyTextView(element.get());
    EXPECT_EQ(view.styledText().attributesAt(0).font, lq::Font::helvetica(12));
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p>x</p><p class=\"right\">y</p>"));

    // One kind button is enough for the kinds to count.
    QWidget otherBar;
    QZTextEditor::Controls controls = QZTextEditor::buildControls(&otherBar, { .kindPopUp = false });
    controls.pHeading = nullptr;
    QZTextEditor withNormal;
    withNormal.setControls(controls);
    withNormal.setCtv(&view);
    withNormal.loadMyTextView(element.get());
    EXPECT_EQ(withNormal.createContent(), QStringLiteral("<h1>x</h1><h2 class=\"right\">y</h2>"));
}

// --- Actions ---------------------------------------------------------------------------------------

TEST_F(TextEditorTest, BoldOnASelectionAndOnTheTyping)
{
    roundTrip(QStringLiteral("<p>a b c</p>"));
    view->setSelectedRange({ 2, 1 });
    editor.bold();
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p>a <b>b</b> c</p>"));
    EXPECT_TRUE(controls().pBold->isChecked());

    // A click on the button does the same; without a selection it only
    // changes what is typed next.
    view->setSelectedRange({ 2, 1 });
    controls().pBold->click();
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p>a b c</p>"));
    view->setSelectedRange({ 5, 0 });
    window.show();
    view->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(view->hasFocus());
    QTest::mouseClick(controls().pItalic, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(view->hasFocus()); // the keyboard stays in the text
    type(QStringLiteral("!"));
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p>a b c<i>!</i></p>"));
}

TEST_F(TextEditorTest, StylesOverFontsOfTwoKindsTakeTheFirstCharactersFont)
{
    roundTrip(QStringLiteral("<h1>Head</h1><p>body</p>"));
    view->setSelectedRange({ 2, 5 });
    editor.bold();
    const lq::StyledText text = view->styledText();
    EXPECT_EQ(text.attributesAt(6).font, lq::Font::helvetica(18).withBold(true));
    editor.underline();
    EXPECT_EQ(editor.createContent(), QStringLiteral("<h1>He<b><u>ad</u></b></h1><p><b><u>bo</u></b>dy</p>"));
}

TEST_F(TextEditorTest, ParagraphKindsAndAlignmentReachEveryParagraphOfTheSelection)
{
    editor.setHeadingLS(6);
    editor.setCaptionLS(3);
    roundTrip(QStringLiteral("<p>one</p><h1>two</h1><p>three</p>"));
    view->setSelectedRange({ 1, 5 }); // "ne\ntw"
    editor.fontStyleInt(3);
    EXPECT_EQ(editor.createContent(), QStringLiteral("<h4>one</h4><h4>two</h4><p>three</p>"));
    const lq::StyledText captions = view->styledText();
    EXPECT_EQ(captions.attributesAt(4).font, editor.fontForKind(3));
    EXPECT_EQ(captions.attributesAt(4).paragraphStyle->lineSpacing, 3);

    // Alignment takes the line spacing of the kind at the caret for all of them.
    view->setSelectedRange({ 5, 6 }); // "wo\nthr"
    editor.center();
    EXPECT_TRUE(controls().pCenter->isChecked());
    EXPECT_FALSE(controls().pLeft->isChecked());
    EXPECT_EQ(editor.createContent(),
              QStringLiteral("<h4>one</h4><h4 class=\"center\">two</h4><p class=\"center\">three</p>"));
    EXPECT_EQ(view->styledText().attributesAt(9).paragraphStyle->lineSpacing, 3);

    view->setSelectedRange({ 9, 0 });
    controls().RTLButton->click();
    EXPECT_EQ(editor.createContent(),
              QStringLiteral("<h4>one</h4><h4 class=\"center\">two</h4><p dir=\"rtl\" class=\"center\">three</p>"));

    // The buttons and the pop-up follow the caret.
    view->setSelectedRange({ 0, 0 });
    EXPECT_EQ(controls().fStyle->currentIndex(), 3);
    EXPECT_TRUE(controls().pLeft->isChecked());
    view->setSelectedRange({ 0, 0 });
    controls().pHeading->click();
    EXPECT_EQ(editor.createContent().left(15), QStringLiteral("<h1>one</h1><h4"));
    EXPECT_TRUE(controls().pHeading->isChecked());
    EXPECT_FALSE(controls().pNormal->isChecked());
    controls().fStyle->setCurrentIndex(2);
    Q_EMIT controls().fStyle->activated(2);
    EXPECT_EQ(editor.createContent().left(12), QStringLiteral("<h2>one</h2>"));
    editor.normal();
    EXPECT_EQ(editor.createContent().left(10), QStringLiteral("<p>one</p>"));
}

TEST(TextEditorControls, StyleListsAndRightToLeftShowAndHideTheirControls)
{
    QWidget bar;
    QZTextEditor editor;
    editor.setControls(QZTextEditor::buildControls(&bar, {}));
    const QZTextEditor::Controls& c = editor.controls();
    editor.setFontStyles({});
    for (QWidget* hidden : std::initializer_list<QWidget*> { c.fStyle, c.pUnderline, c.pItalic, c.pBold, c.pLeft,
                                                              c.pCenter, c.pRight })
        EXPECT_TRUE(hidden->isHidden());
    for (QWidget* kept : std::initializer_list<QWidget*> { c.pNormal, c.pHeading, c.lLink, c.NewWindow })
        EXPECT_FALSE(kept->isHidden());
    editor.setFontStyles({ QStringLiteral("Footer") });
    EXPECT_FALSE(c.pBold->isHidden());
    EXPECT_EQ(c.fStyle->count(), 1);
    EXPECT_EQ(c.fStyle->itemText(0), QStringLiteral("Footer"));

    editor.enableRTL(false);
    EXPECT_TRUE(c.RTLButton->isHidden());
    editor.enableRTL(true);
    EXPECT_FALSE(c.RTLButton->isHidden());

    editor.setControlsEnabled(false);
    EXPECT_FALSE(c.pBold->isEnabled());
    EXPECT_FALSE(c.lLink->isEnabled());
    EXPECT_FALSE(c.fStyle->isEnabled());
}

// --- Links -------------------------------------------------------------------------------------------

TEST_F(TextEditorTest, LinksGoOverTheSelectionTheLinkAtTheCaretOrTheWord)
{
    roundTrip(QStringLiteral("<p>see <a href=\"old\">the page</a> here</p>"));
    // The caret inside a link: the whole link is replaced.
    view->setSelectedRange({ 6, 0 });
    EXPECT_EQ(controls().lLink->text(), QStringLiteral("old"));
    editor.linkNewWindow(12, 1);
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p>see <a pseq=\"12\" target=\"_blank\">the page</a> here</p>"));
    EXPECT_EQ(view->styledText().attributesAt(4).foregroundColour, lq::Colour(0, 0, 1, 1));

    // The caret in a plain word: the word.
    view->setSelectedRange({ 15, 0 });
    editor.linkNewWindow(QStringLiteral("http://example.com"), 0);
    EXPECT_EQ(editor.createContent(), QStringLiteral(
        "<p>see <a pseq=\"12\" target=\"_blank\">the page</a> <a href=\"http://example.com\">here</a></p>"));

    // Nothing takes the link away; values of other kinds and empty addresses do nothing.
    view->setSelectedRange({ 5, 0 });
    editor.linkNewWindow(QVariant(), 0);
    view->setSelectedRange({ 0, 3 });
    editor.linkNewWindow(QVariant(2.5), 0);
    editor.linkNewWindow(QString(), 0);
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p>see the page <a href=\"http://example.com\">here</a></p>"));
    EXPECT_FALSE(view->styledText().attributesAt(4).foregroundColour.has_value());

    // The new-window box changes the whole link at the caret.
    view->setSelectedRange({ 16, 0 });
    controls().NewWindow->click();
    EXPECT_EQ(editor.createContent(),
              QStringLiteral("<p>see the page <a href=\"http://example.com\" target=\"_blank\">here</a></p>"));
}

TEST_F(TextEditorTest, TheLinkFieldEditsTheLinkAndShowsPagesByTheirAddress)
{
    pageB->setPageSeqNumber(12);
    pageB->setFileName(QStringLiteral("second.html"));
    roundTrip(QStringLiteral("<p>go <a pseq=\"12\">there</a></p>"));
    view->setSelectedRange({ 4, 0 });
    EXPECT_EQ(controls().lLink->text(), QStringLiteral("second.html"));
    EXPECT_EQ(editor.link(), QVariant(12));

    view->setSelectedRange({ 0, 2 });
    QTest::keyClicks(controls().lLink, QStringLiteral("me@example.com"));
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p><a href=\"mailto:me@example.com\">go</a> <a pseq=\"12\">there</a></p>"));
    controls().lLink->clear();
    QTest::keyClicks(controls().lLink, QStringLiteral("x"));
    QTest::keyClick(controls().lLink, Qt::Key_Backspace);
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p>go <a pseq=\"12\">there</a></p>"));
}

TEST_F(TextEditorTest, TypingASpaceRightAfterALinkEndsIt)
{
    roundTrip(QStringLiteral("<p><a href=\"x\">go</a></p>"));
    view->setSelectedRange({ 2, 0 });
    type(QStringLiteral(" on"));
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p><a href=\"x\">go</a> on</p>"));

    // Inside a link a space stays linked.
    view->setSelectedRange({ 1, 0 });
    type(QStringLiteral(" "));
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p><a href=\"x\">g o</a> on</p>"));
}

namespace {

struct RecordingLinkTarget : LinkTarget {
    QVariant getLink() override { return link; }
    int getNewWindow() override { return newWindow; }
    void setLink(const QVariant& value) override { link = value; }
    void setNewWindow(int value) override { newWindow = value; }
    QVariant link = QStringLiteral("photo.html");
    int newWindow = 1;
};

// Answers every request for the link picker with a chosen link, as the
// picker does when the user picks one.
struct AnsweringLinkPicker : EasyLinkOpener {
    void easyLink(QZTextEditor* editor) override
    {
        ++opened;
        if (answer.isValid())
            editor->setEasyLink(answer);
    }
    QVariant answer;
    int opened = 0;
};

} // namespace

TEST_F(TextEditorTest, ALinkTargetTakesTheLinksInsteadOfTheText)
{
    roundTrip(QStringLiteral("<p>caption</p>"));
    RecordingLinkTarget target;
    editor.setLinkTarget(&target);
    EXPECT_EQ(controls().lLink->text(), QStringLiteral("photo.html"));
    EXPECT_TRUE(controls().NewWindow->isChecked());
    view->setSelectedRange({ 0, 7 });
    QTest::keyClicks(controls().lLink, QStringLiteral("x"));
    EXPECT_EQ(target.link, QVariant(QStringLiteral("photo.htmlx")));
    controls().NewWindow->click();
    EXPECT_EQ(target.newWindow, 0);
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p>caption</p>"));
}

TEST_F(TextEditorTest, TheLinkPickerAnswersWithALink)
{
    pageA->setPageSeqNumber(7);
    pageA->setFileName(QStringLiteral("index.html"));
    roundTrip(QStringLiteral("<p>home</p>"));
    AnsweringLinkPicker picker;
    controls().linkButton->click(); // no picker: nothing happens
    editor.setEasyLinkOpener(&picker);
    view->setSelectedRange({ 1, 0 });
    controls().linkButton->click();
    EXPECT_EQ(picker.opened, 1);
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p>home</p>")); // cancelled

    picker.answer = 7;
    controls().NewWindow->setChecked(true);
    controls().linkButton->click();
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p><a pseq=\"7\" target=\"_blank\">home</a></p>"));
    EXPECT_EQ(controls().lLink->text(), QStringLiteral("index.html"));
}

// --- Change marks and binding ---------------------------------------------------------------------

TEST_F(TextEditorTest, SavingStoresTextAndSelectionWithoutMarkingTheDocument)
{
    roundTrip(QStringLiteral("<p>abc</p>"));
    view->setSelectedRange({ 1, 2 });
    editor.saveMyTextView(pageB->webcontent().get());
    EXPECT_EQ(pageB->webcontent()->content(), QStringLiteral("<p>abc</p>"));
    EXPECT_EQ(pageB->webcontent()->selectedRange(), lq::Range(1, 2));
    EXPECT_EQ(site.document.changes, 0);
    EXPECT_EQ(site.document.suppressed, 0);
    editor.saveMyTextView(nullptr);

    type(QStringLiteral("x"));
    EXPECT_EQ(site.document.changes, 1);
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p>ax</p>"));

    // Loading puts the selection back.
    editor.loadMyTextView(pageB->webcontent().get());
    EXPECT_EQ(view->selectedRange(), lq::Range(1, 2));
    EXPECT_EQ(site.document.changes, 1);
}

TEST_F(TextEditorTest, LoadingAnotherElementNeverKeepsTheFormerText)
{
    pageA->webcontent()->setContent(QStringLiteral("<p>Photo A's caption</p>"));
    pageB->webcontent()->setContent(QStringLiteral("<p>abc"));
    site.document.changes = 0;
    editor.loadMyTextView(pageA->webcontent().get());
    editor.loadMyTextView(pageB->webcontent().get());
    EXPECT_EQ(view->styledText().string(), QStringLiteral("abc"));
    editor.saveMyTextView(pageB->webcontent().get());
    EXPECT_EQ(pageB->webcontent()->content(), QStringLiteral("<p>abc</p>"));
    EXPECT_EQ(site.document.suppressed, 0);
    EXPECT_EQ(site.document.changes, 0);
    pageB->setName(QStringLiteral("renamed"));
    EXPECT_EQ(site.document.changes, 1);

    // Open inline elements end with the text too.
    EXPECT_EQ(roundTrip(QStringLiteral("<p>x <b>y <a href=\"z\">w")), QStringLiteral("<p>x <b>y <a href=\"z\">w</a></b></p>"));
}

TEST_F(TextEditorTest, NoElementEmptiesTheViewAndDisablesEditing)
{
    roundTrip(QStringLiteral("<p>text</p>"));
    editor.loadMyTextView(nullptr);
    EXPECT_TRUE(view->styledText().isEmpty());
    EXPECT_TRUE(view->isReadOnly());
    EXPECT_FALSE(controls().pBold->isEnabled());
    EXPECT_EQ(site.document.suppressed, 0);
    EXPECT_EQ(site.document.changes, 0);
    roundTrip(QStringLiteral("<p>text</p>"));
    EXPECT_FALSE(view->isReadOnly());
    EXPECT_TRUE(controls().pBold->isEnabled());
}

TEST_F(TextEditorTest, EveryEditIsReportedToTheLiveUpdateAndFocusIsFollowed)
{
    int updates = 0;
    editor.setLiveUpdate([&] {
        ++updates;
        editor.liveUpdateGetContent(pageB->webcontent().get());
    });
    roundTrip(QStringLiteral("<p>a</p>"));
    site.document.changes = 0;
    updates = 0;
    view->setSelectedRange({ 1, 0 });
    type(QStringLiteral("bc"));
    EXPECT_EQ(updates, 2);
    EXPECT_EQ(pageB->webcontent()->content(), QStringLiteral("<p>abc</p>"));
    EXPECT_GE(site.document.changes, 2);
    QApplication::processEvents();
    EXPECT_TRUE(editor.textViewFirstResponder());
    controls().lLink->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(editor.textViewFirstResponder());

    // A view let go reports nothing more.
    editor.setCtv(nullptr);
    view->setFocus();
    QTest::keyClicks(view, QStringLiteral("d"));
    EXPECT_EQ(updates, 2);
    EXPECT_EQ(editor.createContent(), QString());
}

TEST_F(TextEditorTest, PastedTextIsReducedToWhatStoredTextHolds)
{
    roundTrip(QStringLiteral("<p>[]</p>"));
    lq::TextAttributes red;
    red.font = lq::Font::helvetica(20).withBold(true);
    red.foregroundColour = lq::Colour(1, 0, 0);
    {
        MyTextView source;
        source.setStyledText(lq::StyledText(QStringLiteral("Red"), red));
        source.setSelectedRange({ 0, 3 });
        source.copy();
    }
    ASSERT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(MyTextView::pasteboardType));
    view->setSelectedRange({ 1, 0 });
    view->paste();
    const lq::StyledText text = view->styledText();
    EXPECT_EQ(text.string(), QStringLiteral("[Red]"));
    EXPECT_EQ(text.attributesAt(1).font, lq::Font::helvetica(12).withBold(true));
    EXPECT_FALSE(text.attributesAt(1).foregroundColour.has_value());
    EXPECT_EQ(editor.createContent(), QStringLiteral("<p>[<b>Red</b>]</p>"));
    EXPECT_EQ(view->selectedRange(), lq::Range(4, 0));
    EXPECT_EQ(site.document.suppressed, 0);
    EXPECT_GE(site.document.changes, 1);
}

TEST(TextEditorFonts, DefaultFontsFollowTheInstalledFaces)
{
    QZTextEditor editor;
    EXPECT_EQ(editor.fontForKind(0), lq::Font::helvetica(12));
    EXPECT_EQ(editor.fontForKind(1), lq::Font::helvetica(18));
    EXPECT_EQ(editor.fontForKind(2), lq::Font::helvetica(15));
    const lq::Font times(QStringLiteral("Times Roman"), 13);
    EXPECT_EQ(editor.fontForKind(3), times.isInstalled() ? times : lq::Font::helvetica(13));
    // The alternates have no font until one is given: they write as normal text.
    EXPECT_EQ(editor.fontForKind(4), lq::Font::helvetica(12));
    editor.setAlternateFont(lq::Font::helvetica(30));
    EXPECT_EQ(editor.fontForKind(4), lq::Font::helvetica(30));
    EXPECT_EQ(editor.fontForKind(9), lq::Font::helvetica(12));
}
