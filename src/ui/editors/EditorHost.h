#pragma once
#include "ui/editors/text/EasyLinkOpener.h"

#include <memory>

class EasyLink;
class MyDocument;
class QWidget;
class iPhoto;
class XmlAlbum;
class XmlBase;

// What an editor panel asks of the document window it is shown in: the open
// site, the current object and album, the window its alerts and file
// panels belong to, the switches between a page's two panels, and the link
// picker of its rich-text editors (easyLink). The document window
// implements it; the panels know no more of the window than this.
class EditorHost : public EasyLinkOpener {
public:
    ~EditorHost() override = default;

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
    // The home page's HTML panel in place of the site settings, an album
    // page's PayPal panel in place of the album panel, and back: each saves
    // the shown panel and shows the current object anew.
    virtual void switchToHTMLEditor() = 0;
    virtual void switchToPayPalEditor() = 0;
    virtual void switchToRegularEditor() = 0;
    // The window's link sheet: the panels' link fields run it; their
    // rich-text editors reach it through easyLink(editor).
    using EasyLinkOpener::easyLink;
    virtual EasyLink& easyLink() = 0;
    // The document's own photo library, made and read on first use and kept
    // while the window is open: the tree the iPhoto pane shows.
    virtual std::shared_ptr<iPhoto> iPhotoLibrary() = 0;
};
