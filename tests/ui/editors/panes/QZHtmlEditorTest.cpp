// The HTML editor in the document window: the home page's head and body
// HTML, description, keywords and language, and the site's flag for
// publishing the original pictures; what is stored when the pane is left
// and what marks the document changed.
#include "ui/editors/panes/QZHtmlEditor.h"
#include "ui/editors/panes/QZWebsiteEditor.h"
#include "model/site/XmlBodyHTML.h"
#include "model/site/XmlDescription.h"
#include "model/site/XmlHeadHTML.h"
#include "model/site/XmlSearchTags.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTextField.h"
#include "support/Printers.h"
#include "support/ui/PaneWindow.h"
#include "templates/XmlStyleSheet.h"

#include <QFontInfo>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace {

class HtmlEditorTest : public PaneWindowTest {
protected:
    void SetUp() override
    {
        PaneWindowTest::SetUp();
        home = document.site()->homepage();
        home->headHTML()->setContent(QStringLiteral("<meta name=\"author\" content=\"Ann\">"));
        home->bodyHTML()->setContent(QStringLiteral("<script src=\"counter.js\"></script>"));
        home->description()->setContent(QStringLiteral("Our trips"));
        home->searchTags()->setContent(QStringLiteral("travel, photos"));
        home->setLangcode(12);
        document.site()->setDisableImageWell(1);
        document.clearChangeCount();
        window->switchToHTMLEditor();
        ASSERT_EQ(window->lastEditView(), editor());
    }
    QZHtmlEditor* editor() const { return pane<QZHtmlEditor>(EditorKind::Html); }

    XmlHomePage* home = nullptr;
};

TEST_F(HtmlEditorTest, ShowsWhatTheHomePageHolds)
{
    EXPECT_EQ(editor()->headHTML()->toPlainText(), QStringLiteral("<meta name=\"author\" content=\"Ann\">"));
    EXPECT_EQ(editor()->bodyHTML()->toPlainText(), QStringLiteral("<script src=\"counter.js\"></script>"));
    EXPECT_EQ(editor()->description()->text(), QStringLiteral("Our trips"));
    EXPECT_EQ(editor()->keywords()->text(), QStringLiteral("travel, photos"));
    EXPECT_EQ(editor()->langSelect()->currentText(), QStringLiteral("French"));
    EXPECT_TRUE(editor()->disableImageWell()->isChecked());
    for (QPlainTextEdit* view : { editor()->headHTML(), editor()->bodyHTML() }) {
        EXPECT_TRUE(QFontInfo(view->font()).fixedPitch());
        EXPECT_EQ(QFontInfo(view->font()).pixelSize(), 12);
    }
}

TEST_F(HtmlEditorTest, EditedHtmlIsStoredWhenThePaneIsLeftWithoutMarkingTheDocument)
{
    editor()->headHTML()->setPlainText(QStringLiteral("<link rel=\"icon\" href=\"favicon.png\">"));
    editor()->bodyHTML()->setPlainText(QString());
    editor()->description()->setText(QStringLiteral("Trips and more"));
    editor()->keywords()->setText(QStringLiteral("sea"));
    editor()->disableImageWell()->setChecked(false);
    show(album.get());
    EXPECT_EQ(home->headHTML()->content(), QStringLiteral("<link rel=\"icon\" href=\"favicon.png\">"));
    EXPECT_EQ(home->bodyHTML()->content(), QString());
    EXPECT_EQ(home->description()->content(), QStringLiteral("Trips and more"));
    EXPECT_EQ(home->searchTags()->content(), QStringLiteral("sea"));
    EXPECT_EQ(document.site()->disableImageWell(), 0);
    EXPECT_FALSE(document.isDocumentEdited());
    // The home page keeps its panel.
    show(home);
    EXPECT_EQ(window->lastEditView(), editor());
    EXPECT_EQ(editor()->headHTML()->toPlainText(), QStringLiteral("<link rel=\"icon\" href=\"favicon.png\">"));
}

TEST_F(HtmlEditorTest, WhatTheUserTypesOrChoosesMarksTheDocument)
{
    const std::function<void()> edits[] = {
        [&] { type(editor()->headHTML(), QStringLiteral("<!-- x -->")); },
        [&] { type(editor()->bodyHTML(), QStringLiteral("<p>")); },
        [&] { type(editor()->description(), QStringLiteral(".")); },
        [&] { type(editor()->keywords(), QStringLiteral(", sea")); },
        [&] { editor()->disableImageWell()->click(); },
        [&] {
            editor()->langSelect()->setCurrentIndex(9);
            Q_EMIT editor()->langSelect()->activated(9);
        },
    };
    int which = 0;
    for (const auto& edit : edits) {
        document.clearChangeCount();
        edit();
        EXPECT_TRUE(document.isDocumentEdited()) << which;
        ++which;
    }
    window->switchToRegularEditor();
    EXPECT_EQ(home->headHTML()->content(), QStringLiteral("<!-- x --><meta name=\"author\" content=\"Ann\">"));
    EXPECT_EQ(home->langcode(), 9);
}

TEST_F(HtmlEditorTest, TheLanguagePopUpRoundTripsWithTheLanguageCode)
{
    const QStringList& titles = QZHtmlEditor::languageTitles();
    ASSERT_EQ(editor()->langSelect()->count(), titles.size());
    EXPECT_EQ(XmlStyleSheet::languageCode(0), QString());
    EXPECT_EQ(XmlStyleSheet::languageCode(int(titles.size())), QString()) << "one item per language the pages can name";
    struct Case {
        int langcode;
        QString title;
        QString code;
    };
    for (const Case& c : { Case { 0, QStringLiteral("None"), QString() }, Case { 1, QStringLiteral("Arabic"), QStringLiteral("ar") },
                           Case { 9, QStringLiteral("English"), QStringLiteral("en") },
                           Case { 13, QStringLiteral("German"), QStringLiteral("de") },
                           Case { 34, QStringLiteral("Turkish"), QStringLiteral("tr") } }) {
        home->setLangcode(c.langcode);
        editor()->loadEditor();
        EXPECT_EQ(editor()->langSelect()->currentText(), c.title) << c.langcode;
        EXPECT_EQ(XmlStyleSheet::languageCode(editor()->langSelect()->currentIndex()), c.code) << c.langcode;
        home->setLangcode(-5);
        editor()->saveEditor();
        EXPECT_EQ(home->langcode(), c.langcode);
    }
    // A stored number no page language has shows (and is stored as) none.
    home->setLangcode(99);
    editor()->loadEditor();
    EXPECT_EQ(editor()->langSelect()->currentIndex(), 0);
}

TEST_F(HtmlEditorTest, WithAnAlbumPageCurrentItChangesNothing)
{
    show(album.get());
    editor()->headHTML()->setPlainText(QStringLiteral("changed"));
    editor()->langSelect()->setCurrentIndex(3);
    editor()->saveEditor();
    editor()->loadEditor();
    EXPECT_EQ(home->headHTML()->content(), QStringLiteral("<meta name=\"author\" content=\"Ann\">"));
    EXPECT_EQ(home->langcode(), 12);
    EXPECT_EQ(editor()->headHTML()->toPlainText(), QStringLiteral("changed"));
}

} // namespace
