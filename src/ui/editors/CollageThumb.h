#pragma once

#include "elements/CollageParameters.h"

#include <QWidget>

// The collage settings sheet's miniature: holds the collage settings and
// draws the chosen layout as black cell frames in a 180 by 90 box at its
// top-left corner, whatever its own size. Only the number of pictures and
// the style change the drawing, so only they redraw it.
class CollageThumb : public QWidget {
    Q_OBJECT
public:
    explicit CollageThumb(QWidget* parent = nullptr);

    // The settings; width, height, space and flag do not show in the
    // miniature, so a sheet changes them on a copy and sets it back.
    const CollageParameters& parameters() const { return _parameters; }
    void setParameters(const CollageParameters& parameters);

    int numberPhotos() const { return _parameters.numberPhotos(); }
    void setNumberPhotos(int count);
    int style() const { return _parameters.style(); }
    void setStyle(int style);

    QString collageString() const { return _parameters.collageString(); }
    void setCollageString(const QString& collage);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CollageParameters _parameters;
};
