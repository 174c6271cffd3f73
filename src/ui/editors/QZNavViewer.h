#pragma once

#include "ui/editors/EditorPanel.h"
#include "ui/editors/XmlOutlineController.h"

#include <QWidget>

class XmlAlbum;
class XmlOutlineView;

// The site navigator: the outline beside the editor panes that shows the
// site's page tree (the home page with its pages and their photos, the
// site's files, the photo library and the trash). Choosing a row makes its
// element the document's current object, which brings up its pane; the
// window tells the navigator of every other change of current object, and
// the navigator then only shows it selected.
//
// It adds album pages and groups beside the selected row, moves pages and
// photos by drag and drop (the trash takes what is dropped on it, and what
// the Delete key takes out), imports picture files dropped on an album page
// or between the top rows (a new page) as photos through a processor
// script, copies files dropped on the files row into the site, and takes
// an album of the photo library dragged from the iPhoto pane as the drop of
// its pictures. Elements of another open document are refused.
class QZNavViewer : public QWidget, public EditorPanel, public XmlOutlineController {
    Q_OBJECT
public:
    explicit QZNavViewer(QWidget* parent = nullptr);
    ~QZNavViewer() override;

    // --- Editor panel ---------------------------------------------------------------------
    // Roots the outline at the site, opens the home page's row and selects
    // it (the window makes it current).
    void setDocument(EditorHost* document) override;
    void loadEditor() override {}
    void saveEditor() override {}
    void refreshEditor() override {}
    QWidget* superView() override { return this; }
    // Shows the element selected (opening the rows above it), as the window
    // asks after every change of current object; it is current already.
    void selectObject(XmlBase* object) override;
    void reloadData() override;

    // --- Commands -------------------------------------------------------------------------
    // A new album page ("Page n", "page<n>.html") in the first node, from the
    // selected row up, that takes it; the home page when the trash, the
    // files or the photo library is selected. Nothing without a selection.
    void addAlbum() override;
    // The same with a group ("Group n"), which always lands in the home page.
    void addGroup() override;

    XmlOutlineView* outline() const { return NavOutline; }
    // The element of the selected row, or none.
    XmlBasePtr getSelectedObject() const;
    // Makes the selected element the document's current object.
    void select();
    // Opens the element's row and those above it.
    void expandObject(XmlBase* element);

    // --- Outline hooks ----------------------------------------------------------------------
    std::optional<bool> outlineViewIsItemExpandable(XmlOutlineView& view, XmlBase& item) override;
    std::optional<bool> outlineViewShouldExpandItem(XmlOutlineView& view, XmlBase& item) override;
    std::optional<bool> outlineViewAllowDragItems(XmlOutlineView& view, const XmlBaseList& items) override;
    std::optional<bool> outlineViewCanDropFilesOnItem(XmlOutlineView& view, XmlBase& target) override;
    std::optional<bool> outlineViewDropFilesOnItemChildIndex(XmlOutlineView& view, XmlBase& files, XmlBase& target, int index) override;
    std::optional<bool> outlineViewCanDropItemOnItem(XmlOutlineView& view, XmlBase& dragged, XmlBase& target) override;
    std::optional<bool> outlineViewCanCopyForeignItemOnItem(XmlOutlineView& view, XmlBase& dragged, XmlBase& target) override;
    std::optional<bool> outlineViewDropItemOnItemChildIndex(XmlOutlineView& view, XmlBase& dragged, XmlBase& target, int index) override;
    // A page or photo taken back from the trash and dropped onto a row goes
    // after what that row holds, as a new page or photo would: first, it
    // would push the others down and become the page's picture.
    std::optional<int> outlineViewIndexOfDropOntoItem(XmlOutlineView& view, XmlBase& dragged, XmlBase& target) override;
    void dropDone() override;
    // The pane beside the navigator follows at once: a page or photo dragged
    // out of the trash pane leaves its list as it lands here.
    void dropTaken(XmlOutlineView& view) override;
    void selectionChanged(XmlOutlineView& view) override;
    std::optional<bool> canDeleteObject(XmlBase& element) override;
    void addToTrash(const XmlBasePtr& element) override;
    void selectObject(XmlBase& element) override;

private:
    // Appends the page to the node that takes it (see addAlbum); that node,
    // or none when nothing is selected or nothing takes it.
    XmlBase* addPage(const XmlBasePtr& page);
    // Carries out a drop of files (an XmlExternalFiles list) on the target.
    bool dropFiles(XmlBase& files, XmlBase& target, int index);
    // Queues the import of the pictures into the page at the index.
    void startImport(const QStringList& paths, XmlAlbum& page, int index);
    // The files row: the files are copied into the site's folder.
    void copyIntoSite(XmlBase& files, XmlBase& folder);
    bool expandable(XmlBase& item) const;

    XmlOutlineView* NavOutline = nullptr;
    EditorHost* _document = nullptr;
    // Set while the outline follows the window's current object, so that
    // the selection it shows is not made current a second time.
    bool _followingWindow = false;
};
