#pragma once
#include "ui/editors/EditorPanel.h"
#include "ui/editors/panes/ElementRows.h"
#include "ui/widgets/ItemDataSource.h"

#include <QWidget>

class MyButton;
class MyTableView;
class MyTextField;
class QZTextEditor;
class TextEditorArea;
class XmlHomePage;
class XmlWebItem;

// The site settings panel: the pane the document window shows while the
// home page is its current object. It edits what the home page keeps for
// the whole site: the masthead's text and link, the footer (rich text), the
// pass phrase and submit-button label of password-protected pages, and in
// a table the name, menu visibility, file name, kind and address or
// password of every page. Table edits go to the pages at once; the other
// fields are stored when the pane is saved.
class QZWebsiteEditor : public QWidget, public EditorPanel, public ItemDataSource {
    Q_OBJECT
public:
    // The kinds of the "link" column, by index.
    enum PageKind { NormalPage = 0, LinkPage = 1, PasswordPage = 2 };
    static const QStringList pageKindTitles;

    explicit QZWebsiteEditor(QWidget* parent = nullptr);
    ~QZWebsiteEditor() override;

    // --- Editor panel -----------------------------------------------------------------
    void setDocument(EditorHost* document) override;
    void loadEditor() override;
    // Stores the footer, masthead and password texts without marking the
    // document changed: typing marked it.
    void saveEditor() override;
    // Shows the pages added or removed meanwhile.
    void refreshEditor() override;
    QWidget* superView() override { return this; }
    // Bold, italic and underline while the footer has the keyboard focus.
    int getMenuItemState(int tag) override;
    void menuClicked(int tag) override;
    void enableRTL(int flag) override;

    // The HTML panel in place of this one.
    void addHTML();

    // --- The pages table (ItemDataSource) -----------------------------------------------
    int numberOfChildrenOfItem(const void* item) const override;
    void* childOfItem(int index, const void* item) const override;
    void* parentOfItem(const void* item) const override { return nullptr; }
    QVariant objectValueForColumn(const QString& column, const void* item) const override;
    bool setObjectValueForColumn(const QVariant& value, const QString& column, void* item) override;
    bool shouldEditColumn(const QString& column, const void* item) const override;
    // Cells that cannot be edited show grey.
    void willDisplayCell(CellAppearance& cell, const QString& column, const void* item) const override;
    // The page of a row.
    XmlWebItem* pageAtRow(int row) const;

    MyTextField* masthead() const { return _masthead; }
    MyTextField* mastheadLink() const { return _mastheadLink; }
    MyTextField* passPhrase() const { return _passPhrase; }
    MyTextField* passSubmit() const { return _passSubmit; }
    QZTextEditor* footer() const;
    TextEditorArea* footerArea() const { return _footer; }
    MyTableView* navTable() const { return _navTable; }

private:
    QWidget* buildMastheadGroup();
    QWidget* buildPagesGroup();
    QWidget* buildPasswordGroup();
    XmlHomePage* homepage() const;
    XmlWebItem* page(const void* item) const;
    XmlBaseList webItems() const;
    void reloadTable();
    void markChanged();

    EditorHost* _document = nullptr;
    MyTextField* _masthead = nullptr;
    MyTextField* _mastheadLink = nullptr;
    TextEditorArea* _footer = nullptr;
    MyTableView* _navTable = nullptr;
    MyTextField* _passPhrase = nullptr;
    MyTextField* _passSubmit = nullptr;
    ElementRows _rows;
};
