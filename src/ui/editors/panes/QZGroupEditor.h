#pragma once
#include "ui/editors/EditorPanel.h"

#include <QWidget>

#include <memory>

class GroupPicSelector;
class MyTextField;
class QZArraySelectView;
class QZTextEditor;
class SplitView;
class TextEditorArea;
class XmlGroup;
class XmlBase;
using XmlBasePtr = std::shared_ptr<XmlBase>;

// The group editor: the pane the document window shows while a group page
// is its current object. It edits the group's title and page text, shows
// the group's pages in a grid by their representative pictures, opens the
// photo editor on a page's picture (double click) and lets the user choose
// that picture from the page's own photos (GroupPicSelector).
class QZGroupEditor : public QWidget, public EditorPanel {
    Q_OBJECT
public:
    explicit QZGroupEditor(QWidget* parent = nullptr);
    ~QZGroupEditor() override;

    // --- Editor panel -----------------------------------------------------------------
    void setDocument(EditorHost* document) override;
    void loadEditor() override;
    // Stores the page text and the title without marking the document
    // changed: typing marked it.
    void saveEditor() override;
    void refreshEditor() override;
    QWidget* superView() override { return this; }
    int getMenuItemState(int tag) override;
    void menuClicked(int tag) override;
    void enableRTL(int flag) override;

    // --- Actions ----------------------------------------------------------------------
    // The picture of the page double-clicked becomes the current object.
    void groupArrayAction();
    // Runs the picture sheet for the page chosen in the grid.
    void selectNewPicture();

    MyTextField* groupTitle() const { return _groupTitle; }
    QZTextEditor* description() const;
    TextEditorArea* descriptionArea() const { return _description; }
    QZArraySelectView* groupArray() const { return _groupArray; }
    GroupPicSelector* picSelector() const { return _selector.get(); }

private:
    XmlGroup* group() const;
    // The group's child page at the grid's selected index, or none.
    XmlBasePtr selectedPage() const;

    EditorHost* _document = nullptr;
    MyTextField* _groupTitle = nullptr;
    TextEditorArea* _description = nullptr;
    QZArraySelectView* _groupArray = nullptr;
    SplitView* _splitter = nullptr;
    std::unique_ptr<GroupPicSelector> _selector;
};
