#pragma once

#include "ui/layout/InspectorSheet.h"

class ImageWell;
class MyTabView;
class MyTextView;
class QWidget;
class XmlStyleSheet;
class XmlWebPhotoAlbum;

// The PayPal sheet (tags 12xx), filled from the template's photo album
// whatever is selected: the cart, the button (standard or an own picture)
// and its HTML, and the captions and buttons under the thumbnails and in
// the slideshow.
class PayPalSheet : public InspectorSheet {
public:
    using InspectorSheet::InspectorSheet;

    QWidget* build();
    void fill(XmlWebPhotoAlbum& album);
    void apply(QWidget* sender, int tag, XmlStyleSheet& sheet);
    // An edit of one of the sheet's three text views; false for another view.
    bool applyText(QWidget* view, const QString& text, XmlStyleSheet& sheet);

    MyTabView* payPalTabView() const { return _payPalTabView; }
    MyTextView* payPalHTML() const { return _payPalHTML; }

private:
    // The standard button's size for the album's cart, then the sheet refilled.
    void sizePayPalButton(XmlWebPhotoAlbum& album);

    MyTabView* _payPalTabView = nullptr;
    MyTextView* _payPalHTML = nullptr;
    MyTextView* _payPalThumbnail = nullptr;
    MyTextView* _payPalSlideshow = nullptr;
    ImageWell* _payPalImageWell = nullptr;
};
