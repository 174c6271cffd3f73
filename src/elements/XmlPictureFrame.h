#pragma once

#include "templates/XmlBoxModel.h"

// The frame style of the thumbnails of a photo album and of the slideshow.
class XmlPictureFrame : public XmlBoxModel {
public:
    explicit XmlPictureFrame(Key key);

    static std::shared_ptr<XmlPictureFrame> create();
    static XmlPictureFrame* cast(XmlBase* object) { return dynamic_cast<XmlPictureFrame*>(object); }

    QString elementName() const override;

    // Draws the frame's background (background true) or its overlay around
    // the rectangle into the current graphics context.
    virtual void drawObjectBackground(const lq::Rect& rect, bool background);
};
