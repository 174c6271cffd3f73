#pragma once
#include "ui/editors/EditorPanel.h"

#include <QWidget>

class MyCheckBox;
class MyPopUpButton;
class MyTextField;
class QPlainTextEdit;
class SplitView;
class XmlHomePage;

// The HTML editor: shown in place of the site settings while the home page
// is the current object. It edits what every page carries besides its
// designed content: HTML added to the head and to the body, the description
// and keywords of the pages' meta information, the pages' language, and
// whether the site publishes the original pictures without the photo
// editor's changes. Everything is stored when the pane is saved, without
// marking the document changed: typing marked it.
class QZHtmlEditor : public QWidget, public EditorPanel {
    Q_OBJECT
public:
    // Above each HTML view, within its half of the divider.
    static constexpr int topMargin = 8;

    // The language pop-up's items: item n stands for the page writer's
    // language n (XmlStyleSheet::languageCode), item 0 for none.
    static const QStringList& languageTitles();

    explicit QZHtmlEditor(QWidget* parent = nullptr);
    ~QZHtmlEditor() override;

    // --- Editor panel -----------------------------------------------------------------
    void setDocument(EditorHost* document) override { _document = document; }
    void loadEditor() override;
    void saveEditor() override;
    void refreshEditor() override {}
    QWidget* superView() override { return this; }

    // Back to the site settings.
    void backTo();

    QPlainTextEdit* headHTML() const { return _headHTML; }
    QPlainTextEdit* bodyHTML() const { return _bodyHTML; }
    MyPopUpButton* langSelect() const { return _langSelect; }
    MyTextField* description() const { return _description; }
    MyTextField* keywords() const { return _keywords; }
    MyCheckBox* disableImageWell() const { return _disableImageWell; }
    SplitView* splitter() const { return _splitter; }

private:
    QWidget* buildSettings();
    QWidget* buildHalf(const QString& title, QPlainTextEdit*& view);
    XmlHomePage* homepage() const;
    void markChanged();

    EditorHost* _document = nullptr;
    QPlainTextEdit* _headHTML = nullptr;
    QPlainTextEdit* _bodyHTML = nullptr;
    MyPopUpButton* _langSelect = nullptr;
    MyTextField* _description = nullptr;
    MyTextField* _keywords = nullptr;
    MyCheckBox* _disableImageWell = nullptr;
    SplitView* _splitter = nullptr;
};
