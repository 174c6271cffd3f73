#pragma once

#include "elements/XmlWebText.h"

// The slideshow element of a page template.
class XmlSlideshow final : public XmlWebText {
public:
    explicit XmlSlideshow(Key key);

    static std::shared_ptr<XmlSlideshow> create();
    static XmlSlideshow* cast(XmlBase* object) { return dynamic_cast<XmlSlideshow*>(object); }

    QString elementName() const override;

    // --- Settings the photo album reads ----------------------------------------------
    // 0 and 1 show single slides, 2 and above before-and-after pairs.
    int style() const { return _style; }
    void setStyle(int style);
    // Before-and-after: each pair is followed by a third photo, the thumbnail's rollover.
    bool thumbRollovers() const { return _thumbRollovers; }
    void setThumbRollovers(bool rollovers);
    bool reverseThumbs() const { return _reverseThumbs; }
    void setReverseThumbs(bool reverse);

protected:
    int _style = 0;
    bool _thumbRollovers = false;
    bool _reverseThumbs = false;
};
