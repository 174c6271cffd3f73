#pragma once

#include "elements/XmlWebText.h"

// The slideshow element of a page template.
class XmlSlideshow final : public XmlWebText {
public:
    explicit XmlSlideshow(Key key);

    static std::shared_ptr<XmlSlideshow> create();
    static XmlSlideshow* cast(XmlBase* object) { return dynamic_cast<XmlSlideshow*>(object); }

    QString elementName() const override;
};
