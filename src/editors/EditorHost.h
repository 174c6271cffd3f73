#pragma once
#include <memory>

class MyDocument;
class QWidget;
class iPhoto;
class XmlAlbum;
class XmlBase;

// What an editor panel asks of the document window it is shown in: the open
// site, the current object and album, and the window its alerts and file
// panels belong to. The document window implements it; the panels know no
// more of the window than this.
class EditorHost {
public:
    virtual ~EditorHost() = default;

    virtual MyDocument& document() = 0;
    // The window the panels' alerts, sheets and file panels belong to.
    virtual QWidget* myWindow() = 0;
    // The element the panels show, or none.
    virtual std::shared_ptr<XmlBase> currentObject() = 0;
    // The album page whose photos the panels work on: the current page, or
    // the page of the current photo.
    virtual XmlAlbum* currentAlbum() = 0;
    // Saves the shown panel, then shows and loads the panel of the element
    // (the same element loads its panel anew).
    virtual void setCurrentObject(XmlBase* object) = 0;
    // The site's tree changed underneath: the navigator reloads and the shown
    // panel refreshes.
    virtual void updateNavEditor() = 0;
    // The document's own photo library, made and read on first use and kept
    // while the window is open: the tree the iPhoto pane shows.
    virtual std::shared_ptr<iPhoto> iPhotoLibrary() = 0;
};
