#pragma once

#include "build/XmlRun.h"

// The step that writes a photo's slideshow image.
class XmlCreateSlide final : public XmlRun {
public:
    explicit XmlCreateSlide(Key key);

    static std::shared_ptr<XmlCreateSlide> create();
    static XmlCreateSlide* cast(XmlBase* object) { return dynamic_cast<XmlCreateSlide*>(object); }

    QString elementName() const override;
};
