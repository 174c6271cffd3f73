#pragma once
#include <QString>

class EditorHost;
class QWidget;
class XmlBase;

// What the document window asks of every editor panel beside the site
// navigator. The window creates one panel per kind, gives each its document
// (the window itself, as the panel's host) and shows one at a time in its
// editor area.
class EditorPanel {
public:
    virtual ~EditorPanel() = default;
    virtual void setDocument(EditorHost* document) = 0;
    // Fills the controls from the document's current object and album.
    virtual void loadEditor() = 0;
    // Writes pending control values back into the model.
    virtual void saveEditor() = 0;
    // Re-reads the model after it changed underneath.
    virtual void refreshEditor() = 0;
    // The panel's top view, placed by the window in its editor area.
    virtual QWidget* superView() = 0;
    // Given a menu tag: 1 enabled and checked, 0 enabled, anything else disabled.
    virtual int getMenuItemState(int tag) { Q_UNUSED(tag); return -1; }
    virtual void menuClicked(int tag) { Q_UNUSED(tag); }
    // Right-to-left text (album, group and site panels).
    virtual void enableRTL(int flag) { Q_UNUSED(flag); }
    // The album panel forgets the photo it showed last.
    virtual void clearLastPhotoUUID() {}
    // The navigator: selects the element in the site outline; reloads it.
    virtual void selectObject(XmlBase* object) { Q_UNUSED(object); }
    virtual void reloadData() {}
    // The navigator: adds a new album page or group page beside the selected
    // row (the document's menu commands 151 and 150).
    virtual void addAlbum() {}
    virtual void addGroup() {}
    // The album panel: picture files chosen in a file panel join its page
    // (the document's menu command 152).
    virtual void addPhotos() {}
};

// The kinds of panel the window makes, one of each.
enum class EditorKind { Album, Group, PayPal, Website, ImageWell, Trash, Files, IPhoto, Html, Navigator };
