#pragma once

#include "ui/editors/EditorPanel.h"
#include "ui/editors/XmlOutlineController.h"

#include <QWidget>

class XmlFile;
class XmlFiles;
class XmlOutlineView;

// The files pane, shown while the site's files are the current object: the
// user's own files, kept in the document's "files" folder and copied as
// they are into the website. Files are added from an open panel or dropped
// from a file manager (folders with what they hold), folders made, files
// and folders renamed in place, files moved between folders by dragging,
// opened with the system's application, and deleted from disk with the
// Delete key. Every change is made on disk first and shown in the tree only
// when it worked; what is refused or fails is told to the user.
class QZFiles : public QWidget, public EditorPanel, public XmlOutlineController {
    Q_OBJECT
public:
    // The open panel of "Add File".
    static const QString addFileTitle;
    static const QString addFilePrompt;

    explicit QZFiles(QWidget* parent = nullptr);
    ~QZFiles() override;

    // --- Editor panel ---------------------------------------------------------------------
    void setDocument(EditorHost* document) override;
    void loadEditor() override;
    void saveEditor() override {}
    void refreshEditor() override;
    QWidget* superView() override { return this; }

    XmlOutlineView* outline() const { return FilesOutline; }

    // --- Commands -------------------------------------------------------------------------
    // Asks for a file and copies it into the selected folder (the folder of
    // the selected file; the files root when nothing is selected).
    void addFile();
    // A new folder "untitled folder" ("untitled folder 2", ...) in the files root.
    void addFolder();
    // Opens the selected file with the system's application (a folder in the
    // file manager).
    void openFile();

    // --- Outline hooks ----------------------------------------------------------------------
    // Renames the file or folder on disk; a refused name is told.
    bool outlineViewSetObjectValueForTableColumnByItem(XmlOutlineView& view, const QVariant& value, const QString& column, XmlBase& item) override;
    std::optional<bool> outlineViewShouldEditTableColumnItem(XmlOutlineView& view, const QString& column, XmlBase& item) override;
    // Every name can be edited here, so every name is drawn in black.
    std::optional<CellAppearance> outlineViewWillDisplayCellForTableColumnItem(XmlOutlineView& view, const QString& column, XmlBase& item) override;
    // Files and folders of a file manager keep their folders.
    std::optional<XmlBasePtr> createFromPasteboard(const lq::Pasteboard& pasteboard) override;
    std::optional<bool> outlineViewCanDropFilesOnItem(XmlOutlineView& view, XmlBase& target) override;
    std::optional<bool> outlineViewDropFilesOnItemChildIndex(XmlOutlineView& view, XmlBase& files, XmlBase& target, int index) override;
    // A file moves into a folder (on disk, then in the tree).
    std::optional<bool> outlineViewCanDropItemOnItem(XmlOutlineView& view, XmlBase& dragged, XmlBase& target) override;
    // A file of another open site is copied in; that site keeps its own.
    std::optional<bool> outlineViewCanCopyForeignItemOnItem(XmlOutlineView& view, XmlBase& dragged, XmlBase& target) override;
    std::optional<bool> outlineViewDropItemOnItemChildIndex(XmlOutlineView& view, XmlBase& dragged, XmlBase& target, int index) override;
    // The Delete key deletes a file or folder from disk once the user
    // confirms; the tree keeps it when that fails.
    std::optional<bool> canDeleteObject(XmlBase& element) override;
    void dropDone() override;

    // Adds the folder's files (as XmlFile elements holding their full path)
    // and subfolders (XmlFolder elements filled the same way) to the parent,
    // in name order; links and other entries are passed over.
    static void addContentsOfDirectoryTo(const QString& path, XmlBase* parent);

private:
    bool moveFile(XmlFile& file, XmlFiles& target, int index);
    void tell(const QString& title, const QString& message);
    void reloadLater();

    XmlOutlineView* FilesOutline = nullptr;
    EditorHost* _document = nullptr;
};
