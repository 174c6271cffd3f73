#pragma once

#include "ui/layout/InspectorSheet.h"

class ImageWell;
class MyMatrix;
class QAbstractButton;
class QString;
class QWidget;
class XmlBoxModel;
class XmlVornBox;

// The border and background panel (tags 6xx) that every element sheet
// borrows in border mode: its controls show the borders, padding,
// background and drop shadow of the selected element, of a menu's items,
// or of the picture frame of a photo album or a slideshow, as the part
// selector says; its controls send action3.
class BorderPanel : public InspectorSheet {
public:
    using InspectorSheet::InspectorSheet;

    QWidget* build();
    // Loads the panel from the element: the element itself, or for a menu
    // its items, for a photo album or a slideshow its picture frame, as the
    // part selector says. Nothing for nothing.
    void fill(XmlBoxModel* element);
    void apply(QWidget* sender, int tag, XmlBoxModel& element);
    // The panel lent to the element sheet of the identifier, or to the Vorn
    // Box sheet for the box: the part selector and the background as the
    // element has them, the Borders button down.
    void showFor(const QString& identifier);
    void showForVornBox(XmlVornBox* box);

    // Which part of a menu, a photo album or a slideshow the panel edits:
    // 1 the element's own box, anything else its menu items or its picture frame.
    int navigationbbtab() const { return _navigationbbtab; }
    void setNavigationbbtab(int part) { _navigationbbtab = part; }
    int photoalbumbbtab() const { return _photoalbumbbtab; }
    void setPhotoalbumbbtab(int part) { _photoalbumbbtab = part; }
    int slideshowbbtab() const { return _slideshowbbtab; }
    void setSlideshowbbtab(int part) { _slideshowbbtab = part; }

    // The panel's border controls, and its background controls in the background box.
    QWidget* bbView() const { return _bbView; }
    QWidget* backgroundBox() const { return _backgroundBox; }
    MyMatrix* whichBorderMatrix() const { return _whichBorderMatrix; }
    QAbstractButton* propertiesButton() const { return _propertiesButton; }
    QAbstractButton* bordersButton() const { return _bordersButton; }

private:
    // The transparency and picture position controls for a background kind.
    void showBackgroundControls(int kind);

    QWidget* _bbView = nullptr;
    QWidget* _backgroundBox = nullptr;
    ImageWell* _borderImageWell = nullptr;
    QAbstractButton* _propertiesButton = nullptr;
    QAbstractButton* _bordersButton = nullptr;
    QWidget* _whichBorderLabel = nullptr;
    MyMatrix* _whichBorderMatrix = nullptr;
    QAbstractButton* _whichBorderOption1 = nullptr;
    QAbstractButton* _whichBorderOption2 = nullptr;
    int _navigationbbtab = 0;
    int _photoalbumbbtab = 0;
    int _slideshowbbtab = 0;
};
