#pragma once

#include "platform/Geometry.h"

#include <QList>
#include <QString>
#include <QStringList>

// The settings of a photo album's collage: how many pictures (1 to 8), which
// of the three layouts for that number, the size of the whole block, the
// space between cells and the allow-photos flag. It writes them as the
// album's collage string ("pictures,width,height,style,space,flag" followed
// by one rectangle per cell, all joined by "|") and reads them back from one.
// The picker's layouts and their cell rectangles are answered here too, for
// the album and the picker alike.
class CollageParameters {
public:
    static constexpr int defaultNumberPhotos = 3;
    static constexpr int defaultStyle = 0;
    static constexpr int defaultSpaceBetween = 2;
    static constexpr int defaultWidth = 600;
    static constexpr int defaultHeight = 200;
    // The miniature of a layout is drawn in a box of this size.
    static constexpr int miniatureWidth = 180;
    static constexpr int miniatureHeight = 90;

    // 1 to 8.
    int numberPhotos() const { return _numberPhotos; }
    void setNumberPhotos(int count);
    // 0 to 2.
    int style() const { return _style; }
    void setStyle(int style);
    // Any value.
    int spaceBetween() const { return _space; }
    void setSpaceBetween(int space) { _space = space; }
    // 20 to 5000.
    int width() const { return _width; }
    void setWidth(int width);
    // 10 to 5000.
    int height() const { return _height; }
    void setHeight(int height);
    bool allowPhotos() const { return _allow; }
    void setAllowPhotos(bool allow) { _allow = allow; }

    // The collage string of the settings, the cells computed afresh; a null
    // string when they cannot be computed.
    QString collageString() const;
    // Takes the settings from the header of a collage string: first every
    // setting goes back to its default; a header of five or six numbers is
    // then read through the setters, so their limits apply, and a missing
    // sixth number leaves the flag off. A shorter header leaves the defaults.
    // The rectangles of the string are not read.
    void setCollageString(const QString& collage);

    // The cells of the chosen layout in a miniature of miniatureWidth by
    // miniatureHeight pixels, without spacing, in picture order.
    QList<lq::Rect> miniatureCells() const;

    // The collage picker's layout of the photos (1 to 8) in the style (0 to
    // 2); empty outside the table.
    static QString collageLayout(int photos, int style);
    // The cell rectangles of a layout at the size with the spacing, as rectangle strings.
    static QStringList collagePreviewCells(const QString& layout, int width, int height, int spacing);
    // The collage string the picker writes: a six-field header, then the cells.
    static QString collageStringFor(int photos, int width, int height, int style, int spacing, int allowPhotos);

private:
    int _numberPhotos = defaultNumberPhotos;
    int _style = defaultStyle;
    int _space = defaultSpaceBetween;
    int _width = defaultWidth;
    int _height = defaultHeight;
    bool _allow = false;
};
