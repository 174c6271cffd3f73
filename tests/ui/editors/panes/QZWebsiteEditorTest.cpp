// The site settings panel in the document window: the masthead, footer and
// password fields, the pages table (names, menu, file names, kinds,
// addresses and passwords), the text menu, and which edits mark the
// document changed.
#include "ui/editors/panes/QZHtmlEditor.h"
#include "ui/editors/panes/QZWebsiteEditor.h"
#include "ui/editors/panes/TextEditorArea.h"
#include "ui/editors/text/TextMenuTags.h"
#include "model/site/XmlFooter.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlMasthead.h"
#include "ui/widgets/ItemModelAdaptor.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/MyTextView.h"
#include "support/Printers.h"
#include "support/ui/CheckedModels.h"
#include "support/ui/PaneWindow.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

// Pages: "Holiday" (album), "Family" (group) holding "Kids" (album), then
// "Elsewhere" (album); the home page's pane shown.
class WebsiteEditorTest : public PaneWindowTest {
protected:
    void SetUp() override
    {
        PaneWindowTest::SetUp();
        // Away from the home page while its settings change underneath.
        show(album.get());
        XmlHomePage* home = document.site()->homepage();
        group = XmlGroup::create();
        home->addChild(group);
        group->newDocument();
        group->setName(QStringLiteral("Family"));
        kids = XmlAlbum::create();
        group->addChild(kids);
        kids->newDocument();
        kids->setName(QStringLiteral("Kids"));
        elsewhere = XmlAlbum::create();
        home->addChild(elsewhere);
        elsewhere->newDocument();
        elsewhere->setName(QStringLiteral("Elsewhere"));
        home->masthead()->setContent(QStringLiteral("My Travels"));
        home->masthead()->setLinkTo(QStringLiteral("http://example.org/"));
        home->footer()->setContent(QStringLiteral("<p>Made at home</p>"));
        home->setPassPhrase(QStringLiteral("Say the word"));
        home->setSubmitLabel(QStringLiteral("Enter"));
        document.clearChangeCount();
        show(home);
        ASSERT_EQ(window->lastEditView(), editor());
        // The pages table checks itself at every change it reports.
        models.watch(editor());
    }
    void TearDown() override
    {
        PaneWindowTest::TearDown();
        EXPECT_TRUE(CheckedModels::failures().isEmpty()) << CheckedModels::failures().join(QLatin1Char('\n')).toStdString();
    }
    QZWebsiteEditor* editor() const { return pane<QZWebsiteEditor>(EditorKind::Website); }
    ItemModelAdaptor* table() const { return editor()->navTable()->adaptor(); }
    int rowOf(XmlBase* page) const
    {
        for (int row = 0; row < table()->rowCount(); ++row) {
            if (editor()->pageAtRow(row) == page)
                return row;
        }
        return -1;
    }
    QModelIndex cell(XmlBase* page, const QString& column) const
    {
        return table()->index(rowOf(page), table()->columnWithIdentifier(column));
    }
    QVariant value(XmlBase* page, const QString& column) const { return cell(page, column).data(Qt::EditRole); }
    bool edit(XmlBase* page, const QString& column, const QVariant& to)
    {
        return table()->setData(cell(page, column), to, Qt::EditRole);
    }
    bool editable(XmlBase* page, const QString& column) const
    {
        return table()->flags(cell(page, column)).testFlag(Qt::ItemIsEditable);
    }

    CheckedModels models;
    std::shared_ptr<XmlGroup> group;
    std::shared_ptr<XmlAlbum> kids;
    std::shared_ptr<XmlAlbum> elsewhere;
};

TEST_F(WebsiteEditorTest, ShowsTheSiteSettingsAndEveryPage)
{
    EXPECT_EQ(editor()->masthead()->text(), QStringLiteral("My Travels"));
    EXPECT_EQ(editor()->mastheadLink()->text(), QStringLiteral("http://example.org/"));
    EXPECT_EQ(editor()->passPhrase()->text(), QStringLiteral("Say the word"));
    EXPECT_EQ(editor()->passSubmit()->text(), QStringLiteral("Enter"));
    EXPECT_EQ(editor()->footerArea()->view()->toPlainText(), QStringLiteral("Made at home"));

    ASSERT_EQ(table()->rowCount(), 4);
    const QList<XmlBase*> pages { album.get(), group.get(), kids.get(), elsewhere.get() };
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(editor()->pageAtRow(row), pages[row]) << row;
    EXPECT_EQ(value(group.get(), QStringLiteral("page")), QVariant(QStringLiteral("Family")));
    EXPECT_EQ(cell(kids.get(), QStringLiteral("show")).data(Qt::CheckStateRole), QVariant(Qt::Checked));
    EXPECT_EQ(value(kids.get(), QStringLiteral("saveas")), QVariant(kids->fileName()));
    EXPECT_EQ(cell(kids.get(), QStringLiteral("link")).data(Qt::DisplayRole), QVariant(QStringLiteral("None")));
    // A normal page shows where it is, and nothing can be typed there.
    EXPECT_EQ(value(kids.get(), QStringLiteral("externallink")), QVariant(kids->fileName()));
    EXPECT_FALSE(editable(kids.get(), QStringLiteral("externallink")));
    EXPECT_EQ(value(group.get(), QStringLiteral("externallink")), QVariant(QString())) << "a group is never a link";
}

TEST_F(WebsiteEditorTest, FieldsAreStoredWhenThePaneIsLeftAndTypingMarksTheDocument)
{
    editor()->masthead()->setText(QStringLiteral("Our Travels"));
    editor()->mastheadLink()->setText(QStringLiteral("http://example.com/"));
    editor()->passPhrase()->setText(QStringLiteral("Password, please"));
    editor()->passSubmit()->setText(QStringLiteral("Go"));
    show(album.get());
    XmlHomePage* home = document.site()->homepage();
    EXPECT_EQ(home->masthead()->content(), QStringLiteral("Our Travels"));
    EXPECT_EQ(home->masthead()->linkTo(), QStringLiteral("http://example.com/"));
    EXPECT_EQ(home->passPhrase(), QStringLiteral("Password, please"));
    EXPECT_EQ(home->submitLabel(), QStringLiteral("Go"));
    EXPECT_FALSE(document.isDocumentEdited()) << "storing marks nothing by itself";

    show(home);
    for (MyTextField* field : { editor()->masthead(), editor()->mastheadLink(), editor()->passPhrase(), editor()->passSubmit() }) {
        document.clearChangeCount();
        type(field, QStringLiteral("!"));
        EXPECT_TRUE(document.isDocumentEdited()) << field->text().toStdString();
    }
    document.clearChangeCount();
    type(editor()->footerArea()->view(), QStringLiteral("Thanks. "));
    EXPECT_TRUE(document.isDocumentEdited());
    show(album.get());
    EXPECT_TRUE(home->footer()->content().contains(QStringLiteral("Thanks. Made at home"))) << home->footer()->content().toStdString();
    EXPECT_EQ(home->passPhrase(), QStringLiteral("Password, please!"));
}

// The standard pass phrase names the button as it is labelled: relabelled in
// the pane, the phrase follows and the pane shows it, however often the pane
// is stored; a phrase of the user's own stays as typed.
TEST_F(WebsiteEditorTest, TheStandardPassPhraseNamesTheButtonAsLabelled)
{
    XmlHomePage* home = document.site()->homepage();
    show(album.get());
    home->setPassPhrase(XmlHomePage::standardPassPhrase(home->submitLabel()));
    show(home);
    EXPECT_EQ(editor()->passPhrase()->text(), QStringLiteral("Enter your Password below and click Enter"));

    editor()->passSubmit()->setText(QStringLiteral("Open"));
    editor()->saveEditor();
    editor()->saveEditor();
    EXPECT_EQ(home->passPhrase(), QStringLiteral("Enter your Password below and click Open"));
    EXPECT_EQ(editor()->passPhrase()->text(), home->passPhrase());
    show(album.get());
    show(home);
    EXPECT_EQ(editor()->passPhrase()->text(), QStringLiteral("Enter your Password below and click Open"));

    editor()->passPhrase()->setText(QStringLiteral("Knock first, then click Open"));
    editor()->passSubmit()->setText(QStringLiteral("Go"));
    show(album.get());
    EXPECT_EQ(home->passPhrase(), QStringLiteral("Knock first, then click Open"));
    EXPECT_EQ(home->submitLabel(), QStringLiteral("Go"));
}

TEST_F(WebsiteEditorTest, TheKindOfAPageMakesItALinkAPasswordPageOrANormalPage)
{
    struct Case {
        XmlAlbum* page;
        int kind;
        bool external;
        bool password;
    };
    const Case cases[] = {
        { elsewhere.get(), QZWebsiteEditor::LinkPage, true, false },
        { elsewhere.get(), QZWebsiteEditor::PasswordPage, false, true },
        { elsewhere.get(), QZWebsiteEditor::NormalPage, false, false },
        // A group cannot be a link: "Link To:" makes it a normal page.
        { group.get(), QZWebsiteEditor::PasswordPage, false, true },
        { group.get(), QZWebsiteEditor::LinkPage, false, false },
        { kids.get(), QZWebsiteEditor::LinkPage, true, false },
    };
    for (const Case& c : cases) {
        document.clearChangeCount();
        ASSERT_TRUE(edit(c.page, QStringLiteral("link"), c.kind)) << c.page->name().toStdString() << " " << c.kind;
        EXPECT_EQ(c.page->isExternalLink(), c.external) << c.page->name().toStdString() << " " << c.kind;
        EXPECT_EQ(c.page->isPassword(), c.password) << c.page->name().toStdString() << " " << c.kind;
        const int shown = c.external ? QZWebsiteEditor::LinkPage : c.password ? QZWebsiteEditor::PasswordPage : QZWebsiteEditor::NormalPage;
        EXPECT_EQ(value(c.page, QStringLiteral("link")), QVariant(shown));
    }

    // A link page: no file name; the address is typed in the last column.
    EXPECT_EQ(value(kids.get(), QStringLiteral("saveas")), QVariant(QString()));
    EXPECT_FALSE(editable(kids.get(), QStringLiteral("saveas")));
    ASSERT_TRUE(editable(kids.get(), QStringLiteral("externallink")));
    document.clearChangeCount();
    ASSERT_TRUE(edit(kids.get(), QStringLiteral("externallink"), QStringLiteral("http://example.org/kids/")));
    EXPECT_EQ(kids->externalLink(), QStringLiteral("http://example.org/kids/"));
    EXPECT_TRUE(document.isDocumentEdited());

    // A password page: the password.
    ASSERT_TRUE(edit(group.get(), QStringLiteral("externallink"), QStringLiteral("secret")) == false);
    ASSERT_TRUE(edit(group.get(), QStringLiteral("link"), QZWebsiteEditor::PasswordPage));
    ASSERT_TRUE(edit(group.get(), QStringLiteral("externallink"), QStringLiteral("secret")));
    EXPECT_EQ(group->password(), QStringLiteral("secret"));
    EXPECT_EQ(value(group.get(), QStringLiteral("externallink")), QVariant(QStringLiteral("secret")));

    // A normal page takes nothing there.
    const QString before = album->externalLink();
    EXPECT_FALSE(edit(album.get(), QStringLiteral("externallink"), QStringLiteral("http://example.net/")));
    EXPECT_EQ(album->externalLink(), before);
    EXPECT_FALSE(album->isExternalLink());
}

TEST_F(WebsiteEditorTest, RenamingAPageInTheTableReloadsTheNavigator)
{
    const int reloadsBefore = int(navigator()->calls().count(QStringLiteral("reloadData")));
    // Through the table's own cell editor, as a user types.
    MyTableView* pages = editor()->navTable();
    pages->setFocus(Qt::MouseFocusReason);
    pages->setCurrentIndex(cell(kids.get(), QStringLiteral("page")));
    QTest::keyClick(pages, Qt::Key_F2);
    const QList<QLineEdit*> fields = pages->viewport()->findChildren<QLineEdit*>();
    ASSERT_EQ(fields.size(), 1);
    QLineEdit* field = fields.first();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("Children"));
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_TRUE(processEventsUntil([&] { return kids->name() == QStringLiteral("Children"); }));
    EXPECT_EQ(kids->name(), QStringLiteral("Children"));
    EXPECT_GT(int(navigator()->calls().count(QStringLiteral("reloadData"))), reloadsBefore);
    EXPECT_TRUE(document.isDocumentEdited());
    EXPECT_EQ(value(kids.get(), QStringLiteral("page")), QVariant(QStringLiteral("Children")));
}

TEST_F(WebsiteEditorTest, FileNamesAreMadeValidAndUniqueAndMenuVisibilityIsAChange)
{
    struct Case {
        QString typed;
        QString stored;
    };
    for (const Case& c : { Case { QStringLiteral("My Page!"), QStringLiteral("MyPage.html") },
                           Case { QStringLiteral("shop.php"), QStringLiteral("shop.php") },
                           Case { kids->fileName(), elsewhere->defaultFileName() },
                           Case { QString(), elsewhere->defaultFileName() } }) {
        document.clearChangeCount();
        const int reloadsBefore = int(navigator()->calls().count(QStringLiteral("reloadData")));
        ASSERT_TRUE(edit(elsewhere.get(), QStringLiteral("saveas"), c.typed));
        EXPECT_EQ(elsewhere->fileName(), c.stored) << c.typed.toStdString();
        EXPECT_TRUE(document.isDocumentEdited()) << c.typed.toStdString();
        EXPECT_GT(int(navigator()->calls().count(QStringLiteral("reloadData"))), reloadsBefore);
    }

    document.clearChangeCount();
    ASSERT_TRUE(table()->setData(cell(kids.get(), QStringLiteral("show")), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_FALSE(kids->showInNav());
    EXPECT_TRUE(document.isDocumentEdited()) << "a page taken off the menu is a change to save";
}

TEST_F(WebsiteEditorTest, TheTextMenuOffersBoldItalicAndUnderlineWhileTheFooterHasTheFocus)
{
    for (int tag = TextMenuTag::bold; tag <= TextMenuTag::right; ++tag)
        EXPECT_EQ(editor()->getMenuItemState(tag), -1) << tag;
    MyTextView* footer = editor()->footerArea()->view();
    footer->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    for (int tag = TextMenuTag::bold; tag <= TextMenuTag::right; ++tag)
        EXPECT_EQ(editor()->getMenuItemState(tag), tag <= TextMenuTag::underline ? 0 : -1) << tag;
    footer->selectAll();
    editor()->menuClicked(TextMenuTag::center);
    EXPECT_EQ(editor()->footer()->createContent(), QStringLiteral("<p>Made at home</p>"));
    editor()->menuClicked(TextMenuTag::italic);
    EXPECT_EQ(editor()->footer()->createContent(), QStringLiteral("<p><i>Made at home</i></p>"));
}

TEST_F(WebsiteEditorTest, PagesAddedMeanwhileShowAndEditHtmlSwitchesPanes)
{
    auto added = XmlAlbum::create();
    document.site()->homepage()->addChild(added);
    added->newDocument();
    window->updateNavEditor();
    EXPECT_EQ(rowOf(added.get()), 4);

    editor()->addHTML();
    EXPECT_EQ(window->lastEditView(), pane<QZHtmlEditor>(EditorKind::Html));
    EXPECT_EQ(window->currentObject().get(), document.site()->homepage());
}

} // namespace
