#pragma once

#include "ui/layout/InspectorSheet.h"

class QString;
class QWidget;
class XmlAlbum;
class XmlSlideshow;
class XmlStyleSheet;
class XmlWebPhotoAlbum;

// The slideshow sheet (tags 9xx): the slideshow's style and timing, what it
// shows, its labels and its two fonts, and, while the template shows its
// slideshow view, which elements show there. The sheet is in the inspector
// only while the template's photo album plays a slideshow of an album page.
class SlideshowSheet : public InspectorSheet {
public:
    using InspectorSheet::InspectorSheet;

    QWidget* build();
    void fill(XmlSlideshow& slideshow);
    // Answers whether the end steps of the controller's action follow.
    bool apply(QWidget* sender, int tag, XmlStyleSheet& sheet, XmlSlideshow* slideshow);
    // Each keystroke in a label field (915 to 919).
    void applyLabel(int tag, const QString& text, XmlSlideshow& slideshow);
    // Adds or removes the sheet: it belongs while the album shows photos of
    // an album page and a click on them plays a slideshow.
    void place(XmlWebPhotoAlbum& album, XmlAlbum& page);

    // The elements of the slideshow view, shown in that view only.
    QWidget* slideVisible() const { return _slideVisible; }

private:
    // The playing controls or the before-and-after ones, by the slideshow's style.
    void showSlideshowStyle(XmlSlideshow& slideshow);

    QWidget* _slideVisible = nullptr;
};
