#pragma once

#include "model/site/PhotoFrame.h"
#include "templates/XmlBoxModel.h"

// The frame style of the thumbnails of a photo album and of the slideshow:
// its padding, borders, background and drop shadow frame every thumbnail.
// Background mode 6 has a meaning of its own here: the frame's picture is
// laid over the thumbnail, clipped to the frame, and never used as a CSS
// background.
class XmlPictureFrame : public XmlBoxModel, public PhotoFrame {
public:
    explicit XmlPictureFrame(Key key);

    static std::shared_ptr<XmlPictureFrame> create();
    static XmlPictureFrame* cast(XmlBase* object) { return dynamic_cast<XmlPictureFrame*>(object); }

    QString elementName() const override;
    // NO in background mode 6.
    bool allowImageInBackground() override;
    // Thumbnails are written as framed PNG images: a drop shadow or mode 6.
    bool useFloatPhoto() const;

    // Draws the frame's background, borders and shadow into the rectangle
    // (background true), or, in mode 6, its picture over the thumbnail,
    // clipped to the rectangle (background false).
    void drawObjectBackground(const lq::Rect& rect, bool background) override;
};
