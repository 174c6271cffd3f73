#pragma once

#include "build/XmlRun.h"

// The step that writes a photo's web image and thumbnail.
class XmlCreateWebImage final : public XmlRun {
public:
    explicit XmlCreateWebImage(Key key);

    static std::shared_ptr<XmlCreateWebImage> create();
    static XmlCreateWebImage* cast(XmlBase* object) { return dynamic_cast<XmlCreateWebImage*>(object); }

    QString elementName() const override;
};
