#pragma once

class CollageThumb;
class LayoutController;
class QDialog;
class QWidget;
class XmlWebPhotoAlbum;

// The photo album sheet's two dialogs, run as sheets on the document
// window: the thumbnail size and the collage with its live miniature.
class AlbumDialogs {
public:
    explicit AlbumDialogs(LayoutController& controller);

    // The thumbnail size dialog: OK writes the width, height and sizing
    // rule into the album, Cancel nothing.
    void changeThumbnailSize(XmlWebPhotoAlbum* album);
    // The collage dialog with its live miniature: Done writes the
    // miniature's collage string into the album (numbers typed and not yet
    // committed count), Cancel nothing.
    void changeCollageSettings(XmlWebPhotoAlbum* album);
    // A control of the collage dialog changed the miniature.
    void collageAction(QWidget* sender);

    // The dialogs while they are up (for whoever plays the user), else nothing.
    QDialog* thumbnailWindow() const { return _thumbnailWindow; }
    QDialog* collageWindow() const { return _collageWindow; }
    CollageThumb* collageMiniView() const { return _collageMiniView; }

private:
    // The collage dialog's controls shown from the miniature.
    void showCollageParameters();

    LayoutController& _controller;
    QDialog* _thumbnailWindow = nullptr;
    QDialog* _collageWindow = nullptr;
    CollageThumb* _collageMiniView = nullptr;
    QWidget* _photoCollage = nullptr;
};
