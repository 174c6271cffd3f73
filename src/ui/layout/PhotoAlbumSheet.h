#pragma once

#include "ui/layout/InspectorSheet.h"

class QWidget;
class XmlStyleSheet;
class XmlWebPhotoAlbum;

// The photo album sheet (tags 5xx): the album's layout (a grid in its place
// or after the text, or free style), its thumbnails or its collage and
// floating photos, its captions and their font, and what a click on a
// photo shows.
class PhotoAlbumSheet : public InspectorSheet {
public:
    using InspectorSheet::InspectorSheet;

    QWidget* build();
    void fill(XmlWebPhotoAlbum& album);
    // Answers whether the end steps of the controller's action follow.
    bool apply(QWidget* sender, int tag, XmlStyleSheet& sheet, XmlWebPhotoAlbum* album);
    // The album's thumbnail or free-style options, and its width and height
    // fields as width and height (free style) or columns and rows (grid).
    void showAlbumLayout(XmlWebPhotoAlbum& album);

    // What a click shows (hidden on a group page), the grid's thumbnail
    // options and the free style's.
    QWidget* paOptions() const { return _paOptions; }
    QWidget* paThumbnail() const { return _paThumbnail; }
    QWidget* paFreeStyle() const { return _paFreeStyle; }

private:
    QWidget* _paOptions = nullptr;
    QWidget* _paThumbnail = nullptr;
    QWidget* _paFreeStyle = nullptr;
};
