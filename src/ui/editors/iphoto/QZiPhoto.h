#pragma once

#include "ui/editors/EditorPanel.h"
#include "ui/editors/XmlOutlineController.h"

#include <QWidget>

class QLabel;
class XmlAlbum;
class XmlOutlineView;
class XmlProcessor;
class iPhotoAlbum;

// The iPhoto pane, shown while the photo library is the current object: the
// library's albums and folders as a tree. "Import" makes a new album page of
// the selected album (a folder: of every album below it) and queues the
// import of its pictures; albums can also be dragged onto the site
// navigator. "Refresh" reads the library anew.
class QZiPhoto : public QWidget, public EditorPanel, public XmlOutlineController {
    Q_OBJECT
public:
    explicit QZiPhoto(QWidget* parent = nullptr);
    ~QZiPhoto() override;

    // --- Editor panel ---------------------------------------------------------------------
    // Roots the outline at the document's library (made and read on first use).
    void setDocument(EditorHost* document) override;
    void loadEditor() override;
    void saveEditor() override {}
    void refreshEditor() override;
    QWidget* superView() override { return this; }

    XmlOutlineView* outline() const { return iPhotoOutline; }
    // Says where the library was looked for while none was found.
    QLabel* notFoundMessage() const { return _notFound; }

    // --- Commands -------------------------------------------------------------------------
    // Reads the library anew.
    void refresh();
    // A new album page at the end of the home page, named as every new page
    // is, and one script ("Importing iPhotos...") importing the pictures of
    // the selected album, or of each album below the selected folder in
    // turn, into it. Nothing without a selection.
    void importPhotoLibrary();
    // Appends to the script the import steps of the album's pictures into
    // the page, last first at index 0, so that they end in the album's
    // order; a folder passes each album below it in turn.
    void importPhotoAlbumXmlAlbumProcessor(iPhotoAlbum& album, XmlAlbum& page, XmlProcessor& processor);

    // --- Outline hooks ----------------------------------------------------------------------
    std::optional<bool> outlineViewIsItemExpandable(XmlOutlineView& view, XmlBase& item) override;
    std::optional<bool> outlineViewShouldExpandItem(XmlOutlineView& view, XmlBase& item) override;
    std::optional<bool> outlineViewShouldEditTableColumnItem(XmlOutlineView& view, const QString& column, XmlBase& item) override;
    // Nothing is dropped into the library.
    std::optional<bool> outlineViewCanDropFilesOnItem(XmlOutlineView& view, XmlBase& target) override;
    std::optional<bool> outlineViewCanDropItemOnItem(XmlOutlineView& view, XmlBase& dragged, XmlBase& target) override;
    // Nothing is taken out of it with the Delete key.
    std::optional<bool> canDeleteObject(XmlBase& element) override;

private:
    XmlOutlineView* iPhotoOutline = nullptr;
    QLabel* _notFound = nullptr;
    EditorHost* _document = nullptr;
};
